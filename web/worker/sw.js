// The page's service worker: keeps one whole build for playing offline.
// tools/assemble_site.py writes it into the site as sw.js, after a first
// line that names its build: `const build = { id, page, files };` (the id,
// the page's name, and every file of the build, the page first).
//
// The page is one file that carries its script, its module and its data,
// so that one answer is always of one build. Online, the page comes from the
// network, so a new build is played from the next load on; offline, from
// this worker's cache. The other files carry the build's id in their names
// and are answered from the cache. A new build's worker fills a new cache
// whole before it takes over, and then deletes the caches of the others.
const cacheName = `tsweeper-${build.id}`;
const scope = new URL('./', self.location).href;
const pageUrls = [scope, new URL(build.page, scope).href];

self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    // Straight from the server, past the HTTP cache, which may still hold an
    // older build's page; a page of another build is not kept. The cache is
    // made only when every file has come, and not left half filled.
    const responses = await Promise.all(build.files.map(async (file) => {
      const response = await fetch(new Request(file, { cache: 'reload' }));
      if (!response.ok) throw new Error(`${file}: ${response.status}`);
      return response;
    }));
    const page = await responses[0].clone().text();
    if (!page.includes(`data-build="${build.id}"`)) throw new Error(`${build.page} is of another build`);
    try {
      const cache = await caches.open(cacheName);
      await Promise.all(build.files.map((file, i) => cache.put(file, responses[i])));
    } catch (error) {
      await caches.delete(cacheName);
      throw error;
    }
    await self.skipWaiting();
  })());
});

self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    const names = await caches.keys();
    await Promise.all(names.filter((name) => name.startsWith('tsweeper-') && name !== cacheName)
      .map((name) => caches.delete(name)));
    await self.clients.claim();
  })());
});

async function pageAnswer(request) {
  try {
    return await fetch(request);
  } catch (error) {
    const cached = await (await caches.open(cacheName)).match(build.page);
    if (cached) return cached;
    throw error;
  }
}

async function fileAnswer(request) {
  const cached = await (await caches.open(cacheName)).match(request);
  return cached || fetch(request);
}

self.addEventListener('fetch', (event) => {
  const { request } = event;
  if (request.method !== 'GET' || !request.url.startsWith(scope)) return;
  const url = request.url.split(/[?#]/)[0];
  if (request.mode === 'navigate' && pageUrls.includes(url)) event.respondWith(pageAnswer(request));
  else event.respondWith(fileAnswer(request));
});
