// The page on a phone, upright (390 x 844) and on its side (844 x 390), and
// on a desktop window: automatic zoom is the largest whole zoom at which the
// whole board fits beside the page's own chrome, 表示倍率 says which zoom is in
// use and offers every zoom that automatic may pick; with a finger every
// menu, item, field and button is at least 44 x 44 with text of 16 px or
// more; nothing starts a selection or a callout (a right press asks for no
// browser menu either: game.test.mjs).
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { setUp, openGame, startBrowser, fitAt, finger, nextFrame, readScreen, replay, at } from './support.mjs';

const env = await setUp(test, { hasTouch: true, isMobile: true, viewport: { width: 390, height: 844 } });
const Upright = { width: 390, height: 844 };
const OnItsSide = { width: 844, height: 390 };

const boards = [[10, 5, 10], [11, 6, 10], [16, 16, 40], [20, 10, 30], [36, 24, 99]];

test('automatic zoom is the largest that fits, upright and on its side, and says so', async () => {
  for (const [columns, rows, bombs] of boards) {
    const page = await openGame(env, `[Set]\r\nX=${columns}\r\nY=${rows}\r\nBom=${bombs}\r\n`);
    const picked = {};
    for (const [name, viewport] of [['upright', Upright], ['on its side', OnItsSide]]) {
      await page.setViewportSize(viewport);
      const at = await fitAt(page);
      const what = `${columns} x ${rows} ${name}`;
      assert.ok(at.fits || at.scale === 1, `${what}: x${at.scale} fits the window`);
      assert.equal(at.largerFits, false, `${what}: x${at.scale + 1} would not`);
      assert.equal(at.shown, `自動 (×${at.scale})`, what);
      picked[name] = at;
    }
    // Either orientation offers every zoom automatic picks in the other.
    const most = Math.max(picked.upright.scale, picked['on its side'].scale);
    for (const at of Object.values(picked)) {
      assert.deepEqual(at.offered, Array.from({ length: at.offered.length }, (_, i) => i + 1));
      assert.ok(at.offered.length >= most, `${columns} x ${rows}: offers up to x${most}`);
    }
    await page.close();
  }
  // The case that a phone met: a board wider than 10 columns still gets x2.
  const page = await openGame(env, '[Set]\r\nX=11\r\nY=5\r\nBom=10\r\n');
  await page.setViewportSize(Upright);
  assert.equal((await fitAt(page)).scale, 2);
  await page.close();
});

test('on a desktop window too, and a zoom chosen is kept over a reload', async (t) => {
  const desktop = await startBrowser({ viewport: { width: 1280, height: 800 } });
  t.after(() => desktop.close());
  const page = await openGame({ url: env.url, context: desktop.context });
  const at = await fitAt(page);
  assert.ok(at.fits && !at.largerFits, `x${at.scale} is the largest that fits`);
  await page.selectOption('#zoom-choice', '2');
  await page.reload();
  await page.waitForFunction(() => document.documentElement.dataset.state);
  assert.equal((await fitAt(page)).scale, 2);
  assert.equal(await page.inputValue('#zoom-choice'), '2');
  await page.close();
});

// Everything a finger taps: its box and its text size.
const targets = (page, selector) => page.$$eval(selector, (found) => found.filter((e) => e.getClientRects().length)
  .map((e) => {
    const box = e.getBoundingClientRect();
    return { what: e.textContent || e.id || e.className, width: box.width, height: box.height,
      text: Number.parseFloat(getComputedStyle(e).fontSize) };
  }));

function assertTappable(found, what) {
  assert.ok(found.length > 0, `${what}: something to tap`);
  for (const target of found) {
    assert.ok(target.width >= 44 && target.height >= 44, `${what} "${target.what}": ${target.width} x ${target.height}`);
    assert.ok(target.text >= 16, `${what} "${target.what}": text of ${target.text} px`);
  }
}

test('with a finger every menu, item, field and button is at least 44 x 44, its text 16 px', async () => {
  const page = await openGame(env);
  await page.setViewportSize(Upright);
  assertTappable(await targets(page, '.menu-title, #zoom-choice, #flag-mode-choice'), 'the page');
  await page.click('.menu-title >> nth=0');
  assertTappable(await targets(page, '.menu.open .menu-item'), 'the menu');
  await page.click('.menu-item[data-id="1001"]');
  assertTappable(await targets(page, 'dialog[open] input, dialog[open] button'), 'the dialog');
  // The dialog fits the phone's screen.
  const box = await page.locator('dialog[open]').boundingBox();
  assert.ok(box.x >= 0 && box.x + box.width <= Upright.width, `the dialog lies within the screen: ${box.x} + ${box.width}`);
  await page.keyboard.press('Escape');
  await page.click('.menu-title >> nth=1');
  await page.click('.menu.open .menu-item');
  assertTappable(await targets(page, 'dialog[open] button'), 'the message box');
  await page.close();
});

