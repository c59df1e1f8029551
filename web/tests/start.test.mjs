// The page's start: the window shown from the HTML alone while the rest of
// the page is on its way, the first board's frame before the rest of the
// page is set up, and a failure before the first board, which
// shows the notice (what failed, and a button that loads again) instead of a
// blank page.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { setUp, startServer, openGame, waitForGame, readCanvas, readScreen, texts, pngPixels } from './support.mjs';

const env = await setUp(test);

test('the window and a black board show before the script has arrived', async (t) => {
  let release;
  const held = new Promise((resolve) => { release = resolve; });
  // index.html is sent up to its script, and the rest only when the test says so.
  const slow = await startServer({
    send: async (file, body, response) => {
      if (file !== 'index.html') return false;
      const cut = body.indexOf('<script id="page-script">');
      response.write(body.subarray(0, cut));
      await held;
      response.end(body.subarray(cut));
      return true;
    },
  });
  t.after(() => { release(); return slow.close(); });
  const page = await env.context.newPage();
  await page.goto(slow.url, { waitUntil: 'commit' });
  await page.waitForSelector('#board', { state: 'visible' });
  assert.equal(await page.evaluate(() => document.documentElement.dataset.state), undefined, 'not started yet');
  const frame = await page.locator('#window').boundingBox();
  const board = await page.locator('#board').boundingBox();
  assert.ok(frame.width > board.width && frame.height > board.height, 'the frame around the board');
  // Straight from the browser: a page still loading has no fonts ready,
  // which a screenshot through the driver would wait for.
  const session = await page.context().newCDPSession(page);
  const { data } = await session.send('Page.captureScreenshot', { format: 'png', clip: { ...board, scale: 1 } });
  const shot = pngPixels(Buffer.from(data, 'base64'));
  assert.deepEqual([shot.width, shot.height], [160, 96]);
  const black = shot.data.every((value, i) => (i % shot.channels === 3 ? value === 255 : value === 0));
  assert.ok(black, 'the canvas is black');
  release();
  await waitForGame(page);
  const screen = await readScreen(page);
  assert.deepEqual([screen.columns, screen.rows], [10, 5]);
  assert.ok(screen.tiles.flat().every((tile) => tile === 0));
  await page.close();
});

test('the first frame with the board comes before what the board does not need', async () => {
  const page = await env.context.newPage();
  // At every frame until the board is in the canvas, and at that frame: the
  // cells of the screen reader's grid and the page's state.
  await page.addInitScript(() => {
    const look = () => {
      if (window.tsweeperReadyAt === undefined) requestAnimationFrame(look);
      else window.firstBoardFrame = { cells: document.querySelectorAll('[role=gridcell]').length, state: document.documentElement.dataset.state };
    };
    requestAnimationFrame(look);
  });
  await page.goto(env.url);
  await waitForGame(page);
  assert.deepEqual(await page.evaluate(() => window.firstBoardFrame), { cells: 0, state: undefined });
  assert.equal(await page.evaluate(() => document.documentElement.dataset.state), 'ready');
  assert.equal(await page.locator('[role=gridcell]').count(), 50, 'the grid, once the page is ready');
  await page.close();
});

// Damages the module inside index.html: found by what it is, hexadecimal text
// that starts with a WebAssembly module's magic number ("\0asm"), whatever the
// script calls it; its first bytes become zeros.
const moduleMagic = Buffer.from('\0asm').toString('hex');
const damageModule = (file, body) => {
  if (file !== 'index.html') return body;
  const text = body.toString('utf8');
  const at = text.indexOf(moduleMagic);
  assert.ok(at > 0, 'the page carries its module');
  return Buffer.from(text.slice(0, at) + '00000000' + text.slice(at + 8));
};

test('a browser without its own hexadecimal decoding reads the module the same', async () => {
  const own = await openGame(env);
  const withOwn = await readCanvas(own);
  assert.equal(await own.evaluate(() => typeof Uint8Array.fromHex), 'function', 'this browser decodes it itself');
  await own.close();
  const page = await openGame(env, null, () => { delete Uint8Array.fromHex; });
  assert.equal(await page.evaluate(() => document.documentElement.dataset.state), 'ready');
  assert.deepEqual(await readCanvas(page), withOwn);
  await page.close();
});

const failures = [
  // what, how the server or the page is made to fail, the notice expected
  ['a module that cannot be loaded', { damage: damageModule }, texts.PageFileFailed.replace('%s', 'tsweeper.wasm')],
  ['a start that throws after the module loaded', { canvasThrows: true },
    texts.PageStartFailed.replace('%s', 'no canvas here')],
];

for (const [what, how, notice] of failures) {
  test(`${what}: the notice says what failed and loads again`, async (t) => {
    let broken = true;
    const site = await startServer({
      send: async (file, body, response) => {
        if (!how.damage || !broken) return false;
        response.end(how.damage(file, body));
        return true;
      },
    });
    t.after(() => site.close());
    const page = await env.context.newPage();
    if (how.canvasThrows) {
      await page.addInitScript(() => {
        if (sessionStorage.getItem('loaded-once')) return;
        sessionStorage.setItem('loaded-once', '1');
        HTMLCanvasElement.prototype.getContext = () => { throw new Error('no canvas here'); };
      });
    }
    await page.goto(site.url);
    await waitForGame(page);
    assert.equal(await page.evaluate(() => document.documentElement.dataset.state), 'failed');
    assert.equal(await page.textContent('#failed p'), notice);
    assert.equal(await page.isVisible('#window'), false);
    assert.equal(await page.textContent('#reload'), texts.PageReload);
    broken = false;
    await Promise.all([page.waitForEvent('load'), page.click('#reload')]);
    await waitForGame(page);
    assert.equal(await page.evaluate(() => document.documentElement.dataset.state), 'ready', 'loaded again');
    assert.equal(await page.isVisible('#failed'), false);
    await page.close();
  });
}

test('the page\'s notices come from the program\'s texts', async () => {
  const page = await env.context.newPage();
  await page.goto(env.url);
  await waitForGame(page);
  const shown = await page.evaluate(() => ({
    zoom: document.getElementById('zoom').firstChild.textContent.trim(),
    auto: document.querySelector('#zoom-choice option').textContent,
    flagMode: document.getElementById('flag-mode-choice').textContent.trim(),
    scale: document.getElementById('board').getBoundingClientRect().width / document.getElementById('board').width,
    ended: document.querySelector('#ended p').textContent,
    restart: document.getElementById('restart').textContent,
    reload: document.getElementById('reload').textContent,
    title: document.title,
  }));
  assert.deepEqual(shown, {
    zoom: texts.PageZoomLabel, auto: texts.PageZoomAutomatic.replace('%d', shown.scale), scale: shown.scale, flagMode: texts.PageFlagMode,
    ended: texts.PageEnded, restart: texts.PageRestart,
    reload: texts.PageReload, title: texts.ProductName,
  });
  await page.close();
});
