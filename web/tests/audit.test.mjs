// The page audited with axe-core, as a screen reader's user and a player who
// needs contrast meet it: no violation of any impact on the first view, an
// open menu, the settings dialog, a message box, a lost and a won board,
// with a mouse and with a finger; and every text at 4.5 : 1 or more.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import AxeBuilder from '@axe-core/playwright';
import { setUp, openGame, replay, startBrowser } from './support.mjs';
import { mousePlayer } from './player.mjs';

const env = await setUp(test);

// Every text on the page against what lies behind it, by the WCAG formula:
// the colour of the text over the first opaque background of the element or
// an ancestor (a background image counts as unknown). Texts hidden for the
// eye (a 1-pixel clip) are left out.
const lowContrast = (page) => page.evaluate(() => {
  const rgba = (text) => text.match(/[\d.]+/g).map(Number).concat(1).slice(0, 4);
  const luminance = ([r, g, b]) => {
    const channel = (v) => (v / 255 <= 0.03928 ? v / 255 / 12.92 : ((v / 255 + 0.055) / 1.055) ** 2.4);
    return 0.2126 * channel(r) + 0.7152 * channel(g) + 0.0722 * channel(b);
  };
  const problems = [];
  for (const element of document.querySelectorAll('body *')) {
    const ownText = [...element.childNodes].some((node) => node.nodeType === Node.TEXT_NODE && node.textContent.trim());
    const box = element.getBoundingClientRect();
    if (!ownText || !element.getClientRects().length || box.width <= 1 || box.height <= 1) continue;
    const text = rgba(getComputedStyle(element).color);
    let behind = null;
    for (let at = element; at && !behind; at = at.parentElement) {
      const style = getComputedStyle(at);
      if (style.backgroundImage !== 'none') behind = 'unknown';
      else if (rgba(style.backgroundColor)[3] === 1) behind = rgba(style.backgroundColor);
    }
    if (behind === null) behind = rgba(getComputedStyle(document.documentElement).backgroundColor);
    if (behind === 'unknown') {
      problems.push(`${element.textContent}: a background image`);
      continue;
    }
    const [light, dark] = [luminance(text), luminance(behind)].sort((a, b) => b - a);
    const ratio = (light + 0.05) / (dark + 0.05);
    if (ratio < 4.5) problems.push(`${element.textContent}: ${ratio.toFixed(2)} : 1`);
  }
  return problems;
});

async function assertNoViolations(page, view) {
  const results = await new AxeBuilder({ page }).analyze();
  const found = results.violations.map((v) => `${v.id} (${v.impact}): ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`);
  assert.deepEqual(found, [], `${view}: violations`);
  // axe leaves undecided the contrast of a text over several elements (a
  // menu over the board's squares): every text is measured here as well.
  assert.deepEqual(await lowContrast(page), [], `${view}: text contrast`);
}

// Every square opened but the bombs, then every bomb flagged: a won game.
async function win(page, player) {
  await player.click('left', 0, 0);
  const state = replay(player.log);
  for (const [r, row] of state.mines.entries()) {
    for (const [c, mine] of row.entries()) if (mine) await player.click('right', c, r);
  }
}

async function audit(context, what) {
  const page = await openGame({ url: env.url, context });
  await assertNoViolations(page, `${what}: the first view`);
  await page.click('.menu-title >> nth=0');
  await assertNoViolations(page, `${what}: an open menu`);
  await page.click('.menu-item[data-id="1001"]');
  await assertNoViolations(page, `${what}: the settings dialog`);
  await page.fill('dialog[open] input >> nth=0', '9');
  await page.click('dialog[open] button.default');
  await assertNoViolations(page, `${what}: a message box`);
  await page.keyboard.press('Enter');
  await page.keyboard.press('Escape');

  const player = mousePlayer(page, ['size 10 5 10', 'new']);
  await player.click('left', 0, 0);
  const state = replay(player.log);
  const bomb = state.mines.flatMap((row, r) => row.map((mine, c) => ({ c, r, mine }))).find((s) => s.mine);
  await player.click('left', bomb.c, bomb.r);
  await assertNoViolations(page, `${what}: a lost board`);
  await page.click('.menu-title >> nth=0');
  await page.click('.menu-item[data-id="1000"]');
  player.log.push('new');
  player.forget();
  await win(page, player);
  assert.equal(replay(player.log).gameActive, 0);
  await assertNoViolations(page, `${what}: a won board`);
  await page.close();
}

test('no violations with a mouse', async () => {
  await audit(env.context, 'mouse');
});

test('no violations with a finger, on a phone', async (t) => {
  const phone = await startBrowser({ hasTouch: true, isMobile: true, viewport: { width: 390, height: 844 } });
  t.after(() => phone.close());
  await audit(phone.context, 'finger');
});
