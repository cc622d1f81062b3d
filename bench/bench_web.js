// The listeners' page measured in Debian's Chromium (bench_web.sh sets the stage):
//   typed URL NODE_MODULES CALLS...  each callsign typed on the window that has the keyboard
//       (xdotool), timed from its Enter until its row is in the page's table
//   load URL NODE_MODULES N MQTT_PORT NET  a net of N check-ins published as windows publish
//       them, then the page opened on it: from the page's start until the whole table shows
//   listeners WS_URL NODE_MODULES N READY_FILE  N MQTT-over-WebSockets clients subscribed to
//       every net, kept until killed; READY_FILE written once all are subscribed
import {createRequire} from 'node:module';
import {execFileSync} from 'node:child_process';
import {mkdtempSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';

const [mode, url, modules, ...rest] = process.argv.slice(2);
const require = createRequire(join(modules, 'x.js'));

const median = v => [...v].sort((a, b) => a - b)[Math.floor(v.length / 2)];
const percentile = (v, p) => [...v].sort((a, b) => a - b)[Math.min(v.length - 1, Math.ceil(p * v.length) - 1)];

async function browse(work) {
  const {chromium} = require('playwright-core');
  const profile = mkdtempSync(join(tmpdir(), 'kelpie-bench-chromium-'));
  const browser = await chromium.launchPersistentContext(profile, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  try {
    await work(browser);
  } finally {
    await browser.close();
    rmSync(profile, {recursive: true, force: true});
  }
}

if (mode === 'typed') {
  await browse(async browser => {
    const page = await browser.newPage();
    await page.goto(url);
    await page.waitForFunction(() => document.getElementById('state').textContent === 'Live');
    // The moment each callsign's row first shows, by the same clock as this process's.
    await page.evaluate(() => {
      window.seen = {};
      new MutationObserver(() => {
        for (const th of document.querySelectorAll('#rows th'))
          window.seen[th.textContent] ??= Date.now();
      }).observe(document.getElementById('rows'), {childList: true, subtree: true});
    });
    const runs = [];
    for (const call of rest) {
      execFileSync('xdotool', ['type', '--delay', '15', call.toLowerCase()]);
      const t0 = Date.now();
      execFileSync('xdotool', ['key', 'Return']);
      await page.waitForFunction(c => c in window.seen, call, {timeout: 10000, polling: 5});
      runs.push(await page.evaluate(c => window.seen[c], call) - t0);
    }
    console.log(`check-in typed on a window to the page's table: median ${median(runs)} ms, ` +
        `99th pct ${percentile(runs, 0.99)} ms, slowest ${Math.max(...runs)} ms, over ${runs.length}` +
        ` (limits 50 and 200)`);
  });
} else if (mode === 'load') {
  const [n, port, net] = [Number(rest[0]), rest[1], rest[2]];
  const mqtt = require('mqtt');
  const client = mqtt.connect(`mqtt://127.0.0.1:${port}`);
  await new Promise(r => client.on('connect', r));
  const w = 'b'.repeat(32), root = `kelpie/1/${net}`;
  for (let i = 1; i <= n; ++i) {
    const time = new Date(Date.UTC(2026, 11, 7, 19, 0, i)).toISOString().replace('.000', '');
    const line = {ack: i % 3 === 0, by: w, call: `W${i % 10}X${String(i).padStart(4, '0')}`, com: false,
      deleted: false, first: '  First time check-in', grid: 'FN42', id: `${w}.${i}`, inOut: false,
      into: '', latest: '12/07/2026', name: `OPERATOR ${i}`, qth: 'SOMEWHERE', rev: 1, seq: i, time,
      v: 1, window: w};
    await new Promise(r => client.publish(`${root}/line/${w}.${i}`, JSON.stringify(line),
        {retain: true, qos: 1}, r));
  }
  client.end();
  const runs = [], afterLoad = [], files = [];
  await browse(async browser => {
    for (let round = 0; round < 7; ++round) {
      const page = await browser.newPage();
      await page.addInitScript(want => {
        new MutationObserver((_, o) => {
          if (document.querySelectorAll('#rows tr').length < want) return;
          window.shownAt = performance.now();
          o.disconnect();
        }).observe(document, {childList: true, subtree: true});
      }, n);
      await page.goto(`${url}?net=${encodeURIComponent(net)}`);
      await page.waitForFunction(() => window.shownAt !== undefined, null, {timeout: 20000});
      const [shown, loaded, served] = await page.evaluate(() => [window.shownAt,
        performance.getEntriesByType('navigation')[0].loadEventStart,
        Math.max(...performance.getEntriesByType('resource')
            .filter(r => r.initiatorType !== 'other').map(r => r.responseEnd))]);
      runs.push(shown);
      afterLoad.push(shown - loaded);
      files.push(served);
      await page.close();
    }
  });
  const ms = v => Math.round(median(v));
  console.log(`page opened on a net of ${n}: whole table ${ms(afterLoad)} ms after the page's ` +
      `load (median of ${runs.length}, slowest ${Math.round(Math.max(...afterLoad))}; limit 500), ` +
      `${ms(runs)} ms after the address was opened, of which the broker took ${ms(files)} ms ` +
      `to serve the page's files`);
} else if (mode === 'listeners') {
  const [n, ready] = [Number(rest[0]), rest[1]];
  const mqtt = require('mqtt');
  let subscribed = 0, messages = 0;
  for (let i = 0; i < n; ++i) {
    const c = mqtt.connect(url, {protocolVersion: 5, reconnectPeriod: 500});
    let first = true;
    c.on('message', () => ++messages);
    c.on('connect', () => c.subscribe('kelpie/#', () => {
      if (first && ++subscribed === n) writeFileSync(ready, 'ready\n');
      first = false;
    }));
  }
  process.on('SIGTERM', () => {
    console.log(`${n} listeners took ${messages} messages`);
    process.exit(0);
  });
}
