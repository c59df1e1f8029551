// Figures of the web edition, measured in headless chromium (not a test):
// the size of build/web and of what the first board needs as hosts send
// them (raw, gzip, brotli), the first board on a fresh load beside a bare
// page, with the processor as it is and slowed 4 times (by the page's stamp
// and by an observer of the canvas), the time from a release to the updated
// canvas for the 857-square flood and for a one-square click, and the first
// board under the longest settings text the storage takes.
// Usage: node bench/bench-page.mjs [SAMPLES [OTHER_SITE_DIR]...]
// Each OTHER_SITE_DIR, another build's folder (an older commit's build/web),
// is loaded the same way, its samples interleaved with the others.
import { chromium } from 'playwright-core';
import { setUp, openGame, readScreen, pagePoint, siteDir, startServer, chromiumOptions } from '../tests/support.mjs';
import { firstBoardPicture, startFloor, freshLoad } from './first-board.mjs';
import { siteSizes, shownSizes } from './sizes.mjs';

const samples = Number(process.argv[2] || 15);
const hooks = [];
const env = await setUp({ after: (f) => hooks.push(f) });

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const report = (name, values) =>
  console.log(`${name.padEnd(52)} median ${median(values).toFixed(2)} ms, min ${Math.min(...values).toFixed(2)}, max ${Math.max(...values).toFixed(2)}`);

const floor = await startFloor();
const board = firstBoardPicture();
const sites = [{ name: 'this build', dir: siteDir, url: env.url }];
for (const dir of process.argv.slice(3)) {
  const server = await startServer({ dir });
  hooks.push(() => server.close());
  sites.push({ name: dir, dir, url: server.url });
}

// The budget is what a host sends, gzipped: what the first board needs, and the whole folder.
const budget = { firstBoard: 20000, folder: 64 * 1024 };
const against = (bytes, most) => (bytes <= most ? `within ${most}` : `over ${most} by ${bytes - most}`);

const browser = await chromium.launch(chromiumOptions);
for (const site of sites) {
  // What the first board needs: the files the page asked for before the observer saw it.
  const { needed } = await freshLoad(browser, site.url, board, 1);
  const sizes = siteSizes(site.dir, needed);
  console.log(`${site.name}: first board needs ${needed.join(', ')}: ${shownSizes(sizes.firstBoard)}`
    + ` (gzip ${against(sizes.firstBoard.gzip, budget.firstBoard)})`);
  console.log(`${site.name}: the folder, ${sizes.files} files: ${shownSizes(sizes.folder)}`
    + ` (gzip ${against(sizes.folder.gzip, budget.folder)})`);
}

for (const rate of [1, 4]) {
  const times = { floor: [], ...Object.fromEntries(sites.map((site) => [site.name, []])) };
  for (let i = 0; i < samples; i++) {
    times.floor.push(await freshLoad(browser, floor.url, floor.picture, rate));
    for (const site of sites) times[site.name].push(await freshLoad(browser, site.url, board, rate));
  }
  const slowed = rate === 1 ? '' : `, processor slowed ${rate}x`;
  for (const [what, key] of [['stamp', 'stamp'], ['observer', 'seen']]) {
    const floorMedian = median(times.floor.map((t) => t[key]));
    report(`floor: bare canvas, ${what}${slowed}`, times.floor.map((t) => t[key]));
    for (const site of sites) {
      const values = times[site.name].map((t) => t[key]);
      report(`${site.name}: first board, ${what}${slowed}`, values);
      console.log(`${''.padEnd(52)} ratio of medians ${(median(values) / floorMedian).toFixed(2)}`);
    }
  }
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
await floor.close();
