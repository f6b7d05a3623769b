// SPDX-License-Identifier: MIT
// The browser version in Debian's Chromium, headless: the desktop's session played by the browser's
// engine, the first board against the desktop's picture of it, a tap that slides a tile and taps on the
// buttons, the player's data across a reload (garbage and a refusing storage included), one copy and
// no lost time on a host that is not a secure context, and the game loaded and played again once the
// network is gone.
//   KANUVO_WEB_BUILD=<build-web> node page_test.mjs <kanuvo_web_reference>
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { serve } from '../../tools/web/serve.mjs';

const build = process.env.KANUVO_WEB_BUILD;
if (!build) {
  console.log('KANUVO_WEB_BUILD is not set: the browser version was not built, nothing to test');
  process.exit(77);
}
// Imported only now: a suite run without the browser build (the sanitizers' pass) has no driver installed.
const { launch, step, failures } = await import('./chromium.mjs');
const scratch = mkdtempSync(join(tmpdir(), 'kanuvo-web-'));
let server = await serve(build);
const origin = () => `http://127.0.0.1:${server.address().port}`;
// A name other than localhost for this machine: a page served under it over http is not a secure context.
const browser = await launch(join(scratch, 'profile'), ['--host-resolver-rules=MAP kanuvo.test 127.0.0.1']);

// The page at scale 1, in Japanese as the desktop speaks it by default, with the title done.
async function openBoard(context, { touch = false } = {}) {
  const page = await context.newPage();
  await page.setViewport({ width: 650, height: 650, deviceScaleFactor: 1, hasTouch: touch, isMobile: false });
  await page.goto(`${origin()}/site/?lang=ja`);
  await titleShown(page);
  await page.mouse.click(325, 325);  // a click ends the title
  await page.waitForFunction(() => getComputedStyle(document.getElementById('board')).display === 'block');
  return page;
}
const titleShown = (page) => page.waitForFunction(() => performance.getEntriesByName('kanuvo-title').length > 0);
// The board's pixels as RGB rows, read from its canvas.
const boardPixels = (page) => page.evaluate(() => {
  const c = document.getElementById('board');
  const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
  const rgb = [];
  for (let i = 0; i < d.length; i += 4) rgb.push(d[i], d[i + 1], d[i + 2]);
  return { width: c.width, height: c.height, rgb };
});
const settle = (page) => page.evaluate(() => new Promise((r) => requestAnimationFrame(() => setTimeout(r, 50))));

await step('the desktop session plays out the same in the browser', async (check) => {
  const page = await browser.newPage();
  await page.goto(`${origin()}/tests/session.html`);
  await page.waitForFunction(() => window.sessionStatus !== undefined, { timeout: 120000 });
  const report = await page.$eval('#report', (e) => e.textContent);
  check(await page.evaluate(() => window.sessionStatus) === 0 && /\[  PASSED  \] 1 test/.test(report),
        `the session's checkpoint lines differ:\n${report}`);
  await page.close();
});

await step('the first board matches the desktop picture but for the edges of shapes and text', async (check) => {
  const reference = join(scratch, 'board.ppm');
  execFileSync(process.argv[2], [reference], { env: { ...process.env, QT_QPA_PLATFORM: 'offscreen' } });
  const ppm = readFileSync(reference);
  const [, w, h] = ppm.toString('latin1', 0, 20).match(/^P6\n(\d+) (\d+)\n255\n/).map(Number);
  const desk = ppm.subarray(ppm.length - w * h * 3);
  const context = await browser.createBrowserContext();
  const page = await openBoard(context);
  await settle(page);
  const web = await boardPixels(page);
  check(web.width === w && web.height === h, `the board is ${web.width} x ${web.height}, the desktop's ${w} x ${h}`);
  // An edge pixel lies within two pixels of a change of colour in the desktop's picture: there the
  // smoothing of letters and curves may differ, and a letter may be placed a pixel apart. Everywhere
  // else the colour must be the same, within 2 of 255 in each channel.
  const at = (x, y) => (y * w + x) * 3;
  const edge = (x, y) => {
    for (let dy = -2; dy <= 2; ++dy) for (let dx = -2; dx <= 2; ++dx) {
      const nx = x + dx, ny = y + dy;
      if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
      for (let c = 0; c < 3; ++c) if (desk[at(nx, ny) + c] !== desk[at(x, y) + c]) return true;
    }
    return false;
  };
  let wrong = 0, edges = 0, first = '';
  for (let y = 0; y < h; ++y) for (let x = 0; x < w; ++x) {
    let diff = 0;
    for (let c = 0; c < 3; ++c) diff = Math.max(diff, Math.abs(desk[at(x, y) + c] - web.rgb[at(x, y) + c]));
    if (diff <= 2) continue;
    if (edge(x, y)) { ++edges; continue; }
    if (!wrong++) first = `(${x}, ${y}): desktop ${[...desk.subarray(at(x, y), at(x, y) + 3)]}, page ${web.rgb.slice(at(x, y), at(x, y) + 3)}`;
  }
  check(wrong === 0, `${wrong} pixels away from any edge differ, the first at ${first}`);
  // Even at the edges most pixels agree: a label or shape drawn a pixel off would fail here.
  check(edges < w * h * 0.02, `${edges} edge pixels differ, more than 2 % of the board`);
  await context.close();
});

