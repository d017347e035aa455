// The page's service worker (sw.js beside index.html, which registers it):
// the build's files, kept once the page has been visited, so that it runs
// again without a network. Every request goes to the server first, so an
// online visit always has what the server has now; only when no answer
// comes does the kept copy stand in, the page itself for any address of
// it. The server is asked past the browser's HTTP cache, which would
// otherwise answer for it: a host that sends no cache headers (most send
// none for static files) leaves the cache to guess, and it takes a file a
// month old for fresh for days. What the browser's cache holds is checked
// with the server, an unchanged file costing a "not modified". The build
// writes the files and the version in: a new build is a new service worker
// with a cache of its own, and the cache of the one before goes. Caches
// are named by the page's folder, so copies in two folders of one site
// keep theirs apart.
'use strict';
const FILES = [@FILES@];
const OURS = 'velk ' + registration.scope + ' ';
const CACHE = OURS + '@VERSION@';

addEventListener('install', event => {
  event.waitUntil(caches.open(CACHE)
    .then(cache => cache.addAll(FILES.map(file => new Request(file, {cache: 'reload'}))))
    .then(() => skipWaiting()));
});

addEventListener('activate', event => {
  event.waitUntil(caches.keys()
    .then(names => Promise.all(names.filter(n => n.startsWith(OURS) && n != CACHE).map(n => caches.delete(n))))
    .then(() => clients.claim()));
});

addEventListener('fetch', event => {
  const request = event.request;
  if (request.method != 'GET' || !request.url.startsWith(registration.scope))
    return;
  // A reload that asks for more than a check (no cache at all) keeps it.
  const asked = request.cache == 'no-store' || request.cache == 'reload' ? request : new Request(request, {cache: 'no-cache'});
  event.respondWith(fetch(asked).catch(failure => caches.open(CACHE)
    .then(cache => cache.match(request, {ignoreSearch: request.mode == 'navigate'})
      .then(kept => kept || (request.mode == 'navigate' ? cache.match('index.html') : undefined)))
    .then(kept => kept || Promise.reject(failure))));
});
