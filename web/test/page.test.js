// The page's own rules beyond the corpus: topics of net names, the address, the net list,
// the words of marks and traffic, and what is announced.
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {Net, announcement, cells, marks} from '../net.js';
import {NetList, brokerAddress, netAddress, netFromQuery} from '../page.js';
import {netName, netTopic, noFacts, to1252} from '../wire.js';

test('net names to topics and back', () => {
  for (const [name, topic] of [
    ['Tuesday Net', 'kelpie/1/Tuesday Net'],
    ['', 'kelpie/1/%'],
    ['a/b#c+d%e', 'kelpie/1/a%2Fb%23c%2Bd%25e'],
    ['\u20ac\u00e9\u00ff', 'kelpie/1/\u20ac\u00e9\u00ff'],
    ['tab\there\u007f', 'kelpie/1/tab%09here%7F'],
    ['\u0081', 'kelpie/1/%81'],
    ['\u0100', 'kelpie/1/\u00c4\u20ac'],  // no Windows-1252 byte: its UTF-8 bytes one by one
  ]) {
    assert.equal(netTopic(name), topic, name);
    if (to1252(name) !== null) assert.equal(netName(topic.slice(9)), name, name);
  }
  for (const bad of ['%2', '%2f', '%G0', '\u0100']) assert.equal(netName(bad), null, bad);
});

test('the address of a net and of the broker', () => {
  assert.equal(netAddress('Club Net +1/2'), '?net=Club%20Net%20%2B1%2F2');
  for (const [search, net] of [['?net=Club%20Net', 'Club Net'], ['?x=1&net=a+b', 'a+b'],
    ['?net=', ''], ['', null], ['?network=x', null], ['?net=%E2%82', null]])
    assert.equal(netFromQuery(search), net, search);
  const page = (protocol, search = '') => ({protocol, host: 'pi.club:8080', search});
  assert.equal(brokerAddress(page('http:')), 'ws://pi.club:8080/');
  assert.equal(brokerAddress(page('https:')), 'wss://pi.club:8080/');
  assert.equal(brokerAddress(page('http:', '?net=a&broker=wss%3A%2F%2Fb.club%3A8081')),
      'wss://b.club:8081/');
  assert.equal(brokerAddress(page('http:', '?broker=javascript:alert(1)')), 'ws://pi.club:8080/');
});

test('nets being logged: newest first, gone with their last window', () => {
  const list = new NetList(), w = c => c.repeat(32);
  list.take('A', 'Net A', {window: w('b'), op: 'W1AW', online: true});
  list.take('B', 'Net B', {window: w('c'), op: '', online: true});
  list.take('A', 'Net A', {window: w('a'), op: 'K1ABC', online: true});
  assert.deepEqual(list.shown(), [{name: 'Net B', loggers: ['?']},
    {name: 'Net A', loggers: ['K1ABC', 'W1AW']}]);
  list.take('B', 'Net B', {window: w('c'), op: '', online: false});
  list.take('C', 'Net C', {window: w('c'), op: '', online: false});
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
    [{}, {count: 1, prec: 'E'}, ['1 emergency traffic']],
    [{}, {count: 3, prec: 'W', dest: 'ARC', passedTo: 'W2XYZ'},
      ['3 welfare traffic for ARC, passed to W2XYZ']],
    [{}, {count: 99, prec: 'R', passedTo: 'W2XYZ'}, ['99 routine traffic, passed to W2XYZ']],
    [{com: true}, {relay: 'KB1ZZZ', remark: 'mobile  \x80 5'},
      ['comments', 'relayed by KB1ZZZ', 'mobile \u20ac 5']],
  ])
    assert.deepEqual(marks(line(over, facts)), words);
});

test('a row and what is said of it', () => {
  assert.deepEqual(cells(line({ack: true, call: '<img src=x>'}, {tactical: 'EOC'}), 7, 'UTC'),
      ['7', '<img src=x> (EOC)', 'Bob', 'Boston', 'First time check-in', 'acknowledged', '19:02']);
  assert.deepEqual(cells(line({time: '', first: '12/01/2026'}), 1, 'UTC').slice(4),
      ['12/01/2026', '', '']);
  assert.equal(cells(line({time: '2026-12-07T23:30:00Z'}), 1, 'Asia/Kolkata')[6], '05:00');
  assert.equal(announcement(line(), 7), '7, K1ABC, Bob, Boston');
  assert.equal(announcement(line({name: ' ', qth: '\xe9t\xe9'}), 12), '12, K1ABC, \u00e9t\u00e9');
});

test('who is logging, by window, and what is dropped', () => {
  const net = new Net('N'), w = c => c.repeat(32);
  const who = (c, op, online) => net.take(`kelpie/1/N/who/${w(c)}`, new TextEncoder().encode(
      JSON.stringify({online, op, v: 1, window: w(c)})));
  who('c', 'W1AW', true);
  who('a', '', true);
  who('b', 'K1ABC', true);
  who('b', 'K1ABC', false);
  assert.deepEqual(net.loggers(), ['?', 'W1AW']);
  assert.equal(net.take('kelpie/1/N/who/' + w('d'), new TextEncoder().encode(
      JSON.stringify({online: true, op: '', v: 1, window: w('c')}))), false);
  assert.equal(net.dropped, 1);
});
