// SPDX-License-Identifier: MIT
// Debian's Chromium, headless, with the flags this closed network needs and a profile of its own, and
// the small step-by-step reporting the page's test and figures share.
import puppeteer from 'puppeteer-core';

export const chromiumFlags = [
  '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
  '--disable-component-update', '--disable-sync',
];

export function launch(profile, extraFlags = []) {
  return puppeteer.launch({
    executablePath: process.env.KANUVO_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    args: [...chromiumFlags, ...extraFlags],
  });
}

let failed = 0;
// Runs one named step; check(condition, message) records a failure without ending the step.
export async function step(name, body) {
  const problems = [];
  try {
    await body((ok, message) => { if (!ok) problems.push(message); });
  } catch (e) {
    problems.push(e.stack || String(e));
  }
  failed += problems.length ? 1 : 0;
  console.log(`${problems.length ? 'FAIL' : 'ok  '} ${name}`);
  for (const p of problems) console.log(`     ${p.replace(/\n/g, '\n     ')}`);
}
export const failures = () => failed;
