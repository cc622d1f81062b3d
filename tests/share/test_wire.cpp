// Shared-net messages, topics, journal: exact forms. Each kind of untrusted message dropped is in
// the listeners' page corpus (test_corpus.cpp), compared byte for byte.
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

// The exact bytes of version 1 and 2 lines, and what is made of them, are in the corpus too.
TEST(SharedWire, AWindowsOwnFactsAreMadeFitBeforeTheyGoOut) {
  Line dirty = sample();
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
