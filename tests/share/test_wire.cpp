// Shared-net messages, topics, journal: exact forms, and each kind of untrusted message dropped.
#include <gtest/gtest.h>

#include "share/cp1252.h"
#include "share/journal.h"
#include "share/replica.h"
#include "share/wire.h"
#include "support/fake_platform.h"

namespace kelpie::share {
namespace {

#define A32 "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"
#define B32 "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb"
const std::string kA = A32, kB = B32;
const std::string kSample =
    "{\"ack\":false,\"by\":\"" B32
    "\",\"call\":\"W1AW\",\"com\":true,\"deleted\":false,\"first\":"
    "\"  First time check-in\",\"grid\":\"FN31\",\"id\":\"" A32
    ".7\",\"inOut\":false,\"into\":\"\","
    "\"latest\":\"12/7/2026\",\"name\":\"Jos\xC3\xA9 \xE2\x82\xAC\",\"qth\":\"Ath\",\"rev\":3,"
    "\"seq\":7,\"time\":\"2026-12-07T10:05:09Z\",\"v\":1,\"window\":\"" A32 "\"}";

Line sample() { return decode(kSample).value_or(Line{}); }

TEST(SharedWire, LinesPresenceAndTopicsInTheirExactForm) {
  EXPECT_EQ(encode(sample()), kSample);
  EXPECT_EQ(sample().time + sample().id + sample().call + sample().name,
            "2026-12-07T10:05:09Z" + kA + ".7W1AWJos\xE9 \x80");
  const std::string who =
      "{\"online\":true,\"op\":\"K2D\xC3\x89\",\"v\":1,\"window\":\"" + kA + "\"}";
  EXPECT_EQ(encodePresence({kA, "K2D\xC9", true}), who);
  EXPECT_EQ(decodePresence(who)->op, "K2D\xC9");
  EXPECT_FALSE(decodePresence(std::string(who).replace(47, 1, "A")));
  EXPECT_FALSE(decodePresence(std::string(who).replace(20, 0, std::string(17, 'K'))));
  EXPECT_EQ(netTopic("2 m W1NC/R #1+%\x01\xE9"), "kelpie/1/2 m W1NC%2FR %231%2B%25%01\xC3\xA9");
  EXPECT_EQ(netTopic("") + lineTopic("n", "x.1") + presenceTopic("n", "w") + lineFilter("n"),
            "kelpie/1/%kelpie/1/n/line/x.1kelpie/1/n/who/wkelpie/1/n/line/+");
  EXPECT_TRUE(decodeLineAt("n", lineTopic("n", kA + ".7"), kSample));
  EXPECT_FALSE(decodeLineAt("n", lineTopic("n", kA + ".8"), kSample));
  EXPECT_TRUE(decodePresenceAt("n", presenceFilter("n").replace(15, 1, kA), who));
  EXPECT_FALSE(decodePresenceAt("n", presenceTopic("m", kA), who));
  const char* utf8 = "\xE2\x82\xAC\xC5\xB8\xC2\x81\x7F\xC2\xA0\xC2\xBF\xC3\x80\xC3\xBF";
  EXPECT_EQ(cp1252FromUtf8(utf8), "\x80\x9F\x81\x7F\xA0\xBF\xC0\xFF");
  EXPECT_EQ(utf8From1252("\x80\x9F\x81\x7F\xA0\xBF\xC0\xFF"), utf8);
  for (const char* bad : {"\x80", "\xC0\x81", "\xE0\x80\x81", "\xC3", "\xA9", "\xF0\x9F\x98\x80",
                          "\xC2\x9F", "\xC3\x7F", "\xC2\xC0", "\xE2\x82"})
    EXPECT_FALSE(cp1252FromUtf8(bad)) << bad;
  const std::string id = newWindowId();
  EXPECT_TRUE(isWindowId(id) && id != newWindowId()) << id;
}

std::string e9s(size_t n) { return n ? "\xC3\xA9" + e9s(n - 1) : ""; }  // é: 2 bytes, 1 logged

TEST(SharedWire, AMessageIsTakenOnlyWhenExactlyValid) {
  // clang-format off
  // kSample with every `from` made `to`; ok: still a message to take.
  const struct { const char* name; std::string from, to; bool ok; } rows[] = {
      {"too big", "}", std::string(kMaxMessage - kSample.size() + 1, ' ') + "}", false},
      {"just not too big", "}", std::string(kMaxMessage - kSample.size(), ' ') + "}", true},
      {"bad version", "\"v\":1", "\"v\":2", false}, {"v 1.0", "\"v\":1", "\"v\":1.0", false},
      {"missing field", "\"ack\":false,", "", false}, {"renamed", "\"qth\":", "\"qtx\":", false},
      {"repeated field", "\"ack\":false,", "\"ack\":false,\"ack\":true,", false},
      {"a number", "\"com\":true", "\"com\":1", false}, {"rev 0", "\"rev\":3", "\"rev\":0", false},
      {"rev 1", "\"rev\":3", "\"rev\":1", true}, {"top", "\"rev\":3", "\"rev\":4294967295", true},
      {"revision too high", "\"rev\":3", "\"rev\":4294967296", false},
      {"control character", "Ath", "A\\rh", false}, {"undefined byte", "Ath", "A\\u0081h", false},
      {"escaped characters the log stores", "Ath", "\\u20ac\\u0178", true},
      {"callsign too long", "W1AW", std::string(kMaxCall + 1, 'W'), false},
      {"longest callsign", "W1AW", std::string(kMaxCall, 'W'), true},
      {"name too long", "Ath", std::string(kMaxText + 1, 'A'), false},
      {"longest name, counted in the log's bytes", "Ath", e9s(kMaxText), true},
      {"id not window.seq", "\"seq\":7", "\"seq\":8", false}, {"window not an id", kA, "w1", false},
      {"by in capitals", "\"by\":\"bb", "\"by\":\"Bb", false},
      {"merged into a line", "\"into\":\"\"", "\"into\":\"" + kB + ".12\"", true},
      {"merged into no number", "\"into\":\"\"", "\"into\":\"" + kA + ".\"", false},
      {"merged into no line id", "\"into\":\"\"", "\"into\":\"" + kA + ".07\"", false},
      {"no such day", "2026-12-07T", "2026-02-30T", false}, {"not UTF-8", "Ath", "A\xE9h", false},
      {"no time", "2026-12-07T10:05:09Z", "", true}, {"not an object", kSample, "[1]", false}};
  // clang-format on
  for (const auto& [name, from, to, ok] : rows) {
    std::string payload = kSample;
    ASSERT_NE(payload.find(from), std::string::npos) << name;
    for (size_t at = 0; (at = payload.find(from, at)) != std::string::npos; at += to.size())
      payload.replace(at, from.size(), to);
    EXPECT_EQ(decode(payload).has_value(), ok) << name << ": " << payload;
  }
}

// A line with facts goes out as version 2, with the twelve keys of its facts after the others.
Line sample2() {
  Line l = sample();
  l.facts = {2,  'P', "Boston",  "2026-12-07T10:06:00Z",
             "", "",  "EOC",     "2026-12-07T10:07:00Z",
             "", "",  "Caf\xE9", ""};
  return l;
}

TEST(SharedWire, FactsTravelAsVersionTwoAndAreTakenOnlyWhenExactlyValid) {
  const std::string v2 = encode(sample2());
  EXPECT_EQ(v2.substr(v2.find("\"count\"")),
            "\"count\":2,\"deleted\":false,\"dest\":\"Boston\",\"first\":\"  First time "
            "check-in\",\"grid\":\"FN31\",\"id\":\"" A32
            ".7\",\"inOut\":false,\"into\":\"\","
            "\"latest\":\"12/7/2026\",\"listedAt\":\"2026-12-07T10:06:00Z\",\"name\":\"Jos\xC3"
            "\xA9 \xE2\x82\xAC\",\"passedAt\":\"\",\"passedTo\":\"\",\"prec\":\"P\",\"qth\":"
            "\"Ath\",\"relay\":\"\",\"relayAt\":\"\",\"remark\":\"Caf\xC3\xA9\",\"remarkAt\":"
            "\"\",\"rev\":3,\"seq\":7,\"tactical\":\"EOC\",\"tacticalAt\":\"2026-12-07T10:07:00Z\","
            "\"time\":\"2026-12-07T10:05:09Z\",\"v\":2,\"window\":\"" A32 "\"}");
  EXPECT_EQ(decode(v2).value_or(Line{}).facts, sample2().facts);
  // clang-format off
  const struct { const char* name; std::string from, to; bool ok, newer; } rows[] = {
      {"as it is", "", "", true, false},
      {"count 99", "\"count\":2", "\"count\":99", true, false},
      {"count 100", "\"count\":2", "\"count\":100", false, false},
      {"count negative", "\"count\":2", "\"count\":-1", false, false},
      {"no precedence", "\"prec\":\"P\"", "\"prec\":\"\"", false, false},
      {"no such precedence", "\"prec\":\"P\"", "\"prec\":\"X\"", false, false},
      {"two precedences", "\"prec\":\"P\"", "\"prec\":\"PE\"", false, false},
      {"precedence without traffic", "\"count\":2", "\"count\":0", false, false},
      {"longest remark", "Caf\xC3\xA9", std::string(kMaxRemark, 'r'), true, false},
      {"remark too long", "Caf\xC3\xA9", std::string(kMaxRemark + 1, 'r'), false, false},
      {"longest destination", "Boston", std::string(kMaxFactText, 'b'), true, false},
      {"destination too long", "Boston", std::string(kMaxFactText + 1, 'b'), false, false},
      {"control character", "Boston", "Bos\\tton", false, false},
      {"no such time", "10:06:00Z", "10:66:00Z", false, false},
      {"missing fact", "\"relay\":\"\",", "", false, false},
      {"version 1 with facts", "\"v\":2", "\"v\":1", false, false},
      {"a newer Kelpie", "\"v\":2", "\"v\":3", false, true},
      {"a newer Kelpie, another form", "\"count\":2,", "\"v\":7,", false, true}};
  // clang-format on
  for (const auto& [name, from, to, ok, newer] : rows) {
    std::string payload = v2;
    if (!from.empty()) payload.replace(payload.find(from), from.size(), to);
    if (std::string(name) == "a newer Kelpie, another form")
      payload.erase(payload.find(",\"v\":2"), 6);
    bool isNewer = false;
    EXPECT_EQ(decode(payload, &isNewer).has_value(), ok) << name << ": " << payload;
    EXPECT_EQ(isNewer, newer) << name;
  }
  Line bare = sample();  // version 2 with no fact in it is no line of either version
  bare.facts.remark = "x";
  std::string none = encode(bare);
  EXPECT_FALSE(decode(none.replace(none.find("\"remark\":\"x\""), 12, "\"remark\":\"\"")));
  Line dirty = sample2();  // a window's own text is made fit before it goes out
  dirty.facts.remark = std::string(70, 'r') + "\t";
  dirty.facts.count = 120, dirty.facts.precedence = 'Q';
  cleanText(dirty);
  EXPECT_TRUE(decode(encode(dirty)));
  EXPECT_EQ(std::to_string(dirty.facts.count) + dirty.facts.precedence +
                std::to_string(dirty.facts.remark.size()),
            "99R60");
}

TEST(SharedJournal, AppendsWholeRecordsPastATornOne) {
  test::TempFolder dir;
  EXPECT_EQ(journalPathFor(dir / "120726F.ILE"), dir / "120726F.SHR");
  ASSERT_TRUE(writeBytesAtomic(dir / "120726f.shr", "{\"ack\":tr"));  // a crash mid-record
  const fs::path path = journalPathFor(dir / "120726F.ILE");
  EXPECT_TRUE(appendJournal(path, {sample()}) && appendJournal(path, {}) &&
              appendJournal(path, {sample()}));
  std::string bytes, why;
  EXPECT_TRUE(readBytes(path, bytes) && path == dir / "120726f.shr");
  EXPECT_EQ(bytes, "{\"ack\":tr\r\n" + kSample + "\r\n" + kSample + "\r\n");
  EXPECT_FALSE(appendJournal(dir / "none" / "x.SHR", {sample()}, &why));
  EXPECT_EQ(why, "No such file or directory");
  EXPECT_FALSE(appendJournal("/dev/full", {sample()}, &why));
  EXPECT_EQ(why, "No space left on device");
}

TEST(SharedReplica, AMergeOnlyIntoAnEarlierLineHides) {
  Replica r(kA);
  Line x = sample(), y = sample();  // y after x by net order
  y.id = kA + ".8", y.seq = 8, y.call = "K2DEF", x.into = x.id;
  EXPECT_TRUE(r.merge(x) && r.merge(y) && !r.merge(y) && r.list().size() == 2u);
  x.into = y.id, ++x.rev, y.into = x.id, ++y.rev;
  EXPECT_TRUE(r.merge(x) && r.list().size() == 2u);
  EXPECT_TRUE(r.merge(y) && r.list().size() == 1u);
}

TEST(SharedCommit, CleansTheTextOfARowAndAddsARowWithAnUnknownId) {
  Replica r(kA);
  std::vector<Row> rows{{"", {}}, {kB + ".1", {}}};
  rows[0].content.call = "W1AW\t" + std::string(20, 'X');
  rows[0].content.name = "A\r\n\x81" + std::string(90, 'n');
  const std::vector<Line> made = commit(r, rows);
  ASSERT_EQ(made.size(), 2u);
  EXPECT_EQ(made[0].call + "|" + made[0].name,
            "W1AW " + std::string(15, 'X') + "|A   " + std::string(76, 'n'));
  EXPECT_EQ(rows[0].id + rows[1].id + made[1].id, kA + ".1" + kA + ".2" + kA + ".2");
}

}  // namespace
}  // namespace kelpie::share
