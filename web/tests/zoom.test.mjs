// Automatic zoom found from one measurement of what surrounds the board:
// across windows, ratios, boards and pointers it picks the zoom and the
// arrangement (the controls below the board or beside it) that laying the
// page out at each zoom picks, and it lays the page out twice, once to
// measure and once to check (three times where the zoom above comes within
// a pixel of fitting); with the window hidden after 終了 it still ends.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { openGame, startBrowser, nextFrame, startServer, squareCentre, texts } from './support.mjs';

// The search that laid the page out at each zoom it tried, kept here as the
// answer to compare with: from a first guess, down while the page does not
// fit, then up while it does, below the board and, on a wide window, beside
// it, beside only when that gives more; and by how little the page is too
// large at the zoom above each arrangement's, the least of the two, while
// 表示倍率 names the zoom found.
// The grid of the board's squares
// goes with the board, and 表示倍率's automatic entry names each zoom tried
// (the search let it name the zoom shown before, so that its answer, where
// that name's width decides, hung on what the page showed before). It
// leaves the page as it was.
const square = squareCentre(1, 0)[0] - squareCentre(0, 0)[0];
const searchedZoom = (page) => page.evaluate(([square, automatic]) => {
  const canvas = document.getElementById('board');
  const desk = document.getElementById('desk');
  const bar = document.getElementById('menubar');
  const surface = document.getElementById('client');
  const named = document.getElementById('zoom-choice').options[0];
  const ratio = window.devicePixelRatio;
  const kept = [canvas.style.width, canvas.style.height, bar.style.minWidth, desk.className, named.textContent];
  const keptSquare = surface.style.getPropertyValue('--square');
  const length = (pixels) => `${(pixels + 1 / 256) / ratio}px`;
  const showAt = (zoom, name = zoom) => {
    canvas.style.width = bar.style.minWidth = length(canvas.width * zoom);
    canvas.style.height = length(canvas.height * zoom);
    surface.style.setProperty('--square', length(square * zoom));
    named.textContent = automatic.replace('%d', String(Number((name / ratio).toFixed(2))));
  };
  // Whole pixels the page is too large by; it fits at 0.
  const overflow = () => Math.max(0, document.documentElement.scrollWidth - innerWidth,
    document.documentElement.scrollHeight - innerHeight, desk.scrollWidth - desk.clientWidth);
  const fits = () => overflow() === 0;
  const least = matchMedia('(pointer: coarse)').matches ? Math.max(1, Math.ceil(ratio - 1e-9)) : 1;
  const largestFitting = () => {
    showAt(1);
    const board = canvas.getBoundingClientRect();
    const style = getComputedStyle(desk);
    const across = document.getElementById('window').getBoundingClientRect().width - board.width
      + Number.parseFloat(style.paddingLeft) + Number.parseFloat(style.paddingRight);
    const down = desk.getBoundingClientRect().height - board.height;
    let zoom = Math.max(least, Math.min(Math.floor(((innerWidth - across) * ratio) / canvas.width),
      Math.floor(((innerHeight - down) * ratio) / canvas.height)));
    showAt(zoom);
    while (zoom > least && !fits()) showAt(--zoom);
    while (fits()) {
      showAt(zoom + 1);
      if (!fits()) break;
      zoom++;
    }
    return zoom;
  };
  desk.classList.remove('beside');
  const tried = [{ zoom: largestFitting(), beside: false }];
  if (innerWidth > innerHeight) {
    desk.classList.add('beside');
    tried.push({ zoom: largestFitting(), beside: true });
  }
  const found = tried.reduce((best, next) => (next.zoom > best.zoom ? next : best));
  // How the page measured at the zoom found sees the zoom above.
  let overflowAbove = Infinity;
  for (const { zoom, beside } of tried) {
    desk.classList.toggle('beside', beside);
    showAt(zoom + 1, found.zoom);
    overflowAbove = Math.min(overflowAbove, overflow());
  }
  [canvas.style.width, canvas.style.height, bar.style.minWidth, desk.className, named.textContent] = kept;
  surface.style.setProperty('--square', keptSquare);
  return { found, overflowAbove };
}, [square, texts.PageZoomAutomatic]);

// The zoom and the arrangement that the page shows.
const shownZoom = (page) => page.evaluate(() => {
  const canvas = document.getElementById('board');
  return {
    zoom: Math.round((canvas.getBoundingClientRect().width * window.devicePixelRatio) / canvas.width),
    beside: document.getElementById('desk').classList.contains('beside'),
  };
});

