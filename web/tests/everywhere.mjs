// The test bodies that run in every engine: Chromium's tests call them with
// a Playwright page, tests/other-engines.mjs with the page of another
// engine's driver (engines.mjs), which has the same methods. A body takes
// `env` (url, newPage or context, and what the engine adds: setOffline,
// assertReaderGrid) and plays through the page's own input: a played game
// against the native replay square for square and pixel for pixel, a chord
// with moves while both buttons are held, the board's device pixels at the
// engine's ratio, a game from the keyboard with the screen reader's grid,
// the settings text kept line for line, the dialog's refusals, and the page
// started with no network after one visit.
import assert from 'node:assert/strict';
import { readFileSync, readdirSync } from 'node:fs';
import { join } from 'node:path';
import { openGame, waitForGame, readScreen, expectedImage, replay, pagePoint, at, squareCentre, tileNumber,
  scriptlessFile, fitAt, boardAgainstScreen, nextFrame, readCanvas, openBoxes, openDialog } from './support.mjs';
import { mousePlayer } from './player.mjs';

export const Fresh = ['size 10 5 10', 'new'];

// The canvas against the replay of the same moves: square by square (for a
// readable failure), then with `everyPixel` against the picture that the
// replay's tiles make of the strip.
export async function assertSameAsReplay(page, log, what, everyPixel = false) {
  const replayed = replay(log);
  const screen = await readScreen(page);
  assert.deepEqual({ tiles: screen.tiles, counter: screen.counter }, { tiles: replayed.tiles, counter: replayed.counter }, what);
  assert.ok(screen.blackStrip, `${what}: the strip right of the counter stays black`);
  if (everyPixel) assert.ok(screen.image.data.equals(expectedImage(replayed).data), `${what}: pixels differ from the strip's`);
  return replayed;
}
const assertPixels = (page, log, what) => assertSameAsReplay(page, log, what, true);

const squares = (grid) => grid.flatMap((row, r) => row.map((value, c) => ({ c, r, value })));
const neighbours = (c, r) => [-1, 0, 1].flatMap((dr) => [-1, 0, 1].map((dc) => [c + dc, r + dr]))
  .filter(([x, y]) => (x !== c || y !== r) && x >= 0 && y >= 0 && x < 10 && y < 5);
const neighbourMines = (state, s) => neighbours(s.c, s.r).filter(([x, y]) => state.mines[y][x]).length;

// 新規ゲーム from the game menu, by mouse.
export async function newGameByMouse(page, player) {
  await page.click('.menu-title');
  await page.click('.menu-item[data-id="1000"]');
  player.log.push('new');
  player.forget();
}

export async function workedGame(env) {
  const page = await openGame(env);
  const player = mousePlayer(page, [...Fresh]);
  let state = await assertPixels(page, player.log, 'the first board');
  assert.ok(squares(state.tiles).every((s) => s.value === tileNumber.TileCovered), 'every square covered');
  assert.deepEqual(state.counter, [27, 16, 17, 16], 'the counter shows 010');

  // The first open floods: find in the replay a square whose first open does.
  let first = null;
  for (const s of squares(state.tiles)) {
    const tried = replay([...Fresh, `ldown 1 ${at(s.c, s.r)}`, `lup 0 ${at(s.c, s.r)}`]);
    if (squares(tried.opened).filter((o) => o.value).length > 5) { first = s; break; }
  }
  assert.ok(first, 'some first open floods');
  await player.click('left', firstFlood.c, firstFlood.r);
  state = await assertPixels(page, player.log, 'after the flood');

  // A flag on a bomb beside an opened 1, then the chord on that 1.
  const one = squares(state.tiles).find((s) => s.value === tileNumber.TileOpenedOne &&
    neighbours(s.c, s.r).some(([x, y]) => !state.opened[y][x] && state.mines[y][x]) &&
    neighbours(s.c, s.r).some(([x, y]) => !state.opened[y][x] && !state.mines[y][x]));
  assert.ok(one, 'an opened 1 with its bomb and a safe square still covered');
  const [bx, by] = neighbours(one.c, one.r).find(([x, y]) => !state.opened[y][x] && state.mines[y][x]);
  await player.click('right', bx, by);
  state = await assertPixels(page, player.log, 'after the flag');
  assert.equal(state.tiles[by][bx], tileNumber.TileFlag);
  assert.deepEqual(state.counter, [27, 16, 16, 25], 'the counter shows 009');
  const before = squares(state.opened).filter((o) => o.value).length;
  await player.chord(one.c, one.r);
  state = await assertPixels(page, player.log, 'after the chord');
  assert.ok(squares(state.opened).filter((o) => o.value).length > before, 'the chord opened squares');

  // Loss: a bomb left unflagged, opened.
  const bomb = squares(state.mines).find((s) => s.value && !state.marks[s.r][s.c]);
  await player.click('left', bomb.c, bomb.r);
  state = await assertPixels(page, player.log, 'the lost board');
  assert.equal(state.tiles[bomb.r][bomb.c], tileNumber.TileExplodedBomb);
  assert.equal(state.tiles[by][bx], tileNumber.TileFlaggedBomb, 'the right flag is ringed');

  // Win, in a new game from the menu: the first open, then a flag on every bomb.
  await newGameByMouse(page, player);
  await player.click('left', 0, 0);
  state = replay(player.log);
  for (const s of squares(state.mines).filter((s) => s.value && !state.opened[s.r][s.c])) await player.click('right', s.c, s.r);
  state = await assertPixels(page, player.log, 'the won board');
  assert.equal(state.gameActive, 0);
  assert.ok(squares(state.tiles).every((s) => s.value === (state.mines[s.r][s.c] ? tileNumber.TileFlaggedBomb : tileNumber.TileOpenedEmpty + neighbourMines(state, s))));
  await page.close();
}

