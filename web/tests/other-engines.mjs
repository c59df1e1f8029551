// The tests that matter most, run in the engine that TSWEEPER_ENGINE names
// (firefox or webkit, see engines.mjs) with the bodies that Chromium's
// tests run (everywhere.mjs): a played game and a chord against the native
// replay, exact device pixels at each ratio the engine takes, the keyboard
// and the screen reader's grid, the settings text kept line for line, the
// dialog's refusals, and offline play where the engine's automation allows it.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { startServer, siteDir, openGame } from './support.mjs';
import { engines } from './engines.mjs';
import { workedGame, chordWithMoves, keyboardGame, settingsCases, settingsKept, dialogRefusals, playAtRatio,
  startsOffline, cacheOf } from './everywhere.mjs';

const engine = engines[process.env.TSWEEPER_ENGINE];
if (!engine) throw new Error(`TSWEEPER_ENGINE is ${process.env.TSWEEPER_ENGINE}, not one of ${Object.keys(engines)}`);

// A server and the engine's browser at `ratio`, closed when `t` ends. The
// network is cut by the server, which drops every request while offline.
async function setUpEngine(t, ratio, options = {}) {
  let offline = false;
  const site = await startServer({
    send: async (file, body, response) => {
      if (offline) response.destroy();
      return offline;
    },
  });
  const browser = await engine.start(ratio, options);
  t.after(async () => {
    await browser.close();
    await site.close();
  });
  return {
    url: site.url,
    newPage: () => browser.newPage(),
    setOffline: (on) => { offline = on; },
    // The grid's name, each cell's name and the active cell, as the
    // engine's accessibility tree has them.
    async assertReaderGrid(page, expected) {
      const checks = [{ id: 'grid', role: 'grid', name: expected.name },
        ...expected.rows.flatMap((row, r) => row.map((name, c) => ({ id: `square-${c}-${r}`, role: 'gridcell', name })))];
      assert.deepEqual(await browser.notAccessible(page, checks), []);
      assert.equal(await page.getAttribute('#grid', 'aria-activedescendant'), expected.active.id);
    },
  };
}

const env = await setUpEngine(test, 1);

test(`${engine.name}: a worked game: first board, flood, flag, chord, loss and win, pixel for pixel`, () => workedGame(env));
test(`${engine.name}: a chord with moves while both buttons and then the left are held`, () => chordWithMoves(env));
test(`${engine.name}: a whole game from the keyboard, with the screen reader's grid`, () => keyboardGame(env));
test(`${engine.name}: the settings dialog refuses the first field out of range and stays open as typed`, () => dialogRefusals(env));
for (const settings of settingsCases) {
  test(`${engine.name}: settings ${settings[0]}: read as the exe reads them, written back line for line`, () => settingsKept(env, settings));
}

for (const ratio of engine.ratios) {
  const given = engine.given(ratio);
  const shown = given === ratio ? `${ratio}` : `${ratio} (given as ${given.toFixed(3)})`;
  test(`${engine.name} at a devicePixelRatio of ${shown}: exact pixels, presses on the right squares, everything on its square`, async (t) => {
    const page = await openGame(ratio === 1 ? env : await setUpEngine(t, ratio));
    await playAtRatio(page, given);
    await page.close();
  });
}

test(`${engine.name}: after one visit the page starts with no network`, { skip: engine.offline }, async (t) => {
  await startsOffline(await setUpEngine(t, 1, { serviceWorkers: true }), cacheOf(siteDir));
});
