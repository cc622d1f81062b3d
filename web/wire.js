// The shared net's messages as the windows send them, read as strictly as the windows read
// them: the same size limit, the same keys and types, the same lengths. Whatever arrives is
// untrusted; a message that is not exactly right gives null and is counted by the caller.
//
// Text is kept the way the windows keep it: one character per Windows-1252 byte (a "byte
// string", char codes 0-255), so that lengths, ordering and upper-casing agree with theirs to
// the byte. toUnicode() turns such text into what the page shows.

export const MAX_MESSAGE = 4096;  // bytes
export const MAX_CALL = 20, MAX_TEXT = 80, MAX_FACT = 40, MAX_REMARK = 60, MAX_TRAFFIC = 99;
const MAX_COUNT = 0xFFFFFFFF;
const PRECEDENCES = ['E', 'P', 'W', 'R'];

// The characters of bytes 0x80-0x9F; the five the code page leaves undefined stand for the
// C1 controls of their own number, as Windows maps them.
const HIGH = [0x20AC, 0x81, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030,
  0x0160, 0x2039, 0x0152, 0x8D, 0x017D, 0x8F, 0x90, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
  0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D, 0x017E, 0x0178];
const BYTE_OF = new Map(HIGH.map((cp, i) => [cp, 0x80 + i]));

// Unicode text to a byte string, or null when a character has no byte.
export function to1252(text) {
  let out = '';
  for (const ch of text) {
    const cp = ch.codePointAt(0);
    const b = cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF) ? cp : BYTE_OF.get(cp);
    if (b === undefined) return null;
    out += String.fromCharCode(b);
  }
  return out;
}

export function toUnicode(bytes) {
  let out = '';
  for (let i = 0; i < bytes.length; ++i) {
    const b = bytes.charCodeAt(i);
    out += String.fromCodePoint(b >= 0x80 && b < 0xA0 ? HIGH[b - 0x80] : b);
  }
  return out;
}

// Bytes no text on the net may hold.
export function isControl(b) {
  return b < 0x20 || b === 0x7F || b === 0x81 || b === 0x8D || b === 0x8F || b === 0x90 ||
      b === 0x9D;
}
const PRINTABLE_ASCII = /^[\x20-\x7e]*$/;
function hasControl(s) {
  for (let i = 0; i < s.length; ++i) if (isControl(s.charCodeAt(i))) return true;
  return false;
}

// Upper case as the windows fold callsigns, byte by byte.
export function upper1252(s) {
  let out = '';
  for (let i = 0; i < s.length; ++i) {
    let c = s.charCodeAt(i);
    if (c >= 0x61 && c <= 0x7A) c -= 32;
    else if (c === 0x9A || c === 0x9C || c === 0x9E) c -= 16;
    else if (c === 0xFF) c = 0x9F;
    else if (c >= 0xE0 && c !== 0xF7) c -= 32;
    out += String.fromCharCode(c);
  }
  return out;
}

