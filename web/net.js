// One net as the page watches it: the messages of its topics taken as a window takes them
// (lines merged, presence kept, anything else dropped and counted), and the words the page
// shows and says for a check-in.

import {decodeLine, decodePresence, netTopic, toUnicode} from './wire.js';
import {Replica} from './replica.js';

export class Net {
  constructor(name) {
    this.name = name;
    this.root = netTopic(name);
    this.replica = new Replica();
    this.present = new Map();  // window -> operator's callsign (byte string)
    this.dropped = 0;          // malformed, too large, not for this net, or of a later format
    this.newer = 0;            // of those, lines from a newer Kelpie than this page
  }

  get filter() { return this.root + '/#'; }

  // One message. True when today's list may have changed.
  take(topic, payload) {
    const lines = this.root + '/line/', who = this.root + '/who/';
    if (topic.startsWith(lines)) {
      const l = decodeLine(payload);
      if (l && l !== 'newer' && topic === lines + l.id) return this.replica.merge(l);
      ++this.dropped;
      if (l === 'newer') ++this.newer;
    } else if (topic.startsWith(who)) {
      const p = decodePresence(payload);
      if (!p || topic !== who + p.window) ++this.dropped;
      else if (p.online) this.present.set(p.window, p.op);
      else this.present.delete(p.window);
    } else {
      ++this.dropped;
    }
    return false;
  }

  // The operators logging now, by window identity as the windows list them.
  loggers() {
    return [...this.present.keys()].sort().map(w => toUnicode(this.present.get(w)) || '?');
  }
}

const PRECEDENCE = {E: 'emergency', P: 'priority', W: 'welfare', R: 'routine'};
const shown = s => toUnicode(s).replace(/ +/g, ' ').trim();

// The marks and facts of a list line in words, each a phrase.
export function marks(l) {
  const out = [];
  if (l.ack) out.push('acknowledged');
  if (l.com) out.push('comments');
  if (l.inOut) out.push('in and out');
  const f = l.facts;
  if (f.count > 0) {
    let t = `${f.count} ${PRECEDENCE[f.prec]} traffic`;
    if (f.dest) t += ` for ${shown(f.dest)}`;
    if (f.passedTo) t += `, passed to ${shown(f.passedTo)}`;
    out.push(t);
  }
  if (f.relay) out.push(`relayed by ${shown(f.relay)}`);
  if (f.remark) out.push(shown(f.remark));
  return out;
}

// The cells of check-in n: number, callsign (with its tactical call), name, QTH, first time,
// marks and the check-in time in the viewer's own time.
export function cells(l, n) {
  let call = shown(l.call);
  if (l.facts.tactical) call += ` (${shown(l.facts.tactical)})`;
  return [String(n), call, shown(l.name), shown(l.qth), shown(l.first), marks(l).join('; '),
    localTime(l.time)];
}

// The check-in time in the viewer's own time, hours and minutes.
const two = n => String(n).padStart(2, '0');
export function localTime(iso) {
  if (!iso) return '';
  const d = new Date(iso);
  return `${two(d.getHours())}:${two(d.getMinutes())}`;
}

// What a screen reader says of a new check-in: "7, K1ABC, Bob, Boston".
export function announcement(l, n) {
  return [String(n), shown(l.call), shown(l.name), shown(l.qth)].filter(s => s).join(', ');
}
