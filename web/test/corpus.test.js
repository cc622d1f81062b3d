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
  return net.replica.entries().map((e, i) => {
    const row = {n: i + 1, id: e.line.id, time: e.line.time};
    for (const k of TEXT) row[k] = toUnicode(e.line[k]);
    const facts = {};
    for (const k of Object.keys(noFacts())) {
      const v = e.line.facts[k];
      facts[k] = typeof v === 'string' ? toUnicode(v) : v;
    }
    Object.assign(row, {ack: e.line.ack, com: e.line.com, inOut: e.line.inOut, facts,
      folded: e.folded, merged: e.merged});
    return row;
  });
}

for (const c of corpus.cases) {
  test(`corpus: ${c.name}`, () => {
    const net = new Net(c.net);
    c.steps.forEach((step, s) => {
      for (const m of step.messages) {
        const bytes = 'hex' in m ? Buffer.from(m.hex, 'hex') : Buffer.from(m.payload, 'utf8');
        net.take(m.topic, new Uint8Array(bytes));
      }
      assert.equal(net.dropped, step.dropped, `dropped after step ${s + 1}`);
      assert.equal(net.newer, step.newer, `from a newer Kelpie after step ${s + 1}`);
      assert.deepEqual(shown(net), step.list, `list after step ${s + 1}`);
    });
  });
}
