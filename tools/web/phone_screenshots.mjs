// SPDX-License-Identifier: MIT
// The README's pictures of the browser version on a phone: the first board on a 390 x 844 touch screen
// held upright and lying, at twice the density, in Debian's Chromium (./run screenshots).
//   node phone_screenshots.mjs <build-web> <out folder>
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { launch } from '../../tests/web/chromium.mjs';
import { serve } from './serve.mjs';

const [build, out] = process.argv.slice(2);
const server = await serve(build);
const profile = mkdtempSync(join(tmpdir(), 'kanuvo-shots-'));
const browser = await launch(profile);
for (const [name, width, height] of [['phone-upright', 390, 844], ['phone-lying', 844, 390]]) {
  const page = await browser.newPage();
  await page.setViewport({ width, height, deviceScaleFactor: 2, hasTouch: true, isMobile: true });
  await page.goto(`http://127.0.0.1:${server.address().port}/site/?lang=ja`);
  await page.waitForFunction(() => performance.getEntriesByName('kanuvo-title').length > 0);
  await page.touchscreen.tap(width / 2, height / 2);  // past the title
  await page.waitForFunction(() => getComputedStyle(document.getElementById('board')).display === 'block');
  await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => setTimeout(r, 200))));
  await page.screenshot({ path: join(out, `${name}.png`) });
  await page.close();
}
await browser.close();
server.close();
rmSync(profile, { recursive: true, force: true });
