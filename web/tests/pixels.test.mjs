// The board at every devicePixelRatio, on a screen set as a monitor's scale
// setting sets it: each pixel of the board's image covers exactly zoom x
// zoom device pixels from a corner on a device pixel, automatic is the
// largest zoom that fits, a press on the first or the last device pixel of
// a square presses that square, and the keyboard's cursor, the hold's frame
// and the screen reader's cells lie on their squares; the same after the
// ratio has changed under the page, which keeps a chosen zoom's size.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { setUp, openGame, waitForGame, ownScreen, setScreen, fitAt, boardAgainstScreen, readScreen, replay,
  finger, nextFrame, texts, at, squareCentre, tileNumber } from './support.mjs';

const env = await setUp(test, ownScreen);
const Ratios = [1, 1.25, 1.5, 1.75, 2, 2.625, 3];
const Fresh = ['size 10 5 10', 'new'];

// A square with neighbours on all four sides whose first open floods, on
// the board that every fresh page deals.
const first = (() => {
  for (let r = 1; r < 4; r++) {
    for (let c = 1; c < 9; c++) {
      const opened = replay([...Fresh, `ldown 1 ${at(c, r)}`, `lup 0 ${at(c, r)}`]);
      if (opened.opened.flat().filter(Boolean).length > 5) return { c, r, state: opened };
    }
  }
  throw new Error('no first open floods');
})();
const covered = first.state.tiles.flatMap((row, r) => row.map((tile, c) => ({ c, r, tile })))
  .filter((s) => s.tile === tileNumber.TileCovered && !first.state.mines[s.r][s.c]);

// Square (c, r) in device pixels: [left, top, size].
const square = (box, zoom, c, r) => [box.left + c * 16 * zoom, box.top + (r + 1) * 16 * zoom, 16 * zoom];
const near = (a, b) => Math.abs(a - b) < 0.01;

