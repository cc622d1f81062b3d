// The core's corpus replayed through the page's modules: every step of every sequence must
// give the windows' list (ids, numbers, text, marks, facts, folds) and their dropped count, and
// tell apart the same lines from a newer Kelpie.
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {readFileSync} from 'node:fs';
import {Net} from '../net.js';
import {noFacts, toUnicode} from '../wire.js';

const corpus = JSON.parse(readFileSync(
    new URL('../../tests/golden/share/corpus.json', import.meta.url), 'utf8'));

const TEXT = ['call', 'name', 'qth', 'first', 'latest', 'grid'];

function shown(net) {
  const text = v => (typeof v === 'string' ? toUnicode(v) : v);
  return net.replica.entries().map(({line: l, folded, merged}, i) => ({n: i + 1, id: l.id,
    time: l.time, ...Object.fromEntries(TEXT.map(k => [k, text(l[k])])), ack: l.ack, com: l.com,
    inOut: l.inOut, facts: Object.fromEntries(Object.keys(noFacts()).map(k => [k, text(l.facts[k])])),
    folded, merged}));
}

for (const c of corpus.cases) {
  test(`corpus: ${c.name}`, () => {
    const net = new Net(c.net);
    c.steps.forEach((step, s) => {
      for (const m of step.messages)
        net.take(m.topic, new Uint8Array('hex' in m ? Buffer.from(m.hex, 'hex') : Buffer.from(m.payload)));
      assert.equal(net.dropped, step.dropped, `dropped after step ${s + 1}`);
      assert.equal(net.newer, step.newer, `from a newer Kelpie after step ${s + 1}`);
      assert.deepEqual(shown(net), step.list, `list after step ${s + 1}`);
    });
  });
}
