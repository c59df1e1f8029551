// The settings dialog and the message box as Windows dialogs: Tab goes
// round the controls and never leaves the box, the close box is no tab stop,
// Enter presses the focused push button (OK from a field or the box
// itself); the fields keep what is typed and are read as the exe reads
// them; the template's font; the dialog at the board's corner, also when
// the page's layout moves it.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { setUp, openGame, readCanvas, readScreen, labels, openBoxes, openDialog } from './support.mjs';
import { mousePlayer } from './player.mjs';

const env = await setUp(test);

const focused = (page) => page.evaluate(() => {
  const at = document.activeElement;
  if (at.tagName === 'DIALOG') return 'the dialog';
  return at.tagName === 'INPUT' ? `field ${[...document.querySelectorAll('dialog[open] input')].indexOf(at)}` : at.textContent;
});
const fields = (page) => page.$$eval('dialog[open] input', (inputs) => inputs.map((i) => i.value));

test('Tab goes round the fields, OK and キャンセル, never to the close box or out of the dialog', async () => {
  const page = await openGame(env);
  await openDialog(page);
  assert.equal(await focused(page), 'the dialog');
  const order = ['field 0', 'field 1', 'field 2', 'OK', 'キャンセル', 'field 0', 'field 1'];
  for (const expected of order) {
    await page.keyboard.press('Tab');
    assert.equal(await focused(page), expected);
  }
  for (const expected of ['field 0', 'キャンセル', 'OK']) {
    await page.keyboard.press('Shift+Tab');
    assert.equal(await focused(page), expected);
  }
  // The message box: its OK is its one tab stop.
  await page.keyboard.press('Escape');
  await page.keyboard.press('Alt+H');
  await page.keyboard.press('a');
  for (let i = 0; i < 3; i++) {
    await page.keyboard.press('Tab');
    assert.equal(await focused(page), 'OK');
  }
  await page.close();
});

test('Enter presses the focused button: キャンセル and the close box cancel, whatever is typed', async () => {
  const page = await openGame(env);
  const player = mousePlayer(page, []);
  await player.click('left', 3, 2);
  const before = await readCanvas(page);
  for (const button of ['キャンセル', '×']) {
    await openDialog(page);
    for (const [i, value] of ['20', '20', '300'].entries()) await page.fill(`dialog[open] input >> nth=${i}`, value);
    await page.focus(`dialog[open] button:text("${button}")`);
    await page.keyboard.press('Enter');
    assert.deepEqual(await openBoxes(page), [], button);
    assert.ok((await readCanvas(page)).data.equals(before.data), `${button}: the game goes on`);
    await openDialog(page);
    assert.deepEqual(await fields(page), ['10', '5', '10'], `${button}: nothing stored`);
    await page.keyboard.press('Escape');
  }
  await page.close();
});

test('the fields keep what is typed or pasted, with the caret where it was', async () => {
  const page = await openGame(env);
  await openDialog(page);
  const field = 'dialog[open] input >> nth=0';
  await page.fill(field, '');
  await page.type(field, '12');
  await page.keyboard.press('ArrowLeft');
  await page.keyboard.type('a');
  assert.equal(await page.inputValue(field), '1a2');
  assert.equal(await page.$eval(field, (input) => input.selectionStart), 2);
  // Pasted, through the real clipboard, at the end.
  await page.context().grantPermissions(['clipboard-read', 'clipboard-write']);
  await page.evaluate(() => navigator.clipboard.writeText(' x7'));
  await page.keyboard.press('End');
  await page.keyboard.press('Control+V');
  assert.equal(await page.inputValue(field), '1a2 x7');
  assert.equal(await page.$eval(field, (input) => input.selectionStart), 6);
  await page.close();
});

test('fields and buttons in the template\'s font', async () => {
  const page = await openGame(env);
  await openDialog(page);
  const fonts = await page.$$eval('dialog[open] .dialog-body > *', (controls) => controls.map((c) => {
    const style = getComputedStyle(c);
    return `${style.fontSize} ${style.fontFamily.split(',')[0]}`;
  }));
  const { dialog } = labels;
  const expected = `${dialog.font.points * 96 / 72}px "${dialog.font.face}"`;
  assert.equal(dialog.font.face, 'ＭＳ Ｐゴシック');
  assert.deepEqual(fonts, Array(8).fill(expected));
  await page.close();
});

test('the dialog stands at the board\'s corner, and follows it when the page\'s layout moves', async () => {
  const page = await openGame(env);
  const corner = async () => {
    const client = await page.locator('#client').boundingBox();
    const box = await page.locator('dialog[open]').boundingBox();
    return { dx: box.x - client.x, dy: box.y - client.y };
  };
  await openDialog(page);
  assert.deepEqual(await corner(), { dx: 0, dy: 0 });
  for (const viewport of [{ width: 900, height: 700 }, { width: 1600, height: 1000 }, { width: 700, height: 500 }]) {
    await page.setViewportSize(viewport);
    await page.waitForTimeout(50);
    assert.deepEqual(await corner(), { dx: 0, dy: 0 }, `at ${viewport.width} x ${viewport.height}`);
  }
  await page.keyboard.press('Escape');
  const screen = await readScreen(page);
  assert.deepEqual([screen.columns, screen.rows], [10, 5]);
  await page.close();
});
