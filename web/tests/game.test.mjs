// Mouse play on the page against the same moves through the core built
// natively: a worked game (first board, flood, flag and counter, chord,
// loss, win) with every pixel of the canvas compared with the strip, random
// play compared square by square, zoom hitting the right squares, a pen
// played as a mouse.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { setUp, openGame, pagePoint } from './support.mjs';
import { mousePlayer } from './player.mjs';
import { Fresh, assertSameAsReplay, workedGame, chordWithMoves, newGameByMouse } from './everywhere.mjs';

const env = await setUp(test);

test('a worked game: first board, flood, flag, chord, loss and win, pixel for pixel', () => workedGame(env));

test('a chord with moves while both buttons and then the left are held', () => chordWithMoves(env));


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
      await newGameByMouse(page, player);
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
