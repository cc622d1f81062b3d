// The shared net's messages, topics and journal: exact forms, and every kind of message from
// an untrusted broker that must be dropped.
#include <gtest/gtest.h>

#include "share/cp1252.h"
#include "share/wire.h"
#include "share_net.h"
#include "support/fake_platform.h"

namespace kelpie::share::test {
namespace {

Line sample() {
  Line l = checkIn("2026-12-07T10:05:09Z", "W1AW");
  l.window = windowId(0), l.seq = 7, l.id = l.window + ".7", l.rev = 3, l.by = windowId(1);
  l.name = "Jos\xE9 \x80", l.qth = "Ath", l.first = "  First time check-in";
  l.latest = "12/7/2026", l.grid = "FN31", l.com = true;
  return l;
}

const std::string kA(32, 'a'), kB(32, 'b');
const std::string kSample =
    "{\"ack\":false,\"by\":\"" + kB +
    "\",\"call\":\"W1AW\",\"com\":true,\"deleted\":false,"
    "\"first\":\"  First time check-in\",\"grid\":\"FN31\",\"id\":\"" +
    kA +
    ".7\",\"inOut\":"
    "false,\"into\":\"\",\"latest\":\"12/7/2026\",\"name\":\"Jos\xC3\xA9 \xE2\x82\xAC\",\"qth\":"
    "\"Ath\",\"rev\":3,\"seq\":7,\"time\":\"2026-12-07T10:05:09Z\",\"v\":1,\"window\":\"" +
    kA + "\"}";

TEST(SharedWire, LinesPresenceAndTopicsInTheirExactForm) {
  EXPECT_EQ(encode(sample()), kSample);
  const std::optional<Line> back = decode(kSample);
  ASSERT_TRUE(back);
  EXPECT_EQ(encode(*back), kSample);
  EXPECT_EQ(back->name, "Jos\xE9 \x80");
  const std::string who =
      "{\"online\":true,\"op\":\"K2D\xC3\x89\",\"v\":1,\"window\":\"" + kA + "\"}";
  EXPECT_EQ(encodePresence({kA, "K2D\xC9", true}), who);
  EXPECT_EQ(decodePresence(who)->op, "K2D\xC9");
  for (const std::string& bad :
       {std::string(who).replace(47, 1, "A"), "{\"online\":true,\"op\":\"" + std::string(21, 'K') +
                                                  "\",\"v\":1,\"window\":\"" + kA + "\"}"})
    EXPECT_FALSE(decodePresence(bad)) << bad;
  EXPECT_EQ(netTopic("2 m W1NC/R #1+%\x01\xE9"), "kelpie/1/2 m W1NC%2FR %231%2B%25%01\xC3\xA9");
  EXPECT_EQ(netTopic("") + lineTopic("n", "x.1") + presenceTopic("n", "w") + lineFilter("n"),
            "kelpie/1/%kelpie/1/n/line/x.1kelpie/1/n/who/wkelpie/1/n/line/+");
  EXPECT_TRUE(decodeLineAt("n", lineTopic("n", kA + ".7"), kSample));
  EXPECT_FALSE(decodeLineAt("n", lineTopic("n", kA + ".8"), kSample));
  EXPECT_TRUE(decodePresenceAt("n", presenceTopic("n", kA), who));
  EXPECT_FALSE(decodePresenceAt("n", presenceTopic("m", kA), who));
  const std::string id = newWindowId();
  EXPECT_TRUE(isWindowId(id)) << id;
  EXPECT_NE(id, newWindowId());
}

struct Reject {
  const char* name;
  std::string from, to;  // kSample with every `from` made `to`
};

const Reject kRejects[] = {
    {"too big", "}", std::string(kMaxMessage - kSample.size() + 1, ' ') + "}"},
    {"bad version", "\"v\":1", "\"v\":2"},
    {"version of another type", "\"v\":1", "\"v\":1.0"},
    {"missing field", "\"ack\":false,", ""},
    {"extra field", "\"ack\":false,", "\"ack\":false,\"x\":0,"},
    {"repeated field", "\"ack\":false,", "\"ack\":false,\"ack\":true,"},
    {"wrong type", "\"com\":true", "\"com\":1"},
    {"wrong type of a count", "\"rev\":3", "\"rev\":\"3\""},
    {"revision 0", "\"rev\":3", "\"rev\":0"},
    {"carriage return", "Ath", "A\\rh"},
    {"line feed", "Ath", "A\\nh"},
    {"NUL", "Ath", "A\\u0000h"},
    {"tab", "Ath", "A\\th"},
    {"undefined code page byte", "Ath", "A\\u0081h"},
    {"callsign too long", "W1AW", "W1AW" + std::string(17, 'X')},
    {"name too long", "Ath", std::string(81, 'A')},
    {"id not window and seq", "\"seq\":7", "\"seq\":8"},
    {"window not an identity", kA, "w1"},
    {"by in capitals", "\"by\":\"bb", "\"by\":\"Bb"},
    {"by too short", "\"by\":\"b", "\"by\":\""},
    {"bad merge target", "\"into\":\"\"", "\"into\":\"" + kA + ".07\""},
    {"no such day", "2026-12-07T", "2026-02-30T"},
    {"hour 24", "T10:05", "T24:05"},
    {"time not in form", "T10:05:09Z", "T10:05:09"},
    {"not UTF-8", "Ath", "A\xE9h"},
    {"not storable", "Ath", "A\xCE\xA9h"},
    {"not an object", kSample, "[1]"},
};

class RejectedMessage : public ::testing::TestWithParam<Reject> {};

TEST_P(RejectedMessage, IsDropped) {
  std::string payload = kSample;
  const auto& [name, from, to] = GetParam();
  ASSERT_NE(payload.find(from), std::string::npos) << name;
  for (size_t at = 0; (at = payload.find(from, at)) != std::string::npos; at += to.size())
    payload.replace(at, from.size(), to);
  EXPECT_FALSE(decode(payload)) << payload;
}

INSTANTIATE_TEST_SUITE_P(SharedWire, RejectedMessage, ::testing::ValuesIn(kRejects),
                         [](const auto& info) { return "Row" + std::to_string(info.index); });

TEST(SharedWire, JustWithinTheLimitsDecodes) {
  for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
           {"}", std::string(kMaxMessage - kSample.size(), ' ') + "}"},
           {"W1AW", std::string(kMaxCall, 'W')},
           {"Ath", std::string(kMaxText / 2, 'A') +
                       [] {
                         std::string s;
                         for (size_t i = 0; i < kMaxText / 2; ++i) s += "\xC3\xA9";
                         return s;
                       }()},
           {"2026-12-07T10:05:09Z", "2028-02-29T23:59:59Z"},
           {"\"into\":\"\"", "\"into\":\"" + kB + ".12\""},
           {"Ath", "\\u20ac\\u0178"}}) {
    std::string payload = kSample;
    EXPECT_TRUE(decode(payload.replace(payload.find(from), from.size(), to))) << payload;
  }
  EXPECT_EQ(cp1252FromUtf8("\xE2\x82\xAC\xC5\xB8 \xC3\xBF"), "\x80\x9F \xFF");
  for (const char* bad : {"\xC0\x81", "\xE0\x80\x81", "\xC3", "\xA9", "\xF0\x9F\x98\x80"})
    EXPECT_FALSE(cp1252FromUtf8(bad)) << bad;
}

