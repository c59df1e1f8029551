// Figures of the web edition, measured in headless chromium (not a test):
// the size of build/web and of what the first board needs, navigation to the
// first fully drawn board on a fresh load beside a bare page, with the
// processor as it is and slowed 4 times, and the time from a release to the
// updated canvas for the 857-square flood and for a one-square click, and the
// first board under the longest settings text the storage takes.
// Usage: node bench/bench-page.mjs [SAMPLES [OTHER_SITE_DIR]]
// OTHER_SITE_DIR, another build's folder (an older commit's build/web), is
// loaded the same way, its samples interleaved with the others.
import { readdirSync, readFileSync, statSync, mkdtempSync, writeFileSync, rmSync } from 'node:fs';
import { gzipSync } from 'node:zlib';
import { join } from 'node:path';
import { tmpdir } from 'node:os';
import { chromium } from 'playwright-core';
import { setUp, openGame, readScreen, pagePoint, siteDir, startServer, chromiumOptions } from '../tests/support.mjs';

const samples = Number(process.argv[2] || 15);
const hooks = [];
const env = await setUp({ after: (f) => hooks.push(f) });

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const report = (name, values) =>
  console.log(`${name.padEnd(52)} median ${median(values).toFixed(2)} ms, min ${Math.min(...values).toFixed(2)}, max ${Math.max(...values).toFixed(2)}`);

const files = readdirSync(siteDir);
const bytes = files.reduce((sum, file) => sum + statSync(join(siteDir, file)).size, 0);
console.log(`build/web: ${files.length} files, ${bytes} bytes (${(bytes / 1024).toFixed(1)} KiB)`);
// The first board needs index.html alone: the style, the script, the module and its strip are inside.
const pageFile = readFileSync(join(siteDir, "index.html"));
console.log(`first board: index.html, ${pageFile.length} bytes, ${gzipSync(pageFile, { level: 9 }).length} bytes gzipped`);

// The floor: a page of one small inline script that draws into a canvas,
// from the same kind of server. What the machine costs whatever the page.
const floorDir = mkdtempSync(join(tmpdir(), 'tsweeper-floor-'));
writeFileSync(join(floorDir, 'index.html'), '<!doctype html><title>floor</title><canvas id="board" width="160" height="96">'
  + '</canvas><script>document.getElementById("board").getContext("2d").fillRect(0, 0, 160, 96);'
  + 'window.tsweeperReadyAt = performance.now(); document.documentElement.dataset.state = "ready";</script>');
const floorSite = await startServer({ dir: floorDir });
const otherSite = process.argv[3] ? await startServer({ dir: process.argv[3] }) : null;

// A fresh load: a new browser context each time (no HTTP cache, no code
// cache, no service worker), the processor slowed `rate` times by Chromium's
// throttling. Navigation start to the first board drawn, and to the first
// frame after it.
const browser = await chromium.launch(chromiumOptions);
async function freshLoad(url, rate) {
  const context = await browser.newContext();
  const tab = await context.newPage();
  const cdp = await context.newCDPSession(tab);
  await cdp.send('Emulation.setCPUThrottlingRate', { rate });
  await tab.goto(url);
  await tab.waitForFunction(() => document.documentElement.dataset.state);
  const [drawn, frame, state] = await tab.evaluate(() => new Promise((resolve) => {
    requestAnimationFrame(() => resolve([window.tsweeperReadyAt, performance.now(), document.documentElement.dataset.state]));
  }));
  await context.close();
  if (state !== 'ready') throw new Error(`${url}: ${state}`);
  return { drawn, frame };
}

for (const rate of [1, 4]) {
  const floor = [];
  const game = [];
  const other = [];
  for (let i = 0; i < samples; i++) {
    floor.push(await freshLoad(floorSite.url, rate));
    game.push(await freshLoad(env.url, rate));
    if (otherSite) other.push(await freshLoad(otherSite.url, rate));
  }
  const slowed = rate === 1 ? '' : `, processor slowed ${rate}x`;
  if (otherSite) report(`the other build's first board drawn${slowed}`, other.map((t) => t.drawn));
  report(`floor: bare canvas drawn${slowed}`, floor.map((t) => t.drawn));
  report(`first board drawn${slowed}`, game.map((t) => t.drawn));
  console.log(`${''.padEnd(52)} ratio of medians ${(median(game.map((t) => t.drawn)) / median(floor.map((t) => t.drawn))).toFixed(2)}`);
  report(`floor: first frame${slowed}`, floor.map((t) => t.frame));
  report(`first frame with the board${slowed}`, game.map((t) => t.frame));
  console.log(`${''.padEnd(52)} ratio of medians ${(median(game.map((t) => t.frame)) / median(floor.map((t) => t.frame))).toFixed(2)}`);
}
await browser.close();

// The first board under the longest settings text the storage takes (5 M
// characters with the key), every character a line end.
const longText = '\r'.repeat(5e6 - 'tsweeper.ini'.length);
const readyLong = [];
const readyShort = [];
for (let i = 0; i < samples; i++) {
  for (const [text, times] of [[longText, readyLong], [null, readyShort]]) {
    const page = await openGame(env, text);
    times.push(await page.evaluate(() => window.tsweeperReadyAt));
    await page.close();
  }
}
report('first board drawn, no settings text (warm browser)', readyShort);
report('first board drawn under 5 M line ends stored', readyLong);

// Times the release of a click at client pixel (x, y) of a fresh game: the
// handler's run (the rules, the drawing into the image and the copy to the
// canvas), from the event's creation, and to the next frame. The page plays
// the release on its pointerup (an older build on the mouseup after it):
// timed from the one to the other.
async function timeRelease(settings, x, y, expectOpened) {
  const page = await openGame(env, settings);
  const p = await pagePoint(page, x, y);
  await page.mouse.move(p.x, p.y);
  await page.mouse.down();
  await page.evaluate(() => {
    window.benchTimes = new Promise((resolve) => {
      let start = 0;
      let created = 0;
      window.addEventListener('pointerup', (event) => {
        start = performance.now();
        created = event.timeStamp;
      }, { capture: true, once: true });
      window.addEventListener('mouseup', () => {
        const end = performance.now();
        requestAnimationFrame(() => resolve({
          handler: end - start, fromEvent: end - created, toFrame: performance.now() - created,
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
console.log(`${samples} samples each; the clicks on a fresh page of one warm browser`);
report('flood of 857: release handler', flood.map((t) => t.handler));
report('flood of 857: release event to canvas updated', flood.map((t) => t.fromEvent));
report('flood of 857: release event to next frame', flood.map((t) => t.toFrame));
report('one square: release handler', click.map((t) => t.handler));
report('one square: release event to canvas updated', click.map((t) => t.fromEvent));
report('one square: release event to next frame', click.map((t) => t.toFrame));
for (const hook of hooks) await hook();
await floorSite.close();
if (otherSite) await otherSite.close();
rmSync(floorDir, { recursive: true, force: true });
