// SPDX-License-Identifier: MIT
// The browser version's figures, in Debian's Chromium, headless, served from this machine: the bytes
// before the title shows and in all (gzip -9, as a server would send them), the time from navigation
// to the title's first frame against a blank page of the same runtime, and the CPU of the page's
// renderer while idle on the board and during a truck run.
//   node bench/web/figures.mjs <build-web> [runs]
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { gzipSync } from 'node:zlib';
import { launch } from '../../tests/web/chromium.mjs';
import { serve } from '../../tools/web/serve.mjs';

const build = process.argv[2];
const runs = Number(process.argv[3] || 9);
const server = await serve(build);
const origin = `http://127.0.0.1:${server.address().port}`;
const scratch = mkdtempSync(join(tmpdir(), 'kanuvo-figures-'));
const browser = await launch(join(scratch, 'profile'));
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const sizes = (path) => {
  const bytes = readFileSync(join(build, path));
  return { raw: bytes.length, gzip: gzipSync(bytes, { level: 9 }).length };
};
const kB = (n) => `${(n / 1024).toFixed(1)} kB`;
const titleShown = (page) => page.waitForFunction(() => performance.getEntriesByName('kanuvo-title').length > 0);

// Bytes: every file fetched before the title's frame, and the whole site the page keeps offline.
{
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.setViewport({ width: 650, height: 650 });
  await page.goto(`${origin}/site/`);
  await titleShown(page);
  const before = await page.evaluate(() => {
    const title = performance.getEntriesByName('kanuvo-title')[0].startTime;
    return [location.pathname.replace(/\/$/, '/index.html'),
            ...performance.getEntriesByType('resource').filter((e) => e.responseEnd <= title).map((e) => new URL(e.name).pathname)];
  });
  const sum = (paths) => paths.reduce((t, p) => { const s = sizes(p); return { raw: t.raw + s.raw, gzip: t.gzip + s.gzip }; }, { raw: 0, gzip: 0 });
  const first = sum(before);
  const site = JSON.parse(readFileSync(join(build, 'site/files.json'))).map((f) => `/site/${f}`);
  const all = sum([...site, '/site/files.json']);
  console.log(`before the title: ${before.length} files, ${kB(first.gzip)} gzip (${kB(first.raw)} as stored): ${before.join(' ')}`);
  console.log(`the whole site:   ${site.length + 1} files, ${kB(all.gzip)} gzip (${kB(all.raw)} as stored)`);
  await context.close();
}

// Time from navigation to the first frame, game against blank, taken in turns.
{
  const times = { game: [], blank: [] };
  for (let i = 0; i < runs; ++i) {
    for (const [name, path] of [['game', '/site/?offline=no'], ['blank', '/bench/blank.html']]) {
      const context = await browser.createBrowserContext();
      const page = await context.newPage();
      await page.goto(`${origin}${path}`);
      await titleShown(page);
      times[name].push(await page.evaluate(() => performance.getEntriesByName('kanuvo-title')[0].startTime));
      await context.close();
    }
  }
  const game = median(times.game), blank = median(times.blank);
  console.log(`time to the first frame, median of ${runs}: title ${game.toFixed(0)} ms, blank page ${blank.toFixed(0)} ms, ratio ${(game / blank).toFixed(2)}`);
}

