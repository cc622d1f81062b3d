// The page's own rules beyond the corpus: topics of net names, the addresses, the net list,
// and the words shown and said for a check-in.
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {Net, announcement, cells, marks} from '../net.js';
import {NetList, brokerAddress, netAddress, netFromQuery} from '../page.js';
import {netName, netTopic, noFacts, to1252} from '../wire.js';

process.env.TZ = 'UTC';
const w = c => c.repeat(32);

test('net names to topics and back', () => {
  for (const [name, level] of [['Tuesday Net', 'Tuesday Net'], ['', '%'],
    ['a/b#c+d%e', 'a%2Fb%23c%2Bd%25e'], ['\u20ac\u00e9\u00ff', '\u20ac\u00e9\u00ff'],
    ['tab\there\u007f', 'tab%09here%7F'], ['\u0081', '%81'],
    ['\u0100', '\u00c4\u20ac']]) {  // no Windows-1252 byte: its UTF-8 bytes one by one
    assert.equal(netTopic(name), `kelpie/1/${level}`, name);
    if (to1252(name) !== null) assert.equal(netName(level), name, name);
  }
  for (const bad of ['%2', '%2f', '%G0', '\u0100']) assert.equal(netName(bad), null, bad);
});

test('the addresses of a net and of its broker', () => {
  assert.equal(netAddress('Club Net +1/2'), '?net=Club%20Net%20%2B1%2F2');
  for (const [search, net] of [['?net=Club%20Net', 'Club Net'], ['?x=1&net=a+b', 'a+b'],
    ['?net=', ''], ['', null], ['?network=x', null], ['?net=%E2%82', null]])
    assert.equal(netFromQuery(search), net, search);
  const page = (protocol, search = '') => ({protocol, host: 'pi.club:8080', search});
  for (const [location, broker] of [[page('http:'), 'ws://pi.club:8080/'],
    [page('https:'), 'wss://pi.club:8080/'],
    [page('http:', '?net=a&broker=wss%3A%2F%2Fb.club%3A8081'), 'wss://b.club:8081/'],
    [page('http:', '?broker=javascript:alert(1)'), 'ws://pi.club:8080/']])
    assert.equal(brokerAddress(location), broker, location.search);
});

test('loggers of a net and nets being logged: newest first, gone with their last window', () => {
  const net = new Net('N'), list = new NetList();
  const who = (c, op, online, window = w(c)) => {
    net.take(`kelpie/1/N/who/${w(c)}`, new TextEncoder().encode(
        JSON.stringify({online, op, v: 1, window})));
    if (window === w(c)) list.take(c === 'c' ? 'B' : 'A', `Net ${c === 'c' ? 'B' : 'A'}`, {window, op, online});
  };
  who('b', 'W1AW', true);
  who('c', '', true);
  who('a', 'K1ABC', true);
  who('d', 'X', true, w('e'));  // filed under another window's name: dropped by the net
  assert.deepEqual(net.loggers(), ['K1ABC', 'W1AW', '?']);
  assert.equal(net.dropped, 1);
  assert.deepEqual(list.shown(), [{name: 'Net B', loggers: ['?']},
    {name: 'Net A', loggers: ['K1ABC', 'W1AW']}]);
  who('c', '', false);
  who('a', 'K1ABC', false);
  assert.deepEqual(net.loggers(), ['W1AW']);
  assert.deepEqual(list.shown().map(n => n.name), ['Net A']);
});

const line = (over = {}, facts = {}) => ({id: 'x', call: 'K1ABC', name: 'Bob', qth: 'Boston',
  first: '  First time check-in', time: '2026-12-07T19:02:00Z', ack: false, com: false,
  inOut: false, facts: {...noFacts(), ...facts}, ...over});

test('marks and traffic in words', () => {
  for (const [over, facts, words] of [
    [{}, {}, []],
    [{ack: true, com: true, inOut: true}, {}, ['acknowledged', 'comments', 'in and out']],
    [{}, {count: 2, prec: 'P', dest: 'Boston'}, ['2 priority traffic for Boston']],
    [{}, {count: 1, prec: 'E', dest: 'Boston', passedTo: 'W2XYZ'},
      ['1 emergency traffic for Boston, passed to W2XYZ']],
    [{}, {count: 99, prec: 'R', passedTo: 'W2XYZ'}, ['99 routine traffic, passed to W2XYZ']],
    [{}, {count: 3, prec: 'W'}, ['3 welfare traffic']],
    [{com: true}, {dest: 'Boston', relay: 'KB1ZZZ', remark: 'mobile  \x80 5'},
      ['comments', 'relayed by KB1ZZZ', 'mobile \u20ac 5']],
  ])
    assert.deepEqual(marks(line(over, facts)), words);
});

test('a row and what is said of it', () => {
  assert.deepEqual(cells(line({ack: true, call: '<img src=x>'}, {tactical: 'EOC'}), 7),
      ['7', '<img src=x> (EOC)', 'Bob', 'Boston', 'First time check-in', 'acknowledged', '19:02']);
  assert.deepEqual(cells(line({time: '', first: '12/01/2026'}), 1).slice(4),
      ['12/01/2026', '', '']);
  process.env.TZ = 'Asia/Kolkata';  // the viewer's own time
  assert.equal(cells(line({time: '2026-12-07T23:30:00Z'}), 1)[6], '05:00');
  process.env.TZ = 'UTC';
  assert.equal(announcement(line(), 7), '7, K1ABC, Bob, Boston');
  assert.equal(announcement(line({name: ' ', qth: '\xe9t\xe9'}), 12), '12, K1ABC, \u00e9t\u00e9');
});
