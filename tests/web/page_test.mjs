// SPDX-License-Identifier: MIT
// The browser version in Debian's Chromium, headless: the desktop's session played by the browser's
// engine, the first board against the desktop's picture of it, a phone's screen upright and lying
// played by taps alone, keys that never reach a page button, the first run's music, the player's data
// across a reload (garbage and a refusing storage included), one copy and no lost time on a host that
// is not a secure context, and the game loaded and played again once the network is gone.
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

// A phone held upright and on its side, touch only. The first deal of stage 1 leaves cell 11 empty;
// these taps, each on a tile beside the gap, lay its road (cells numbered from 1, row by row).
const clearingTaps = [7, 3, 4, 8, 12, 11, 7, 3, 2, 6];
for (const [width, height] of [[390, 844], [844, 390]]) {
  await step(`on a ${width} x ${height} touch screen every control is large, apart and on screen, the controls show ` +
             'their state, the words speak of taps, every text is readable, and taps alone clear stage 1', async (check) => {
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    // Every text the game draws on the board and the help page, and its size on screen in CSS pixels.
    await page.evaluateOnNewDocument(() => {
      window.texts = [];
      const fillText = CanvasRenderingContext2D.prototype.fillText;
      CanvasRenderingContext2D.prototype.fillText = function (text, ...rest) {
        if (this.canvas.id === 'board' || this.canvas.id === 'help') {
          const scale = Number(/scale\(([\d.]+)\)/.exec(document.getElementById('game').style.transform)[1]);
          window.texts.push({ text, px: parseFloat(/([\d.]+)px/.exec(this.font)[1]) * scale });
        }
        return fillText.call(this, text, ...rest);
      };
    });
    await page.setViewport({ width, height, deviceScaleFactor: 3, hasTouch: true, isMobile: true });
    await page.goto(`${origin()}/site/?lang=ja`);
    await titleShown(page);
    check(await page.evaluate(() => performance.getEntriesByType('resource').some((e) => /pictures\/touch\/109/.test(e.name))),
          'the title is not the one that says タップでスタート');
    await page.touchscreen.tap(width / 2, height / 2);
    await page.waitForFunction(() => getComputedStyle(document.getElementById('board')).display === 'block');
    const tapOn = async (selector) => {
      const box = await page.$eval(selector, (e) => e.getBoundingClientRect().toJSON());
      await page.touchscreen.tap(box.x + box.width / 2, box.y + box.height / 2);
      await settle(page);
    };
    const pressed = (name) => page.$eval(`#${name}-control`, (e) => e.getAttribute('aria-pressed'));
    const kept = async () => JSON.parse(await page.evaluate(() => localStorage.getItem('kanuvo.settings')));
    // Every button and control: 44 CSS pixels square at least, captions of 16, inside the viewport, on
    // nothing else; the window as wide as the screen upright, as tall as it lying.
    const measure = async (when) => {
      const { boxes, game } = await page.evaluate(() => ({
        boxes: [...document.querySelectorAll('#commands button, #controls button')]
          .filter((b) => b.offsetParent && getComputedStyle(b).visibility !== 'hidden')
          .map((b) => ({ name: b.id || b.textContent, font: parseFloat(getComputedStyle(b).fontSize),
                         ...b.getBoundingClientRect().toJSON() })),
        game: { name: 'the window', ...document.getElementById('game').getBoundingClientRect().toJSON() },
      }));
      const apart = (a, b) => a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
      for (const b of [...boxes, game]) {
        const inside = (v, from, to) => v >= from - 0.01 && v <= to + 0.01;  // a hundredth of a pixel's rounding
        check(inside(b.left, 0, width) && inside(b.right, 0, width) && inside(b.top, 0, height) && inside(b.bottom, 0, height),
              `${when}: ${b.name} leaves the screen`);
      }
      for (const [i, b] of boxes.entries()) {
        check(b.width >= 44 && b.height >= 44, `${when}: ${b.name} is ${b.width} x ${b.height}`);
        check(b.font >= 16, `${when}: ${b.name}'s caption is ${b.font} px`);
        for (const other of [...boxes.slice(i + 1), game]) check(apart(b, other), `${when}: ${b.name} lies on ${other.name}`);
      }
      check(width < height ? game.width >= 0.92 * width : game.height >= 0.92 * height,
            `${when}: the window is ${game.width} x ${game.height}`);
      return boxes.length;
    };
    check(await measure('on the board') === 7, 'three buttons and four controls do not all show');

    await tapOn('#sound-control');
    check(await pressed('sound') === 'false' && (await kept()).muted === true &&
          await page.$eval('#sound-control .cross', (e) => getComputedStyle(e).display !== 'none'),
          'a tap on the sound control did not turn the sound off and cross the speaker');
    await tapOn('#sound-control');
    check(await pressed('sound') === 'true' && (await kept()).muted === false, 'the sound did not come back');
    await tapOn('#assist-control');
    check(await pressed('assist') === 'true' && (await kept()).roadAssist === true &&
          await page.$eval('#assist-control .frame', (e) => getComputedStyle(e).fill) === 'rgb(240, 192, 64)',
          'a tap on the assist control did not turn the assist on and light its mark');
    await tapOn('#assist-control');
    check(await pressed('assist') === 'false', 'the road assist stayed on');
    // The assist was off for the whole run, which may then keep a best time.
    await tapOn('#commands button:nth-child(1)');
    check(await page.$eval('#commands button:nth-child(1)', (b) => b.textContent) === 'ストップ', 'a tap started no run');
    await tapOn('#pause-control');
    check(await pressed('pause') === 'true' && await page.$eval('#pause-control .play', (e) => getComputedStyle(e).display !== 'none'),
          'a tap on the pause control did not pause the run and show it can go on');
    await tapOn('#pause-control');
    check(await pressed('pause') === 'false', 'the run stayed paused');

    await tapOn('#help-control');
    check(await page.$eval('#help', (e) => getComputedStyle(e).display) === 'block' && await pressed('help') === 'true',
          'a tap on the help control showed no help page');
    check(await measure('on the help page') === 7, 'the language control does not take the pause control\'s place');
    await tapOn('#language-control');
    check(await page.$eval('#commands button:nth-child(1)', (b) => b.textContent) === 'Stop' &&
          await page.$eval('#language-control', (b) => b.textContent) === '日本語', 'a tap on the language control did not switch to English');
    await tapOn('#language-control');
    check(await page.$eval('#commands button:nth-child(1)', (b) => b.textContent) === 'ストップ', 'no way back to Japanese');
    await tapOn('#help');
    check(await page.$eval('#help', (e) => getComputedStyle(e).display) === 'none', 'a tap on the help page did not close it');

    const board = await page.$eval('#board', (e) => e.getBoundingClientRect().toJSON());
    for (const cell of clearingTaps) {
      const [column, row] = [(cell - 1) % 4, Math.floor((cell - 1) / 4)];
      // Cells are 108 pixels of the 650 the window is wide, one cell in from its left and top.
      const at = (i) => (108 * (i + 1) + 54) * board.width / 650;
      await page.touchscreen.tap(board.x + at(column), board.y + at(row));
      await page.evaluate(() => new Promise((r) => setTimeout(r, 250)));  // the route's trace runs its course
    }
    const best = await page.waitForFunction(() => JSON.parse(localStorage.getItem('kanuvo.bestTimes') || '{}')['1'] >= 0,
                                            { timeout: 5000 }).catch(() => null);
    check(best !== null, 'the taps did not clear stage 1');
    await settle(page);
    check(await page.$eval('#pause-control', (e) => e.classList.contains('idle')), 'the pause control still offers a pause');
    const texts = await page.evaluate(() => window.texts);
    const smallest = texts.reduce((a, t) => (t.px < a.px ? t : a), { px: Infinity });
    check(smallest.px >= 12, `"${smallest.text}" is ${smallest.px} CSS pixels high`);
    check(texts.some((t) => t.text.startsWith('タップでとじる')) && !texts.some((t) => t.text.startsWith('F1 ')),
          'the words speak of keys, not taps');
    await context.close();
  });
}

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
