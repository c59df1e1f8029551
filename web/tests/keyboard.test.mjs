// The board from the keyboard and for a screen reader: a whole game played
// with the cursor keys, Space, Enter and F, compared square by square with
// the mouse cases those keys stand for, through the core built natively;
// the cursor drawn above the board, never into it; the grid that the
// accessibility tree shows, its cells named after the tiles drawn; what
// the live region says; and the cursor's square kept in view on a board
// larger than the window.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { setUp, openGame, readScreen, readCanvas, replay, at, tileNumber } from './support.mjs';

const env = await setUp(test);

const leftClick = (c, r) => [`move 0 ${at(c, r)}`, `ldown 1 ${at(c, r)}`, `lup 0 ${at(c, r)}`];
const chord = (c, r) => [`move 0 ${at(c, r)}`, `ldown 1 ${at(c, r)}`, `rdown 3 ${at(c, r)}`, `lup 2 ${at(c, r)}`, `rup 0 ${at(c, r)}`];
const rightClick = (c, r) => [`move 0 ${at(c, r)}`, `rdown 2 ${at(c, r)}`, `rup 0 ${at(c, r)}`];

// Moves the keyboard's cursor from where it is to (column, row) with arrows.
async function goTo(page, from, column, row) {
  const steps = [[column - from.c, 'ArrowRight', 'ArrowLeft'], [row - from.r, 'ArrowDown', 'ArrowUp']];
  for (const [count, forward, back] of steps) {
    for (let i = 0; i < Math.abs(count); i++) await page.keyboard.press(count > 0 ? forward : back);
  }
  from.c = column;
  from.r = row;
}

const status = (page) => page.textContent('#status');

// The grid as the accessibility tree has it: the grid's name, its rows of
// cell names, and the name of the active cell.
async function accessibleGrid(page) {
  const session = await page.context().newCDPSession(page);
  const { nodes } = await session.send('Accessibility.getFullAXTree');
  const byId = new Map(nodes.map((node) => [node.nodeId, node]));
  const role = (node) => node.role?.value;
  const grid = nodes.find((node) => role(node) === 'grid');
  const children = (node) => (node.childIds || []).map((id) => byId.get(id)).filter(Boolean)
    .flatMap((child) => (role(child) === 'generic' || role(child) === 'none' ? children(child) : [child]));
  const rows = children(grid).filter((node) => role(node) === 'row')
    .map((row) => children(row).filter((node) => role(node) === 'gridcell').map((cell) => cell.name?.value));
  const active = grid.properties?.find((p) => p.name === 'activedescendant');
  const activeCell = active && nodes.find((node) => node.backendDOMNodeId === active.value.relatedNodes[0].backendDOMNodeId);
  await session.detach();
  return { name: grid.name?.value, rows, active: activeCell?.name?.value };
}

const shown = {
  [tileNumber.TileCovered]: '未開封', [tileNumber.TileFlag]: '旗', [tileNumber.TileOpenedEmpty]: '空白',
  [tileNumber.TileFlaggedBomb]: '旗 (爆弾)', [tileNumber.TileWrongFlag]: '誤った旗', [tileNumber.TileBomb]: '爆弾',
  [tileNumber.TileExplodedBomb]: '開いた爆弾',
};
const cellName = (tile, c, r) => `横 ${c + 1}、縦 ${r + 1}: ${shown[tile] ?? String(tile - tileNumber.TileOpenedEmpty)}`;

test('a whole game from the keyboard deals and draws what the same clicks would', async () => {
  const page = await openGame(env);
  const log = ['size 10 5 10', 'new'];
  // The tab order: the menu bar's title, then the board.
  await page.keyboard.press('Tab');
  assert.equal(await page.evaluate(() => document.activeElement.textContent), 'ゲーム(G)');
  await page.keyboard.press('Tab');
  assert.equal(await page.evaluate(() => document.activeElement.id), 'grid');
  const cursor = { c: 0, r: 0 };
  const empty = await readCanvas(page);

  // The cursor is drawn above the board: the canvas is the same with and without it.
  await goTo(page, cursor, 4, 2);
  assert.equal(await page.isVisible('#cursor'), true);
  assert.ok((await readCanvas(page)).data.equals(empty.data), 'no cursor in the board\'s image');
  const box = await page.locator('#cursor').boundingBox();
  const square = await page.evaluate(() => {
    const canvas = document.getElementById('board').getBoundingClientRect();
    return { x: canvas.left + 4 * canvas.width / 10, y: canvas.top + 3 * canvas.height / 6, size: canvas.width / 10 };
  });
  assert.deepEqual([box.x, box.y, box.width], [square.x, square.y, square.size], 'the cursor frames square (4, 2)');

  await page.keyboard.press('Home');
  await page.keyboard.press('Control+Home');
  cursor.c = 0;
  cursor.r = 0;
  await page.keyboard.press('Space');
  log.push(...leftClick(0, 0));
  let state = replay(log);
  assert.deepEqual((await readScreen(page)).tiles, state.tiles, 'Space opened (0, 0)');

  // F on a bomb beside an opened number, then Enter on the number: the chord.
  const squares = state.tiles.flatMap((row, r) => row.map((tile, c) => ({ c, r, tile })));
  const near = (s) => squares.filter((o) => Math.abs(o.c - s.c) <= 1 && Math.abs(o.r - s.r) <= 1 && o !== s);
  const covered = (o) => o.tile === tileNumber.TileCovered;
  const one = squares.find((s) => s.tile === tileNumber.TileOpenedOne && near(s).some((o) => state.mines[o.r][o.c] && covered(o))
    && near(s).some((o) => !state.mines[o.r][o.c] && covered(o)));
  const bomb = near(one).find((o) => state.mines[o.r][o.c]);
  await goTo(page, cursor, bomb.c, bomb.r);
  await page.keyboard.press('f');
  log.push(...rightClick(bomb.c, bomb.r));
  assert.equal(await status(page), '残りの爆弾 9');
  await goTo(page, cursor, one.c, one.r);
  await page.keyboard.press('Enter');
  log.push(...chord(one.c, one.r));
  state = replay(log);
  assert.deepEqual((await readScreen(page)).tiles, state.tiles, 'Enter on the number chorded');

  // The grid that a screen reader meets, after these moves.
  const grid = await accessibleGrid(page);
  assert.equal(grid.name, '盤 (横 10 × 縦 5)');
  assert.deepEqual(grid.rows, state.tiles.map((row, r) => row.map((tile, c) => cellName(tile, c, r))));
  assert.equal(grid.active, cellName(4, one.c, one.r));

  // Every other bomb flagged from the keyboard: the win, drawn as the clicks draw it.
  for (const s of squares.filter((o) => state.mines[o.r][o.c] && !state.marks[o.r][o.c])) {
    await goTo(page, cursor, s.c, s.r);
    await page.keyboard.press('KeyF');
    log.push(...rightClick(s.c, s.r));
  }
  state = replay(log);
  assert.equal(state.gameActive, 0);
  const screen = await readScreen(page);
  assert.deepEqual([screen.tiles, screen.counter], [state.tiles, state.counter], 'the won board');
  assert.equal(await status(page), 'すべての爆弾に旗を立てました。クリアです。');
  assert.deepEqual((await accessibleGrid(page)).rows, state.tiles.map((row, r) => row.map((tile, c) => cellName(tile, c, r))));
  await page.close();
});

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
