// The stored-data formats and the text helpers under them.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "data/checkin_log.h"
#include "data/quoted.h"
#include "data/roster.h"
#include "data/settings.h"
#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

const Lines kHeader{
    "222 MHz", "W1NC", "1/2/2020", "initial check-in date", "last check-in date", "old call sign"};

std::vector<std::string> listing(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(TextFiles, LinesCaseDatesAndNames) {
  EXPECT_EQ(splitLines("a\r\nb\nc\rd\r\n\r\n"), (Lines{"a", "b", "c", "d", ""}));
  EXPECT_EQ(splitLines("x\r\r\n"), (Lines{"x", ""}));
  EXPECT_EQ(upper1252("k1abc/p \xE9\xF6\xFF\x9A\xF7"), "K1ABC/P \xC9\xD6\x9F\x8A\xF7");
  EXPECT_EQ(lower1252("ABC\xC9"), "abc\xE9");
  EXPECT_EQ(trimSpaces("  a b  "), "a b");
  EXPECT_EQ(dateText({2027, 1, 15}), "1/15/2027");
  EXPECT_EQ(logFileName({2009, 3, 7}), "030709F.ILE");
}

TEST(TextFiles, NumbersFollowTheEntryLineRules) {
  const std::pair<const char*, double> numbers[] = {
      {"5", 5}, {"105", 105}, {"2.5", 2}, {"1.5", 2}, {"1.0", 1}, {"-3", -3}, {" 7 ", 7}};
  for (const auto& [text, value] : numbers) {
    EXPECT_TRUE(isNumeric(text)) << text;
    EXPECT_EQ(roundHalfEven(numericValue(text)), value) << text;
  }
  for (const char* text : {"", "L", "1AB", ".", "-", "1e"}) EXPECT_FALSE(isNumeric(text)) << text;
}

TEST(TextFiles, WritesAreWholeFoundInAnyCaseAndTemporariesCleared) {
  TempFolder t;
  ASSERT_TRUE(writeLinesAtomic(t / "netcont.rol", {"one", "", "\xB0"}));
  std::string bytes;
  ASSERT_TRUE(readBytes(t / "netcont.rol", bytes));
  EXPECT_EQ(bytes, "one\r\n\r\n\xB0\r\n");
  EXPECT_EQ(findFileCI(t.path(), "NETCONT.ROL").filename(), "netcont.rol");
  EXPECT_EQ(findFileCI(t.path(), "BURROW.DAT").filename(), "BURROW.DAT");
  for (const char* n : {"b.ILE", "A.ile", "c.Ile", "d.txt", "ile", ".NETCONT.ROL.a1B2c3",
                        ".120526F.ILE.Zz9x8Y", ".notes.doc.abcdef"})
    writeLinesAtomic(t / n, {});
  EXPECT_EQ(listFilesCI(t.path(), ".ile"), (std::vector<std::string>{"A.ile", "b.ILE", "c.Ile"}));
  removeStaleTemporaries(t.path());
  EXPECT_EQ(listing(t.path()), (std::vector<std::string>{".notes.doc.abcdef", "A.ile", "b.ILE",
                                                         "c.Ile", "d.txt", "ile", "netcont.rol"}));
}

// A FIFO under a data file's name would block every reader for good.
TEST(TextFiles, AFifoIsRefusedNotWaitedFor) {
  TempFolder t;
  ASSERT_EQ(::mkfifo((t / "vhf4k.adi").c_str(), 0644), 0);
  std::string bytes, error;
  EXPECT_FALSE(readBytes(t / "vhf4k.adi", bytes, &error));
  EXPECT_EQ(error, "not a regular file");
}

TEST(QuotedForm, ValuesAndTheFileTest) {
  EXPECT_EQ(quotedValues({"\"K1ABC\",\"Bob, Jr\",\"FN20\"", "  W2X , Al ,\"say \"\"hi\"\"\""}),
            (std::vector<std::string>{"K1ABC", "Bob, Jr", "FN20", "W2X", "Al", "say \"hi\""}));
  EXPECT_EQ(quotedValues({"\"A\"", "\"B\",", ""}), (std::vector<std::string>{"A", "B", ""}));
  TempFolder t;
  writeLinesAtomic(t / "q.dat", {"plain", "\"quoted\""});
  writeLinesAtomic(t / "p.dat", {"plain", " \"late\""});
  bool flag = false;
  checkFileFormat(t / "p.dat", flag);
  EXPECT_FALSE(flag);
  checkFileFormat(t / "q.dat", flag);
  EXPECT_TRUE(flag);
  checkFileFormat(t / "p.dat", flag);
  EXPECT_TRUE(flag);  // never set back to no
}

TEST(RosterFile, BlankLinesAfterTheLastRecordAreNoRecordAndACutRecordIsDropped) {
  Lines lines = kHeader;
  lines.insert(lines.end(), {"K1ABC", "Bob", "FN20", "1/1/2021", "2/2/2022", ""});
  RosterParse p = parseRoster(lines);
  EXPECT_FALSE(p.incomplete);  // an empty last field is a field
  EXPECT_EQ(rosterLines(p.roster), lines);
  lines.insert(lines.end(), {"", ""});
  p = parseRoster(lines);
  EXPECT_FALSE(p.incomplete);
  EXPECT_EQ(p.roster.count(), 2);
  lines.insert(lines.end(), {"N2XYZ", "Al"});
  p = parseRoster(lines);
  EXPECT_TRUE(p.incomplete);
  EXPECT_EQ(rosterLines(p.roster), Lines(lines.begin(), lines.end() - 4));
}

TEST(CheckInLog, BothFormsGiveTheSameRecordsAndACutRecordKeepsItsFields) {
  const LogRead lineForm = parseLog({"K1ABC", "BOB", "FN20  50\xB0", "W2XY", "", "NYC"}, false);
  const LogRead quoted =
      parseLog({"\"K1ABC\",\"BOB\",\"FN20  50\xB0\"", " \"W2XY\",\"\",\"NYC\""}, true);
  EXPECT_EQ(logLines(lineForm.records), logLines(quoted.records));
  EXPECT_EQ(logLines(quoted.records), (Lines{"K1ABC", "BOB", "FN20  50\xB0", "W2XY", "", "NYC"}));
  const LogRead cut = parseLog({"K1ABC", "BOB", "X", "W2XY", "AL"}, false);
  EXPECT_TRUE(cut.cutShort);
  EXPECT_EQ(logLines(cut.records), (Lines{"K1ABC", "BOB", "X", "W2XY", "AL", ""}));
}

TEST(SettingsFile, WrittenLayoutIsTheTwentyThreeLinesExactly) {
  NetSettings s;
  resetSettingsDefaults(s);
  s.logFolder = "/home/op/logs";
  s.netControlCall = "W1NC";
  s.netBand = "222 MHz";
  s.netControlGrid = "FN20XA";
  EXPECT_EQ(joinCrLf(settingsFileLines(s)),
            "// KelpieW Marten Net Control for Windows\r\n"
            "// Kelpie v2.1 settings, written by Kelpie for Linux\r\n"
            "[Path to check-in log files]\r\n/home/op/logs\r\n"
            "[Net Control`s Call]\r\nW1NC\r\n[Band for this Net]\r\n222 MHz\r\n"
            "// To change between Acknowledge and Comments\r\n"
            "[Use the <Enter> key + shortcuts]\r\nNo\r\n"
            "// Miles or kM in file write function\r\n[Use Miles or kM]\r\nMiles\r\n"
            "// Path ex: C:\\Program Files\\Internet Exploror\\iexplore\r\n"
            "[Path to web browser]\r\n\r\n"
            "// To mark Acknowledge and Comments\r\n"
            "[Use the <Enter> key + shortcuts to mark]\r\nYes\r\n"
            "// Calculate beam heading from ADIF data\r\n[NetControl 6-digit Grid]\r\nFN20XA\r\n");
}

// Each row: the file's lines, then the call, unit, kM mark, Enter option and Space option read.
struct KeyRow {
  Lines lines;
  std::string values;
};

TEST(SettingsFile, KeysAreReadByTheirRules) {
  const KeyRow rows[] = {
      {{"[NET CONTROL`S CALL]", "N1XX"}, "N1XX Miles 0 0 1"},
      {{" [Net Control`s Call]", "N1XX", "[Net Control`s Call] ", "N2XX"}, "PRIOR Miles 0 0 1"},
      {{"[Net Control's Call]", "N1XX"}, "PRIOR Miles 0 0 1"},
      {{"[Use Miles or kM]", "km"}, "PRIOR km 0 0 1"},
      {{"[Use Miles or kM]", "kM"}, "PRIOR kM 1 0 1"},
      {{"[Use the <Enter> key + shortcuts]", "YES"}, "PRIOR Miles 0 1 1"},
      {{"[Use the <Enter> key + shortcuts]", "Y"}, "PRIOR Miles 0 0 1"},
      {{"[Use the <Enter> key + shortcuts to mark]", ""}, "PRIOR Miles 0 0 0"},
      {{"[Use the <Enter> key + shortcuts to mark]", "yEs"}, "PRIOR Miles 0 0 1"},
      {{"[Net Control`s Call]"}, "PRIOR Miles 0 0 1"},
      {{"[Net Control`s Call]", "N1XX", "[Net Control`s Call]", "N2YY"}, "N2YY Miles 0 0 1"},
      // The value line after a key is taken even when it looks like a key itself.
      {{"[Band for this Net]", "[Net Control`s Call]", "N9ZZ"}, "PRIOR Miles 0 0 1"}};
  for (const KeyRow& row : rows) {
    NetSettings s;
    s.netControlCall = "PRIOR";
    s.distanceKm = s.enterModes = true;
    s.spaceBarModes = false;
    resetSettingsDefaults(s);
    applySettingsLines(row.lines, s);
    EXPECT_EQ(s.netControlCall + " " + s.distanceUnit + " " + std::to_string(s.distanceKm) + " " +
                  std::to_string(s.enterModes) + " " + std::to_string(s.spaceBarModes),
              row.values)
        << row.lines[0];
  }
}

}  // namespace
}  // namespace kelpie::test
