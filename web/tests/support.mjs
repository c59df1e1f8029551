// What the browser tests share: a static server for build/web on 127.0.0.1,
// Debian's chromium driven headless, the strip decoded here from the file
// that the build put into the module, the program's texts, the native
// replay of a move list, the canvas read as tiles, screenshots decoded, and
// the zoom tried on the page's layout.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { execFileSync } from 'node:child_process';
import { extname, join, normalize, dirname } from 'node:path';
import { fileURLToPath } from 'node:url';
import { mkdtempSync, rmSync, readFileSync, readdirSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { inflateSync } from 'node:zlib';
import assert from 'node:assert/strict';
import { chromium } from 'playwright-core';

export const root = join(dirname(fileURLToPath(import.meta.url)), '..', '..');
export const siteDir = process.env.TSWEEPER_WEB_DIR || join(root, 'build', 'web');
// The web build's generated files (the strip, the texts) and its recipe of the site.
const wasmBuild = process.env.TSWEEPER_WASM_BUILD || join(root, 'build', 'wasm');
export const siteRecipe = join(wasmBuild, 'web', 'site.json');
const replayProgram = process.env.TSWEEPER_REPLAY || join(root, 'build', 'native', 'web', 'web_replay');

// The program's texts as the page has them, and the page's labels (menus,
// dialog, IDs) as its script carries them.
export const texts = JSON.parse(readFileSync(join(wasmBuild, 'generated', 'texts.json'), 'utf8'));
export const labels = JSON.parse(readFileSync(join(wasmBuild, 'generated', 'page.json'), 'utf8'));

// The tile numbers by their names and the square's size, read from the
// program's own headers, and the client pixel at a square's centre: [x, y],
// or "x y" as a replay line takes it.
const header = (name) => readFileSync(join(root, name), 'utf8');
export const tileNumber = Object.fromEntries([...header('core/draw.h').matchAll(/\b(Tile\w+) = (\d+),/g)]
  .map(([, name, value]) => [name, Number(value)]));
const squareSize = Number(/constexpr int SquareSize = (\d+);/.exec(header('core/geometry.h'))[1]);
export const squareCentre = (column, row) => [column * squareSize + squareSize / 2, (row + 1) * squareSize + squareSize / 2];
export const at = (column, row) => squareCentre(column, row).join(' ');

// A file of the site that runs no script and that every engine shows as a
// document of the origin (Firefox would offer the manifest as a download):
// the small icon.
export function scriptlessFile(dir = siteDir) {
  return readdirSync(dir).find((name) => name.startsWith('icon-') && name.endsWith('.png'));
}

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.json': 'application/json; charset=utf-8',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
  '.ico': 'image/x-icon',
  '.webmanifest': 'application/manifest+json',
};