// The layouts that the page makes to find its zoom again from a layout
// that, as on a fresh load, holds the board at no zoom: the layouts that
// Chromium's trace shows between two marks around one task, so that no
// frame's own layout is counted.
async function layoutsToFindZoom(session, page) {
  const events = [];
  const collect = ({ value }) => events.push(...value);
  session.on('Tracing.dataCollected', collect);
  await session.send('Tracing.start', { traceConfig: { includedCategories: ['devtools.timeline', 'blink.user_timing'] } });
  await page.evaluate(() => {
    performance.mark('zoom-start');
    document.getElementById('board').style.width = '1px';
    window.dispatchEvent(new Event('resize'));
    performance.mark('zoom-end');
  });
  const complete = new Promise((resolve) => session.once('Tracing.tracingComplete', resolve));
  await session.send('Tracing.end');
  await complete;
  session.off('Tracing.dataCollected', collect);
  const [start, end] = ['zoom-start', 'zoom-end'].map((name) => events.find((event) => event.name === name));
  return events.filter((event) => event.name === 'Layout' && event.pid === start.pid && event.tid === start.tid
    && event.ts > start.ts && event.ts < end.ts).length;
}

const windows = [[390, 844], [844, 390], [1280, 800], [800, 600], [600, 500], [320, 568], [568, 320], [1024, 400]];
const boards = [[10, 5, 10], [20, 10, 30], [36, 24, 99]];
const screens = [
  { pointer: 'mouse', ratios: [1, 1.5, 2.625] },
  { pointer: 'finger', ratios: [2, 2.625, 3], options: { hasTouch: true, isMobile: true } },
];

// Every window of the table, for each board, on one screen.
async function compareOnScreen(screen, url, what) {
  for (const [columns, rows, bombs] of boards) {
    const page = await openGame({ url, context: screen.context }, `[Set]\r\nX=${columns}\r\nY=${rows}\r\nBom=${bombs}\r\n`);
    const session = await page.context().newCDPSession(page);
    for (const [width, height] of windows) {
      const where = `${columns} x ${rows} in ${width} x ${height}, ${what}`;
      await page.setViewportSize({ width, height });
      await nextFrame(page);
      await nextFrame(page);
      const { found, overflowAbove } = await searchedZoom(page);
      assert.deepEqual(await shownZoom(page), found, where);
      // The sums leave a pixel for the whole pixels that the page's size is
      // read in, and see 表示倍率 as it names the zoom found: a zoom above
      // it that they see too large by one pixel at most is checked and refused.
      const layouts = await layoutsToFindZoom(session, page);
      assert.ok(layouts <= (overflowAbove <= 1 ? 3 : 2), `${where}: ${layouts} layouts, ${overflowAbove} px too large above`);
      assert.deepEqual(await shownZoom(page), found, `${where}, found again`);
    }
    await page.close();
  }
}

test('automatic zoom is the zoom that laying the page out at each zoom finds, after two layouts at most', async (t) => {
  const site = await startServer();
  t.after(() => site.close());
  for (const { pointer, ratios, options } of screens) {
    for (const ratio of ratios) {
      const screen = await startBrowser({ serviceWorkers: 'block', deviceScaleFactor: ratio, ...options });
      try {
        await compareOnScreen(screen, site.url, `at ${ratio}, ${pointer}`);
      } finally {
        await screen.close();
      }
    }
  }
});

// After 終了 the window is hidden: a zoom that the page does not show fits
// at every size, and a search that went up while the page fitted never
// ended. The page still answers after its window has been resized.
test('after 終了 a change of the window\'s size still finds a zoom', async (t) => {
  const screen = await startBrowser({ serviceWorkers: 'block' });
  t.after(() => screen.close());
  const site = await startServer();
  t.after(() => site.close());
  const page = await openGame({ url: site.url, context: screen.context });
  await page.keyboard.press('Alt+G');
  await page.keyboard.press('q');
  await page.waitForFunction(() => !document.getElementById('ended').hidden);
  await page.setViewportSize({ width: 1000, height: 700 });
  const answer = page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => resolve('answered'))));
  let timer;
  const timeout = new Promise((resolve) => { timer = setTimeout(() => resolve('no answer in 5 s'), 5000); });
  assert.equal(await Promise.race([answer, timeout]), 'answered');
  clearTimeout(timer);
});
