// Touch, through the browser's touch emulation: a tap opens, a long press
// flags (showing the pressed square while held), a tap on an opened number
// chords; each as the mouse cases a mouse player would cause.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { setUp, openGame, readScreen, replay, pagePoint, stripTiles } from './support.mjs';

const env = await setUp(test, { hasTouch: true });

async function touchAt(page, session, column, row, holdMs) {
  const p = await pagePoint(page, column * 16 + 8, row * 16 + 24);
  const point = { x: p.x, y: p.y, id: 1 };
  await session.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [point] });
  let pressed = null;
  if (holdMs) {
    await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => resolve())));
    pressed = await page.evaluate(([x, y]) => {
      const data = document.getElementById('press').getContext('2d').getImageData(x, y, 16, 16).data;
      return btoa(String.fromCharCode(...data));
    }, [column * 16, row * 16 + 16]);
    await page.waitForTimeout(holdMs);
  }
  await session.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
  return pressed && Buffer.from(pressed, 'base64');
}

test('tap, long press and a tap on a number play as the mouse would', async () => {
  const page = await openGame(env);
  const session = await page.context().newCDPSession(page);
  const at = (c, r) => `${c * 16 + 8} ${r * 16 + 24}`;
  const log = ['size 10 5 10', 'new'];
  const tap = (c, r) => [`move 0 ${at(c, r)}`, `ldown 1 ${at(c, r)}`, `lup 0 ${at(c, r)}`];
  const flag = (c, r) => [`move 0 ${at(c, r)}`, `rdown 2 ${at(c, r)}`, `rup 0 ${at(c, r)}`];
  const chord = (c, r) => [`move 0 ${at(c, r)}`, `ldown 1 ${at(c, r)}`, `rdown 3 ${at(c, r)}`, `lup 2 ${at(c, r)}`, `rup 0 ${at(c, r)}`];

  await touchAt(page, session, 0, 0, 0);
  log.push(...tap(0, 0));
  let state = replay(log);
  assert.deepEqual((await readScreen(page)).tiles, state.tiles, 'the tap opened');
  assert.equal(state.opened[0][0], 1);

  // A bomb beside an opened number: flag it with a long press, then chord.
  const squares = state.tiles.flatMap((row, r) => row.map((tile, c) => ({ c, r, tile })));
  const near = (s) => squares.filter((o) => Math.abs(o.c - s.c) <= 1 && Math.abs(o.r - s.r) <= 1 && o !== s);
  const number = squares.find((s) => s.tile === 4 && near(s).some((o) => state.mines[o.r][o.c]));
  const bomb = near(number).find((o) => state.mines[o.r][o.c]);
  const pressed = await touchAt(page, session, bomb.c, bomb.r, 500);
  assert.ok(pressed.equals(stripTiles[3]), 'the held square shows pressed');
  log.push(...flag(bomb.c, bomb.r));
  state = replay(log);
  assert.equal(state.marks[bomb.r][bomb.c], 1);
  assert.deepEqual((await readScreen(page)).tiles, state.tiles, 'the long press flagged');

  await touchAt(page, session, number.c, number.r, 0);
  log.push(...chord(number.c, number.r));
  state = replay(log);
  const screen = await readScreen(page);
  assert.deepEqual([screen.tiles, screen.counter], [state.tiles, state.counter], 'the tap on the number chorded');
  await page.close();
});