await step('taps start a run and slide a tile into the empty cell', async (check) => {
  const context = await browser.createBrowserContext();
  const page = await openBoard(context, { touch: true });
  // The first deal of stage 1 leaves cell 11 (third row, third column) empty; cell 10 is left of it.
  const cell = (column, row) => ({ x: 109 + 108 * column + 54, y: 108 + 108 * row + 54 });
  const crop = (pixels, { x, y }) => {
    const out = [];
    for (let dy = -40; dy < 40; ++dy) out.push(pixels.rgb.slice(((y + dy) * pixels.width + x - 40) * 3, ((y + dy) * pixels.width + x + 40) * 3).join());
    return out.join('|');
  };
  const startBox = await page.$eval('#game button:nth-of-type(3)', (b) => b.getBoundingClientRect().toJSON());
  await page.touchscreen.tap(startBox.x + startBox.width / 2, startBox.y + startBox.height / 2);
  await settle(page);
  const caption = await page.$eval('#game button:nth-of-type(3)', (b) => b.textContent);
  check(caption === 'ストップ', `a tap on スタート left its caption ${caption}`);
  const before = await boardPixels(page);
  await page.touchscreen.tap(cell(1, 2).x, cell(1, 2).y);
  await settle(page);
  const after = await boardPixels(page);
  check(crop(after, cell(2, 2)) === crop(before, cell(1, 2)), 'the tapped tile is not in the empty cell');
  check(crop(after, cell(1, 2)) === crop(before, cell(2, 2)), 'the tapped tile left no empty cell behind');
  await context.close();
});

await step('Enter and Space in a run started by a click leave it running: no page button takes the focus', async (check) => {
  const context = await browser.createBrowserContext();
  const page = await openBoard(context);
  const start = '#game button:nth-of-type(3)';
  const box = await page.$eval(start, (b) => b.getBoundingClientRect().toJSON());
  await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
  await settle(page);
  for (const key of ['Enter', 'Space', 'Enter']) await page.keyboard.press(key);
  await settle(page);
  check(await page.$eval(start, (b) => b.textContent) === 'ストップ', 'a key stopped the run');
  check(await page.evaluate(() => document.activeElement === document.body),
        `the focus is on ${await page.evaluate(() => document.activeElement.outerHTML.slice(0, 80))}`);
  await context.close();
});

await step('a first gesture of Enter starts a run whose tune plays', async (check) => {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  // Every sound started, and the tune once decoded, as the page's audio reports them.
  await page.evaluateOnNewDocument(() => {
    window.started = [];
    window.decoded = 0;
    const start = AudioBufferSourceNode.prototype.start;
    AudioBufferSourceNode.prototype.start = function (...a) {
      window.started.push({ node: this, seconds: this.buffer.duration });
      return start.apply(this, a);
    };
    const decode = BaseAudioContext.prototype.decodeAudioData;
    BaseAudioContext.prototype.decodeAudioData = function (bytes, ok, fail) {
      return decode.call(this, bytes, (b) => { window.decoded = Math.max(window.decoded, b.duration); ok(b); }, fail);
    };
  });
  await page.setViewport({ width: 650, height: 650 });
  await page.goto(`${origin()}/site/?lang=ja`);
  await titleShown(page);
  await page.waitForFunction(() => window.decoded > 30, { timeout: 60000 });
  // The title is left to end by itself: the player's first gesture is the Enter that starts the run.
  await page.waitForFunction(() => getComputedStyle(document.getElementById('board')).display === 'block',
                             { timeout: 30000 });
  await page.keyboard.press('Enter');
  const playing = await page.waitForFunction(() => window.started.some((s) => s.seconds > 30 &&
    s.node.context.state === 'running' && s.node.context.currentTime > 0.2), { timeout: 10000 }).catch(() => null);
  check(playing !== null, `no tune plays: ${await page.evaluate(() => JSON.stringify(window.started.map((s) => [s.seconds, s.node.context.state])))}`);
  await context.close();
});

