// The page's start: the window shown from the HTML alone while the rest of
// the page is on its way, and a failure before the first board, which
// shows the notice (what failed, and a button that loads again) instead of a
// blank page.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { setUp, startServer, waitForGame, readScreen, texts } from './support.mjs';
import { inflateSync } from 'node:zlib';

const env = await setUp(test);

// The pixels of a PNG screenshot (8-bit RGB or RGBA, as Chromium writes it):
// `channels` bytes each.
function pngPixels(png) {
  const width = png.readUInt32BE(16);
  const height = png.readUInt32BE(20);
  const channels = png[25] === 6 ? 4 : 3;
  const chunks = [];
  for (let at = 8; at < png.length; at += 12 + png.readUInt32BE(at)) {
    if (png.toString('latin1', at + 4, at + 8) === 'IDAT') chunks.push(png.subarray(at + 8, at + 8 + png.readUInt32BE(at)));
  }
  const raw = inflateSync(Buffer.concat(chunks));
  const stride = width * channels;
  const out = Buffer.alloc(height * stride);
  for (let y = 0; y < height; y++) {
    const filter = raw[y * (stride + 1)];
    for (let x = 0; x < stride; x++) {
      const a = x >= channels ? out[y * stride + x - channels] : 0;
      const b = y > 0 ? out[(y - 1) * stride + x] : 0;
      const c = x >= channels && y > 0 ? out[(y - 1) * stride + x - channels] : 0;
      const p = a + b - c;
      const paeth = Math.abs(p - a) <= Math.abs(p - b) && Math.abs(p - a) <= Math.abs(p - c) ? a
        : Math.abs(p - b) <= Math.abs(p - c) ? b : c;
      const predictor = [0, a, b, (a + b) >> 1, paeth][filter];
      out[y * stride + x] = (raw[y * (stride + 1) + 1 + x] + predictor) & 255;
    }
  }
  return { width, height, channels, data: out };
}

test('the window and a black board show before the script has arrived', async (t) => {
  let release;
  const held = new Promise((resolve) => { release = resolve; });
  // index.html is sent up to its script, and the rest only when the test says so.
  const slow = await startServer({
    send: async (file, body, response) => {
      if (file !== 'index.html') return false;
      const cut = body.indexOf('<script type="module">');
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
  const shot = pngPixels(await page.screenshot({ clip: board }));
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

// Damages the module inside index.html: its deflated bytes become others.
const damageModule = (file, body) => {
  if (file !== 'index.html') return body;
  const text = body.toString('utf8');
  const carried = /tsweeperWasm\s*=\s*'/.exec(text);
  assert.ok(carried, 'the page carries its module');
  const at = carried.index + carried[0].length;
  return Buffer.from(text.slice(0, at) + 'AAAAAAAA' + text.slice(at + 8));
};

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
