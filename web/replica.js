// What the page holds of a net, by the windows' own rules: the newest revision of every line
// (a delete is final), today's list in net order, and the same callsign folded into its
// earliest line. Any difference from the windows' rules is a wrong number on a listener's
// screen: the corpus the core's tests write holds both to the same lists.

import {FACT_GROUPS, upper1252} from './wire.js';

const FACT_KEYS = Object.values(FACT_GROUPS).flat();

function cmp(a, b) {
  return a < b ? -1 : a > b ? 1 : 0;
}

function compareAll(a, b, keys) {
  for (const k of keys) {
    const c = cmp(a[k], b[k]);
    if (c) return c;
  }
  return 0;
}

const RANK_HEAD = ['deleted', 'rev', 'by', 'time', 'call', 'name', 'qth', 'first', 'latest',
  'grid', 'ack', 'com', 'inOut'];
const RANK_TAIL = ['into', 'window', 'seq', 'id'];

// Whether revision b counts over a of the same id: a tombstone over any live revision, then
// the higher rev, the higher `by`, and the content, so every holder keeps the same one.
export function supersedes(b, a) {
  return (compareAll(b, a, RANK_HEAD) || compareAll(b.facts, a.facts, FACT_KEYS) ||
      compareAll(b, a, RANK_TAIL)) > 0;
}

// Check-in time (unknown first), then the creating window, then its sequence number.
export function netBefore(a, b) {
  return (cmp(a.time, b.time) || cmp(a.window, b.window) || cmp(a.seq, b.seq)) < 0;
}

const trimSpaces = s => s.replace(/^ +| +$/g, '');
// Whether a line has a kind of fact: traffic by its count, the others by their text.
const HAS = {traffic: f => f.count > 0, tactical: f => f.tactical !== '', relay: f => f.relay !== '',
  remark: f => f.remark !== ''};

export class Replica {
  constructor() { this.lines = new Map(); }

  // True when l is newer than what is held for its id.
  merge(l) {
    const held = this.lines.get(l.id);
    if (held && !supersedes(l, held)) return false;
    this.lines.set(l.id, l);
    return true;
  }

  // Today's list: [{line, held, folded, merged}] in net order (held: the revision as held), line being the entry's own line with
  // the marks of every line folded into it and, kind by kind (traffic, tactical call, relay,
  // remark), the facts of the first of them that has that kind.
  entries() {
    const mergedInto = l => {
      const to = l.into === '' ? undefined : this.lines.get(l.into);
      return to && !to.deleted && netBefore(to, l) ? to : null;
    };
    const live = [...this.lines.values()].filter(l => !l.deleted);
    live.sort((a, b) => (netBefore(a, b) ? -1 : netBefore(b, a) ? 1 : 0));
    const out = [], station = new Map(), entryOf = new Map();
    for (const l of live) {
      if (mergedInto(l)) continue;
      const key = upper1252(trimSpaces(l.call));
      const at = key === '' ? undefined : station.get(key);
      if (at === undefined) {
        if (key !== '') station.set(key, out.length);
        entryOf.set(l.id, out.length);
        out.push({line: {...l, facts: {...l.facts}}, held: l, folded: [], merged: []});
        continue;
      }
      const e = out[at];
      e.line.ack ||= l.ack;
      e.line.com ||= l.com;
      e.line.inOut ||= l.inOut;
      for (const [kind, keys] of Object.entries(FACT_GROUPS)) {
        if (HAS[kind](e.line.facts) || !HAS[kind](l.facts)) continue;
        for (const k of keys) e.line.facts[k] = l.facts[k];
      }
      e.folded.push(l.id);
      entryOf.set(l.id, at);
    }
    for (const l of live) {
      let root = mergedInto(l);
      if (!root) continue;
      for (let next; (next = mergedInto(root));) root = next;
      out[entryOf.get(root.id)].merged.push(l.id);
    }
    return out;
  }
}
