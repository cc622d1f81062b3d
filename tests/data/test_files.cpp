// The stored-data formats and the text helpers under them.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "data/flusher.h"
#include "data/quoted.h"
#include "data/settings.h"
#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

TEST(TextFiles, LinesCaseNumbersDatesAndNames) {
  EXPECT_EQ(splitLines("a\r\nb\nc\rd\r\n\r\nx\r\r\n"), (Lines{"a", "b", "c", "d", "", "x", ""}));
  EXPECT_EQ(
      upper1252("k1abc/p \xE9\xF6\xFF\x9A\xF7|") + lower1252("ABC\xC9|") + trimSpaces(" a b "),
      "K1ABC/P \xC9\xD6\x9F\x8A\xF7|abc\xE9|a b");
  EXPECT_EQ(dateText({2027, 1, 15}) + logFileName({2009, 3, 7}), "1/15/2027030709F.ILE");
  for (const auto& [text, value] :
       {std::pair{"105", 105}, {"2.5", 2}, {"1.5", 2}, {"1.0", 1}, {"-3", -3}, {" 7 ", 7}}) {
    EXPECT_TRUE(isNumeric(text)) << text;
    EXPECT_EQ(roundHalfEven(numericValue(text)), value) << text;
  }
  for (const char* text : {"", "L", "1AB", ".", "-", "1e"}) EXPECT_FALSE(isNumeric(text)) << text;
  EXPECT_EQ(quotedValues({"\"K1ABC\",\"Bob, Jr\",\"FN20\"", "  W2X , Al ,\"say \"\"hi\"\"\"",
                          "\"A\"", "\"B\",", ""}),
            (std::vector<std::string>{"K1ABC", "Bob, Jr", "FN20", "W2X", "Al", "say \"hi\"", "A",
                                      "B", ""}));
}

TEST(TextFiles, WritesLookUpsTemporariesQuotedFormAndFifos) {
  TempFolder t;
  ASSERT_TRUE(writeLinesAtomic(t / "netcont.rol", {"one", "", "\xB0"}));
  std::string bytes, error;
  EXPECT_TRUE(readBytes(t / "netcont.rol", bytes) && bytes == "one\r\n\r\n\xB0\r\n");
  EXPECT_EQ(findFileCI(t.path(), "NETCONT.ROL").filename(), "netcont.rol");
  EXPECT_EQ(findFileCI(t.path(), "BURROW.DAT").filename(), "BURROW.DAT");
  for (const char* n :
       {"b.ILE", "A.ile", "c.Ile", "ile", ".NETCONT.ROL.a1B2c3", ".notes.doc.abcdef"})
    writeLinesAtomic(t / n, {});
  EXPECT_EQ(listFilesCI(t.path(), ".ile"), (std::vector<std::string>{"A.ile", "b.ILE", "c.Ile"}));
  removeStaleTemporaries(t.path());
  EXPECT_FALSE(fs::exists(t / ".NETCONT.ROL.a1B2c3"));
  EXPECT_TRUE(fs::exists(t / ".notes.doc.abcdef"));
  writeLinesAtomic(t / "q.dat", {"plain", "\"quoted\""});
  writeLinesAtomic(t / "p.dat", {"plain", " \"late\""});
  bool flag = false;  // set at a line opening with a quote, and never set back to no
  std::string flags;
  for (const char* f : {"p.dat", "q.dat", "p.dat"})
    checkFileFormat(t / f, flag), flags += "01"[flag];
  EXPECT_EQ(flags, "011");
  waitForFlushes();  // the folder flushes queued by the writes end (Kelpie waits at exit)
  // A FIFO under a data file's name would block every reader for good.
  ASSERT_EQ(::mkfifo((t / "vhf4k.adi").c_str(), 0644), 0);
  EXPECT_FALSE(readBytes(t / "vhf4k.adi", bytes, &error));
  EXPECT_EQ(error, "not a regular file");
}

TEST(SettingsFile, WrittenLayoutAndTheKeyRules) {
  NetSettings s;
  s.logFolder = "/logs";
  s.netControlGrid = "FN20XA";
  EXPECT_EQ(joinCrLf(settingsFileLines(s)), golden("data/settings.ini"));
  // Each row: the lines read, then call, unit, kM mark, Enter option and Space option.
  const std::pair<Lines, std::string> rows[] = {
      {{"[NET CONTROL`S CALL]", "N1XX", "[Use Miles or kM]", "km"}, "N1XX km 0 0 1"},
      {{" [Net Control`s Call]", "N1", "[Net Control`s Call] ", "N2", "[Net Control's Call]", "N3"},
       "PRIOR Miles 0 0 1"},
      {{"[Use Miles or kM]", "kM", "[Use the <Enter> key + shortcuts]", "YES"}, "PRIOR kM 1 1 1"},
      {{"[Use the <Enter> key + shortcuts]", "Y", "[Use the <Enter> key + shortcuts to mark]", ""},
       "PRIOR Miles 0 0 0"},
      {{"[Use the <Enter> key + shortcuts to mark]", "yEs", "[Net Control`s Call]"},
       "PRIOR Miles 0 0 1"},
      {{"[Net Control`s Call]", "N1XX", "// c", "[Net Control`s Call]", "N2YY"},
       "N2YY Miles 0 0 1"},
      // The value line after a key is taken even when it looks like a key itself.
      {{"[Band for this Net]", "[Net Control`s Call]", "N9ZZ"}, "PRIOR Miles 0 0 1"}};
  for (const auto& [lines, want] : rows) {
    s.netControlCall = "PRIOR", s.distanceKm = s.enterModes = true, s.spaceBarModes = false;
    resetSettingsDefaults(s);
    applySettingsLines(lines, s);
    EXPECT_EQ(s.netControlCall + " " + s.distanceUnit + " " + std::to_string(s.distanceKm) + " " +
                  std::to_string(s.enterModes) + " " + std::to_string(s.spaceBarModes),
              want)
        << lines[0];
  }
}

}  // namespace
}  // namespace kelpie::test