// CPU of the page: the renderer processes' (the page's process with its compositor and audio threads)
// and the page's main thread's tasks, as shares of one core. Idle on the first board once the sounds
// are decoded, beside the blank page idle; and a truck run (stage 1 cleared by the fewest slides a
// search finds for the first deal, then the next board's run).
{
  const cdp = await browser.target().createCDPSession();
  const rendererCpu = async () => (await cdp.send('SystemInfo.getProcessInfo')).processInfo
    .filter((p) => p.type === 'renderer').reduce((t, p) => t + p.cpuTime, 0);
  const measure = async (page, seconds) => {
    const client = await page.createCDPSession();
    await client.send('Performance.enable');
    const tasks = async () => (await client.send('Performance.getMetrics')).metrics.find((m) => m.name === 'TaskDuration').value;
    const [cpu0, task0] = [await rendererCpu(), await tasks()];
    await new Promise((r) => setTimeout(r, seconds * 1000));
    const share = (v) => `${(100 * v / seconds).toFixed(2)} %`;
    return `renderer ${share((await rendererCpu()) - cpu0)}, main thread ${share((await tasks()) - task0)} of a core over ${seconds} s`;
  };
  const wait = (seconds) => new Promise((r) => setTimeout(r, seconds * 1000));
  {
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    await page.goto(`${origin}/bench/blank.html`);
    await titleShown(page);
    await wait(5);
    console.log(`blank page idle:   ${await measure(page, 10)}`);
    await context.close();
  }
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.setViewport({ width: 650, height: 650 });
  await page.goto(`${origin}/site/?lang=ja&offline=no`);
  await titleShown(page);
  await page.mouse.click(325, 325);
  await wait(15);
  console.log(`idle on the board: ${await measure(page, 10)}`);
  const press = async (selector) => {
    const box = await page.$eval(selector, (b) => b.getBoundingClientRect().toJSON());
    await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
  };
  const startStop = '#game button:nth-of-type(3)', newGame = '#game button:nth-of-type(2)';
  await press(startStop);
  for (const key of solveFirstBoard()) await page.keyboard.press(key);
  await page.waitForFunction((s) => document.querySelector(s).textContent === 'スタート', {}, startStop);
  await press(newGame);
  await press(startStop);
  console.log(`a truck run:       ${await measure(page, 10)}`);
  await context.close();
}

await browser.close();
server.close();
rmSync(scratch, { recursive: true, force: true });

// The fewest slides that lay a road from the start to the goal on stage 1's first deal (4 x 4, the
// gap in cell 11, the road leaving the start to the left), by breadth-first search.
function solveFirstBoard() {
  const sides = { 0: '', 1: 'LB', 2: 'LT', 3: 'RB', 4: 'TB', 5: 'RT', 6: 'LR' };
  const first = [0, 0, 6, 4, 3, 1, 6, 4, 1, 2, 1, 0, 2, 3, 5, 5, 0];  // cells 1..16
  const n = 4, start = 16, goal = 1;
  const leads = (cells) => {
    let cell = start - 1, heading = 'L';  // into cell 15, going left
    for (let steps = 0; steps < 16; ++steps) {
      if (cell === goal) return heading === 'L' || heading === 'T';
      const entry = { L: 'R', R: 'L', T: 'B', B: 'T' }[heading];
      const s = sides[cells[cell]];
      if (!s.includes(entry)) return false;
      heading = s.replace(entry, '');
      const row = Math.floor((cell - 1) / n), column = (cell - 1) % n;
      if ((heading === 'L' && column === 0) || (heading === 'R' && column === n - 1) ||
          (heading === 'T' && row === 0) || (heading === 'B' && row === n - 1)) return false;
      cell += { L: -1, R: 1, T: -n, B: n }[heading];
    }
    return false;
  };
  const moves = { ArrowUp: n, ArrowDown: -n, ArrowLeft: 1, ArrowRight: -1 };
  const seen = new Set([first.join()]);
  let frontier = [{ cells: first, gap: 11, keys: [] }];
  while (frontier.length) {
    const next = [];
    for (const { cells, gap, keys } of frontier) {
      for (const [key, offset] of Object.entries(moves)) {
        const source = gap + offset;
        if (source < 1 || source > n * n || source === start || source === goal) continue;
        if ((key === 'ArrowLeft' || key === 'ArrowRight') && Math.floor((source - 1) / n) !== Math.floor((gap - 1) / n)) continue;
        const moved = [...cells];
        moved[gap] = moved[source];
        moved[source] = 0;
        if (seen.has(moved.join())) continue;
        seen.add(moved.join());
        if (leads(moved)) return [...keys, key];
        next.push({ cells: moved, gap: source, keys: [...keys, key] });
      }
    }
    frontier = next;
  }
  throw new Error('no road found');
}
