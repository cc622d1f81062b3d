// The page's DOM: the check-in table kept in step with today's list (rows added, changed in
// place and removed, never rebuilt), the net's heading lines, and the list of nets. Every text
// from the net goes in as text only.

import {announcement, cells} from './net.js';
import {toUnicode} from './wire.js';

export const FRESH_MS = 5000;  // how long a new check-in stays highlighted

export class CheckInTable {
  constructor(tbody, {onFresh} = {}) {
    this.tbody = tbody;
    this.rows = new Map();  // line id -> tr
    this.shown = new Map();  // line id -> the revision and number its row shows, unless folded
    this.onFresh = onFresh ?? (tr => setTimeout(() => tr.classList.remove('fresh'), FRESH_MS));
  }

  // A row of seven empty cells, the callsign's the row's head.
  emptyRow() {
    if (!this.empty) {
      const doc = this.tbody.ownerDocument;
      this.empty = doc.createElement('tr');
      for (let c = 0; c < 7; ++c) this.empty.append(doc.createElement(c === 1 ? 'th' : 'td'));
      this.empty.children[1].scope = 'row';
    }
    return this.empty;
  }

  // Shows the entries; those whose ids are in `live` and were not shown before are new
  // check-ins heard live: highlighted, and returned as their announcements.
  render(entries, live = new Set()) {
    const said = [], keep = new Set();
    let at = this.tbody.firstElementChild;
    entries.forEach((e, i) => {
      const id = e.line.id;
      keep.add(id);
      let tr = this.rows.get(id);
      if (!tr) {
        tr = this.emptyRow().cloneNode(true);
        this.rows.set(id, tr);
        if (live.has(id) || e.folded.some(f => live.has(f))) {
          tr.classList.add('fresh');
          this.onFresh(tr);
          said.push(announcement(e.line, i + 1));
        }
      }
      // A row whose revision and number are as before shows the same texts: a net of stored
      // lines pouring in costs each row its texts once.
      const was = this.shown.get(id);
      if (!was || was.held !== e.held || was.n !== i + 1 || e.folded.length || was.folded) {
        const texts = cells(e.line, i + 1);
        [...tr.children].forEach((td, c) => {
          if (td.textContent !== texts[c]) td.textContent = texts[c];
        });
        this.shown.set(id, {held: e.held, n: i + 1, folded: e.folded.length > 0});
      }
      if (tr !== at) this.tbody.insertBefore(tr, at);
      else at = at.nextElementSibling;
    });
    for (const [id, tr] of this.rows) {
      if (keep.has(id)) continue;
      tr.remove();
      this.rows.delete(id);
      this.shown.delete(id);
    }
    return said;
  }
}

// The nets shared on the broker now, from the windows' presence: newest first (by the order
// their first window was heard online), each with its loggers.
export class NetList {
  constructor() { this.nets = new Map(); }  // topic level -> {name, windows: Map}

  // A presence message of any net: null when not one.
  take(level, name, p) {
    let net = this.nets.get(level);
    if (p.online) {
      if (!net) this.nets.set(level, net = {name, windows: new Map()});
      net.windows.set(p.window, p.op);
    } else if (net) {
      net.windows.delete(p.window);
      if (net.windows.size === 0) this.nets.delete(level);
    }
  }

  // [{name, loggers}] newest first.
  shown() {
    return [...this.nets.values()].reverse().map(n => ({
      name: n.name,
      loggers: [...n.windows.keys()].sort().map(w => toUnicode(n.windows.get(w)) || '?'),
    }));
  }
}

// The link to one net's page: the name percent-escaped as the --share address writes it.
export function netAddress(name) {
  return '?net=' + encodeURIComponent(name);
}

// The net's name from the page's address (?net=NAME, percent-escaped; "+" is itself), or
// null when it names none.
export function netFromQuery(search) {
  for (const part of search.replace(/^\?/, '').split('&')) {
    if (!part.startsWith('net=')) continue;
    try {
      return decodeURIComponent(part.slice(4));
    } catch {
      return null;
    }
  }
  return null;
}

// The broker's address: &broker=ws(s)://HOST:PORT, else the page's own host and port.
export function brokerAddress(location) {
  for (const part of location.search.replace(/^\?/, '').split('&')) {
    if (!part.startsWith('broker=')) continue;
    try {
      const url = new URL(decodeURIComponent(part.slice(7)));
      if (url.protocol === 'ws:' || url.protocol === 'wss:') return url.href;
    } catch {
      // falls back to the page's own broker
    }
  }
  const scheme = location.protocol === 'https:' ? 'wss:' : 'ws:';
  return `${scheme}//${location.host}/`;
}
