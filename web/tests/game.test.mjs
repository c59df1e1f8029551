// Mouse play on the page against the same moves through the core built
// natively: a worked game (first board, flood, flag and counter, chord,
// loss, win) with every pixel of the canvas compared with the strip, random
// play compared square by square, zoom hitting the right squares, a pen
// played as a mouse.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { setUp, openGame, readScreen, expectedImage, replay, pagePoint, at, tileNumber } from './support.mjs';
import { mousePlayer } from './player.mjs';

const env = await setUp(test);
const Fresh = ['size 10 5 10', 'new'];

// The canvas against the replay of the same moves: square by square (for a
// readable failure), then with `everyPixel` against the picture that the
// replay's tiles make of the strip.
async function assertSameAsReplay(page, log, what, everyPixel = false) {
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

test('a worked game: first board, flood, flag, chord, loss and win, pixel for pixel', async () => {
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
  await player.click('left', first.c, first.r);
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
  await page.click('.menu-title >> nth=0');
  await page.click('.menu-item[data-id="1000"]');
  player.log.push('new');
  player.forget();
  await player.click('left', 0, 0);
  state = replay(player.log);
  for (const s of squares(state.mines).filter((s) => s.value && !state.opened[s.r][s.c])) await player.click('right', s.c, s.r);
  state = await assertPixels(page, player.log, 'the won board');
  assert.equal(state.gameActive, 0);
  assert.ok(squares(state.tiles).every((s) => s.value === (state.mines[s.r][s.c] ? tileNumber.TileFlaggedBomb : tileNumber.TileOpenedEmpty + neighbourMines(state, s))));
  await page.close();
});

function neighbourMines(state, s) {
  return neighbours(s.c, s.r).filter(([x, y]) => state.mines[y][x]).length;
}

// A small generator of its own, so that a failing run can be played again.
function random(seed) {
  return () => {
    seed = (seed + 0x6D2B79F5) | 0;
    let t = Math.imul(seed ^ (seed >>> 15), 1 | seed);
    t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

test('random play gives the same squares as the core built natively', async () => {
  const page = await openGame(env, '[Set]\r\nX=16\r\nY=10\r\nBom=20\r\n');
  const player = mousePlayer(page, ['size 16 10 20', 'new']);
  const next = random(20261208);
  for (let step = 1; step <= 240; step++) {
    const x = Math.floor(next() * 256);
    const y = Math.floor(next() * 176);
    const button = next() < 0.7 ? 'left' : 'right';
    const bit = button === 'left' ? 1 : 2;
    const pick = next();
    if (pick < 0.4) await player.move(x, y);
    else if (player.held() & bit) await player.up(button, x, y);
    else await player.down(button, x, y);
    if (step % 60 === 0) await assertSameAsReplay(page, player.log, `after ${step} steps`);
    // A lost or won game starts again, from the menu, as a player would.
    if (step % 60 === 30 && !player.held()) {
      await page.click('.menu-title >> nth=0');
      await page.click('.menu-item[data-id="1000"]');
      player.log.push('new');
      player.forget();
    }
  }
  await page.close();
});

test('zoom: a press at a square pixel at x1, x2 and x3 is the press at that pixel of the exe', async () => {
  for (const scale of ['1', '2', '3']) {
    const page = await openGame(env);
    await page.selectOption('#zoom-choice', scale);
    const width = await page.evaluate(() => document.getElementById('board').getBoundingClientRect().width);
    assert.equal(width, 160 * Number(scale));
    const player = mousePlayer(page, [...Fresh]);
    // The last pixel of square (2, 1) and the first of (3, 1) and of (2, 2).
    await player.click('left', 0, 0);
    await player.down('right', 47, 47);
    await player.up('right');
    await player.down('right', 48, 32);
    await player.up('right');
    await player.down('right', 32, 48);
    await player.up('right');
    await assertSameAsReplay(page, player.log, `at x${scale}`);
    await page.close();
  }
});

test('a right press asks for no browser menu, over the board or anywhere on the page', async () => {
  const page = await openGame(env);
  await page.evaluate(() => {
    window.menusAsked = [];
    window.addEventListener('contextmenu', (event) => window.menusAsked.push(event.defaultPrevented));
  });
  for (const selector of ['#board', '.menu-title', '#controls', '#desk']) {
    const box = await page.locator(selector).first().boundingBox();
    await page.mouse.click(box.x + 2, box.y + 2, { button: 'right' });
  }
  assert.deepEqual(await page.evaluate(() => window.menusAsked), [true, true, true, true]);
  await page.close();
});

test('the mouse off the board is not heard: a press there, a release over the board', async () => {
  const page = await openGame(env);
  const player = mousePlayer(page, [...Fresh]);
  const outside = await pagePoint(page, 80, -20);
  await page.mouse.move(outside.x, outside.y);
  await page.mouse.down();
  // The press went to the menu bar's side of the page; the release over the
  // board is the only case the game hears.
  await player.up('left', 24, 40);
  await assertSameAsReplay(page, player.log, 'release only');
  await page.close();
});

test('a pen plays the mouse cases: its tip is the left button, its barrel button the right', async () => {
  const page = await openGame(env);
  const session = await page.context().newCDPSession(page);
  const pen = async (button, x, y) => {
    const p = await pagePoint(page, x, y);
    const bits = { left: 1, right: 2 }[button];
    for (const [type, buttons] of [['mouseMoved', 0], ['mousePressed', bits], ['mouseReleased', 0]]) {
      await session.send('Input.dispatchMouseEvent', { type, x: p.x, y: p.y, button, buttons, clickCount: 1, pointerType: 'pen' });
    }
  };
  await pen('left', 8, 24);
  await pen('right', 152, 88);
  await assertSameAsReplay(page, [...Fresh, 'move 0 8 24', 'ldown 1 8 24', 'lup 0 8 24',
    'move 0 152 88', 'rdown 2 152 88', 'rup 0 152 88'], 'after the pen');
  await page.close();
});

// A chord as each engine reports its pointer events: a plain move made while
// a button is held has `button` -1 in Chromium and Firefox, 0 in WebKit.
// Either way the page plays the exe's cases, checked after every event.
test('a chord plays the same whatever `button` a plain move reports', async () => {
  const [A, B, C] = [[24, 40], [40, 40], [56, 40]];
  const steps = (plainMove) => [
    ['pointermove', -1, 0, A, 'move 0'], ['pointerdown', 0, 1, A, 'ldown 1'], ['pointerup', 0, 0, A, 'lup 0'],
    ['pointermove', -1, 0, B, 'move 0'], ['pointerdown', 0, 1, B, 'ldown 1'], ['pointermove', 2, 3, B, 'rdown 3'],
    ['pointermove', plainMove, 3, C, 'move 3'], ['pointermove', 2, 1, C, 'rup 1'],
    ['pointermove', plainMove, 1, A, 'move 1'], ['pointerup', 0, 0, A, 'lup 0'],
  ];
  for (const [engine, plainMove] of [['Chromium and Firefox', -1], ['WebKit', 0]]) {
    const page = await openGame(env);
    const log = [...Fresh];
    for (const [type, button, buttons, [x, y], played] of steps(plainMove)) {
      const p = await pagePoint(page, x, y);
      await page.evaluate(([type, button, buttons, x, y]) => {
        const init = { bubbles: true, clientX: x, clientY: y, button, buttons, pointerType: 'mouse', pointerId: 1, isPrimary: true };
        document.elementFromPoint(x, y).dispatchEvent(new PointerEvent(type, init));
      }, [type, button, buttons, p.x, p.y]);
      log.push(`${played} ${x} ${y}`);
      await assertSameAsReplay(page, log, `${engine}: after ${type} (button ${button}, buttons ${buttons}) at ${x}, ${y}`);
    }
    await page.close();
  }
});
