// SPDX-License-Identifier: MIT
// Serves a folder of static files on 127.0.0.1 at a free port and prints its address: the browser
// version's site, for ./run web and the browser tests.
//   node serve.mjs <folder> [port]
import { createServer } from 'node:http';
import { readFile, stat } from 'node:fs/promises';
import { extname, join, normalize, resolve, sep } from 'node:path';

const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8', '.mjs': 'text/javascript; charset=utf-8',
  '.json': 'application/json', '.webmanifest': 'application/manifest+json', '.wasm': 'application/wasm',
  '.png': 'image/png', '.woff2': 'font/woff2', '.ogg': 'audio/ogg', '.mp3': 'audio/mpeg', '.css': 'text/css',
};

export function serve(folder, port = 0) {
  const root = resolve(folder);
  const server = createServer(async (request, response) => {
    let path;
    try {
      path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    } catch {
      // A malformed address (a lone %, a cut UTF-8 sequence) is the asker's fault; the next is served.
      response.writeHead(400, { 'Content-Type': 'text/plain' });
      response.end('bad address\n');
      return;
    }
    if (path.endsWith('/')) path += 'index.html';
    const file = normalize(join(root, path));
    try {
      if (!file.startsWith(root + sep) || !(await stat(file)).isFile()) throw new Error('not a file');
      const body = await readFile(file);
      response.writeHead(200, { 'Content-Type': types[extname(file)] || 'application/octet-stream', 'Cache-Control': 'no-cache' });
      response.end(body);
    } catch {
      response.writeHead(404, { 'Content-Type': 'text/plain' });
      response.end('not found\n');
    }
  });
  return new Promise((ok) => server.listen(port, '127.0.0.1', () => ok(server)));
}

if (process.argv[1] && resolve(process.argv[1]) === resolve(new URL(import.meta.url).pathname)) {
  const server = await serve(process.argv[2] || '.', Number(process.argv[3] || 0));
  console.log(`Kanuvo is served at http://127.0.0.1:${server.address().port}/  (Ctrl+C ends it)`);
}
