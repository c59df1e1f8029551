// Settings in localStorage: missing, garbled, out of range, hostile, read as
// the exe reads the same file, written back whole, and kept over a reload.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { setUp, openGame, readScreen, waitForGame, scriptlessFile } from './support.mjs';

const env = await setUp(test);

const stored = (page) => page.evaluate(() => localStorage.getItem('tsweeper.ini'));
const written = (x, y, c, r, b) => `[Set]\r\nWinX=${x}\r\nWinY=${y}\r\nX=${c}\r\nY=${r}\r\nBom=${b}\r\n`;
const counterOf = (n) => [27, 16 + Math.floor(n / 100), 16 + (Math.floor(n / 10) % 10), 16 + (n % 10)];

// Leaving the page (here a navigation) writes the settings.
async function leave(page) {
  await page.goto(`${env.url}${scriptlessFile()}`);
  const text = await stored(page);
  await page.close();
  return text;
}

const binary = Array.from({ length: 3000 }, (_, i) => String.fromCharCode((i * 7919) % 65536)).join('');
const cases = [
  // name, stored text, board read (columns, rows, bombs), the position kept
  ['missing', null, [10, 5, 10], [10, 10]],
  ['empty', '', [10, 5, 10], [10, 10]],
  ['binary garbage', binary, [10, 5, 10], [10, 10]],
  ['not a text', '[object Object]', [10, 5, 10], [10, 10]],
  ['out of range', '[Set]\r\nX=37\r\nY=4\r\nBom=4\r\n', [10, 5, 5], [10, 10]],
  ['bombs against the corrected width', '[set]\nx=100\ny=24\nbom=300\n', [10, 24, 5], [10, 10]],
  ['signs, hex, blanks and quotes', '[Set]\r\nWinX=-7\r\nWinY=+0x20\r\nX= 0x10 \r\nY="6"\r\nBom=20 bombs\r\n', [16, 6, 20], [-7, 32]],
  ['past 32 bits', '[Set]\r\nWinX=4294967336\r\nX=4294967308\r\nY=4294967302\r\nBom=99999999999\r\n', [12, 6, 5], [40, 10]],
  ['a huge value', `[Set]\r\nX=${'1'.repeat(3 << 20)}\r\nY=7\r\nBom=12\r\n`, [10, 7, 12], [10, 10]],
  ['the first of two sections', '\uFEFF[Set]\nX=20\nX=30\nY=7\n[Set]\nBom=30\n', [20, 7, 10], [10, 10]],
];

for (const [name, text, [columns, rows, bombs], [x, y]] of cases) {
  test(`settings ${name}: read as the exe reads them, written back whole`, async () => {
    const page = await openGame(env, text);
    const screen = await readScreen(page);
    assert.deepEqual([screen.columns, screen.rows], [columns, rows]);
    assert.deepEqual(screen.counter, counterOf(bombs));
    assert.equal(await leave(page), written(x, y, columns, rows, bombs));
  });
}

test('the board size survives a reload, written when the page is left', async () => {
  const page = await openGame(env);
  await page.keyboard.press('Alt+G');
  await page.keyboard.press('s');
  for (const [i, value] of ['20', '10', '30'].entries()) await page.fill(`dialog[open] input >> nth=${i}`, value);
  await page.keyboard.press('Enter');
  await page.reload();
  await waitForGame(page);
  const screen = await readScreen(page);
  assert.deepEqual([screen.columns, screen.rows, screen.counter], [20, 10, counterOf(30)]);
  assert.equal(await stored(page), written(10, 10, 20, 10, 30));
  await page.close();
});