test('nothing starts a text selection or a callout', async () => {
  const page = await openGame(env);
  // The callout's property is a WebKit one: looked at where the browser has it.
  const selectable = await page.$$eval('body *', (all) => all
    .filter((e) => !(e instanceof HTMLInputElement) && e.getClientRects().length)
    .filter((e) => getComputedStyle(e).userSelect !== 'none'
      || (CSS.supports('-webkit-touch-callout', 'none') && getComputedStyle(e).webkitTouchCallout !== 'none'))
    .map((e) => e.id || e.className || e.tagName));
  assert.deepEqual(selectable, []);
  await page.close();
});

// Phones at the ratios they have: under a finger automatic never shows a
// square smaller than the standard 16 CSS px, and takes the largest whole
// zoom that fits at or above the least that gives it; a board that does not
// fit at that least zoom pans with one finger and plays there.
const phoneRatios = [2, 2.625, 3];
const phoneBoards = [[10, 5, 10], [20, 10, 30], [36, 24, 99]];

test('on a phone the automatic square is at least 16 CSS px, the largest that fits at or above it', async (t) => {
  for (const ratio of phoneRatios) {
    const phone = await startBrowser({ serviceWorkers: 'block', hasTouch: true, isMobile: true, deviceScaleFactor: ratio, viewport: Upright });
    t.after(() => phone.close());
    const least = Math.ceil(ratio);
    for (const [columns, rows, bombs] of phoneBoards) {
      const page = await openGame({ url: env.url, context: phone.context }, `[Set]\r\nX=${columns}\r\nY=${rows}\r\nBom=${bombs}\r\n`);
      for (const [name, viewport] of [['upright', Upright], ['on its side', OnItsSide]]) {
        await page.setViewportSize(viewport);
        await nextFrame(page);
        const at = await fitAt(page);
        const what = `${columns} x ${rows} ${name} at ${ratio}: x${at.zoom}`;
        assert.ok(at.zoom >= least && at.scale >= 1, `${what}: a square of ${16 * at.scale} CSS px`);
        if (at.zoom > least) assert.ok(at.fits, `${what} fits`);
        assert.ok(!at.fits || !at.largerFits, `${what}: x${at.zoom + 1} would fit too`);
        assert.equal(at.shown, `自動 (×${Number(at.scale.toFixed(2))})`, what);
        // 表示倍率 still offers the smaller sizes.
        assert.deepEqual(at.offered.slice(0, least), Array.from({ length: least }, (_, i) => i + 1), what);
        // A 10 x 5 board fills the screen as before.
        if (columns === 10) assert.ok(at.fits, `${what}: 10 x 5 fits`);
        if (columns === 36 && name === 'upright') assert.equal(at.fits, false, `${what}: larger than the screen`);
      }
      await page.close();
    }
  }
});

test('on a phone a 36 x 24 board larger than the screen pans with one finger and plays there', async (t) => {
  const phone = await startBrowser({ serviceWorkers: 'block', hasTouch: true, isMobile: true, deviceScaleFactor: 3, viewport: Upright });
  t.after(() => phone.close());
  const page = await openGame({ url: env.url, context: phone.context }, '[Set]\r\nX=36\r\nY=24\r\nBom=99\r\n');
  const touch = await finger(page);
  const boardLeft = () => page.evaluate(() => document.getElementById('board').getBoundingClientRect().left);
  const before = await boardLeft();
  await touch.down(12, 10);
  for (let step = 1; step <= 8; step++) await touch.move(-12 * step, -2 * step);
  await touch.up();
  await page.waitForTimeout(200);
  const moved = before - (await boardLeft());
  assert.ok(moved > 40, `the board moved under the finger: ${moved} px`);
  // A tap on the square in the middle of what is in view opens that square.
  const [column, row] = await page.evaluate(() => {
    const box = document.getElementById('board').getBoundingClientRect();
    const square = box.width / 36;
    const x = (Math.max(box.left, 0) + Math.min(box.right, innerWidth)) / 2;
    const y = (Math.max(box.top + square, 0) + Math.min(box.bottom, innerHeight)) / 2;
    return [Math.floor((x - box.left) / square), Math.floor((y - box.top) / square) - 1];
  });
  await touch.tap(column, row);
  assert.deepEqual((await readScreen(page)).tiles, replay(['size 36 24 99', 'new', `press ${at(column, row)}`, 'release-click']).tiles,
    `the tap at ${column}, ${row} opened it`);
  await page.close();
});
