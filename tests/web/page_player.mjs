// SPDX-License-Identifier: MIT
// A random player of the browser version in Debian's Chromium, headless: keys (the game's own and
// others), clicks and taps on the board, its buttons and the help page's, pauses long enough for the
// game's timers to fall due, new viewport sizes. It fails on a stall of the page over a second, a page
// exception or an error on its console. The seed makes the same choices again.
//   KANUVO_WEB_BUILD=<build-web> node page_player.mjs [seconds (60)] [seed]
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { serve } from '../../tools/web/serve.mjs';

const build = process.env.KANUVO_WEB_BUILD;
if (!build) {
  console.log('KANUVO_WEB_BUILD is not set: the browser version was not built, nothing to play');
  process.exit(77);
}
const seconds = Number(process.argv[2] || 60);
const seed = Number(process.argv[3] || Math.floor(Math.random() * 2 ** 32)) >>> 0;
console.log(`Playing for ${seconds} s with seed ${seed}: node tests/web/page_player.mjs ${seconds} ${seed} plays it again`);

// mulberry32: the same choices from the same seed, whatever the machine.
let state = seed;
const random = () => {
  state = (state + 0x6d2b79f5) >>> 0;
  let t = state;
  t = Math.imul(t ^ (t >>> 15), t | 1);
  t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
  return ((t ^ (t >>> 14)) >>> 0) / 2 ** 32;
};
const below = (n) => Math.floor(random() * n);
const pick = (list) => list[below(list.length)];

const kStallMs = 1000;    // the longest the page may keep from answering, input and timers alike
const kFrozenMs = 10000;  // a call to the page not answered in this long is a page that is frozen

const { launch } = await import('./chromium.mjs');
const scratch = mkdtempSync(join(tmpdir(), 'kanuvo-player-'));
const server = await serve(build);
const browser = await launch(join(scratch, 'profile'));
const page = await browser.newPage();
const problems = [];
page.on('pageerror', (e) => problems.push(`page exception: ${e.stack || e}`));
page.on('console', (m) => { if (m.type() === 'error') problems.push(`console error: ${m.text()}`); });
page.on('error', (e) => problems.push(`the page crashed: ${e}`));

// A beat on the page's own thread every 50 ms: the longest gap between two beats is the longest the
// page could not run, whether the game was busy or the page's loop spun.
await page.evaluateOnNewDocument(() => {
  let last = performance.now(), worst = 0;
  const beat = () => {
    const now = performance.now();
    worst = Math.max(worst, now - last);
    last = now;
  };
  setInterval(beat, 50);
  window.kanuvoPlayerGap = () => {
    beat();
    const gap = worst;
    worst = 0;
    return gap;
  };
});

// Rejects when the page does not answer in time, instead of waiting for ever on a frozen one.
const within = (what, promise, ms = kFrozenMs) => Promise.race([promise, new Promise((_, fail) =>
  setTimeout(() => fail(new Error(`the page did not answer ${what} for ${ms / 1000} s`)), ms))]);
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// What can be pressed now, where, and the longest gap in the page's beat since the last look.
const look = () => within('a look', page.evaluate(() => {
  const box = (e) => {
    if (!e || !e.getClientRects().length) return null;
    const r = e.getBoundingClientRect();
    return r.width > 0 && r.height > 0 ? { x: r.x, y: r.y, w: r.width, h: r.height, id: e.id || e.textContent } : null;
  };
  const all = (selector) => [...document.querySelectorAll(selector)].map(box).filter((b) => b);
  return {
    gap: window.kanuvoPlayerGap ? window.kanuvoPlayerGap() : 0,
    title: performance.getEntriesByName('kanuvo-title').length > 0,
    canvases: all('#game canvas:not(#window)'),
    buttons: all('#game button, #commands button'),
    controls: all('#controls button'),
    message: box(document.getElementById('message-ok')),
    again: box(document.getElementById('again')),
  };
}));

const viewports = [[650, 650, 1], [650, 650, 2], [390, 844, 3], [1280, 720, 1], [800, 1000, 1.5]];
const setViewport = ([width, height, deviceScaleFactor]) =>
  page.setViewport({ width, height, deviceScaleFactor, hasTouch: true, isMobile: false });
