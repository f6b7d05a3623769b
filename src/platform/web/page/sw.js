// SPDX-License-Identifier: MIT
// The page's service worker: keeps a copy of every file of the site, so that the game starts and plays
// with no network once it has been loaded. The network is asked first, so that a new build is taken
// as soon as it is there, and the copy answers when there is no network. The page names the sound
// encoding its browser plays (?sound=ogg or mp3): the other one is not kept.
'use strict';

const CACHE = 'kanuvo';
const unheard = new URL(location.href).searchParams.get('sound') === 'mp3' ? '.ogg' : '.mp3';

self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    const cache = await caches.open(CACHE);
    const files = await (await fetch('files.json', { cache: 'no-store' })).json();
    await cache.addAll(files.filter((f) => !f.endsWith(unheard)).map((f) => (f === 'index.html' ? './' : f)));
    await self.skipWaiting();
  })());
});

self.addEventListener('activate', (event) => event.waitUntil(self.clients.claim()));

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== location.origin) return;
  event.respondWith((async () => {
    const cache = await caches.open(CACHE);
    try {
      const response = await fetch(request);
      if (response.ok) await cache.put(request, response.clone());
      return response;
    } catch (e) {
      const kept = await cache.match(request, { ignoreSearch: true });
      if (kept) return kept;
      throw e;
    }
  })());
});