TEST(SharedJournal, AppendsWholeRecordsAndReadsBackPastATornOne) {
  kelpie::test::TempFolder dir;
  EXPECT_EQ(journalPathFor(dir / "120726F.ILE"), dir / "120726F.SHR");
  ASSERT_TRUE(writeBytesAtomic(dir / "120726f.shr", "{\"ack\":tr"));  // a crash mid-record
  const fs::path path = journalPathFor(dir / "120726F.ILE");
  EXPECT_EQ(path, dir / "120726f.shr");
  Line a = sample(), b = sample();
  b.rev = 4, b.deleted = true;
  EXPECT_TRUE(appendJournal(path, {a, b}));
  EXPECT_TRUE(appendJournal(path, {}));
  EXPECT_TRUE(appendJournal(path, {a}));
  std::string bytes;
  ASSERT_TRUE(readBytes(path, bytes));
  EXPECT_EQ(bytes, "{\"ack\":tr\r\n" + kSample + "\r\n" + encode(b) + "\r\n" + kSample + "\r\n");
  const std::vector<Line> read = readJournal(path);
  ASSERT_EQ(read.size(), 3u);
  EXPECT_EQ(encode(read[0]) + encode(read[1]) + encode(read[2]), kSample + encode(b) + kSample);
  std::string why;
  EXPECT_FALSE(appendJournal(dir / "none" / "x.SHR", {a}, &why));
  EXPECT_EQ(why, "No such file or directory");
  EXPECT_TRUE(readJournal(dir / "none.SHR").empty());
}

TEST(SharedCommit, CleansTheTextOfARowAndAddsARowWithAnUnknownId) {
  Replica r(kA);
  std::vector<Row> rows{{"", checkIn("", "W1AW\t" + std::string(20, 'X'))},
                        {kB + ".1", checkIn("", "K2DEF")}};
  rows[0].content.name = "A\r\n\x81" + std::string(90, 'n');
  const std::vector<Line> made = commit(r, rows);
  ASSERT_EQ(made.size(), 2u);
  EXPECT_EQ(made[0].call, "W1AW " + std::string(15, 'X'));
  EXPECT_EQ(made[0].name, "A   " + std::string(76, 'n'));
  EXPECT_EQ(rows[0].id + rows[1].id + made[1].id, kA + ".1" + kA + ".2" + kA + ".2");
  EXPECT_TRUE(decode(encode(made[0])));
  EXPECT_TRUE(commit(r, rows).empty());
}

}  // namespace
}  // namespace kelpie::share::test
