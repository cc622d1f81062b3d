// The corpus of the listeners' page (web/): message sequences as a window receives them, and
// the list and dropped count the window makes of each. The page's own tests replay the same
// file through its modules and must come to the same lists, so the two implementations of the
// rules cannot drift apart. KELPIE_WRITE_GOLDEN=1 writes the file anew after a change of the
// rules (then check its diff, and the page's tests).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <random>

#include "share/cp1252.h"
#include "share/replica.h"
#include "share/share_net.h"
#include "share/wire.h"
#include "support/fake_platform.h"
#include "support/fake_share_link.h"

namespace kelpie::share {
namespace {

using json = nlohmann::ordered_json;

struct Message {
  std::string topic, payload;
};
using Step = std::vector<Message>;
struct Case {
  std::string name, net;
  std::vector<Step> steps;
};

std::string win(char c) { return std::string(32, c); }
const std::string kWatcher = win('f');
const std::string kNet = "Tuesday 2m Net";

Line line(char w, uint64_t seq, const std::string& call, const std::string& time = "") {
  Line l;
  l.window = l.by = win(w);
  l.seq = seq;
  l.id = l.window + "." + std::to_string(seq);
  l.rev = 1;
  l.call = call;
  l.time = time.empty() ? "" : "2026-12-07T19:" + time + ":00Z";
  return l;
}
Line revised(Line l, char by) {
  ++l.rev;
  l.by = win(by);
  return l;
}
// The topics take the net's name in the code page, as a window makes them.
Message sent(const Line& l, const std::string& net = kNet) {
  return {lineTopic(cp1252FromUtf8(net).value_or(net), l.id), encode(l)};
}
// A message of l with one of its keys' text replaced ("key":value as written).
Message edited(const Line& l, const std::string& from, const std::string& to) {
  Message m = sent(l);
  const size_t at = m.payload.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  m.payload.replace(at, from.size(), to);
  return m;
}

// A line of the list as the page shows it, n its number.
json entryJson(const Replica::Entry& e, size_t n) {
  const Line& l = e.line;
  const CheckInFacts& f = l.facts;
  const auto u = [](const std::string& s) { return utf8From1252(s); };
  // clang-format off
  return {{"n", n}, {"id", l.id}, {"time", l.time}, {"call", u(l.call)}, {"name", u(l.name)},
          {"qth", u(l.qth)}, {"first", u(l.first)}, {"latest", u(l.latest)}, {"grid", u(l.grid)},
          {"ack", l.ack}, {"com", l.com}, {"inOut", l.inOut},
          {"facts", {{"count", f.count}, {"prec", f.precedence ? std::string(1, f.precedence) : ""},
                     {"dest", u(f.dest)}, {"listedAt", f.listedAt}, {"passedTo", u(f.passedTo)},
                     {"passedAt", f.passedAt}, {"tactical", u(f.tactical)},
                     {"tacticalAt", f.tacticalAt}, {"relay", u(f.relay)}, {"relayAt", f.relayAt},
                     {"remark", u(f.remark)}, {"remarkAt", f.remarkAt}}},
          {"folded", e.folded}, {"merged", e.merged}};
  // clang-format on
}

std::string messageText(const Message& m) {
  try {
    return json{{"topic", m.topic}, {"payload", m.payload}}.dump();
  } catch (const json::exception&) {  // a payload that is not UTF-8 goes as hex digits
    std::string h;
    for (const unsigned char c : m.payload)
      h += {"0123456789abcdef"[c >> 4], "0123456789abcdef"[c & 15]};
    return json{{"topic", m.topic}, {"hex", h}}.dump();
  }
}

// Items a line each, so that a change of the corpus reads as a diff.
std::string rows(const std::vector<std::string>& items) {
  std::string out = "[";
  for (const std::string& i : items) out += (&i == items.data() ? "\n" : ",\n") + i;
  return out + "\n]";
}

std::string corpusText(const std::vector<Case>& cases) {
  std::vector<std::string> all;
  for (const Case& c : cases) {
    test::TempFolder folder;
    test::FakeBroker broker;  // never connected: the window only listens here
    test::FakeShareLink link(broker);
    ShareSettings settings;
    settings.net = c.net;
    ShareNet net(link, settings, kWatcher, folder / "watch.SHR");
    const std::string lines = netTopic(cp1252FromUtf8(c.net).value_or(c.net)) + "/line/";
    size_t newer = 0;
    std::vector<std::string> steps;
    for (const Step& step : c.steps) {
      std::vector<std::string> messages, list;
      for (const Message& m : step) {
        net.messageArrived(m.topic, m.payload, true);
        bool later = false;  // what the window tells apart as a newer Kelpie's
        if (m.topic.starts_with(lines)) decode(m.payload, &later);
        newer += later;
        messages.push_back(messageText(m));
      }
      std::string error;
      net.takeArrived(&error);
      EXPECT_EQ(error, "");
      for (const Replica::Entry& e : net.replica().entries())
        list.push_back(entryJson(e, list.size() + 1).dump());
      steps.push_back("{\"messages\": " + rows(messages) +
                      ", \"dropped\": " + std::to_string(net.dropped()) +
                      ", \"newer\": " + std::to_string(newer) + ", \"list\": " + rows(list) + "}");
    }
    all.push_back("{\"name\": " + json(c.name).dump() + ", \"net\": " + json(c.net).dump() +
                  ", \"steps\": " + rows(steps) + "}");
  }
  return "{\"cases\": " + rows(all) + "}\n";
}

std::vector<Case> namedCases() {
  std::vector<Case> cases;
  const auto add = [&](std::string name, std::vector<Step> steps, std::string net = kNet) {
    cases.push_back({std::move(name), std::move(net), std::move(steps)});
  };
  Line a = line('a', 1, "K1ABC", "02"), b = line('b', 1, "W1AW", "01"), c = line('a', 2, "N3XYZ");
  a.name = "Bob", a.qth = "Boston", a.first = "  First time check-in", a.latest = "12/07/2026";
  a.grid = "FN42  45\xB0";
  add("one check-in", {{sent(a)}});
  // Unknown time first, then by time, then window, then sequence (10 after 9: a number).
  Line a9 = line('a', 9, "G4ZZZ", "02"), a10 = line('a', 10, "VE3AAA", "02");
  Line b2 = line('b', 2, "KA1ZZZ", "02");
  add("net order", {{sent(b2), sent(a10), sent(a), sent(b), sent(c), sent(a9)}});
  Line a2 = revised(a, 'b');
  a2.ack = true, a2.name = "Robert";
  Line a3 = revised(a2, 'a');
  a3.com = true;
  add("newest revision, whatever the order", {{sent(a3), sent(a), sent(a2)}, {sent(a2), sent(a)}});
  Line byA = revised(a, 'a'), byB = revised(a, 'b');
  byA.name = "from a", byB.name = "by b";  // by content, a would win
  add("same revision: the higher window", {{sent(byB), sent(byA)}, {sent(byA)}});
  Line tie1 = a, tie2 = a;
  tie2.qth = "Cambridge";
  add("same revision and window: by content", {{sent(tie2), sent(tie1)}});
  Line gone = revised(a, 'b');
  gone.deleted = true;
  Line late = revised(revised(a, 'a'), 'a');
  late.name = "edited late";
  add("a delete is final", {{sent(a), sent(b)}, {sent(gone)}, {sent(late), sent(a)}});
  add("tombstone before its line", {{sent(gone), sent(b)}, {sent(a)}});
  // The same station from three windows: the earliest stands for all, with every mark.
  Line f1 = line('b', 5, " k1abc ", "03"), f2 = line('c', 1, "K1ABC", "04");
  f1.com = true, f2.inOut = true, f1.name = "Bobby";
  Line noCall = line('c', 2, "", "01"), noCall2 = line('c', 3, "  ", "02");
  Line nbsp = line('c', 4, "\xA0K1ABC", "05");  // not a space to the windows
  add("same callsign folds into the earliest",
      {{sent(f2), sent(f1)}, {sent(a)}, {sent(noCall), sent(noCall2), sent(nbsp)}, {sent(gone)}});
  Line e1 = line('a', 20, "\xE9t\xFF", "01"), e2 = line('b', 20, "\xC9T\x9F", "02");
  Line e3 = line('c', 20, "\xF7x", "03"), e4 = line('c', 21, "\xD7x", "04");
  add("upper case of the code page", {{sent(e2), sent(e1), sent(e3), sent(e4)}});
  // Merged into an earlier line: hidden while that line lives.
  Line m1 = revised(line('b', 7, "W2XYZ", "05"), 'a');
  m1.into = a.id;
  Line m2 = revised(line('c', 7, "W3XYZ", "06"), 'a');
  m2.into = m1.id;
  Line intoLater = line('c', 8, "W4XYZ", "00"), intoNowhere = line('c', 9, "W5XYZ", "07");
  intoLater.into = a.id, intoNowhere.into = win('e') + ".1";
  add("merged lines",
      {{sent(m2), sent(m1)}, {sent(a)}, {sent(intoLater), sent(intoNowhere)}, {sent(gone)}});

  // Version 2: lines with facts, and the facts of a station's lines kind by kind.
  Line t1 = line('a', 30, "KB1TRF", "01"), t2 = line('b', 30, "kb1trf", "02");
  Line t3 = line('c', 30, "KB1TRF", "03");
  t1.facts.tactical = "EOC", t1.facts.tacticalAt = "2026-12-07T19:01:30Z";
  // No count, no relay: nothing of traffic or relay for the fold to take.
  t1.facts.dest = "Boston", t1.facts.relayAt = "2026-12-07T19:01:40Z";
  t2.facts.count = 2, t2.facts.precedence = 'P', t2.facts.dest = "Worcester";
  t2.facts.listedAt = "2026-12-07T19:02:10Z", t2.facts.tactical = "SHELTER 1";
  t2.facts.remark = "mobile \x80 5";
  t3.facts.count = 1, t3.facts.precedence = 'E', t3.facts.passedTo = "W2XYZ";
  t3.facts.relay = "KB1RLY", t3.facts.relayAt = "2026-12-07T19:03:00Z";
  Line t2b = t2;  // the same revision with other facts: ordered by them
  t2b.facts.count = 3;
  add("facts of a station, kind by kind", {{sent(t3)}, {sent(t2), sent(t1)}, {sent(t2b)}});
  const auto v2 = [&](const std::string& from, const std::string& to) {
    return edited(t2, from, to);
  };
  // Version 2 with every fact empty: a version 1 line in the wrong form.
  Line noFacts = t1, oneFact = t1;
  noFacts.facts = {}, oneFact.facts = {}, oneFact.facts.remark = "x";
  const Message empty2 = edited(oneFact, "\"remark\":\"x\"", "\"remark\":\"\"");
  Message moved = v2("\"count\":2,", "\"v\":7,");  // a newer version's key elsewhere
  moved.payload.erase(moved.payload.find(",\"v\":2,"), 6);
  add("version 2 checked",
      {{v2("\"count\":2", "\"count\":100"), v2("\"count\":2", "\"count\":-1"),
        v2("\"count\":2", "\"count\":2.0"), v2("\"prec\":\"P\"", "\"prec\":\"\""),
        v2("\"prec\":\"P\"", "\"prec\":\"X\""), v2("\"prec\":\"P\"", "\"prec\":\"PP\""),
        v2("\"count\":2", "\"count\":0"),
        v2("\"dest\":\"Worcester\"", "\"dest\":\"" + std::string(41, 'D') + "\""),
        v2("\"remark\":\"mobile \u20ac 5\"", "\"remark\":\"" + std::string(61, 'R') + "\""),
        v2("2026-12-07T19:02:10Z", "2026-12-07T19:02:1"), v2("\"v\":2", "\"v\":1"), empty2,
        edited(noFacts, "\"v\":1", "\"v\":2"), v2("\"v\":2", "\"v\":3"),
        edited(t1, "\"v\":2", "\"v\":18446744073709551615"), v2("Worcester", "Wor\\tcester"),
        v2("\"relay\":\"\",", ""), moved},
       {v2("\"dest\":\"Worcester\"", "\"dest\":\"" + std::string(40, 'D') + "\""),
        v2("\"count\":2", "\"count\":99"),
        edited(t3, "\"remark\":\"\"", "\"remark\":\"" + std::string(60, 'R') + "\"")}});

  // What a window drops, and what it takes at the edge.
  Line big = a;
  big.call = std::string(20, 'K'), big.name = std::string(80, '\xE9');
  big.qth = std::string(80, '\x80'), big.first = std::string(80, '\x85');
  Message full = sent(big), over = full;
  EXPECT_LT(full.payload.size(), kMaxMessage);
  full.payload.insert(full.payload.size() - 1, kMaxMessage - full.payload.size(), ' ');
  over.payload.insert(over.payload.size() - 1, kMaxMessage + 1 - over.payload.size(), ' ');
  add("size limit", {{over}, {full}});
  const std::string s = "\"seq\":1,", max = "\"seq\":4294967295,";
  Line top = line('a', 4294967295, "K1TOP");
  add("numbers",
      {{edited(a, s, "\"seq\":1.0,"), edited(a, s, "\"seq\":1e0,"), edited(a, s, "\"seq\":\"1\","),
        edited(a, s, "\"seq\":-1,"), edited(a, "\"rev\":1,", "\"rev\":0,"),
        edited(a, "\"v\":1", "\"v\":1.0"), edited(a, "\"v\":1", "\"v\":0"),
        edited(a, "\"v\":1", "\"v\":18446744073709551617"), edited(top, max, "\"seq\":4294967296,"),
        edited(a, s, "\"seq\":18446744073709551616,"), edited(a, s, "\"seq\":01,"),
        edited(a, s, "\"seq\":true,"), edited(a, "\"com\":false", "\"com\":0"),
        edited(a, "\"rev\":1,", "\"rev\":4294967296,")},
       {sent(top), edited(a, "\"rev\":1,", "\"rev\":4294967295,")}});
  add("keys", {{edited(a, s, ""), edited(a, s, s + "\"extra\":1,"), edited(a, s, s + s),
                edited(a, s, "\"seq\":[1],"), edited(a, s, "\"seq\":{\"a\":1},"),
                edited(a, s, "\"seq\":null,"), edited(a, "\"v\":1", "\"\\u0076\":1"),
                edited(a, s, "\"sex\":1,")},
               {edited(a, s, "\"s\\u0065q\":1,"), edited(a, s, " \r\n\t\"seq\" : 1 ,")}});
  const std::string call = "\"call\":\"K1ABC\"";
  add("text",
      {{edited(a, call, "\"call\":\"" + std::string(21, 'K') + "\""),
        edited(a, "\"name\":\"Bob\"", "\"name\":\"" + std::string(81, 'B') + "\""),
        edited(a, call, "\"call\":\"K1\\u0007\""), edited(a, call, "\"call\":\"K1\\u0081\""),
        edited(a, call, "\"call\":\"K1\\u007f\""), edited(a, call, "\"call\":\"K1\xC2\x81\""),
        edited(a, call, "\"call\":\"K1\xC2\x9F\""), edited(a, call, "\"call\":\"K1\xC4\x80\""),
        edited(a, call, "\"call\":\"K1\xC3\""), edited(a, call, "\"call\":\"K1\xE0\x80\xAF\""),
        edited(a, call, "\"call\":\"K1\\ud800\""), edited(a, call, "\"call\":\"K1\\udc00x\""),
        edited(a, call, "\"call\":\"K1\\ud83d\\ude00\""), edited(a, call, "\"call\":\"K1\t\""),
        edited(a, call, "\"call\":\"K1\\x\""), edited(a, call, "\"call\":K1ABC")},
       {edited(a, call, "\"call\":\"" + std::string(20, 'K') + "\"")},
       {edited(a, call, "\"call\":\"K\\u00e9\\u20ac\\/\\\"\"")}});
  Line other = line('b', 3, "W9OTH");
  const auto at = [&](const std::string& topic) { return Message{topic, encode(a)}; };
  // clang-format off
  add("identity and time",
      {{edited(a, "\"id\":\"" + a.id, "\"id\":\"" + a.id + "0"),
        edited(a, "\"window\":\"" + a.window, "\"window\":\"" + std::string(32, 'A')),
        edited(a, "\"by\":\"" + a.by, "\"by\":\"" + std::string(31, 'a')),
        edited(a, "\"into\":\"\"", "\"into\":\"" + win('b') + ".0\""),
        edited(a, "\"into\":\"\"", "\"into\":\"" + win('b') + "\""),
        edited(a, "\"into\":\"\"", "\"into\":\"" + win('b') + ".07\""),
        edited(a, "\"by\":\"a", "\"by\":\"A"),
        edited(a, "T19:02:00Z", "T24:00:00Z"), edited(a, "2026-12-07", "2026-02-29"),
        edited(a, "T19:02:00Z", "T19:02:60Z"), edited(a, "T19:02:00Z", "T19:02:00"),
        at(lineTopic(kNet, other.id)), at(lineTopic(kNet, a.id) + "/x"),
        at(netTopic(kNet) + "/other"), at(netTopic(kNet) + "/line/")},
       {edited(a, "2026-12-07", "2024-02-29"), sent(other)}});
  // clang-format on
  const auto raw = [&](std::string payload) { return Message{lineTopic(kNet, a.id), payload}; };
  add("not JSON objects",
      {{raw(""), raw("[]"), raw("null"), raw(encode(a) + "x"), raw(encode(a) + "{}"),
        raw(encode(a).substr(0, 100)), raw("\xEF\xBB" + encode(a))},
       {raw("\xEF\xBB\xBF" + encode(a) + " \n")}});
  const std::string w = win('b');
  const auto who = [&](const std::string& payload) {
    return Message{presenceTopic(kNet, w), payload};
  };
  add("presence",
      {{who(encodePresence({w, "W1AW", true})), who(encodePresence({w, "", false})),
        who("{\"online\":true,\"op\":\"W1AW\",\"v\":1,\"window\":\"" + w + "\",\"x\":1}"),
        who(encodePresence({win('c'), "W1AW", true})),
        who(encodePresence({w, std::string(21, 'W'), true})),
        who("{\"online\":1,\"op\":\"W1AW\",\"v\":1,\"window\":\"" + w + "\"}")}});
  // A net's name in its topic: the characters MQTT gives a meaning, and the code page's own.
  for (const std::string net : {"Club/Net #1 +50% \xE2\x82\xAC\xC3\xA9", ""}) {
    const Line n = line('a', 1, "K1NET", "01");
    add("net named \"" + net + "\"",
        {{sent(n, net), sent(b, kNet), {lineTopic("Club", b.id), encode(b)}}}, net);
  }
  return cases;
}

// Windows checking in, editing, marking, deleting and merging at random through commit, as
// operators do; the watcher hears every revision late, twice, out of order, or spoiled.
std::vector<Case> randomCases() {
  const char* calls[] = {"W1AW", "w1aw", "K2DEF", " K2DEF", "N3XYZ", "VE3ABC", "", "G4ZZZ"};
  std::vector<Case> cases;
  for (unsigned seed = 1; seed <= 24; ++seed) {
    std::mt19937 rng(seed);
    std::vector<Replica> windows;
    for (char c : {'a', 'b', 'c'}) windows.emplace_back(win(c));
    std::vector<Line> made;
    for (int op = 0; op < 30; ++op) {
      Replica& r = windows[rng() % windows.size()];
      for (const Line& l : made)  // what this window has heard so far
        if (rng() % 3) r.merge(l);
      std::vector<Row> rows;
      for (const Line& l : r.list()) rows.push_back({l.id, l});
      const unsigned what = rng() % 8;
      if (what < 2 || rows.empty()) {
        Line& l = rows.emplace_back().content;
        l.call = calls[rng() % std::size(calls)];
        l.name = "Op " + std::to_string(rng() % 100);
        l.time = rng() % 6 ? "2026-12-07T19:0" + std::to_string(rng() % 4) + ":00Z" : "";
      } else {
        Row& row = rows[rng() % rows.size()];
        if (what == 2) rows.erase(rows.begin() + (&row - rows.data()));
        if (what == 3) row.content.ack = !row.content.ack;
        if (what == 4) row.content.com = !row.content.com, row.content.inOut = rng() % 2;
        if (what == 5) row.content.qth = "QTH " + std::to_string(rng() % 10);
        CheckInFacts& f = row.content.facts;
        if (what == 6) {
          f.count = static_cast<int>(rng() % 3), f.precedence = f.count ? "EPWR"[rng() % 4] : 0;
          f.dest = rng() % 2 ? "Boston" : "", f.passedTo = rng() % 3 ? "" : "W2XYZ";
        }
        if (what == 7) {
          std::string* text[] = {&f.tactical, &f.relay, &f.remark};
          *text[rng() % 3] = rng() % 3 ? "T" + std::to_string(rng() % 5) : "";
        }
      }
      for (Line& l : commit(r, rows)) made.push_back(std::move(l));
    }
    std::vector<Message> all;
    for (const Line& l : made) {
      all.push_back(sent(l));
      if (rng() % 4 == 0) all.push_back(sent(l));  // twice
      if (rng() % 8 == 0) {                        // spoiled on the way: one byte changed
        Message m = sent(l);
        m.payload[rng() % m.payload.size()] = "x0\"}: \\9"[rng() % 8];
        all.push_back(m);
      }
    }
    std::shuffle(all.begin(), all.end(), rng);
    Case c{"random " + std::to_string(seed), kNet, {}};
    const size_t cut = rng() % all.size();
    c.steps.push_back({all.begin(), all.begin() + cut});
    c.steps.push_back({all.begin() + cut, all.end()});
    cases.push_back(std::move(c));
  }
  return cases;
}

TEST(ListenersPageCorpus, IsWhatTheWindowsMakeOfEachSequence) {
  std::vector<Case> cases = namedCases();
  for (Case& c : randomCases()) cases.push_back(std::move(c));
  const std::string text = corpusText(cases);
  if (const char* write = std::getenv("KELPIE_WRITE_GOLDEN"); write && std::string(write) == "1") {
    std::ofstream(std::string(KELPIE_SOURCE_DIR) + "/tests/golden/share/corpus.json",
                  std::ios::binary)
        << text;
    GTEST_SKIP() << "corpus written";
  }
  EXPECT_TRUE(text == test::golden("share/corpus.json"))
      << "the corpus changed: KELPIE_WRITE_GOLDEN=1 writes it; check the diff and web/";
}

}  // namespace
}  // namespace kelpie::share