// Left down, right down, a move with both held, right up, a move with the
// left held, left up: checked after every step. WebKit reports each of
// those moves with `button` 0, which a page reading `button` alone takes
// for a left press.
export async function chordWithMoves(env) {
  const page = await openGame(env);
  const player = mousePlayer(page, [...Fresh]);
  await player.click('left', 0, 0);
  const steps = [
    ['left down on (4, 2)', () => player.down('left', ...squareCentre(4, 2))],
    ['right down', () => player.down('right')],
    ['a move to (5, 2) with both held', () => player.move(...squareCentre(5, 2))],
    ['right up', () => player.up('right')],
    ['a move to (6, 3) with the left held', () => player.move(...squareCentre(6, 3))],
    ['left up', () => player.up('left')],
  ];
  for (const [what, step] of steps) {
    await step();
    await nextFrame(page);
    await assertSameAsReplay(page, player.log, `after ${what}`);
  }
  await page.close();
}

// ---- The board's device pixels at the screen's ratio

// A square with neighbours on all four sides whose first open floods, on
// the board that every fresh page deals, and the safe squares it leaves covered.
export const firstFlood = (() => {
  for (let r = 1; r < 4; r++) {
    for (let c = 1; c < 9; c++) {
      const opened = replay([...Fresh, `ldown 1 ${at(c, r)}`, `lup 0 ${at(c, r)}`]);
      if (opened.opened.flat().filter(Boolean).length > 5) return { c, r, state: opened };
    }
  }
  throw new Error('no first open floods');
})();
export const covered = firstFlood.state.tiles.flatMap((row, r) => row.map((tile, c) => ({ c, r, tile })))
  .filter((s) => s.tile === tileNumber.TileCovered && !firstFlood.state.mines[s.r][s.c]);

// Square (c, r) in device pixels: [left, top, size].
const square = (box, zoom, c, r) => [box.left + c * 16 * zoom, box.top + (r + 1) * 16 * zoom, 16 * zoom];
const near = (a, b) => Math.abs(a - b) < 0.01;

export async function assertExactBoard(page, what) {
  const fit = await fitAt(page);
  assert.ok(fit.fits || fit.zoom === 1, `${what}: zoom ${fit.zoom} fits the window`);
  if (fit.value === 'auto') assert.equal(fit.largerFits, false, `${what}: zoom ${fit.zoom + 1} would fit too`);
  const { box, zoom, differing } = await boardAgainstScreen(page);
  assert.ok(near(box.left, Math.round(box.left)) && near(box.top, Math.round(box.top)), `${what}: corner at ${box.left}, ${box.top}`);
  assert.equal(zoom, fit.zoom);
  assert.ok(near(box.width, 160 * zoom) && near(box.height, 96 * zoom), `${what}: ${box.width} x ${box.height} at zoom ${zoom}`);
  assert.deepEqual(differing, [], `${what}: device pixels unlike the canvas pixel they show`);
  return { box, zoom };
}

