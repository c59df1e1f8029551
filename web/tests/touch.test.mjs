// Touch, through the browser's touch emulation: a finger on a square shows
// the mouse's pressed look (never on a flag or the counter strip), a tap
// opens, a hold flags (its look says when it is long enough), a tap on an
// opened number chords, 旗モード swaps tap and hold, and a drag pans without
// playing. Each is compared with the same presses through the core built
// natively.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { setUp, openGame, readScreen, readCanvas, replay, finger, nextFrame, at, squareCentre, tileNumber } from './support.mjs';

const env = await setUp(test, { hasTouch: true, isMobile: true, viewport: { width: 390, height: 844 } });

const tap = (c, r) => [`press ${at(c, r)}`, 'release-click'];
const hold = (c, r) => [`press ${at(c, r)}`, 'release-flag'];
const holdLookShown = (page) => page.isVisible('#hold');

async function assertSameAsReplay(page, log, what) {
  const state = replay(log);
  const screen = await readScreen(page);
  assert.deepEqual({ tiles: screen.tiles, counter: screen.counter }, { tiles: state.tiles, counter: state.counter }, what);
  return state;
}

// A bomb beside an opened 1 of the replayed board, and that 1.
function bombBesideOne(state) {
  const squares = state.tiles.flatMap((row, r) => row.map((tile, c) => ({ c, r, tile })));
  const near = (s) => squares.filter((o) => Math.abs(o.c - s.c) <= 1 && Math.abs(o.r - s.r) <= 1 && o !== s);
  const one = squares.find((s) => s.tile === tileNumber.TileOpenedOne
    && near(s).some((o) => state.mines[o.r][o.c] && o.tile === tileNumber.TileCovered));
  return { one, bomb: near(one).find((o) => state.mines[o.r][o.c]) };
}

test('tap opens, a hold flags, a tap on a number chords: as the same presses through the core', async () => {
  const page = await openGame(env);
  const touch = await finger(page);
  const log = ['size 10 5 10', 'new'];
  await touch.tap(0, 0);
  log.push(...tap(0, 0));
  let state = await assertSameAsReplay(page, log, 'the tap opened');
  assert.equal(state.opened[0][0], 1);

  const { one, bomb } = bombBesideOne(state);
  // While the finger is down the square shows pressed, drawn into the board
  // by the mouse layer; the hold's look comes only once the hold is long
  // enough (the page's clock is the test's, so that no load can hurry it).
  await page.clock.install();
  await page.clock.pauseAt(Date.now() + 60000);
  await touch.down(bomb.c, bomb.r);
  assert.equal((await readScreen(page)).tiles[bomb.r][bomb.c], 3, 'the held square shows pressed');
  await page.clock.runFor(350);
  assert.equal(await holdLookShown(page), false, 'not held long enough yet');
  await page.clock.runFor(100);
  await page.clock.resume();
  assert.equal(await holdLookShown(page), true, 'the look says the hold is long enough');
  await touch.up();
  assert.equal(await holdLookShown(page), false);
  log.push(...hold(bomb.c, bomb.r));
  state = await assertSameAsReplay(page, log, 'the hold flagged');
  assert.equal(state.marks[bomb.r][bomb.c], 1);

  await touch.tap(one.c, one.r);
  log.push(...tap(one.c, one.r));
  state = await assertSameAsReplay(page, log, 'the tap on the number chorded');
  assert.ok(state.opened.flat().filter(Boolean).length > 1);
  await page.close();
});

test('a finger held on a flag, the counter or the black strip draws nothing pressed', async () => {
  const page = await openGame(env);
  const touch = await finger(page);
  await touch.tap(0, 0);
  await touch.down(5, 3);
  await page.waitForTimeout(500);
  await touch.up();
  assert.equal((await readScreen(page)).tiles[3][5], tileNumber.TileFlag, 'a flag on (5, 3)');
  // What the player sees of the board, whatever layer draws it, but the
  // outline of a long hold, which a slow machine may reach before the picture.
  const shown = async () => {
    await nextFrame(page);
    return page.locator('#client').screenshot({ style: '#hold { display: none !important; }' });
  };
  const flagged = await shown();
  // The flag, a counter cell and the black strip right of the counter.
  for (const [x, y] of [squareCentre(5, 3), [24, 8], [120, 8]]) {
    await touch.downAt(x, y);
    assert.ok((await shown()).equals(flagged), `nothing pressed at (${x}, ${y})`);
    await touch.cancel();
  }
  await page.close();
});

test('旗モード: a tap flags and a hold opens; a number still chords', async () => {
  const page = await openGame(env);
  const touch = await finger(page);
  await page.click('#flag-mode');
  assert.equal(await page.isChecked('#flag-mode'), true);
  const log = ['size 10 5 10', 'new'];
  await touch.down(0, 0);
  await page.waitForTimeout(500);
  await touch.up();
  log.push(...tap(0, 0));
  let state = await assertSameAsReplay(page, log, 'the hold opened');
  const { one, bomb } = bombBesideOne(state);
  await touch.tap(bomb.c, bomb.r);
  log.push(...hold(bomb.c, bomb.r));
  state = await assertSameAsReplay(page, log, 'the tap flagged');
  assert.equal(state.marks[bomb.r][bomb.c], 1);
  await touch.tap(one.c, one.r);
  log.push(...tap(one.c, one.r));
  await assertSameAsReplay(page, log, 'the tap on the number chorded');
  // The switch is one of the page's own preferences, kept over a reload.
  await page.reload();
  await page.waitForFunction(() => document.documentElement.dataset.state);
  assert.equal(await page.isChecked('#flag-mode'), true);
  assert.doesNotMatch(await page.evaluate(() => localStorage.getItem('tsweeper.ini') ?? ''), /flag/i);
  await page.close();
});

test('a drag pans a board wider than the screen and never opens or flags', async () => {
  const page = await openGame(env, '[Set]\r\nX=36\r\nY=24\r\nBom=99\r\n');
  const touch = await finger(page);
  const before = await readCanvas(page);
  const scrolled = () => page.evaluate(() => document.getElementById('desk').scrollLeft);
  assert.equal(await scrolled(), 0);
  await touch.down(15, 10);
  for (let step = 1; step <= 8; step++) await touch.move(-12 * step, -2 * step);
  await page.waitForTimeout(600);  // as long as a hold
  await touch.up();
  await page.waitForTimeout(200);
  assert.ok(await scrolled() > 40, 'the board moved under the finger');
  assert.ok((await readCanvas(page)).data.equals(before.data), 'nothing was played');
  // A finger that moves a pixel or two still taps (on a square still in view).
  await touch.down(20, 2);
  await touch.move(2, 1);
  await touch.up();
  assert.deepEqual((await readScreen(page)).tiles, replay(['size 36 24 99', 'new', ...tap(20, 2)]).tiles);
  await page.close();
});
