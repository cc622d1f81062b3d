#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "data/checkin_log.h"
#include "data/quoted.h"
#include "data/roster.h"
#include "data/text.h"
#include "geo/adif.h"
#include "support/fake_platform.h"

namespace kelpie {
namespace {

TEST(TextFiles, LinesSplitOnCrLfLfAndCr) {
  EXPECT_EQ(splitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(splitLines("a\r\n\r\n"), (Lines{"a", ""}));
  EXPECT_EQ(splitLines(""), Lines{});
  EXPECT_EQ(splitLines("x\r\r\n"), (Lines{"x", ""}));
}

TEST(TextFiles, AtomicWriteReplacesWholeAndLeavesNoTemporary) {
  test::TempFolder t;
  const auto p = t / "NETCONT.ROL";
  ASSERT_TRUE(writeLinesAtomic(p, {"one", "", "\xB0"}));
  std::string bytes;
  ASSERT_TRUE(readBytes(p, bytes));
  EXPECT_EQ(bytes, "one\r\n\r\n\xB0\r\n");
  ASSERT_TRUE(writeLinesAtomic(p, {}));
  ASSERT_TRUE(readBytes(p, bytes));
  EXPECT_EQ(bytes, "");
  int files = 0;
  for (const auto& e : fs::directory_iterator(t.path())) files += e.is_regular_file();
  EXPECT_EQ(files, 1);
}

TEST(TextFiles, FilesAreFoundInAnyLetterCase) {
  test::TempFolder t;
  writeLinesAtomic(t / "netcont.rol", {"x"});
  EXPECT_EQ(findFileCI(t.path(), "NETCONT.ROL").filename(), "netcont.rol");
  EXPECT_EQ(findFileCI(t.path(), "BURROW.DAT").filename(), "BURROW.DAT");
  writeLinesAtomic(t / "b.ILE", {});
  writeLinesAtomic(t / "A.ile", {});
  writeLinesAtomic(t / "c.Ile", {});
  writeLinesAtomic(t / "d.txt", {});
  EXPECT_EQ(listFilesCI(t.path(), ".ile"), (std::vector<std::string>{"A.ile", "b.ILE", "c.Ile"}));
}

TEST(TextFiles, UpperCaseKnowsWindows1252Letters) {
  EXPECT_EQ(upper1252("k1abc/p \xE9\xF6\xFF\x9A\xF7"), "K1ABC/P \xC9\xD6\x9F\x8A\xF7");
  EXPECT_EQ(lower1252("ABC\xC9"), "abc\xE9");
}

TEST(TextFiles, DatesAndLogNames) {
  EXPECT_EQ(dateText({2026, 12, 6}), "12/6/2026");
  EXPECT_EQ(dateText({2027, 1, 15}), "1/15/2027");
  EXPECT_EQ(logFileName({2026, 12, 5}), "120526F.ILE");
  EXPECT_EQ(logFileName({2009, 3, 7}), "030709F.ILE");
}

struct NumRow {
  const char* name;
  const char* text;
  bool numeric;
  double value;
};
class Numbers : public ::testing::TestWithParam<NumRow> {};
TEST_P(Numbers, FollowTheEntryLineRules) {
  EXPECT_EQ(isNumeric(GetParam().text), GetParam().numeric);
  if (GetParam().numeric) {
    EXPECT_DOUBLE_EQ(roundHalfEven(numericValue(GetParam().text)), GetParam().value);
  }
}
INSTANTIATE_TEST_SUITE_P(
    Rows, Numbers,
    ::testing::Values(NumRow{"Digit", "5", true, 5}, NumRow{"ThreeDigits", "105", true, 105},
                      NumRow{"HalfToEven", "2.5", true, 2}, NumRow{"HalfToEvenUp", "1.5", true, 2},
                      NumRow{"Signed", "-3", true, -3}, NumRow{"Empty", "", false, 0},
                      NumRow{"Letter", "L", false, 0}, NumRow{"Call", "1AB", false, 0},
                      NumRow{"Dot", ".", false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(QuotedForm, ValuesFollowTheCommaRules) {
  EXPECT_EQ(quotedValues({"\"K1ABC\",\"Bob, Jr\",\"FN20\"", "  W2X , Al ,\"say \"\"hi\"\"\""}),
            (std::vector<std::string>{"K1ABC", "Bob, Jr", "FN20", "W2X", "Al", "say \"hi\""}));
  EXPECT_EQ(quotedValues({"\"A\"", "\"B\",", ""}), (std::vector<std::string>{"A", "B", ""}));
}

TEST(QuotedForm, FileTestSetsYesAndNeverNo) {
  test::TempFolder t;
  writeLinesAtomic(t / "q.dat", {"plain", "\"quoted\""});
  writeLinesAtomic(t / "p.dat", {"plain", " \"late\""});
  bool flag = false;
  checkFileFormat(t / "q.dat", flag);
  EXPECT_TRUE(flag);
  checkFileFormat(t / "p.dat", flag);
  EXPECT_TRUE(flag);  // never set back to no
  flag = false;
  checkFileFormat(t / "p.dat", flag);
  EXPECT_FALSE(flag);
  checkQuotedFormat(t / "missing.dat", flag);
  EXPECT_FALSE(flag);
}

TEST(RosterFile, BlankLinesAfterLastRecordAreIgnored) {
  Lines lines{"222 MHz",
              "W1NC",
              "1/2/2020",
              "initial check-in date",
              "last check-in date",
              "old call sign",
              "K1ABC",
              "Bob",
              "FN20",
              "1/1/2021",
              "2/2/2022",
              "-",
              "",
              ""};
  const RosterParse p = parseRoster(lines);
  EXPECT_FALSE(p.incomplete);
  ASSERT_EQ(p.roster.count(), 2);
  EXPECT_EQ(p.roster.row(2).lastCheckInDate, "2/2/2022");
  EXPECT_EQ(rosterLines(p.roster), Lines(lines.begin(), lines.end() - 2));
}

TEST(RosterFile, CutInsideARecordKeepsTheWholeRecords) {
  const RosterParse p = parseRoster({"b", "c", "d", "x", "y", "z", "K1ABC", "Bob", "FN20"});
  EXPECT_TRUE(p.incomplete);
  EXPECT_EQ(p.roster.count(), 1);
  // An empty last field is a field, not a blank line after the file.
  const RosterParse q = parseRoster({"b", "c", "d", "x", "y", ""});
  EXPECT_FALSE(q.incomplete);
  EXPECT_EQ(q.roster.count(), 1);
}

TEST(CheckInLog, BothFormsGiveTheSameRecords) {
  const LogRead lineForm = parseLog({"K1ABC", "BOB", "FN20  50\xB0", "W2XY", "", "NYC"}, false);
  const LogRead quoted =
      parseLog({"\"K1ABC\",\"BOB\",\"FN20  50\xB0\"", "\"W2XY\",\"\",\"NYC\""}, true);
  ASSERT_EQ(lineForm.records.size(), 2u);
  ASSERT_EQ(quoted.records.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(lineForm.records[i].callSign, quoted.records[i].callSign);
    EXPECT_EQ(lineForm.records[i].name, quoted.records[i].name);
    EXPECT_EQ(lineForm.records[i].qth, quoted.records[i].qth);
  }
  const LogRead cut = parseLog({"K1ABC", "BOB", "X", "W2XY"}, false);
  EXPECT_TRUE(cut.cutShort);
  ASSERT_EQ(cut.records.size(), 2u);
  EXPECT_EQ(cut.records[1].callSign, "W2XY");
}

}  // namespace
}  // namespace kelpie

namespace kelpie {
namespace {

TEST(TextFiles, StaleTemporariesOfDataFilesGoAndOthersStay) {
  test::TempFolder t;
  for (const char* n : {".NETCONT.ROL.a1B2c3", ".120526F.ILE.Zz9x8Y", ".Kelpie_Control.ini.000000",
                        ".notes.doc.abcdef", "NETCONT.ROL", ".hidden"})
    writeLinesAtomic(t / n, {"x"});
  removeStaleTemporaries(t.path());
  std::vector<std::string> left;
  for (const auto& e : fs::directory_iterator(t.path())) left.push_back(e.path().filename());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{".hidden", ".notes.doc.abcdef", "NETCONT.ROL"}));
}

TEST(TextFiles, AFifoUnderADataFileNameIsRefusedNotWaitedFor) {
  test::TempFolder t;
  ASSERT_EQ(::mkfifo((t / "BURROW.DAT").c_str(), 0644), 0);
  std::string bytes, error;
  EXPECT_FALSE(readBytes(t / "BURROW.DAT", bytes, &error));
  EXPECT_EQ(error, "not a regular file");
}

}  // namespace
}  // namespace kelpie


namespace kelpie {
namespace {

TEST(TextFiles, AFifoUnderTheAdifNameGivesNoGrid) {
  test::TempFolder t;
  ASSERT_EQ(::mkfifo((t / "vhf4k.adi").c_str(), 0644), 0);
  EXPECT_FALSE(getADIFGrid(t / "vhf4k.adi", "K1ABC", "FN20XA", "Miles").found);
}

}  // namespace
}  // namespace kelpie