// The squares drawn pressed on a board where nothing is opened.
const pressed = async (page) => (await readScreen(page)).tiles
  .flatMap((row, r) => row.flatMap((tile, c) => (tile === tileNumber.TileOpenedEmpty ? [[c, r]] : [])));

// The left button held over the first and the last device pixel across and
// down of square (c, r), and over the device pixels just outside it, then
// let go on the square: each time the square under the pixel shows pressed.
// A driver whose pointer goes to whole CSS pixels only says which of them
// lie just before and just after a device pixel boundary (page.mouse.before
// and after): at a ratio other than 1 they may lie a device pixel from it.
async function pressEdges(page, box, zoom, c, r) {
  const [left, top, size] = square(box, zoom, c, r).map(Math.round);
  const ratio = box.ratio;
  // The pointer's CSS position just before and just after device pixel boundary b.
  const before = (b) => (page.mouse.before ? page.mouse.before(b, ratio) : (b - 0.5) / ratio);
  const after = (b) => (page.mouse.after ? page.mouse.after(b, ratio) : (b + 0.5) / ratio);
  const moveTo = async (x, y) => {
    await page.mouse.move(x, y);
    await nextFrame(page);
  };
  const [x0, y0, x1, y1] = [after(left), after(top), before(left + size), before(top + size)];
  await moveTo(x0, y0);
  await page.mouse.down();
  const points = [[x0, y0, c, r], [x1, y0, c, r], [x1, y1, c, r], [x0, y1, c, r],
    [before(left), y0, c - 1, r], [after(left + size), y1, c + 1, r], [x0, before(top), c, r - 1], [x1, after(top + size), c, r + 1],
    [x0, y0, c, r]];
  for (const [x, y, column, row] of points) {
    await moveTo(x, y);
    assert.deepEqual(await pressed(page), [[column, row]], `CSS pixel (${x}, ${y}) of the window`);
  }
  await page.mouse.up();
}

// The boxes of what `selector` finds in device pixels, with the square a cell names.
export const deviceRects = (page, selector) => page.$$eval(selector, (found) => found.map((element) => {
  const rect = element.getBoundingClientRect();
  const ratio = window.devicePixelRatio;
  return { c: Number(element.dataset.column), r: Number(element.dataset.row),
    rect: [rect.left * ratio, rect.top * ratio, rect.width * ratio, rect.height * ratio] };
}));

export function assertOnSquare({ rect }, box, zoom, c, r, what) {
  const [left, top, size] = square(box, zoom, c, r);
  assert.ok([left, top, size, size].every((value, i) => near(value, rect[i])), `${what} at ${rect} on square (${c}, ${r})`);
}

// The grid's cells, the cursor (after Ctrl+End and Left) and, where the
// engine's driver has a finger (`hold`), the hold's frame.
export async function assertOnSquares(page, box, zoom, hold = null) {
  const cells = await deviceRects(page, '#grid .cell');
  assert.equal(cells.length, 50);
  for (const cell of cells) assertOnSquare(cell, box, zoom, cell.c, cell.r, 'a cell');
  await page.focus('#grid');
  for (const [key, c, r] of [['Control+End', 9, 4], ['ArrowLeft', 8, 4]]) {
    await page.keyboard.press(key);
    assertOnSquare((await deviceRects(page, '#cursor'))[0], box, zoom, c, r, `the cursor after ${key}`);
  }
  await page.evaluate(() => document.getElementById('grid').blur());
  if (hold) await hold(page, box, zoom);
}