// Serves the folder (build/web unless `dir`; `serve(dir)` changes it);
// `refuse` names files answered with 404. `send(file, body, response)`, when
// given, may answer a request itself (and then returns true).
export async function startServer({ refuse = [], dir = siteDir, send = null } = {}) {
  let folder = dir;
  const server = createServer(async (request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
    const file = path === '/' ? '/index.html' : path;
    if (refuse.includes(file.slice(1)) || file.includes('..')) {
      response.writeHead(404).end();
      return;
    }
    let body;
    try {
      body = await readFile(join(folder, file));
    } catch {
      response.writeHead(404).end();
      return;
    }
    response.setHeader('Content-Type', types[extname(file)] || 'application/octet-stream');
    if (send && await send(file.slice(1), body, response)) return;
    response.end(body);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return {
    server,
    url: `http://127.0.0.1:${server.address().port}/`,
    serve(other) { folder = other; },
    close() {
      const closed = new Promise((resolve) => server.close(resolve));
      server.closeAllConnections();
      return closed;
    },
  };
}

export const chromiumOptions = {
  executablePath: process.env.TSWEEPER_CHROMIUM || '/usr/bin/chromium',
  headless: true,
  args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
    '--disable-sync', '--no-first-run'],
};

export async function startBrowser(contextOptions = {}) {
  const profile = mkdtempSync(join(tmpdir(), 'tsweeper-chromium-'));
  const context = await chromium.launchPersistentContext(profile, { ...chromiumOptions, ...contextOptions });
  return {
    context,
    async close() {
      await context.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

// The grid as the accessibility tree has it: the grid's name, its rows of
// cell names, and the name of the active cell.
export async function accessibleGrid(page) {
  const session = await page.context().newCDPSession(page);
  const { nodes } = await session.send('Accessibility.getFullAXTree');
  const byId = new Map(nodes.map((node) => [node.nodeId, node]));
  const role = (node) => node.role?.value;
  const grid = nodes.find((node) => role(node) === 'grid');
  const children = (node) => (node.childIds || []).map((id) => byId.get(id)).filter(Boolean)
    .flatMap((child) => (role(child) === 'generic' || role(child) === 'none' ? children(child) : [child]));
  const rows = children(grid).filter((node) => role(node) === 'row')
    .map((row) => children(row).filter((node) => role(node) === 'gridcell').map((cell) => cell.name?.value));
  const active = grid.properties?.find((p) => p.name === 'activedescendant');
  const activeCell = active && nodes.find((node) => node.backendDOMNodeId === active.value.relatedNodes[0].backendDOMNodeId);
  await session.detach();
  return { name: grid.name?.value, rows, active: activeCell?.name?.value };
}

// One browser and one server for a test file, closed at its end. Service
// workers are refused unless the options allow them, so that no test sees
// files that a worker of another test kept. What the bodies that every
// engine runs (everywhere.mjs) ask of Chromium comes with it: its pages,
// the network cut by the browser, and the screen reader's grid as its
// accessibility tree has it.
export async function setUp(t, contextOptions = {}) {
  const site = await startServer();
  const browser = await startBrowser({ serviceWorkers: 'block', ...contextOptions });
  t.after(async () => {
    await browser.close();
    await site.close();
  });
  const { context } = browser;
  return {
    url: site.url, context, site,
    newPage: () => context.newPage(),
    setOffline: (offline) => context.setOffline(offline),
    async assertReaderGrid(page, expected) {
      assert.deepEqual(await accessibleGrid(page), { ...expected, active: expected.active?.name });
    },
  };
}

// A fresh page of the game with the given settings text (null: none),
// waited for until its first board is drawn; `initScript` runs in every
// document of the page before its own scripts (Chromium only). `env` opens
// pages through its `newPage` (another engine's driver) or its `context`.
// The storage is set from a file of the site that runs no script, so that
// no game page writes its own settings over it on leaving.
export async function openGame(env, settingsText = null, initScript = null) {
  const page = await (env.newPage ? env.newPage() : env.context.newPage());
  if (initScript) await page.addInitScript(initScript);
  await page.goto(`${env.url}${env.blank ?? scriptlessFile()}`);
  await page.evaluate((text) => {
    localStorage.clear();
    if (text !== null) localStorage.setItem('tsweeper.ini', text);
  }, settingsText);
  await page.goto(env.url);
  await waitForGame(page);
  return page;
}

export async function waitForGame(page) {
  await page.waitForFunction(() => document.documentElement.dataset.state);
}

// The strip, decoded here from the file the page's module carries: tile t
// as 16 x 16 RGBA rows.
function decodeStrip() {
  const file = readFileSync(join(wasmBuild, 'generated', 'tiles.bmp'));
  const offset = file.readUInt32LE(10);
  const header = file.readUInt32LE(14);
  const width = file.readInt32LE(18);
  const height = file.readInt32LE(22);
  const stride = Math.ceil(width / 4) * 4;
  const tiles = [];
  for (let t = 0; t < width / 16; t++) {
    const tile = Buffer.alloc(16 * 16 * 4);
    for (let y = 0; y < 16; y++) {
      const row = height > 0 ? 15 - y : y;
      for (let x = 0; x < 16; x++) {
        const index = file[offset + row * stride + t * 16 + x];
        const p = 14 + header + 4 * index;
        tile.set([file[p + 2], file[p + 1], file[p], 255], (y * 16 + x) * 4);
      }
    }
    tiles.push(tile);
  }
  return tiles;
}
export const stripTiles = decodeStrip();

// The canvas's drawing buffer: { width, height, data } with RGBA bytes.
export async function readCanvas(page) {
  const { width, height, base64 } = await page.evaluate(() => {
    const canvas = document.getElementById('board');
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let text = '';
    for (let i = 0; i < data.length; i += 8192) text += String.fromCharCode(...data.subarray(i, i + 8192));
    return { width: canvas.width, height: canvas.height, base64: btoa(text) };
  });
  return { width, height, data: Buffer.from(base64, 'base64') };
}

function block(image, left, top) {
  const out = Buffer.alloc(16 * 16 * 4);
  for (let y = 0; y < 16; y++) {
    image.data.copy(out, y * 64, ((top + y) * image.width + left) * 4, ((top + y) * image.width + left + 16) * 4);
  }
  return out;
}

// The tile that a 16 x 16 block shows, -1 when it is none of them.
function tileOf(pixels, candidates) {
  return candidates.find((t) => stripTiles[t].equals(pixels)) ?? -1;
}

const boardTiles = [...Array(16).keys()];
const counterCellTiles = [...Array(12).keys()].map((i) => 16 + i);

// The canvas read as the replay prints its picture: tiles per square by
// rows, the counter's four cells, and whether the strip right of the
// counter is black, pixel by pixel.
export async function readScreen(page) {
  const image = await readCanvas(page);
  const columns = image.width / 16;
  const rows = image.height / 16 - 1;
  const tiles = [];
  for (let r = 0; r < rows; r++) {
    tiles.push([]);
    for (let c = 0; c < columns; c++) tiles[r].push(tileOf(block(image, c * 16, (r + 1) * 16), boardTiles));
  }
  const counter = [0, 1, 2, 3].map((i) => tileOf(block(image, i * 16, 0), counterCellTiles));
  let blackStrip = true;
  for (let y = 0; y < 16; y++) {
    for (let x = 64; x < image.width; x++) {
      const p = (y * image.width + x) * 4;
      if (image.data[p] || image.data[p + 1] || image.data[p + 2] || image.data[p + 3] !== 255) blackStrip = false;
    }
  }
  return { columns, rows, tiles, counter, blackStrip, image };
}

// The whole picture that the replay's tiles make, pixel by pixel, for a
// comparison of every pixel of the canvas with the strip.
export function expectedImage(replayed) {
  const width = replayed.columns * 16;
  const height = (replayed.rows + 1) * 16;
  const data = Buffer.alloc(width * height * 4);
  for (let i = 3; i < data.length; i += 4) data[i] = 255;
  const put = (tile, left, top) => {
    for (let y = 0; y < 16; y++) stripTiles[tile].copy(data, ((top + y) * width + left) * 4, y * 64, y * 64 + 64);
  };
  replayed.counter.forEach((tile, i) => put(tile, i * 16, 0));
  replayed.tiles.forEach((row, r) => row.forEach((tile, c) => put(tile, c * 16, (r + 1) * 16)));
  return { width, height, data };
}

// Runs the move list through the core and the mouse layer built natively.
export function replay(commands) {
  const output = execFileSync(replayProgram, { input: commands.join('\n') + '\n' });
  return JSON.parse(output.toString());
}

// Where client pixel (x, y) of the board lies on the page, at the zoom shown.
export async function pagePoint(page, x, y) {
  const { left, top, scale } = await page.evaluate(() => {
    const canvas = document.getElementById('board');
    const box = canvas.getBoundingClientRect();
    return { left: box.left, top: box.top, scale: box.width / canvas.width };
  });
  return { x: left + (x + 0.5) * scale, y: top + (y + 0.5) * scale };
}

export const nextFrame = (page) => page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => resolve())));

// One finger on the page's touch screen, through the browser's own touch
// input: down on a square (or a client pixel), moved by CSS pixels from
// there, lifted or cancelled.
export async function finger(page) {
  const session = await page.context().newCDPSession(page);
  const send = (type, touchPoints) => session.send('Input.dispatchTouchEvent', { type, touchPoints });
  let start = null;
  const touch = {
    async downAt(x, y) {
      start = await pagePoint(page, x, y);
      await send('touchStart', [{ x: start.x, y: start.y, id: 1 }]);
    },
    down: (column, row) => touch.downAt(...squareCentre(column, row)),
    move: (dx, dy) => send('touchMove', [{ x: start.x + dx, y: start.y + dy, id: 1 }]),
    up: () => send('touchEnd', []),
    cancel: () => send('touchCancel', []),
    async tap(column, row) {
      await touch.down(column, row);
      await touch.up();
    },
  };
  return touch;
}

// The modal boxes open now, topmost last: each one's caption and, for a
// message box, its text.
export const openBoxes = (page) => page.$$eval('dialog[open]', (boxes) => boxes.map((box) => ({
  caption: box.querySelector('.caption span').textContent,
  text: box.querySelector('.message-text')?.textContent ?? null,
})));

// Opens the settings dialog from the keyboard (Alt+G, S); the values its
// fields show.
export async function openDialog(page) {
  await page.keyboard.press('Alt+G');
  await page.keyboard.press('s');
  await page.waitForFunction(() => document.querySelector('dialog[open]'));
  return page.$$eval('dialog[open] input', (inputs) => inputs.map((i) => i.value));
}

// The pixels of a PNG screenshot (8-bit RGB or RGBA, as Chromium writes it):
// `channels` bytes each.
export function pngPixels(png) {
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

// A browser whose screen the tests set with setScreen, as a monitor's scale
// setting sets it: the page is laid out in device pixels. (Playwright's
// deviceScaleFactor emulates the ratio instead: the page is laid out in CSS
// pixels and its picture scaled afterwards, which no page can make exact.)
export const ownScreen = { viewport: null, args: [...chromiumOptions.args, '--window-size=800,600'] };

// The screen under `page` at devicePixelRatio `ratio`, its window `width` x
// `height` CSS pixels, once the page has laid itself out again.
export async function setScreen(page, ratio, width = 600, height = 500) {
  const session = await page.context().newCDPSession(page);
  const [screen] = (await session.send('Emulation.getScreenInfos')).screenInfos;
  await session.send('Emulation.updateScreen', { screenId: screen.id, devicePixelRatio: ratio, width: 4000, height: 3000 });
  const { windowId } = await session.send('Browser.getWindowForTarget');
  await session.send('Browser.setWindowBounds', { windowId, bounds: { width, height } });
  await session.detach();
  // The window takes its size a moment after the call; the page hears of it at its next frame.
  await page.waitForFunction(([wanted, across]) => window.devicePixelRatio === wanted
    && Math.abs(window.innerWidth - across) <= 2, [ratio, width]);
  await nextFrame(page);
  await nextFrame(page);
}

// The zoom shown (device pixels across an art pixel, and CSS pixels: its
// scale), whether the page fits its window at that zoom, and whether it
// would still fit one step larger (tried on the real layout); what 表示倍率
// shows and offers.
export const fitAt = (page) => page.evaluate(() => {
  const canvas = document.getElementById('board');
  const desk = document.getElementById('desk');
  const ratio = window.devicePixelRatio;
  const fits = () => document.documentElement.scrollWidth <= innerWidth && document.documentElement.scrollHeight <= innerHeight
    && desk.scrollWidth <= desk.clientWidth;
  const zoom = Math.round((canvas.getBoundingClientRect().width * ratio) / canvas.width);
  const now = fits();
  const [width, height] = [canvas.style.width, canvas.style.height];
  canvas.style.width = `${(canvas.width * (zoom + 1)) / ratio}px`;
  canvas.style.height = `${(canvas.height * (zoom + 1)) / ratio}px`;
  const larger = fits();
  canvas.style.width = width;
  canvas.style.height = height;
  const select = document.getElementById('zoom-choice');
  return { zoom, scale: zoom / ratio, fits: now, largerFits: larger, shown: select.options[select.selectedIndex].textContent,
    offered: [...select.options].slice(1).map((option) => Number(option.value)), value: select.value };
});

// The board's canvas in device pixels: its corner and size as laid out.
const boardBox = (page) => page.evaluate(() => {
  const box = document.getElementById('board').getBoundingClientRect();
  const ratio = window.devicePixelRatio;
  return { left: box.left * ratio, top: box.top * ratio, width: box.width * ratio, height: box.height * ratio, ratio };
});

// The board on the screen against the canvas: a screenshot in device pixels
// compared, from the board's corner, with each canvas pixel's zoom x zoom
// block. The corner and the device pixels that differ (at most 10 listed).
export async function boardAgainstScreen(page) {
  const canvas = await readCanvas(page);
  const box = await boardBox(page);
  const shot = pngPixels(await page.screenshot({ scale: 'device' }));
  const zoom = Math.round(box.width / canvas.width);
  const [left, top] = [Math.round(box.left), Math.round(box.top)];
  const differing = [];
  for (let y = 0; y < canvas.height * zoom; y++) {
    for (let x = 0; x < canvas.width * zoom; x++) {
      const s = ((top + y) * shot.width + left + x) * shot.channels;
      const c = (Math.floor(y / zoom) * canvas.width + Math.floor(x / zoom)) * 4;
      if (shot.data.compare(canvas.data, c, c + 3, s, s + 3) !== 0 && differing.push([x, y]) >= 10) return { box, zoom, differing };
    }
  }
  return { box, zoom, differing };
}