// A JSON object, read as the windows' parser reads it: the top-level keys (counted, so that
// a repeated one leaves a message short of a key it needs) and each value with its kind, telling whole numbers
// without sign ("uint") from the others, which the windows never take as a count or a
// version. Nested values are read but never right in a message (kind "other"). null when the
// text is not a JSON object.
const WS = new Set([' ', '\t', '\n', '\r']);
const PLAIN = /[^"\\\x00-\x1f]*/y;
const NUMBER = /-?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?/y;
const LITERALS = {t: 'true', f: 'false', n: 'null'};
const ESC = {'"': '"', '\\': '\\', '/': '/', b: '\b', f: '\f', n: '\n', r: '\r', t: '\t'};
export function parseObject(text) {
  let i = 0;
  const skip = () => { while (WS.has(text[i])) ++i; };
  const hex4 = () => {
    const h = text.slice(i, i + 4);
    if (!/^[0-9a-fA-F]{4}$/.test(h)) throw 0;
    i += 4;
    return parseInt(h, 16);
  };
  const string = () => {
    if (text[i++] !== '"') throw 0;
    let out = '';
    for (;;) {
      PLAIN.lastIndex = i;  // a run of characters that stand for themselves, taken at once
      PLAIN.test(text);
      out += text.slice(i, PLAIN.lastIndex);
      i = PLAIN.lastIndex;
      const c = text[i++];
      if (c === undefined || c < ' ') throw 0;
      if (c === '"') return out;
      const e = text[i++];
      if (e !== 'u') {
        if (!(e in ESC)) throw 0;
        out += ESC[e];
        continue;
      }
      let cp = hex4();
      if (cp >= 0xDC00 && cp <= 0xDFFF) throw 0;
      if (cp >= 0xD800 && cp <= 0xDBFF) {
        if (text[i++] !== '\\' || text[i++] !== 'u') throw 0;
        const lo = hex4();
        if (lo < 0xDC00 || lo > 0xDFFF) throw 0;
        cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
      }
      out += String.fromCodePoint(cp);
    }
  };
  const list = (close, item) => {  // the items of an array or object after its opening
    skip();
    if (text[i] === close) return ++i;
    for (;;) {
      skip();
      item();
      skip();
      const c = text[i++];
      if (c === close) return i;
      if (c !== ',') throw 0;
    }
  };
  const value = () => {
    if (text[i] === '"') return {kind: 'string', value: string()};
    if (text[i] === '[' || text[i] === '{') {
      const open = text[i++];
      if (open === '[') list(']', value);
      else list('}', () => { string(); skip(); if (text[i++] !== ':') throw 0; skip(); value(); });
      return {kind: 'other'};
    }
    const word = LITERALS[text[i]];
    if (word !== undefined) {
      if (!text.startsWith(word, i)) throw 0;
      i += word.length;
      return word === 'null' ? {kind: 'null', value: null} : {kind: 'bool', value: word === 'true'};
    }
    NUMBER.lastIndex = i;
    const m = NUMBER.exec(text);
    if (!m || m[0] === '-') throw 0;
    i += m[0].length;
    // An integer too large for 64 bits (20 digits and more) is read as a floating-point number.
    const whole = !m[2] && !m[3] && !m[0].startsWith('-') &&
        (m[0].length < 20 || BigInt(m[0]) < 2n ** 64n);
    const n = Number(m[0]);
    if (!Number.isFinite(n)) throw 0;  // too large for any number: the windows refuse it too
    return {kind: whole ? 'uint' : 'number', value: n};
  };
  try {
    skip();
    if (text[i++] !== '{') return null;
    const fields = new Map();
    let keys = 0;
    list('}', () => {
      const key = string();
      skip();
      if (text[i++] !== ':') throw 0;
      skip();
      fields.set(key, value());
      ++keys;
    });
    skip();
    if (i !== text.length) return null;
    return {fields, keys};
  } catch {
    return null;
  }
}

const UTF8 = new TextDecoder('utf-8', {fatal: true});

// The object of a message of exactly `keys` keys and version 1 (or up to `newest`), or null;
// `newer` when it is well formed but of a later version than this page reads.
function message(payload, counts) {
  if (payload.length > MAX_MESSAGE) return null;
  let text;
  try {
    text = typeof payload === 'string' ? payload : UTF8.decode(payload);
  } catch {
    return null;
  }
  const o = parseObject(text);
  if (!o) return null;
  const v = o.fields.get('v');
  if (!v || v.kind !== 'uint') return null;
  if (v.value > counts.newest) return 'newer';
  if (o.keys !== counts[v.value]) return null;
  return o.fields;
}

// Reads the fields of a message; any of the wrong kind makes ok false.
class Fields {
  constructor(fields) { this.fields = fields; this.ok = true; }
  get(key, kind) {
    const f = this.fields.get(key);
    if (!f || f.kind !== kind) {
      this.ok = false;
      return undefined;
    }
    return f.value;
  }
  raw(key) { return this.get(key, 'string') ?? ''; }
  flag(key) { return this.get(key, 'bool') ?? false; }
  count(key, least = 1, most = MAX_COUNT) {
    const n = this.get(key, 'uint');
    if (n === undefined || n < least || n > most) this.ok = false;
    return n ?? 0;
  }
  text(key, most) {
    const raw = this.raw(key), ascii = PRINTABLE_ASCII.test(raw);  // most text is: its own bytes
    const s = ascii ? raw : to1252(raw);
    if (s !== null && s.length <= most && (ascii || !hasControl(s))) return s;
    this.ok = false;
    return '';
  }
  moment(key) {
    const s = this.raw(key);
    if (s !== '' && !isIsoTime(s)) this.ok = false;
    return s;
  }
}

export function isIsoTime(s) {
  const m = /^([0-9]{4})-([0-9]{2})-([0-9]{2})T([0-9]{2}):([0-9]{2}):([0-9]{2})Z$/.exec(s);
  if (!m) return false;
  const [y, mo, d, h, mi, se] = m.slice(1).map(Number);
  const leap = y % 4 === 0 && (y % 100 !== 0 || y % 400 === 0);
  const days = [31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31][mo - 1];
  return mo >= 1 && mo <= 12 && d >= 1 && d <= days && h <= 23 && mi <= 59 && se <= 59;
}

export const isWindowId = s => /^[0-9a-f]{32}$/.test(s);
export const isLineId = s => /^[0-9a-f]{32}\.[1-9][0-9]*$/.test(s);

// The facts a check-in may carry from version 2 on, empty in a version 1 message.
export const FACT_GROUPS = {
  traffic: ['count', 'prec', 'dest', 'listedAt', 'passedTo', 'passedAt'],
  tactical: ['tactical', 'tacticalAt'],
  relay: ['relay', 'relayAt'],
  remark: ['remark', 'remarkAt'],
};
export function noFacts() {
  return {count: 0, prec: '', dest: '', listedAt: '', passedTo: '', passedAt: '', tactical: '',
    tacticalAt: '', relay: '', relayAt: '', remark: '', remarkAt: ''};
}

const LINE_KEYS = {newest: 2, 1: 18, 2: 30};

// A line message: the line, 'newer' (a later version of Kelpie's), or null.
export function decodeLine(payload) {
  const fields = message(payload, LINE_KEYS);
  if (fields === null || fields === 'newer') return fields;
  const f = new Fields(fields);
  const l = {
    id: f.raw('id'), window: f.raw('window'), seq: f.count('seq'), rev: f.count('rev'),
    by: f.raw('by'), time: f.raw('time'), deleted: f.flag('deleted'),
    call: f.text('call', MAX_CALL), name: f.text('name', MAX_TEXT), qth: f.text('qth', MAX_TEXT),
    first: f.text('first', MAX_TEXT), latest: f.text('latest', MAX_TEXT),
    grid: f.text('grid', MAX_TEXT),
    ack: f.flag('ack'), com: f.flag('com'), inOut: f.flag('inOut'), into: f.raw('into'),
    facts: noFacts(),
  };
  if (fields.get('v').value === 2) {
    const t = l.facts;
    t.count = f.count('count', 0, MAX_TRAFFIC);
    t.prec = f.raw('prec');
    if ((t.count === 0) !== (t.prec === '') || (t.prec !== '' && !PRECEDENCES.includes(t.prec)))
      f.ok = false;
    for (const k of ['dest', 'passedTo', 'tactical', 'relay']) t[k] = f.text(k, MAX_FACT);
    t.remark = f.text('remark', MAX_REMARK);
    for (const k of ['listedAt', 'passedAt', 'tacticalAt', 'relayAt', 'remarkAt'])
      t[k] = f.moment(k);
    // A line without facts is a version 1 line, never a version 2 one.
    if (Object.entries(noFacts()).every(([k, v]) => t[k] === v)) f.ok = false;
  }
  if (!f.ok || (l.into !== '' && !isLineId(l.into)) || !isWindowId(l.window) ||
      !isWindowId(l.by) || l.id !== `${l.window}.${l.seq}` || (l.time !== '' && !isIsoTime(l.time)))
    return null;
  return l;
}

// A window's presence: {window, op, online}, or null.
export function decodePresence(payload) {
  const fields = message(payload, {newest: 1, 1: 4});
  if (fields === null || fields === 'newer') return null;
  const f = new Fields(fields);
  const p = {window: f.raw('window'), op: f.text('op', MAX_CALL), online: f.flag('online')};
  return f.ok && isWindowId(p.window) ? p : null;
}

// "kelpie/1/<net>" as the windows write it: the name's Windows-1252 bytes, with %, +, #, / and
// the control bytes as %XX so that no name reaches into another net or holds a wildcard.
export function netTopic(name) {
  // A name the code page cannot hold goes as the windows send it: its UTF-8 bytes taken one
  // by one as Windows-1252.
  const bytes = to1252(name) ?? String.fromCharCode(...new TextEncoder().encode(name));
  if (bytes === '') return 'kelpie/1/%';
  let level = '';
  for (const ch of bytes) {
    const b = ch.charCodeAt(0);
    level += isControl(b) || '%+#/'.includes(ch)
      ? '%' + b.toString(16).toUpperCase().padStart(2, '0') : toUnicode(ch);
  }
  return 'kelpie/1/' + level;
}

// The net's name (Unicode) from the topic level netTopic made; null when it is not one.
export function netName(level) {
  if (level === '%') return '';
  let bytes = '';
  for (let i = 0; i < level.length; ++i) {
    if (level[i] === '%') {
      if (!/^[0-9A-F]{2}$/.test(level.slice(i + 1, i + 3))) return null;
      bytes += String.fromCharCode(parseInt(level.slice(i + 1, i + 3), 16));
      i += 2;
    } else {
      const b = to1252(level[i]);
      if (b === null) return null;
      bytes += b;
    }
  }
  return toUnicode(bytes);
}
