// SPDX-License-Identifier: MIT
// The site's server under addresses a browser would never send: a malformed one is answered 400 and the
// server serves on; one that climbs out of the site is not found, though the file it names exists.
//   node serve_test.mjs
import { request } from 'node:http';
import { mkdirSync, mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { serve } from '../../tools/web/serve.mjs';

const scratch = mkdtempSync(join(tmpdir(), 'kanuvo-serve-'));
mkdirSync(join(scratch, 'site'));
writeFileSync(join(scratch, 'site', 'index.html'), 'the site\n');
writeFileSync(join(scratch, 'secret'), 'beside the site\n');
const server = await serve(join(scratch, 'site'));

// The status and body of a GET of the path exactly as written, undecoded and unnormalised.
const get = (path) => new Promise((resolve, reject) => {
  request({ host: '127.0.0.1', port: server.address().port, path }, (response) => {
    let body = '';
    response.on('data', (chunk) => (body += chunk));
    response.on('end', () => resolve(`${response.statusCode} ${body.trim()}`));
  }).on('error', reject).end();
});

const expected = [
  ['/%E0%A4%A', '400 bad address'],
  ['/%', '400 bad address'],
  ['/..%2fsecret', '404 not found'],
  ['/', '200 the site'],
];
let failed = 0;
for (const [path, answer] of expected) {
  const got = await get(path).catch((e) => `no answer (${e.message})`);
  if (got !== answer) ++failed;
  console.log(`${got === answer ? 'ok  ' : 'FAIL'} ${path}: ${got}${got === answer ? '' : `, not ${answer}`}`);
}
server.close();
rmSync(scratch, { recursive: true, force: true });
process.exit(failed ? 1 : 0);
