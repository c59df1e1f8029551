// The board from the keyboard and for a screen reader: a whole game played
// with the cursor keys, Space, Enter and F, compared square by square with
// the mouse cases those keys stand for, through the core built natively;
// the cursor drawn above the board, never into it; the grid that the
// accessibility tree shows, its cells named after the tiles drawn; what
// the live region says; and the cursor's square kept in view on a board
// larger than the window.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { setUp, openGame, readScreen, replay, accessibleGrid } from './support.mjs';
import { keyboardGame, leftClick, goTo, status, cellName } from './everywhere.mjs';

const env = await setUp(test);

test('a whole game from the keyboard deals and draws what the same clicks would', () => keyboardGame(env));

test('a loss from the keyboard, said by the live region; End and Ctrl+End reach the far edge', async () => {
  const page = await openGame(env, '[Set]\r\nX=12\r\nY=6\r\nBom=30\r\n');
  await page.focus('#grid');
  const log = ['size 12 6 30', 'new'];
  await page.keyboard.press('Control+End');
  await page.keyboard.press('Space');
  log.push(...leftClick(11, 5));
  let state = replay(log);
  await page.keyboard.press('Home');
  assert.equal(await page.getAttribute('#grid', 'aria-activedescendant'), 'square-0-5');
  await page.keyboard.press('End');
  assert.equal(await page.getAttribute('#grid', 'aria-activedescendant'), 'square-11-5');
  assert.equal(await page.getAttribute('#status', 'aria-live'), 'polite');
  // A bomb still covered, opened with Space.
  const bomb = state.mines.flatMap((row, r) => row.map((mine, c) => ({ c, r, mine }))).find((s) => s.mine);
  const cursor = { c: 11, r: 5 };
  await goTo(page, cursor, bomb.c, bomb.r);
  await page.keyboard.press(' ');
  log.push(...leftClick(bomb.c, bomb.r));
  state = replay(log);
  assert.deepEqual((await readScreen(page)).tiles, state.tiles, 'the lost board');
  assert.equal(await status(page), '爆弾を開きました。ゲームオーバーです。');
  const grid = await accessibleGrid(page);
  assert.equal(grid.rows[bomb.r][bomb.c], cellName(15, bomb.c, bomb.r));
  await page.close();
});

test('a flood of hundreds of squares is named square by square, a moment after it is drawn', async () => {
  const page = await openGame(env, '[Set]\r\nX=36\r\nY=24\r\nBom=5\r\n');
  await page.focus('#grid');
  await page.keyboard.press('Space');
  const state = replay(['size 36 24 5', 'new', ...leftClick(0, 0)]);
  assert.ok(state.opened.flat().filter(Boolean).length > 800, 'the first open floods');
  await page.waitForFunction(() => document.getElementById('square-35-23').getAttribute('aria-label') !== null
    && !document.getElementById('square-20-10').getAttribute('aria-label').endsWith('未開封'));
  const grid = await accessibleGrid(page);
  assert.deepEqual(grid.rows, state.tiles.map((row, r) => row.map((tile, c) => cellName(tile, c, r))));
  await page.close();
});

test('on a board larger than the window the cursor\'s square is scrolled into view after every key', async () => {
  const page = await openGame(env, '[Set]\r\nX=36\r\nY=24\r\nBom=99\r\n');
  await page.setViewportSize({ width: 520, height: 400 });
  await page.selectOption('#zoom-choice', '1');
  await page.focus('#grid');
  const keys = ['End', 'Home', 'Control+End', 'Control+Home', ...Array(40).fill('ArrowRight'), ...Array(25).fill('ArrowDown'),
    'Home', ...Array(3).fill('ArrowUp'), 'End', ...Array(30).fill('ArrowLeft'), 'Control+Home', 'ArrowLeft'];
  for (const key of keys) {
    await page.keyboard.press(key);
    // The square of the active cell, and what of the page the window and the desk show.
    const { square, seen } = await page.evaluate(() => {
      const cell = document.getElementById(document.getElementById('grid').getAttribute('aria-activedescendant'));
      const desk = document.getElementById('desk');
      const frame = desk.getBoundingClientRect();
      const left = Math.max(0, frame.left + desk.clientLeft);
      const top = Math.max(0, frame.top + desk.clientTop);
      return { square: cell.getBoundingClientRect().toJSON(), seen: { left, top,
        right: Math.min(innerWidth, left + desk.clientWidth), bottom: Math.min(innerHeight, top + desk.clientHeight) } };
    });
    assert.ok(square.left >= seen.left && square.right <= seen.right && square.top >= seen.top && square.bottom <= seen.bottom,
      `after ${key}: square ${JSON.stringify(square)} in view ${JSON.stringify(seen)}`);
  }
  await page.close();
});
