// Takes docs/web.png: the page in headless chromium, a game in progress at
// x2, played with real mouse events the way tools/screenshot.sh plays the
// exe. Usage: node screenshot.mjs OUT.png
import { setUp, openGame, pagePoint } from './tests/support.mjs';

const out = process.argv[2];
const hooks = [];
const env = await setUp({ after: (f) => hooks.push(f) }, { viewport: { width: 600, height: 560 } });
const page = await openGame(env, '[Set]\r\nWinX=0\r\nWinY=0\r\nX=16\r\nY=10\r\nBom=22\r\n');
await page.selectOption('#zoom-choice', '2');
// The same moves as the exe's screenshot: a first open that floods, then
// flags on bombs beside the opened squares.
const moves = [['left', 6, 8], ['right', 3, 8], ['right', 3, 9], ['right', 9, 7], ['right', 1, 7]];
for (const [button, column, row] of moves) {
  const p = await pagePoint(page, column * 16 + 8, (row + 1) * 16 + 8);
  await page.mouse.click(p.x, p.y, { button });
}
await page.mouse.move(590, 550);
await page.screenshot({ path: out });
console.log(`Wrote ${out}`);
for (const hook of hooks) await hook();
