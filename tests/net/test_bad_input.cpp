// Whatever bytes the operator types (quotes, commas, slashes, shell characters, letters beyond
// ASCII) are kept as typed, upper-cased, shown as typed, written back byte for byte, handed to
// the browser as one argument, and never name a file of their own.
#include <gtest/gtest.h>

#include <set>

#include "data/checkin_log.h"
#include "data/roster.h"
#include "reports/reports.h"
#include "reports/summary.h"
#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

struct TypedRow {
  const char* name;
  std::string typed;
  std::string stored;  // the callsign as Kelpie keeps it: the typed text upper-cased
};
void PrintTo(const TypedRow& r, std::ostream* os) { *os << r.name; }
class TypedCallsign : public ::testing::TestWithParam<TypedRow> {};

std::set<std::string> folderListing(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename().string());
  return names;
}

TEST_P(TypedCallsign, IsKeptShownAndWrittenBackAsTyped) {
  const std::string& call = GetParam().stored;
  Rig rig;
  rig.writeRoster({{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", "-"}});
  rig.writeSettings();
  rig.write("BURROW.DAT", {});
  ASSERT_TRUE(rig.start());
  const auto files = folderListing(rig.folder.path());

  rig.enter("k1abc");
  rig.enter(GetParam().typed);
  ASSERT_EQ(rig.session.checkIns.count, 2) << "not checked in";
  EXPECT_TRUE(rig.dialogs.messages().empty());
  EXPECT_EQ(rig.session.checkIns.field(2, 1), call);
  EXPECT_EQ(rig.session.view.lines.at(1), "2    " + call + "    First time check-in   12/5/2026");
  EXPECT_EQ(rig.read("120526F.ILE"), "K1ABC\r\nBOB\r\nFN20\r\n" + call + "\r\n\r\n\r\n");

  // Typed again: the same station, refused.
  rig.enter(GetParam().typed);
  EXPECT_EQ(rig.session.checkIns.count, 2);
  ASSERT_EQ(rig.dialogs.messages().size(), 1u);
  EXPECT_EQ(rig.dialogs.messages()[0].text, call + " already checked-in.");

  rig.session.mExit_Click();
  EXPECT_EQ(rig.read("NETCONT.ROL"),
            joinCrLf({"222 MHz", "W1NC", "1/2/2020", "initial check-in date", "last check-in date",
                      "old call sign", "K1ABC", "BOB", "FN20", "1/1/2021", "12/5/2026", "-", call,
                      "-", "-", "12/5/2026", "12/5/2026", "-"}));
  // No text of the operator's names a file: the folder holds the files it held.
  EXPECT_EQ(folderListing(rig.folder.path()), files);

  // The same day again: the roster and the log read back as written, and the station is now a
  // roster station.
  Session again(rig.platform, rig.folder.path());
  rig.dialogs.messageAnswers = {Answer::OK};  // re-start today's log
  ASSERT_TRUE(again.Form_Load());
  ASSERT_EQ(again.roster.count(), 3);
  EXPECT_EQ(again.roster.row(3).callSign, call);
  ASSERT_EQ(again.checkIns.count, 2);
  EXPECT_EQ(again.checkIns.field(2, 1), call);
  again.checkIns = {};
  again.entryText = call;
  std::string result;
  again.getStationInfo(result);
  EXPECT_EQ(again.checkIns.field(1, 4), "12/5/2026");  // the roster's first check-in date
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TypedCallsign,
    ::testing::Values(TypedRow{"QuotedCommaSeparated", "\"k1\",\"x\",\"y\"", "\"K1\",\"X\",\"Y\""},
                      TypedRow{"SlashesAndDots", "w1aw/../../x", "W1AW/../../X"},
                      TypedRow{"ShellCharacters", "k1$(id)`id`;|&>x'*", "K1$(ID)`ID`;|&>X'*"},
                      TypedRow{"Windows1252Letters",
                               "\xe9"
                               "1\xe0\xf1\xfe\xff\x9a",
                               "\xc9"
                               "1\xc0\xd1\xde\x9f\x8a"},
                      TypedRow{"HighBytesThatAreNoLetters",
                               "\x80"
                               "1\xf7\xb0\xa0\x81",
                               "\x80"
                               "1\xf7\xb0\xa0\x81"},
                      TypedRow{"ControlBytes", std::string("k1\0\x01\x1b\x7f", 6),
                               std::string("K1\0\x01\x1b\x7f", 6)}),
    [](const auto& info) { return std::string(info.param.name); });

// Names and QTH texts edited from the list: kept upper-cased, written back byte for byte.
TEST(TypedText, NameAndQthEditsAreWrittenBackByteForByte) {
  Rig rig;
  rig.writeRoster({});
  rig.writeSettings();
  ASSERT_TRUE(rig.start());
  rig.enter("k1abc");
  rig.session.selectLine(0);
  ASSERT_TRUE(rig.session.CheckIns_MouseDown(2));
  rig.dialogs.inputAnswers = {"o'brien, \"jr\" \xe9/..", "troy, ny; rm -rf ~ \xb0"};
  rig.session.mnuPopUpMultiple_Click();
  const std::string name = "O'BRIEN, \"JR\" \xc9/..", qth = "TROY, NY; RM -RF ~ \xb0";
  EXPECT_EQ(rig.session.checkIns.field(1, 2), name);
  EXPECT_EQ(rig.session.checkIns.field(1, 3), qth);
  EXPECT_NE(rig.session.view.lines.at(0).find(name + "   " + qth), std::string::npos);
  EXPECT_EQ(rig.read("120526F.ILE"), "K1ABC\r\n" + name + "\r\n" + qth + "\r\n");
  rig.session.mExit_Click();
  const RosterParse roster = parseRoster(splitLines(rig.read("NETCONT.ROL")));
  EXPECT_FALSE(roster.quoted);
  ASSERT_EQ(roster.roster.count(), 2);
  EXPECT_EQ(roster.roster.row(2).name, name);
  EXPECT_EQ(roster.roster.row(2).qth, qth);
}

// The web lookup hands the browser one argument, the address with the callsign as it stands:
// nothing is split at spaces or quotes and nothing passes through a shell.
TEST(WebLookup, CallsignGoesToTheBrowserAsOneArgument) {
  Rig rig;
  rig.writeRoster({});
  NetSettings s;
  s.netControlGrid = "FN20XA";
  s.browserPath = "/opt/my browser/run it; echo";
  rig.write("Kelpie_Control.ini", settingsFileLines(s));
  ASSERT_TRUE(rig.start());
  rig.enter("k1$(id)`id`;&|>\"x'");
  rig.session.selectLine(0);
  rig.session.mnuQRZConnect_Click();
  ASSERT_EQ(rig.launcher.started.size(), 1u);
  EXPECT_EQ(rig.launcher.started[0].program, "/opt/my browser/run it; echo");
  EXPECT_EQ(rig.launcher.started[0].args,
            std::vector<std::string>{"https://www.qrz.com/db/K1$(ID)`ID`;&|>\"X'"});
}

struct BandRow {
  const char* name;
  std::string band;
};
void PrintTo(const BandRow& r, std::ostream* os) { *os << r.name; }
class SummaryBand : public ::testing::TestWithParam<BandRow> {};

// The summary file is named after the band: whatever the band text holds, the file is written
// inside the log folder, under one plain name.
TEST_P(SummaryBand, NeverTakesTheSummaryOutOfTheLogFolder) {
  Rig rig;
  rig.writeRoster({});
  const fs::path logs = rig.folder / "logs";
  fs::create_directories(logs);
  NetSettings s;
  s.netControlGrid = "FN20XA";
  s.logFolder = logs.string();
  s.netBand = GetParam().band;
  rig.write("Kelpie_Control.ini", settingsFileLines(s));
  writeLinesAtomic(logs / "120426F.ILE", {"K1ABC", "BOB", "FN20"});
  ASSERT_TRUE(rig.start());
  const auto outside = folderListing(rig.folder.path());
  const auto inside = folderListing(logs);

  rig.dialogs.chooserAnswers = {(logs / "120426F.ILE").string()};
  mwriteLogFile_Click(rig.session);

  EXPECT_EQ(folderListing(rig.folder.path()), outside);
  std::set<std::string> added;
  for (const auto& n : folderListing(logs))
    if (!inside.count(n)) added.insert(n);
  ASSERT_EQ(added.size(), 1u);
  const std::string name = *added.begin();
  EXPECT_EQ(name, summaryFileName(GetParam().band));
  EXPECT_EQ(name.find_first_of(std::string("/\\\0", 3)), std::string::npos) << name;
  EXPECT_TRUE(fs::is_regular_file(logs / name));
  // The band stands unchanged in the summary's title line.
  std::string text;
  ASSERT_TRUE(readBytes(logs / name, text));
  EXPECT_EQ(text.rfind(GetParam().band + " Check-ins for 12-04-26\r\n", 0), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SummaryBand,
    ::testing::Values(BandRow{"ParentFolders", "../../x/y"}, BandRow{"DotsOnly", ".."},
                      BandRow{"AbsolutePath", "/tmp/x"}, BandRow{"Empty", ""},
                      BandRow{"NulThenPath", std::string("2 m\0/../../x", 12)}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kelpie::test
