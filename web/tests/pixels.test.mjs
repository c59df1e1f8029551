// The board at every devicePixelRatio, on a screen set as a monitor's scale
// setting sets it: each pixel of the board's image covers exactly zoom x
// zoom device pixels from a corner on a device pixel, automatic is the
// largest zoom that fits, a press on the first or the last device pixel of
// a square presses that square, and the keyboard's cursor, the hold's frame
// and the screen reader's cells lie on their squares; the same after the
// ratio has changed under the page, which keeps a chosen zoom's size.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { setUp, openGame, waitForGame, ownScreen, setScreen, fitAt, finger, nextFrame, texts } from './support.mjs';
import { firstFlood, covered, assertExactBoard, assertOnSquares, assertOnSquare, deviceRects, playAtRatio } from './everywhere.mjs';

const env = await setUp(test, ownScreen);
const Ratios = [1, 1.25, 1.5, 1.75, 2, 2.625, 3];

// The hold's frame on its square, held by Chromium's finger.
async function holdOnSquare(page, box, zoom) {
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
    await playAtRatio(page, ratio, holdOnSquare);
    await page.close();
  });
}

test('the ratio changing under a loaded page: the zoom and the board follow at once', async () => {
  const page = await openGame(env);
  await setScreen(page, 1);
  const touch = await finger(page);
  await touch.tap(firstFlood.c, firstFlood.r);
  for (const ratio of [1.5, 2.625, 1.25, 1.75, 1]) {
    await setScreen(page, ratio);
    const { box, zoom } = await assertExactBoard(page, `changed to ${ratio}`);
    await assertOnSquares(page, box, zoom, holdOnSquare);
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