// A fresh page at the screen's ratio: exact pixels, presses on the right
// squares, and everything on its square, before and during play.
export async function playAtRatio(page, ratio, hold = null) {
  const { box, zoom } = await assertExactBoard(page, 'the first board');
  assert.ok(near(box.ratio, ratio), `the screen's ratio is ${box.ratio}`);
  await pressEdges(page, box, zoom, firstFlood.c, firstFlood.r);
  // A flag, and a square held pressed while the screen is compared.
  const centre = (s) => squareCentre(s.c, s.r).map((pixel, i) => ([box.left, box.top][i] + pixel * zoom) / ratio);
  await page.mouse.click(...centre(covered[0]), { button: 'right' });
  await page.mouse.move(...centre(covered[2]));
  await page.mouse.down();
  await nextFrame(page);
  const tiles = (await readScreen(page)).tiles.flat();
  assert.ok(tiles.includes(tileNumber.TileFlag) && tiles.some((tile) => tile > tileNumber.TileOpenedEmpty && tile < tileNumber.TileFlaggedBomb),
    'the board shows a flag and numbers');
  await assertExactBoard(page, 'after some play');
  await page.mouse.up();
  await assertOnSquares(page, box, zoom, hold);
}

// ---- The keyboard and the screen reader's grid

export const leftClick = (c, r) => [`move 0 ${at(c, r)}`, `ldown 1 ${at(c, r)}`, `lup 0 ${at(c, r)}`];
export const keyChord = (c, r) => [`move 0 ${at(c, r)}`, `ldown 1 ${at(c, r)}`, `rdown 3 ${at(c, r)}`, `lup 2 ${at(c, r)}`, `rup 0 ${at(c, r)}`];
export const rightClick = (c, r) => [`move 0 ${at(c, r)}`, `rdown 2 ${at(c, r)}`, `rup 0 ${at(c, r)}`];

// Moves the keyboard's cursor from where it is to (column, row) with arrows.
export async function goTo(page, from, column, row) {
  const steps = [[column - from.c, 'ArrowRight', 'ArrowLeft'], [row - from.r, 'ArrowDown', 'ArrowUp']];
  for (const [count, forward, back] of steps) {
    for (let i = 0; i < Math.abs(count); i++) await page.keyboard.press(count > 0 ? forward : back);
  }
  from.c = column;
  from.r = row;
}

export const status = (page) => page.textContent('#status');

const shown = {
  [tileNumber.TileCovered]: '未開封', [tileNumber.TileFlag]: '旗', [tileNumber.TileOpenedEmpty]: '空白',
  [tileNumber.TileFlaggedBomb]: '旗 (爆弾)', [tileNumber.TileWrongFlag]: '誤った旗', [tileNumber.TileBomb]: '爆弾',
  [tileNumber.TileExplodedBomb]: '開いた爆弾',
};
export const cellName = (tile, c, r) => `横 ${c + 1}、縦 ${r + 1}: ${shown[tile] ?? String(tile - tileNumber.TileOpenedEmpty)}`;

// The grid a screen reader should meet on the board that `state` shows,
// the cursor on square `active`: what env.assertReaderGrid compares with
// the engine's accessibility tree.
export const readerGrid = (name, state, active) => ({
  name,
  rows: state.tiles.map((row, r) => row.map((tile, c) => cellName(tile, c, r))),
  active: active && { id: `square-${active.c}-${active.r}`, name: cellName(state.tiles[active.r][active.c], active.c, active.r) },
});

