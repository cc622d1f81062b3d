// The browser's side of web_e2e.sh: Debian's Chromium (never one downloaded) on the listeners'
// page, answering the shell's checks one line at a time on standard input:
//   check FILE  FILE holds {rows: [[n, call, name, qth], ...], marks: {n: words}, said: text}
// It prints "ok" when the page shows that within 30 s, else "FAIL" and what it shows.
// Usage: node web_e2e.js URL NODE_MODULES. Exits 77 when Chromium cannot start.
import {createRequire} from 'node:module';
import {readFileSync} from 'node:fs';
import {mkdtempSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import * as readline from 'node:readline';

const [url, modules] = process.argv.slice(2);
const {chromium} = createRequire(join(modules, 'x.js'))('playwright-core');

// A fresh profile of its own (playwright-core takes it as the persistent context's folder).
function launchChromium(profile) {
  return chromium.launchPersistentContext(profile, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
}

const profile = mkdtempSync(join(tmpdir(), 'kelpie-chromium-'));
let browser;
try {
  browser = await launchChromium(profile);
} catch (e) {
  console.log(`SKIP Chromium cannot start: ${String(e.message).split('\n')[0]}`);
  rmSync(profile, {recursive: true, force: true});
  process.exit(77);
}
const page = browser.pages()[0] ?? await browser.newPage();
const alarms = [];
page.on('dialog', d => { alarms.push(`a dialog: ${d.message()}`); d.dismiss(); });
page.on('pageerror', e => alarms.push(`a page error: ${e.message}`));
page.on('console', m => { if (m.type() === 'error') alarms.push(`console: ${m.text()}`); });
await page.goto(url);
console.log('ready');

// What the page shows: its rows' cells, the live region, the state, and anything that is not
// text where the net's text goes.
const shown = () => page.evaluate(() => ({
  rows: [...document.querySelectorAll('#rows tr')].map(tr => [...tr.children].map(c => c.textContent)),
  said: document.getElementById('announce').textContent,
  state: document.getElementById('state').textContent,
  elements: document.querySelectorAll('#rows img, #rows b, #rows script').length,
}));

function agrees(want, got) {
  const rows = got.rows.map(r => r.slice(0, 4));
  const marks = Object.entries(want.marks ?? {}).every(([n, m]) => got.rows[n - 1]?.[5] === m);
  return JSON.stringify(rows) === JSON.stringify(want.rows) && marks &&
      (want.said === undefined || got.said === want.said) && got.state === 'Live' &&
      got.elements === 0 && alarms.length === 0;
}

for await (const line of readline.createInterface({input: process.stdin})) {
  const [command, file] = line.split(' ');
  if (command !== 'check') continue;
  const want = JSON.parse(readFileSync(file, 'utf8'));
  let got;
  for (let i = 0; i < 300; ++i) {  // at most 30 s
    got = await shown();
    if (agrees(want, got)) break;
    await page.waitForTimeout(100);
  }
  console.log(agrees(want, got) ? 'ok' : `FAIL wanted ${JSON.stringify(want)} shown ${
    JSON.stringify(got)} ${alarms.join('; ')}`);
}
await browser.close();
rmSync(profile, {recursive: true, force: true});
