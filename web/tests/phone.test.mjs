// The page on a phone, upright (390 x 844) and on its side (844 x 390), and
// on a desktop window: automatic zoom is the largest whole zoom at which the
// whole board fits beside the page's own chrome, 表示倍率 says which zoom is in
// use and offers every zoom that automatic may pick; with a finger every
// menu, item, field and button is at least 44 x 44 with text of 16 px or
// more; nothing starts a selection or a callout (a right press asks for no
// browser menu either: game.test.mjs).
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { setUp, openGame, startBrowser, fitAt } from './support.mjs';

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