await step('the player\'s choices outlive a reload, and storage garbage or refusal is survived', async (check) => {
  const context = await browser.createBrowserContext();
  let page = await openBoard(context);
  const kept = () => page.evaluate(() => localStorage.getItem('kanuvo.settings'));
  await page.keyboard.press('KeyM');
  await settle(page);
  check(JSON.parse(await kept()).muted === true, `M kept ${await kept()}`);
  await page.reload();
  await titleShown(page);
  await page.keyboard.press('KeyM');  // the reloaded game knew it was muted: M turns the sound on
  await settle(page);
  check(JSON.parse(await kept()).muted === false, `after a reload M kept ${await kept()}`);
  // Garbage where the data should be: the game starts, plays, and writes good data over it.
  await page.evaluate(() => {
    localStorage.setItem('kanuvo.settings', '{"muted": tru');
    localStorage.setItem('kanuvo.bestTimes', '[[[');
  });
  await page.reload();
  await titleShown(page);
  await page.mouse.click(325, 325);
  await page.keyboard.press('KeyA');
  await settle(page);
  check(JSON.parse(await kept()).roadAssist === true, `over garbage A kept ${await kept()}`);
  await page.close();
  // A storage that refuses every write: the game plays on and says so once.
  page = await context.newPage();
  await page.evaluateOnNewDocument(() => {
    Storage.prototype.setItem = () => { throw new DOMException('full', 'QuotaExceededError'); };
  });
  await page.setViewport({ width: 650, height: 650 });
  await page.goto(`${origin()}/site/?lang=ja`);
  await titleShown(page);
  let notes = 0;
  await page.exposeFunction('noteShown', () => ++notes);
  await page.evaluate(() => new MutationObserver(() => {
    if (document.getElementById('note').style.display === 'block') window.noteShown();
  }).observe(document.getElementById('note'), { attributes: true, childList: true }));
  for (const key of ['KeyM', 'KeyM', 'KeyA']) await page.keyboard.press(key);
  await settle(page);
  const note = await page.$eval('#note', (e) => e.textContent);
  check(notes === 1 && note.includes('保存できません'), `the refusal was said ${notes} times: ${note}`);
  await context.close();
});

await step('over plain http a second tab stops, the first plays on, a tab once closed keeps no one out, '
         + 'a save keeps the better time of each stage, and a time is whole seconds from 0 to 180', async (check) => {
  const context = await browser.createBrowserContext();
  const address = `http://kanuvo.test:${server.address().port}/site/?lang=ja`;
  const open = async () => {
    const page = await context.newPage();
    await page.setViewport({ width: 650, height: 650 });
    await page.goto(address);
    return page;
  };
  const first = await open();
  await titleShown(first);
  check(await first.evaluate(() => !isSecureContext && navigator.locks === undefined), 'the page has the Web Locks API');
  const second = await open();
  await second.waitForFunction(() => document.getElementById('message').style.display === 'block');
  const said = await second.$eval('#message-text', (e) => e.textContent);
  check(said.includes('すでに開かれています'), `the second tab said ${said}`);
  await first.bringToFront();
  await first.keyboard.press('F1');
  await first.waitForFunction(() => getComputedStyle(document.getElementById('help')).display === 'block');
  await first.close();
  await second.close();
  const third = await open();
  await titleShown(third);
  check(await third.$eval('#message', (e) => e.style.display) !== 'block', 'a closed tab still keeps the game');
  const read = await third.evaluate(() => {
    localStorage.setItem('kanuvo.bestTimes', '{"1":-0,"2":-0.0,"3":30.0,"4":181,"5":"7","6":0,"7":180,"8":1e1,"9":12,"9":9}');
    return [1, 2, 3, 4, 5, 6, 7, 8, 9].map((stage) => Kanuvo.store.bestTime(stage));
  });
  check(read.join() === '-1,-1,-1,-1,-1,0,180,-1,9', `stages 1 to 9 read ${read}`);
  // Another tab's better time kept between two saves of this one survives both.
  const kept = await third.evaluate(() => {
    Kanuvo.store.saveBestTime(1, 30);
    localStorage.setItem('kanuvo.bestTimes', '{"1":20}');
    Kanuvo.store.saveBestTime(2, 40);
    Kanuvo.store.saveBestTime(1, 25);
    return localStorage.getItem('kanuvo.bestTimes');
  });
  check(kept === '{"1":20,"2":40}', `the store holds ${kept}`);
  await context.close();
});

await step('once loaded, the game starts and plays with no network', async (check) => {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.setViewport({ width: 650, height: 650 });
  await page.goto(`${origin()}/site/?lang=ja`);
  await titleShown(page);
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null, { timeout: 60000 });
  await page.evaluate(() => navigator.serviceWorker.ready);
  // The server is gone: nothing but the page's own copy can answer now.
  const port = server.address().port;
  await new Promise((r) => server.close(r));
  server.closeAllConnections();
  await page.reload();
  await titleShown(page);
  await page.mouse.click(325, 325);
  await page.waitForFunction(() => getComputedStyle(document.getElementById('board')).display === 'block');
  const startBox = await page.$eval('#game button:nth-of-type(3)', (b) => b.getBoundingClientRect().toJSON());
  await page.mouse.click(startBox.x + startBox.width / 2, startBox.y + startBox.height / 2);
  await settle(page);
  check(await page.$eval('#game button:nth-of-type(3)', (b) => b.textContent) === 'ストップ', 'no run started offline');
  server = await serve(build, port);
  await context.close();
});

await browser.close();
server.close();
rmSync(scratch, { recursive: true, force: true });
process.exit(failures() === 0 ? 0 : 1);
