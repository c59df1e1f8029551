// The page kept by its service worker: after one visit it starts with no
// network, and a new build on the same origin replaces the old one whole.
// The only test file whose browser allows service workers.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readdirSync, readFileSync, rmSync } from 'node:fs';
import { join } from 'node:path';
import { tmpdir } from 'node:os';
import { setUp, startServer, waitForGame, root, siteDir, siteRecipe } from './support.mjs';
import { keptFiles, waitForCaches, startsOffline, buildOf, cacheOf } from './everywhere.mjs';

const env = await setUp(test, { serviceWorkers: 'allow' });

// A second build of the same page, as a new version would give.
const newDir = mkdtempSync(join(tmpdir(), 'tsweeper-new-build-'));
execFileSync('python3', [join(root, 'tools', 'assemble_site.py'), siteRecipe, newDir, '--version', '99.0.0']);
test.after(() => rmSync(newDir, { recursive: true, force: true }));

// The files the page shows came from: the page's build, and the names of
// every file it asked for.
const shownBuild = (page) => page.evaluate(() => ({
  build: document.documentElement.dataset.build,
  files: performance.getEntriesByType('resource').map((entry) => entry.name.split('/').pop()),
}));

test('after one visit the page starts with no network', () => startsOffline(env, cacheOf(siteDir)));

test('a new build on the same origin is used from the next load, and replaces the old one whole', async (t) => {
  const site = await startServer();
  t.after(() => site.close());
  const oldBuild = buildOf(siteDir);
  const newBuild = buildOf(newDir);
  assert.notEqual(oldBuild, newBuild);
  const page = await env.context.newPage();
  await page.goto(site.url);
  await waitForGame(page);
  await waitForCaches(page, cacheOf(siteDir));

  site.serve(newDir);
  await page.reload();
  await waitForGame(page);
  const shown = await shownBuild(page);
  assert.equal(shown.build, newBuild);
  await waitForCaches(page, cacheOf(newDir));

  await env.context.setOffline(true);
  try {
    await page.reload();
    await waitForGame(page);
    const offline = await shownBuild(page);
    assert.equal(offline.build, newBuild, 'offline, the new build');
    const hash = newBuild.split('-').pop();
    for (const file of offline.files) assert.ok(file.includes(hash) || file === 'sw.js', `${file} is of the new build`);
  } finally {
    await env.context.setOffline(false);
  }
  await page.close();
});

test('a worker whose page comes from another build keeps the old build whole', async (t) => {
  // The new build's worker, but the old build's page: as from a stale cache on the way.
  let mixedOn = false;
  const mixed = await startServer({
    send: async (file, body, response) => {
      if (file !== 'sw.js' || !mixedOn) return false;
      response.end(readFileSync(join(newDir, 'sw.js')));
      return true;
    },
  });
  t.after(() => mixed.close());
  const page = await env.context.newPage();
  await page.goto(mixed.url);
  await waitForGame(page);
  await waitForCaches(page, cacheOf(siteDir));
  mixedOn = true;
  const refused = await page.evaluate(async () => {
    const registration = await navigator.serviceWorker.getRegistration();
    try {
      await registration.update();
    } catch (error) {
      return String(error);
    }
    // An update that the install refuses leaves no waiting or installing worker behind.
    for (let i = 0; i < 100 && (registration.installing || registration.waiting); i++) {
      await new Promise((resolve) => setTimeout(resolve, 50));
    }
    return registration.active.scriptURL && !registration.waiting && !registration.installing;
  });
  assert.ok(refused, `the new worker is not installed (${refused})`);
  assert.deepEqual(await keptFiles(page), cacheOf(siteDir));
  await page.close();
});
