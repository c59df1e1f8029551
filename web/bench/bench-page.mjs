// Figures of the web edition, measured in headless chromium (not a test):
// the size of build/web, navigation to the first fully drawn board, and the
// time from a mouseup to the updated canvas for the 857-square flood and for
// a one-square click, and the first board under the longest settings text. Usage: node bench/bench-page.mjs [SAMPLES]
import { readdirSync, statSync, mkdtempSync, writeFileSync, rmSync } from 'node:fs';
import { join } from 'node:path';
import { tmpdir } from 'node:os';
import { setUp, openGame, readScreen, pagePoint, siteDir, startServer } from '../tests/support.mjs';

const samples = Number(process.argv[2] || 15);
const hooks = [];
const env = await setUp({ after: (f) => hooks.push(f) });

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const report = (name, values) =>
  console.log(`${name.padEnd(44)} median ${median(values).toFixed(2)} ms, min ${Math.min(...values).toFixed(2)}, max ${Math.max(...values).toFixed(2)}`);

const files = readdirSync(siteDir);
const bytes = files.reduce((sum, file) => sum + statSync(join(siteDir, file)).size, 0);
console.log(`build/web: ${files.length} files, ${bytes} bytes (${(bytes / 1024).toFixed(1)} KiB)`);

// The floor: a page of one small inline script that draws into a canvas,
// from the same server and browser. What the machine costs whatever the page.
const floorDir = mkdtempSync(join(tmpdir(), 'tsweeper-floor-'));
writeFileSync(join(floorDir, 'index.html'), '<!doctype html><title>floor</title><canvas id="board" width="160" height="96">'
  + '</canvas><script>document.getElementById("board").getContext("2d").fillRect(0, 0, 160, 96);'
  + 'window.tsweeperReadyAt = performance.now(); document.documentElement.dataset.state = "ready";</script>');
writeFileSync(join(floorDir, 'page.json'), '{}');
const floorSite = await startServer({ dir: floorDir });
const floorEnv = { url: floorSite.url, context: env.context };

// Navigation start to the first board drawn into the canvas, and to the
// first frame after it; the floor's samples interleaved with the page's.
const ready = [];
const shown = [];
const floor = [];
for (let i = 0; i < samples; i++) {
  const bare = await openGame(floorEnv);
  floor.push(await bare.evaluate(() => window.tsweeperReadyAt));
  await bare.close();
  const page = await openGame(env);
  const [drawn, frame] = await page.evaluate(() => new Promise((resolve) => {
    requestAnimationFrame(() => resolve([window.tsweeperReadyAt, performance.now()]));
  }));
  ready.push(drawn);
  shown.push(frame);
  await page.close();
}

// The same under the longest settings text the storage takes (5 M
// characters with the key), every character a line end.
const longText = '\r'.repeat(5e6 - 'tsweeper.ini'.length);
const readyLong = [];
for (let i = 0; i < samples; i++) {
  const page = await openGame(env, longText);
  readyLong.push(await page.evaluate(() => window.tsweeperReadyAt));
  await page.close();
}

// Times the release of a click at client pixel (x, y) of a fresh game: the
// handler's run (the rules, the drawing into the image and the copy to the
// canvas), from the event's creation, and to the next frame.
async function timeRelease(settings, x, y, expectOpened) {
  const page = await openGame(env, settings);
  const p = await pagePoint(page, x, y);
  await page.mouse.move(p.x, p.y);
  await page.mouse.down();
  await page.evaluate(() => {
    window.benchTimes = new Promise((resolve) => {
      let start = 0;
      window.addEventListener('mouseup', () => { start = performance.now(); }, { capture: true, once: true });
      window.addEventListener('mouseup', (event) => {
        const end = performance.now();
        requestAnimationFrame(() => resolve({
          handler: end - start, fromEvent: end - event.timeStamp, toFrame: performance.now() - event.timeStamp,
        }));
      }, { once: true });
    });
  });
  await page.mouse.up();
  const times = await page.evaluate(() => window.benchTimes);
  const opened = (await readScreen(page)).tiles.flat().filter((tile) => tile >= 3).length;
  if (opened !== expectOpened) throw new Error(`expected ${expectOpened} opened squares, saw ${opened}`);
  await page.close();
  return times;
}

const flood = [];
const click = [];
for (let i = 0; i < samples; i++) {
  flood.push(await timeRelease('[Set]\r\nX=36\r\nY=24\r\nBom=5\r\n', 8, 24, 857));
  // The first game of 10 x 5 with 10 bombs opens only (0, 0) for a first open there.
  click.push(await timeRelease(null, 8, 24, 1));
}
console.log(`${samples} samples each, fresh page per sample`);
report('floor: navigation to a bare canvas drawn', floor);
report('navigation to first board drawn', ready);
report('navigation to first frame with the board', shown);
report('first board drawn, 5 M line ends stored', readyLong);
report('flood of 857: mouseup handler', flood.map((t) => t.handler));
report('flood of 857: mouseup event to canvas updated', flood.map((t) => t.fromEvent));
report('flood of 857: mouseup event to next frame', flood.map((t) => t.toFrame));
report('one square: mouseup handler', click.map((t) => t.handler));
report('one square: mouseup event to canvas updated', click.map((t) => t.fromEvent));
report('one square: mouseup event to next frame', click.map((t) => t.toFrame));
for (const hook of hooks) await hook();
await new Promise((resolve) => floorSite.server.close(resolve));
rmSync(floorDir, { recursive: true, force: true });
