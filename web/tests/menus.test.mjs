// The menu bar as a Windows menu bar: the exe's menus, opened with the
// mouse, with Alt or F10 and the arrows, with Alt and a letter, or from a
// title reached with Tab; Escape backs out one step; and a press that
// closes an open menu only closes it, for the mouse and for a finger.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { setUp, openGame, readCanvas, finger, nextFrame, openBoxes } from './support.mjs';

const env = await setUp(test, { hasTouch: true });

const menuText = (page) => page.$$eval('.menu', (menus) => menus.map((menu) => ({
  title: menu.querySelector('.menu-title').textContent,
  underlined: menu.querySelector('.menu-title u').textContent,
  items: [...menu.querySelectorAll('li')].map((li) => li.textContent || '---'),
})));

// What the bar shows: the open menu's title and its highlighted item, or
// the armed title; the focus follows the highlight.
const bar = (page) => page.evaluate(() => {
  const open = document.querySelector('.menu.open');
  const focused = document.activeElement;
  return {
    open: open ? open.querySelector('.menu-title').textContent : null,
    item: open?.querySelector('.menu-item.active')?.textContent ?? null,
    focus: focused === document.body ? null : focused.textContent || focused.id,
  };
});

const openCaptions = async (page) => (await openBoxes(page)).map((box) => box.caption);

test('the menu bar holds the exe\'s menus, opened by mouse and by keyboard', async () => {
  const page = await openGame(env);
  assert.equal(await page.title(), 'Tolu Sweeper');
  assert.deepEqual(await menuText(page), [
    { title: 'ゲーム(G)', underlined: 'G', items: ['新規スタート(N)', '環境設定(S)', '---', '終了(Q)'] },
    { title: 'ヘルプ(H)', underlined: 'H', items: ['バージョン情報(A)...'] },
  ]);
  await page.click('.menu-title >> nth=1');
  assert.deepEqual(await bar(page), { open: 'ヘルプ(H)', item: null, focus: 'ヘルプ(H)' });
  // Over the other title, the other menu; Escape closes it and leaves its title armed.
  await page.hover('.menu-title >> nth=0');
  assert.equal((await bar(page)).open, 'ゲーム(G)');
  await page.keyboard.press('Escape');
  assert.deepEqual(await bar(page), { open: null, item: null, focus: 'ゲーム(G)' });
  await page.keyboard.press('Escape');
  assert.deepEqual(await bar(page), { open: null, item: null, focus: null });

  await page.keyboard.press('Alt+G');
  assert.deepEqual(await bar(page), { open: 'ゲーム(G)', item: '新規スタート(N)', focus: '新規スタート(N)' });
  // Down skips the separator and goes round; Right opens the next menu.
  for (const item of ['環境設定(S)', '終了(Q)', '新規スタート(N)']) {
    await page.keyboard.press('ArrowDown');
    assert.equal((await bar(page)).item, item);
  }
  await page.keyboard.press('ArrowUp');
  assert.equal((await bar(page)).item, '終了(Q)');
  await page.keyboard.press('ArrowRight');
  assert.deepEqual(await bar(page), { open: 'ヘルプ(H)', item: 'バージョン情報(A)...', focus: 'バージョン情報(A)...' });
  await page.keyboard.press('Enter');
  assert.deepEqual(await openCaptions(page), ['ヴァージョン情報']);
  await page.keyboard.press('Enter');
  assert.deepEqual(await openCaptions(page), []);
  await page.close();
});

test('Alt or F10 arms the bar: arrows move, Down, Enter or a letter open, Escape backs out', async () => {
  const page = await openGame(env);
  await page.focus('#grid');
  for (const arming of ['Alt', 'F10']) {
    await page.keyboard.press(arming);
    assert.deepEqual(await bar(page), { open: null, item: null, focus: 'ゲーム(G)' }, arming);
    await page.keyboard.press('ArrowRight');
    assert.equal((await bar(page)).focus, 'ヘルプ(H)');
    await page.keyboard.press('ArrowRight');
    assert.equal((await bar(page)).focus, 'ゲーム(G)', 'round to the first title');
    await page.keyboard.press('ArrowDown');
    assert.deepEqual(await bar(page), { open: 'ゲーム(G)', item: '新規スタート(N)', focus: '新規スタート(N)' });
    await page.keyboard.press('Escape');
    await page.keyboard.press('Escape');
    assert.deepEqual(await bar(page), { open: null, item: null, focus: 'grid' }, 'the focus is back on the board');
  }
  // Armed, a letter opens its menu and the next chooses an item.
  await page.keyboard.press('Alt');
  await page.keyboard.press('h');
  assert.equal((await bar(page)).open, 'ヘルプ(H)');
  await page.keyboard.press('a');
  assert.deepEqual(await openCaptions(page), ['ヴァージョン情報']);
  await page.keyboard.press('Escape');
  // Alt pressed again lets go of an armed bar.
  await page.keyboard.press('Alt');
  await page.keyboard.press('Alt');
  assert.deepEqual(await bar(page), { open: null, item: null, focus: 'grid' });
  await page.close();
});

test('a title reached with Tab opens with Enter, Space or Down', async () => {
  const page = await openGame(env);
  await page.focus('#grid');
  for (const key of ['Enter', 'Space', 'ArrowDown']) {
    await page.keyboard.press('Shift+Tab');
    assert.equal((await bar(page)).focus, 'ゲーム(G)');
    await page.keyboard.press(key);
    assert.deepEqual(await bar(page), { open: 'ゲーム(G)', item: '新規スタート(N)', focus: '新規スタート(N)' }, key);
    await page.keyboard.press('Escape');
    await page.keyboard.press('Escape');
  }
  // Chosen from the keyboard, an item closes the bar and the focus goes back.
  await page.keyboard.press('Shift+Tab');
  await page.keyboard.press('Enter');
  await page.keyboard.press('Enter');
  assert.deepEqual(await bar(page), { open: null, item: null, focus: 'grid' });
  await page.close();
});

test('a press that closes an open menu only closes it: by mouse and by finger', async () => {
  const page = await openGame(env);
  const board = await page.locator('#board').boundingBox();
  const square = { x: board.x + 3 * board.width / 10 + 2, y: board.y + 3 * board.height / 6 + 2 };
  const untouched = await readCanvas(page);
  await page.click('.menu-title >> nth=0');
  await page.mouse.move(square.x, square.y);
  await page.mouse.down();
  await page.mouse.move(square.x + 20, square.y);
  await page.mouse.up();
  assert.equal((await bar(page)).open, null, 'the menu closed');
  assert.ok((await readCanvas(page)).data.equals(untouched.data), 'the press played nothing');
  for (const button of ['right', 'middle']) {
    await page.click('.menu-title >> nth=1');
    await page.mouse.click(square.x, square.y, { button });
    assert.equal((await bar(page)).open, null);
    assert.ok((await readCanvas(page)).data.equals(untouched.data), `the ${button} press played nothing`);
  }
  const touch = await finger(page);
  await page.click('.menu-title >> nth=0');
  await touch.tap(3, 2);
  await nextFrame(page);
  assert.equal((await bar(page)).open, null);
  assert.ok((await readCanvas(page)).data.equals(untouched.data), 'the tap played nothing');
  // The next press plays again.
  await page.mouse.click(square.x, square.y);
  assert.ok(!(await readCanvas(page)).data.equals(untouched.data), 'the next click opened');
  await page.close();
});