export async function keyboardGame(env) {
  const page = await openGame(env);
  const log = [...Fresh];
  // The tab order: the menu bar's title, then the board.
  await page.keyboard.press('Tab');
  assert.equal(await page.evaluate(() => document.activeElement.textContent), 'ゲーム(G)');
  await page.keyboard.press('Tab');
  assert.equal(await page.evaluate(() => document.activeElement.id), 'grid');
  const cursor = { c: 0, r: 0 };
  const empty = await readCanvas(page);

  // The cursor is drawn above the board: the canvas is the same with and without it.
  await goTo(page, cursor, 4, 2);
  const { box, square: expected } = await page.evaluate(() => {
    const cursorBox = document.getElementById('cursor');
    const canvas = document.getElementById('board').getBoundingClientRect();
    const { x, y, width } = cursorBox.getBoundingClientRect();
    const seen = width > 0 && getComputedStyle(cursorBox).visibility !== 'hidden';
    return { box: seen ? [x, y, width] : null,
      square: [canvas.left + 4 * canvas.width / 10, canvas.top + 3 * canvas.height / 6, canvas.width / 10] };
  });
  assert.ok((await readCanvas(page)).data.equals(empty.data), 'no cursor in the board\'s image');
  assert.deepEqual(box, expected, 'the cursor shows and frames square (4, 2)');

  await page.keyboard.press('Home');
  await page.keyboard.press('Control+Home');
  cursor.c = 0;
  cursor.r = 0;
  await page.keyboard.press('Space');
  log.push(...leftClick(0, 0));
  let state = replay(log);
  assert.deepEqual((await readScreen(page)).tiles, state.tiles, 'Space opened (0, 0)');

  // F on a bomb beside an opened number, then Enter on the number: the chord.
  const all = state.tiles.flatMap((row, r) => row.map((tile, c) => ({ c, r, tile })));
  const around = (s) => all.filter((o) => Math.abs(o.c - s.c) <= 1 && Math.abs(o.r - s.r) <= 1 && o !== s);
  const isCovered = (o) => o.tile === tileNumber.TileCovered;
  const one = all.find((s) => s.tile === tileNumber.TileOpenedOne && around(s).some((o) => state.mines[o.r][o.c] && isCovered(o))
    && around(s).some((o) => !state.mines[o.r][o.c] && isCovered(o)));
  const bomb = around(one).find((o) => state.mines[o.r][o.c]);
  await goTo(page, cursor, bomb.c, bomb.r);
  await page.keyboard.press('f');
  log.push(...rightClick(bomb.c, bomb.r));
  assert.equal(await status(page), '残りの爆弾 9');
  await goTo(page, cursor, one.c, one.r);
  await page.keyboard.press('Enter');
  log.push(...keyChord(one.c, one.r));
  state = replay(log);
  assert.deepEqual((await readScreen(page)).tiles, state.tiles, 'Enter on the number chorded');

  // The grid that a screen reader meets, after these moves.
  await env.assertReaderGrid(page, readerGrid('盤 (横 10 × 縦 5)', state, one));

  // Every other bomb flagged from the keyboard: the win, drawn as the clicks draw it.
  for (const s of all.filter((o) => state.mines[o.r][o.c] && !state.marks[o.r][o.c])) {
    await goTo(page, cursor, s.c, s.r);
    await page.keyboard.press('KeyF');
    log.push(...rightClick(s.c, s.r));
  }
  state = replay(log);
  assert.equal(state.gameActive, 0);
  const screen = await readScreen(page);
  assert.deepEqual([screen.tiles, screen.counter], [state.tiles, state.counter], 'the won board');
  assert.equal(await status(page), 'すべての爆弾に旗を立てました。クリアです。');
  await env.assertReaderGrid(page, readerGrid('盤 (横 10 × 縦 5)', state, cursor));
  await page.close();
}

// ---- Settings kept line for line

export const stored = (page) => page.evaluate(() => localStorage.getItem('tsweeper.ini'));
// A fresh text, as a save writes it where there was none.
export const written = (x, y, c, r, b) => `[Set]\r\nWinX=${x}\r\nWinY=${y}\r\nX=${c}\r\nY=${r}\r\nBom=${b}\r\n`;
export const defaults = written(10, 10, 10, 5, 10);
export const counterOf = (n) => [27, 16 + Math.floor(n / 100), 16 + (Math.floor(n / 10) % 10), 16 + (n % 10)];

// Leaving the page (here a navigation) writes the settings.
export async function leave(env, page) {
  await page.goto(`${env.url}${scriptlessFile()}`);
  const text = await stored(page);
  await page.close();
  return text;
}

