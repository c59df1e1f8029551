// Settings in localStorage: missing, garbled, out of range, hostile, read as
// the exe reads the same file, written back as its profile function writes
// them (every other line kept), kept over a reload, saved by two pages in
// turn, and what a page does with a text it cannot hold.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { setUp, openGame, readScreen, waitForGame, scriptlessFile, openDialog } from './support.mjs';

const env = await setUp(test);

const stored = (page) => page.evaluate(() => localStorage.getItem('tsweeper.ini'));
// A fresh text, as a save writes it where there was none.
const written = (x, y, c, r, b) => `[Set]\r\nWinX=${x}\r\nWinY=${y}\r\nX=${c}\r\nY=${r}\r\nBom=${b}\r\n`;
const defaults = written(10, 10, 10, 5, 10);
const counterOf = (n) => [27, 16 + Math.floor(n / 100), 16 + (Math.floor(n / 10) % 10), 16 + (n % 10)];

// Leaving the page (here a navigation) writes the settings.
async function leave(page) {
  await page.goto(`${env.url}${scriptlessFile()}`);
  const text = await stored(page);
  await page.close();
  return text;
}

// Width, height and bombs through the settings dialog's OK.
async function setBoard(page, values) {
  await openDialog(page);
  for (const [i, value] of values.entries()) await page.fill(`dialog[open] input >> nth=${i}`, String(value));
  await page.keyboard.press('Enter');
}

const binary = Array.from({ length: 3000 }, (_, i) => String.fromCharCode((i * 7919) % 65536)).join('');
// As the page holds a string: UTF-8, lone surrogates replaced.
const wellFormed = (text) => Buffer.from(text, 'utf8').toString('utf8');
const huge = '1'.repeat(3 << 20);
const tileFile = '[File Name]\r\nPanelBMP=C:\\skins\\tiles.bmp\r\n';
const cases = [
  // name, stored text, board read (columns, rows, bombs), the text after leaving
  ['missing', null, [10, 5, 10], defaults],
  ['empty', '', [10, 5, 10], defaults],
  ['binary garbage', binary, [10, 5, 10], `${wellFormed(binary)}\r\n${defaults}`],
  ['not a text', '[object Object]', [10, 5, 10], `[object Object]\r\n${defaults}`],
  ['out of range', '[Set]\r\nX=37\r\nY=4\r\nBom=4\r\n', [10, 5, 5], '[Set]\r\nX=10\r\nY=5\r\nBom=5\r\nWinX=10\r\nWinY=10\r\n'],
  ['bombs against the corrected width', '[set]\nx=100\ny=24\nbom=300\n', [10, 24, 5], '[set]\nx=10\ny=24\nbom=5\nWinX=10\r\nWinY=10\r\n'],
  ['signs, hex, blanks and quotes', '[Set]\r\nWinX=-7\r\nWinY=+0x20\r\nX= 0x10 \r\nY="6"\r\nBom=20 bombs\r\n', [16, 6, 20],
    '[Set]\r\nWinX=-7\r\nWinY=32\r\nX=16\r\nY=6\r\nBom=20\r\n'],
  ['past 32 bits', '[Set]\r\nWinX=4294967336\r\nX=4294967308\r\nY=4294967302\r\nBom=99999999999\r\n', [12, 6, 5],
    '[Set]\r\nWinX=40\r\nX=12\r\nY=6\r\nBom=5\r\nWinY=10\r\n'],
  ['a huge value', `[Set]\r\nX=${huge}\r\nY=7\r\nBom=12\r\n`, [10, 7, 12], '[Set]\r\nX=10\r\nY=7\r\nBom=12\r\nWinX=10\r\nWinY=10\r\n'],
  ['the first of two sections', '\uFEFF[Set]\nX=20\nX=30\nY=7\n[Set]\nBom=30\n', [20, 7, 10],
    '\uFEFF[Set]\nX=20\nX=30\nY=7\nWinX=10\r\nWinY=10\r\nBom=10\r\n[Set]\nBom=30\n'],
  ['a comment, another key and the tile file', `; 盤の設定\r\n[Set]\r\nX=12\r\nSound=1\r\n${tileFile}`, [12, 5, 10],
    `; 盤の設定\r\n[Set]\r\nX=12\r\nSound=1\r\nWinX=10\r\nWinY=10\r\nY=5\r\nBom=10\r\n${tileFile}`],
  ['the tile file alone, without a final line end', tileFile.trimEnd(), [10, 5, 10], `${tileFile}${defaults}`],
];

for (const [name, text, [columns, rows, bombs], after] of cases) {
  test(`settings ${name}: read as the exe reads them, written back as its profile function writes them`, async () => {
    const page = await openGame(env, text);
    const screen = await readScreen(page);
    assert.deepEqual([screen.columns, screen.rows], [columns, rows]);
    assert.deepEqual(screen.counter, counterOf(bombs));
    assert.equal(await leave(page), after);
  });
}

test('the board size survives a reload, written when the page is left', async () => {
  const page = await openGame(env);
  await setBoard(page, [20, 10, 30]);
  await page.reload();
  await waitForGame(page);
  const screen = await readScreen(page);
  assert.deepEqual([screen.columns, screen.rows, screen.counter], [20, 10, counterOf(30)]);
  assert.equal(await stored(page), written(10, 10, 20, 10, 30));
  await page.close();
});

// Page A changes the width only, page B the whole board; both were opened
// on the same text. Each save keeps what the other saved and it did not
// change; for the width, which both changed, the last save wins.
const start = '[Set]\r\nX=10\r\n; kept\r\n';
for (const [last, width] of [['A', 12], ['B', 20]]) {
  test(`two pages saving in turn, ${last} last: the other's values stay where it changed nothing`, async () => {
    const a = await openGame(env, start);
    const b = await env.context.newPage();
    await b.goto(env.url);
    await waitForGame(b);
    await setBoard(a, [12, 5, 10]);
    await setBoard(b, [20, 10, 30]);
    const [first, second] = last === 'A' ? [b, a] : [a, b];
    const between = await leave(first);
    // The other page sees the first one's save before it leaves.
    await second.waitForFunction((text) => localStorage.getItem('tsweeper.ini') === text, between);
    assert.equal(await leave(second), `[Set]\r\nX=${width}\r\n; kept\r\nWinX=10\r\nWinY=10\r\nY=10\r\nBom=30\r\n`);
  });
}

// The refusal reaches only the game's page, not the file the test reads with.
const unheld = [
  ['the storage refused', () => {
    if (location.pathname.endsWith('/')) Storage.prototype.getItem = () => { throw new DOMException('refused', 'SecurityError'); };
  }],
  ['a memory that cannot grow', () => {
    if (location.pathname.endsWith('/')) WebAssembly.Memory.prototype.grow = () => { throw new RangeError('no memory'); };
  }],
];
for (const [name, refuse] of unheld) {
  test(`settings that cannot be held (${name}): the defaults, and a fresh text at the next save`, async () => {
    const page = await openGame(env, `[Set]\r\nX=20\r\nY=10\r\nBom=30\r\n;${' '.repeat(1 << 16)}\r\n`, refuse);
    const screen = await readScreen(page);
    assert.deepEqual([screen.columns, screen.rows, screen.counter], [10, 5, counterOf(10)]);
    assert.equal(await leave(page), defaults);
  });
}
