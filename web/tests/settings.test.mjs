// Settings in localStorage: missing, garbled, out of range, hostile, read as
// the exe reads the same file, written back as its profile function writes
// them (every other line kept), kept over a reload, saved by two pages in
// turn, and what a page does with a text it cannot hold.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { setUp, openGame, readScreen, waitForGame, openDialog } from './support.mjs';
import { settingsCases, settingsKept, stored, written, defaults, counterOf, typeFields, leave as leaveFrom } from './everywhere.mjs';

const env = await setUp(test);
const leave = (page) => leaveFrom(env, page);

for (const settings of settingsCases) {
  test(`settings ${settings[0]}: read as the exe reads them, written back as its profile function writes them`,
    () => settingsKept(env, settings));
}

// Width, height and bombs through the settings dialog's OK.
async function setBoard(page, values) {
  await openDialog(page);
  await typeFields(page, values.map(String));
  await page.keyboard.press('Enter');
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