const binary = Array.from({ length: 3000 }, (_, i) => String.fromCharCode((i * 7919) % 65536)).join('');
// As the page holds a string: UTF-8, lone surrogates replaced.
const wellFormed = (text) => Buffer.from(text, 'utf8').toString('utf8');
const huge = '1'.repeat(3 << 20);
const tileFile = '[File Name]\r\nPanelBMP=C:\\skins\\tiles.bmp\r\n';
export const settingsCases = [
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

export async function settingsKept(env, [, text, [columns, rows, bombs], after]) {
  const page = await openGame(env, text);
  const screen = await readScreen(page);
  assert.deepEqual([screen.columns, screen.rows], [columns, rows]);
  assert.deepEqual(screen.counter, counterOf(bombs));
  assert.equal(await leave(env, page), after);
}

// ---- The settings dialog's refusals

export const field = (i) => `dialog[open] .dialog-body > input:nth-of-type(${i + 1})`;
export async function typeFields(page, values) {
  for (const [i, value] of values.entries()) await page.fill(field(i), value);
}

export async function dialogRefusals(env) {
  const page = await openGame(env);
  assert.deepEqual(await openDialog(page), ['10', '5', '10']);
  const labels = await page.$$eval('dialog[open] label', (all) => all.map((l) => l.textContent));
  assert.deepEqual(labels, ['横のパネル数', '縦のパネル数', '爆弾の個数']);
  const refusals = [
    [['9', '30', '10'], 'X : 10 から 36 を選択してください。'],
    [['', '5', '10'], 'X : 10 から 36 を選択してください。'],
    [['4294967306', '5', '10'], 'X : 10 から 36 を選択してください。'],
    [['10', '25', '10'], 'Y : 5 から 24 を選択してください。'],
    [['10', '5', '46'], 'Bom : 5 から 45 を選択してください。'],
    [['36', '24', '860'], 'Bom : 5 から 859 を選択してください。'],
  ];
  for (const [values, message] of refusals) {
    await typeFields(page, values);
    await page.click('dialog[open] button.default');
    assert.deepEqual(await openBoxes(page), [{ caption: '環境設定', text: null }, { caption: 'Error', text: message }],
      values.join(', '));
    await page.keyboard.press('Enter');
    assert.deepEqual(await page.$$eval('dialog[open] input', (inputs) => inputs.map((i) => i.value)), values);
  }
  // A field is read as the exe reads it: digits as far as they go, so "1a2"
  // is 1 and refused, and "12a" is 12 and passes.
  await typeFields(page, ['1a2', '5', '10']);
  await page.click('dialog[open] button.default');
  assert.deepEqual(await openBoxes(page), [{ caption: '環境設定', text: null }, { caption: 'Error', text: 'X : 10 から 36 を選択してください。' }]);
  await page.keyboard.press('Enter');
  await typeFields(page, ['12a', ' +6', '10 bombs']);
  await page.click('dialog[open] button.default');
  assert.deepEqual(await openBoxes(page), []);
  const screen = await readScreen(page);
  assert.deepEqual([screen.columns, screen.rows, screen.counter], [12, 6, [27, 16, 17, 16]]);
  await page.close();
}

// ---- Offline

// The build that the page in `dir` is of, and the cache its worker fills.
export const buildOf = (dir) => readFileSync(join(dir, 'index.html'), 'utf8').match(/data-build="([^"]+)"/)[1];
export const cacheOf = (dir) => ({ [`tsweeper-${buildOf(dir)}`]: readdirSync(dir).filter((name) => name !== 'sw.js').sort() });

// The origin's caches and the file names each holds.
export const keptFiles = (page) => page.evaluate(async () => {
  const kept = {};
  for (const name of await caches.keys()) {
    const requests = await (await caches.open(name)).keys();
    kept[name] = requests.map((request) => request.url.split('/').pop()).sort();
  }
  return kept;
});

// Waits until the origin's caches are exactly `expected` (for ten seconds at
// most, so that a page that keeps nothing fails the test instead of stopping it).
export async function waitForCaches(page, expected) {
  for (let i = 0; i < 200; i++) {
    const kept = await keptFiles(page);
    if (JSON.stringify(kept) === JSON.stringify(expected)) return;
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  assert.deepEqual(await keptFiles(page), expected);
}

// After one visit whose worker kept `files`, the page starts with no
// network: env.setOffline(true) cuts it, the browser's way or the server's.
export async function startsOffline(env, files) {
  const page = await openGame(env);
  await waitForCaches(page, files);
  await env.setOffline(true);
  try {
    await page.reload();
    await waitForGame(page);
    assert.equal(await page.evaluate(() => document.documentElement.dataset.state), 'ready');
    const screen = await readScreen(page);
    assert.deepEqual([screen.columns, screen.rows], [10, 5]);
    assert.ok(screen.tiles.flat().every((tile) => tile === 0), 'a new game, every square covered');
    const manifest = await page.evaluate(async () => (await fetch(document.querySelector('link[rel=manifest]').href)).json());
    assert.equal(manifest.name, 'Tolu Sweeper');
  } finally {
    await env.setOffline(false);
  }
  await page.close();
}

export { pagePoint };
