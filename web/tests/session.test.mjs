// When the page writes its settings: when it is hidden (the save that
// counts on a phone, whose pages are hidden and then dropped), when it is
// left, and never once the game has ended with 終了, after which no menu
// command runs either.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { setUp, openGame, scriptlessFile } from './support.mjs';

const env = await setUp(test);

const stored = (page) => page.evaluate(() => localStorage.getItem('tsweeper.ini'));
const Defaults = '[Set]\r\nWinX=10\r\nWinY=10\r\nX=10\r\nY=5\r\nBom=10\r\n';

// Headless chromium never hides a page by itself: the page is told it is
// hidden, as a phone tells it when its browser goes to the background.
const hide = (page) => page.evaluate(() => {
  Object.defineProperty(document, 'visibilityState', { configurable: true, get: () => 'hidden' });
  document.dispatchEvent(new Event('visibilitychange'));
});

test('a hidden page writes its settings; a visible one does not before it is left', async () => {
  const page = await openGame(env);
  await page.evaluate(() => document.dispatchEvent(new Event('visibilitychange')));
  assert.equal(await stored(page), null, 'still visible: nothing written');
  await hide(page);
  assert.equal(await stored(page), Defaults);
  await page.close();
});

test('after 終了 nothing is written any more and no command runs', async () => {
  const page = await openGame(env);
  await page.click('.menu-title >> nth=0');
  await page.click('.menu-item:text("終了(Q)")');
  assert.equal(await stored(page), Defaults, '終了 wrote the settings');
  // Another tab saves after this one has ended; this one must not write over it.
  const later = '[Set]\r\nWinX=10\r\nWinY=10\r\nX=20\r\nY=10\r\nBom=30\r\n';
  await page.evaluate((text) => localStorage.setItem('tsweeper.ini', text), later);
  await hide(page);
  for (const [menu, item] of [['G', 's'], ['G', 'n'], ['H', 'a']]) {
    await page.keyboard.press(`Alt+${menu}`);
    await page.keyboard.press(item);
  }
  assert.equal(await page.locator('dialog[open]').count(), 0, 'no dialog, no message box');
  assert.equal(await page.isVisible('#ended'), true);
  await page.goto(`${env.url}${scriptlessFile()}`);
  assert.equal(await stored(page), later, 'neither hiding nor leaving wrote');
  await page.close();
});
