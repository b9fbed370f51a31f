// The service worker: it keeps the page's own files, so that the page opens
// and lists offline, and can be installed as an app. Each request goes to
// the network first, so that a new version of the page is taken as soon as
// it is there, and the kept copy answers only when the network can't.
'use strict';

const CACHE = 'vorn-page';
// The site's files, as web/CMakeLists.txt lists them, filled in by the
// build; the release check reads them back from this line.
const PAGE_FILES = ['./', ...'@SITE_FILES@'.split(' ')];

self.addEventListener('install', (event) => {
  event.waitUntil(
    caches.open(CACHE).then((cache) => cache.addAll(PAGE_FILES)).then(() => self.skipWaiting()),
  );
});

self.addEventListener('activate', (event) => event.waitUntil(self.clients.claim()));

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== location.origin) return;
  event.respondWith(
    fetch(request)
      .then((response) => {
        if (response.ok) {
          const copy = response.clone();
          caches.open(CACHE).then((cache) => cache.put(request, copy));
        }
        return response;
      })
      .catch(() => caches.match(request, { ignoreSearch: true }).then((kept) => kept || Response.error())),
  );
});