async function assertExactBoard(page, what) {
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
async function pressEdges(page, box, zoom, c, r) {
  const [left, top, size] = square(box, zoom, c, r);
  const moveTo = async (x, y) => {
    await page.mouse.move((x + 0.5) / box.ratio, (y + 0.5) / box.ratio);
    await nextFrame(page);
  };
  const [x0, y0, x1, y1] = [left, top, left + size - 1, top + size - 1];
  await moveTo(x0, y0);
  await page.mouse.down();
  const points = [[x0, y0, c, r], [x1, y0, c, r], [x1, y1, c, r], [x0, y1, c, r],
    [x0 - 1, y0, c - 1, r], [x1 + 1, y1, c + 1, r], [x0, y0 - 1, c, r - 1], [x1, y1 + 1, c, r + 1], [x0, y0, c, r]];
  for (const [x, y, column, row] of points) {
    await moveTo(x, y);
    assert.deepEqual(await pressed(page), [[column, row]], `device pixel (${x - box.left}, ${y - box.top}) of the board`);
  }
  await page.mouse.up();
}

// The boxes of what `selector` finds in device pixels, with the square a cell names.
const deviceRects = (page, selector) => page.$$eval(selector, (found) => found.map((element) => {
  const rect = element.getBoundingClientRect();
  const ratio = window.devicePixelRatio;
  return { c: Number(element.dataset.column), r: Number(element.dataset.row),
    rect: [rect.left * ratio, rect.top * ratio, rect.width * ratio, rect.height * ratio] };
}));

function assertOnSquare({ rect }, box, zoom, c, r, what) {
  const [left, top, size] = square(box, zoom, c, r);
  assert.ok([left, top, size, size].every((value, i) => near(value, rect[i])), `${what} at ${rect} on square (${c}, ${r})`);
}

// The grid's cells, the cursor (after Ctrl+End and Left) and the hold's frame.
async function assertOnSquares(page, box, zoom) {
  const cells = await deviceRects(page, '#grid .cell');
  assert.equal(cells.length, 50);
  for (const cell of cells) assertOnSquare(cell, box, zoom, cell.c, cell.r, 'a cell');
  await page.focus('#grid');
  for (const [key, c, r] of [['Control+End', 9, 4], ['ArrowLeft', 8, 4]]) {
    await page.keyboard.press(key);
    assertOnSquare((await deviceRects(page, '#cursor'))[0], box, zoom, c, r, `the cursor after ${key}`);
  }
  await page.locator('#grid').blur();
  const touch = await finger(page);
  const held = covered[1];
  await touch.down(held.c, held.r);
  await page.waitForSelector('#hold', { state: 'visible' });
  assertOnSquare((await deviceRects(page, '#hold'))[0], box, zoom, held.c, held.r, 'the hold\'s frame');
  await touch.cancel();
}

for (const ratio of Ratios) {
  test(`at a devicePixelRatio of ${ratio}: exact pixels, presses on the right squares, everything on its square`, async () => {
    const page = await openGame(env);
    await setScreen(page, ratio);
    await page.reload();
    await waitForGame(page);
    const { box, zoom } = await assertExactBoard(page, 'the first board');
    await pressEdges(page, box, zoom, first.c, first.r);
    // A flag, and a square held pressed while the screen is compared.
    const centre = (s) => squareCentre(s.c, s.r).map((pixel, i) => ([box.left, box.top][i] + pixel * zoom) / ratio);
    await page.mouse.click(...centre(covered[0]), { button: 'right' });
    await page.mouse.move(...centre(covered[2]));
    await page.mouse.down();
    const tiles = (await readScreen(page)).tiles.flat();
    assert.ok(tiles.includes(tileNumber.TileFlag) && tiles.some((tile) => tile > tileNumber.TileOpenedEmpty && tile < tileNumber.TileFlaggedBomb),
      'the board shows a flag and numbers');
    await assertExactBoard(page, 'after some play');
    await page.mouse.up();
    await assertOnSquares(page, box, zoom);
    await page.close();
  });
}

test('the ratio changing under a loaded page: the zoom and the board follow at once', async () => {
  const page = await openGame(env);
  await setScreen(page, 1);
  const touch = await finger(page);
  await touch.tap(first.c, first.r);
  for (const ratio of [1.5, 2.625, 1.25, 1.75, 1]) {
    await setScreen(page, ratio);
    const { box, zoom } = await assertExactBoard(page, `changed to ${ratio}`);
    await assertOnSquares(page, box, zoom);
  }
  // A zoom chosen keeps the size of its squares: ×2 shows at the zoom nearest it.
  await page.selectOption('#zoom-choice', '2');
  for (const [ratio, zoom, shown] of [[1.5, 3, '×2'], [2.625, 5, '×1.9'], [1.75, 4, '×2.29'], [1, 2, '×2']]) {
    await setScreen(page, ratio);
    const fit = await fitAt(page);
    assert.deepEqual([fit.zoom, fit.value, fit.shown], [zoom, String(zoom), shown], `at ${ratio}`);
    await assertExactBoard(page, `×2 at ${ratio}`);
  }
  await setScreen(page, 2.625);
  await page.reload();
  await waitForGame(page);
  assert.equal((await fitAt(page)).zoom, 5, 'the size kept over a reload');
  await page.close();
});

test('表示倍率 names each zoom by the size of its squares against the standard one', async () => {
  const page = await openGame(env);
  for (const [ratio, names] of [[1, ['×1', '×2', '×3']], [1.5, ['×0.67', '×1.33', '×2']], [2.625, ['×0.38', '×0.76', '×1.14']]]) {
    await setScreen(page, ratio);
    const offered = await page.$$eval('#zoom-choice option', (options) => options.map((option) => option.textContent));
    assert.deepEqual(offered.slice(1, 4), names, `at ${ratio}`);
    // Automatic names the size of the zoom it picked, as that zoom's own entry does.
    assert.equal(offered[0], `${texts.PageZoomAuto} (${offered[(await fitAt(page)).zoom]})`);
  }
  await page.close();
});

test('the layout changing alone (the menus grown taller under a finger) puts the board back on the pixel grid', async () => {
  const page = await openGame(env);
  await setScreen(page, 1.5);
  await page.evaluate(() => document.documentElement.style.setProperty('--bar-height', '20px'));
  await nextFrame(page);
  await assertExactBoard(page, 'under menus one CSS pixel taller');
  await page.close();
});
