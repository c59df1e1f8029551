// The first board of a fresh load, timed two ways: by the page's own stamp
// (window.tsweeperReadyAt, set when its first board is in the canvas) and
// from outside the page, by an observer that the benchmark puts into every
// document: at each animation frame it copies the canvas #board into a
// canvas of its own (never touching the page's) and notes the first frame
// whose pixels are the picture expected. The bare page of the floor is timed
// the same way.
import { mkdtempSync, writeFileSync, rmSync } from 'node:fs';
import { join } from 'node:path';
import { tmpdir } from 'node:os';
import { expectedImage, replay, startServer } from '../tests/support.mjs';

// FNV-1a over the pixels' bytes: the same function runs in the observer.
function pictureHash(data) {
  let hash = 0x811c9dc5;
  for (let i = 0; i < data.length; i++) hash = Math.imul(hash ^ data[i], 0x01000193) >>> 0;
  return hash;
}

// Runs in the page before its own scripts; `wanted` is { width, height, hash }.
// Its canvas and its reading are set up here, at the document's start, so
// that their first costs fall there, alike for every page, and not into the
// frame that they watch.
function observeFirstBoard(wanted) {
  const copy = document.createElement('canvas');
  copy.width = wanted.width;
  copy.height = wanted.height;
  const context = copy.getContext('2d', { willReadFrequently: true });
  const hashOfCopy = () => {
    const { data } = context.getImageData(0, 0, wanted.width, wanted.height);
    let hash = 0x811c9dc5;
    for (let i = 0; i < data.length; i++) hash = Math.imul(hash ^ data[i], 0x01000193) >>> 0;
    return hash;
  };
  hashOfCopy();
  const look = () => {
    const board = document.getElementById('board');
    if (board && board.width === wanted.width && board.height === wanted.height) {
      context.clearRect(0, 0, wanted.width, wanted.height);
      context.drawImage(board, 0, 0);
      if (hashOfCopy() === wanted.hash) {
        window.benchSeenAt = performance.now();
        return;
      }
    }
    requestAnimationFrame(look);
  };
  requestAnimationFrame(look);
}

// The game's first board (10 x 5, the counter at 10), as the native replay draws it.
export function firstBoardPicture() {
  const image = expectedImage(replay(['size 10 5 10', 'new']));
  return { width: image.width, height: image.height, hash: pictureHash(image.data) };
}

// The floor: a page of one small inline script that fills a canvas of the
// board's size with opaque black, from the same kind of server.
export async function startFloor() {
  const dir = mkdtempSync(join(tmpdir(), 'tsweeper-floor-'));
  writeFileSync(join(dir, 'index.html'), '<!doctype html><title>floor</title><canvas id="board" width="160" height="96">'
    + '</canvas><script>document.getElementById("board").getContext("2d").fillRect(0, 0, 160, 96);'
    + 'window.tsweeperReadyAt = performance.now(); document.documentElement.dataset.state = "ready";</script>');
  const site = await startServer({ dir });
  const black = new Uint8Array(160 * 96 * 4).map((_, i) => (i % 4 === 3 ? 255 : 0));
  return {
    ...site,
    picture: { width: 160, height: 96, hash: pictureHash(black) },
    async close() {
      await site.close();
      rmSync(dir, { recursive: true, force: true });
    },
  };
}

// A fresh load: a new browser context (no HTTP cache, no code cache, no
// service worker), the processor slowed `rate` times by Chromium's
// throttling. From the navigation's start: the page's stamp and the frame
// the observer first saw the picture in; and the files the page had asked
// for before that frame. `traced(tab)`, when given, starts a trace and
// gives the function that stops it.
export async function freshLoad(browser, url, picture, rate, traced = null) {
  const context = await browser.newContext();
  const tab = await context.newPage();
  await tab.addInitScript(observeFirstBoard, picture);
  const cdp = await context.newCDPSession(tab);
  await cdp.send('Emulation.setCPUThrottlingRate', { rate });
  const stop = traced ? await traced(tab) : null;
  await tab.goto(url);
  await tab.waitForFunction(() => window.benchSeenAt && document.documentElement.dataset.state, null, { polling: 50 });
  const [stamp, seen, state, before] = await tab.evaluate(() => [window.tsweeperReadyAt, window.benchSeenAt,
    document.documentElement.dataset.state,
    performance.getEntriesByType('resource').filter((r) => r.startTime < window.benchSeenAt).map((r) => r.name)]);
  if (stop) await stop();
  await context.close();
  if (state !== 'ready') throw new Error(`${url}: ${state}`);
  const needed = ['index.html', ...before.map((name) => new URL(name).pathname.slice(1))];
  return { stamp, seen, needed };
}
