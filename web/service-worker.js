// Keeps the page and everything it fetches, so that after one visit the game
// plays without the network. web/offline.sh fills in the list of files and a
// version taken from their contents: a new build is a new cache, and the old
// one goes once the new worker takes over.
const version = '@VERSION@';
const files = [@FILES@];
const cacheName = 'curdovar-' + version;

self.addEventListener('install', (event) => {
  // Every file at once: a page that half plays offline is worse than none.
  event.waitUntil(caches.open(cacheName).then((cache) => cache.addAll(files))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name.startsWith('curdovar-') &&
                                                         name !== cacheName)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// The kept copy first; the network for anything else.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.open(cacheName)
    .then((cache) => cache.match(event.request, { ignoreSearch: true }))
    .then((kept) => kept || fetch(event.request)));
});
