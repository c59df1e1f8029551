// The page around the board (the menu bar: menus.test.mjs): the
// settings dialog's refusals, cancel and OK, the version box, the end of the
// game, and a board wider than a phone's screen.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { setUp, openGame, readScreen, readCanvas, waitForGame, openBoxes, openDialog } from './support.mjs';
import { mousePlayer } from './player.mjs';
import { dialogRefusals, typeFields } from './everywhere.mjs';

const env = await setUp(test);

test('the settings dialog refuses the first field out of range and stays open as typed', () => dialogRefusals(env));

test('cancel changes nothing; OK resizes the board and starts a new game', async () => {
  const page = await openGame(env);
  const player = mousePlayer(page, []);
  await player.click('left', 3, 2);
  const before = await readCanvas(page);
  for (const cancel of ['Escape', 'close', 'キャンセル']) {
    await openDialog(page);
    await typeFields(page, ['20', '20', '300']);
    if (cancel === 'Escape') await page.keyboard.press('Escape');
    else if (cancel === 'close') await page.click('dialog[open] .caption button');
    else await page.click(`dialog[open] button:text("${cancel}")`);
    assert.deepEqual(await openBoxes(page), [], cancel);
    assert.ok((await readCanvas(page)).data.equals(before.data), `${cancel}: the game goes on`);
  }
  await openDialog(page);
  await typeFields(page, ['20', '20', '300']);
  await page.keyboard.press('Enter');
  assert.deepEqual(await openBoxes(page), []);
  const screen = await readScreen(page);
  assert.deepEqual([screen.columns, screen.rows], [20, 20]);
  assert.ok(screen.tiles.flat().every((tile) => tile === 0), 'a new game, every square covered');
  assert.deepEqual(screen.counter, [27, 19, 16, 16], 'the counter shows 300');
  assert.ok(screen.blackStrip);
  await page.close();
});

test('終了 writes the settings and ends the game, with a way to start again', async () => {
  const page = await openGame(env, '[Set]\r\nWinX=-30\r\nX=12\r\nY=7\r\nBom=0x10\r\n');
  await page.click('.menu-title >> nth=0');
  await page.click('.menu-item:text("終了(Q)")');
  assert.equal(await page.isVisible('#board'), false);
  assert.equal(await page.isVisible('#ended'), true);
  // The missing WinY is added after the section's last key, as the profile function adds it.
  assert.equal(await page.evaluate(() => localStorage.getItem('tsweeper.ini')),
    '[Set]\r\nWinX=-30\r\nX=12\r\nY=7\r\nBom=16\r\nWinY=10\r\n');
  await page.click('#restart');
  await waitForGame(page);
  const screen = await readScreen(page);
  assert.deepEqual([screen.columns, screen.rows, screen.counter], [12, 7, [27, 16, 17, 22]]);
  await page.close();
});

test('a board wider than a phone\'s screen starts at the left edge, its menu bar in reach', async () => {
  const page = await openGame(env, '[Set]\r\nX=30\r\nY=16\r\nBom=99\r\n');
  await page.setViewportSize({ width: 390, height: 844 });
  const box = await page.locator('#window').boundingBox();
  assert.ok(box.x >= 0, `the window starts at x ${box.x}`);
  assert.ok(box.width > 390, 'the board is wider than the screen');
  await page.click('.menu-title >> nth=0');
  assert.deepEqual(await page.$$eval('.menu.open .menu-title', (t) => t.map((e) => e.textContent)), ['ゲーム(G)']);
  await page.close();
});
