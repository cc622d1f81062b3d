// The listeners' page: connects back to the broker that served it (MQTT over WebSockets),
// only ever subscribes, and shows one net (?net=NAME) or the nets being logged now. mqtt.js
// comes as a classic script before this one and leaves `mqtt` global.

import {Net} from './net.js';
import {CheckInTable, NetList, brokerAddress, netAddress, netFromQuery} from './page.js';
import {decodePresence, netName} from './wire.js';

const $ = id => document.getElementById(id);
const name = netFromQuery(location.search);
const broker = brokerAddress(location);
let client = null;

function setState(words) {
  $('state').textContent = words;
  document.body.dataset.state = words;
}

function showLogin(show) {
  $('login').hidden = !show;
}

// MQTT 5 "not authorised" and "bad user name or password", at login or on a subscription.
const REFUSED = new Set([0x86, 0x87, 0x8C, 4, 5]);

function connect(user, password) {
  client?.end(true);
  setState('Connecting...');
  client = globalThis.mqtt.connect(broker, {
    protocolVersion: 5,
    clean: true,
    reconnectPeriod: 3000,
    connectTimeout: 10000,
    timerVariant: 'native',  // a worker from a blob would be refused by the page's policy
    clientId: 'kelpie-web-' + crypto.getRandomValues(new Uint32Array(2)).join(''),
    ...(user ? {username: user, password} : {}),
  });
  const refused = () => {
    setState('Not allowed to watch this net');
    showLogin(true);
    client.end(true);
  };
  client.on('error', err => {
    if (REFUSED.has(err?.code)) refused();
  });
  client.on('reconnect', () => setState('Reconnecting...'));
  client.on('offline', () => {
    setState('Reconnecting...');
    lost();
  });
  client.on('connect', () => {
    client.subscribe(filter(), {qos: 0}, (err, granted) => {
      if (REFUSED.has(err?.code) || granted?.some(g => REFUSED.has(g.qos))) return refused();
      if (err) return;  // the link went down meanwhile: the next connection subscribes again
      showLogin(false);
      setState('Live');
    });
  });
  client.on('message', (topic, payload, packet) => take(topic, payload, packet.retain));
}

// What the page shows of the net: its topics, a message taken, and the windows forgotten
// while the link is down (as a window forgets them: they announce themselves again).
let filter, take, lost = () => {};

if (name === null) {
  // The nets being logged now.
  $('nets').hidden = false;
  document.title = 'Nets - Kelpie';
  const list = new NetList();
  const ul = $('net-list');
  filter = () => 'kelpie/1/+/who/+';
  take = (topic, payload) => {
    const level = topic.split('/')[2], net = netName(level), p = decodePresence(payload);
    if (net === null || !p || topic !== `kelpie/1/${level}/who/${p.window}`) return;
    list.take(level, net, p);
    const items = list.shown().map(n => {
      const li = document.createElement('li'), a = document.createElement('a');
      a.href = netAddress(n.name) + (location.search.match(/&broker=[^&]*/)?.[0] ?? '');
      a.textContent = n.name === '' ? '(no name)' : n.name;
      li.append(a, ` - logged by ${n.loggers.join(', ')}`);
      return li;
    });
    ul.replaceChildren(...items);
    $('no-nets').hidden = items.length > 0;
  };
} else {
  $('net').hidden = false;
  $('net-name').textContent = name;
  document.title = `${name} - Kelpie`;
  const net = new Net(name);
  const table = new CheckInTable($('rows'));
  // A change heard live shows at once, the table redrawn at most every RENDER_MS. The broker's
  // stored lines pour in as the page subscribes: they are drawn once they pause for QUIET_MS
  // (a net of a thousand lines costs one drawing, not one every RENDER_MS), or every
  // STORED_MS while they keep coming.
  const RENDER_MS = 100, QUIET_MS = 15, STORED_MS = 1000;
  let timer = null, dueAt = 0, burst = null, storedAt = 0, live = new Set(), renderedAt = -RENDER_MS;
  let stored = [];  // stored lines not yet taken: taken all at once before they are drawn
  const renderAt = at => {
    if (timer !== null && dueAt <= at) return;
    clearTimeout(timer);
    dueAt = at;
    timer = setTimeout(due, Math.max(0, at - performance.now()));
  };
  const due = () => {
    timer = null;
    const wait = burst === null ? 0 : Math.min(storedAt + QUIET_MS, burst + STORED_MS);
    if (wait > performance.now()) renderAt(wait);
    else render();
  };
  filter = () => net.filter;
  lost = () => {
    net.present.clear();
    renderAt(0);
  };
  const render = () => {
    for (const [topic, payload] of stored) net.take(topic, payload);
    stored = [];
    burst = null;
    renderedAt = performance.now();
    const entries = net.replica.entries();
    const said = table.render(entries, live);
    live = new Set();
    $('count').textContent = entries.length === 1 ? '1 check-in' : `${entries.length} check-ins`;
    const loggers = net.loggers();
    $('loggers').textContent = loggers.length ? `Logging: ${loggers.join(', ')}` : 'No one logging now';
    const bad = net.dropped;
    $('dropped').textContent = bad === 0 ? '' : `${bad} message${bad === 1 ? '' : 's'} dropped` +
        (net.newer ? ` (${net.newer} from a newer Kelpie: this page shows what it can)` : '');
    if (said.length) $('announce').textContent = said.join('. ');
  };
  take = (topic, payload, retained) => {
    const now = performance.now();
    if (retained) {
      stored.push([topic, payload]);
      burst ??= now;
      storedAt = now;
      return renderAt(now + QUIET_MS);
    }
    // Only a check-in heard as it happens is new; the broker's stored lines are the net so far.
    if (net.take(topic, payload)) live.add(topic.slice(net.root.length + '/line/'.length));
    renderAt(Math.max(now, renderedAt + RENDER_MS));
  };
  render();
}

$('login').addEventListener('submit', e => {
  e.preventDefault();
  const password = $('password').value;
  $('password').value = '';  // kept nowhere but in the connection
  connect($('user').value, password);
});

connect();