const gameKeys = ['ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown'];
const otherKeys = ['Space', 'Tab', 'KeyQ', 'Digit1', 'Numpad5', 'Backspace', 'F2'];
const pointAt = (b) => ({ x: b.x + random() * b.w, y: b.y + random() * b.h });
const press = async (b, how) => {
  const { x, y } = pointAt(b);
  if (how === 'tap') await page.touchscreen.tap(x, y);
  else await page.mouse.click(x, y, { button: how });
};

// Each action by its weight; an action that finds nothing to act on does nothing.
const actions = [
  [30, 'an arrow', () => page.keyboard.press(pick(gameKeys))],
  [20, 'a click or tap on a picture', (v) => v.canvases.length && press(pick(v.canvases), pick(['left', 'left', 'right', 'tap']))],
  [10, 'a click or tap on a button', (v) => {
    // 終了 ends the game and a reload starts it again: seldom, or the player would mostly watch titles.
    const buttons = v.buttons.filter((b) => below(20) === 0 || !/終了|Exit/.test(b.id));
    return buttons.length && press(pick(buttons), pick(['left', 'tap']));
  }],
  [8, 'Enter', () => page.keyboard.press('Enter')],
  [4, 'N', () => page.keyboard.press('KeyN')],
  [8, 'F1', () => page.keyboard.press('F1')],
  [5, 'M', () => page.keyboard.press('KeyM')],
  [4, 'A', () => page.keyboard.press('KeyA')],
  [4, 'P', () => page.keyboard.press('KeyP')],
  [4, 'Escape', () => page.keyboard.press('Escape')],
  [2, 'L', () => page.keyboard.press('KeyL')],
  [4, 'a tap on a control for the keys', (v) => v.controls.length && press(pick(v.controls), 'tap')],
  [2, 'another key', () => page.keyboard.press(pick(otherKeys))],
  // Long enough for the title's eleven seconds, or any other timer, to fall due while the game waits.
  [2, 'a long wait', () => { idleUntil = Date.now() + 1000 + below(13000); }],
  [1, 'a new viewport', () => setViewport(pick(viewports))],
];
const totalWeight = actions.reduce((sum, [weight]) => sum + weight, 0);
const chooseAction = () => {
  let n = below(totalWeight);
  for (const action of actions) if ((n -= action[0]) < 0) return action;
  return actions[0];
};

const recent = [];  // the last actions, said when the page fails
let count = 0, longest = 0, idleUntil = 0;
const started = Date.now();
try {
  await setViewport(viewports[0]);
  await within('the first load', page.goto(`http://127.0.0.1:${server.address().port}/site/?lang=${pick(['ja', 'en'])}`));
  while (Date.now() - started < seconds * 1000 && problems.length === 0) {
    const view = await look();
    longest = Math.max(longest, view.gap);
    if (view.gap > kStallMs) {
      problems.push(`the page stalled for ${Math.round(view.gap)} ms`);
      break;
    }
    let name, act;
    if (Date.now() < idleUntil) {
      await sleep(250);  // the page is still watched while the player waits
      continue;
    }
    // The reload is waited for: a look into the page it leaves would find nothing to look at.
    if (view.again) [name, act] = ['Kanuvo ▶ after 終了', () => Promise.all([page.waitForNavigation(), press(view.again, 'left')])];
    else if (view.message) [name, act] = ['OK on a message', () => press(view.message, 'left')];
    else if (!view.title) [name, act] = ['a wait for the title', () => sleep(100)];
    else [, name, act] = chooseAction();
    recent.push(`${((Date.now() - started) / 1000).toFixed(1)} s ${name}`);
    if (recent.length > 12) recent.shift();
    await within(name, Promise.resolve(act(view)));
    ++count;
    await sleep(below(250));
  }
  if (problems.length === 0) longest = Math.max(longest, (await look()).gap);
} catch (e) {
  problems.push(e.message);
}
if (problems.length) {
  console.log(`FAIL after ${count} actions in ${((Date.now() - started) / 1000).toFixed(1)} s, seed ${seed}:`);
  for (const p of problems.slice(0, 5)) console.log(`     ${p.replace(/\n/g, '\n     ')}`);
  console.log(`     the last actions: ${recent.join(', ')}`);
} else {
  console.log(`ok   ${count} actions in ${((Date.now() - started) / 1000).toFixed(1)} s; the longest the page did not run: ${Math.round(longest)} ms`);
}
// A frozen renderer does not close: the browser is ended instead.
await within('closing', browser.close(), 5000).catch(() => browser.process()?.kill('SIGKILL'));
server.close();
rmSync(scratch, { recursive: true, force: true });
process.exit(problems.length ? 1 : 0);
