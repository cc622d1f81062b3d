// The text summary: its exact bytes, the columns with their overflow rule, the distance and
// its unit, the grid from the first qualifying ADIF line, and the file's safe name.
#include "reports/summary.h"

#include <gtest/gtest.h>

#include "data/settings.h"
#include "report_fixture.h"
#include "reports/reports.h"

namespace kelpie::test {
namespace {

const std::string kCRLF = "\r\n";
const std::string kSummary = "222 MHz Check-in summary.txt";

// Net control is FN20XA (the rig's settings); JO01 is 5711 km or 3549 miles away, EM12
// 2217 km or 1378 miles.
const std::string kAdif =
    "Kelpie test log <EOH>\r\n"
    "<CALL:4>W1AW, <NAME:5>Hiram <EOR>\r\n"
    "<CALL:4>W1AW, <GRIDSQUARE:4>JO01 <EOR>\r\n"
    "<CALL:4>W1AW, <GRIDSQUARE:4>EM12 <EOR>\r\n"
    "<CALL:4>K1ZZ, <GRIDSQUARE:4>EM12 <EOR>\r\n"
    "<CALL:12>K1ABCDEFGHIJ, <GRIDSQUARE:4>JO01 <EOR>\r\n"
    "<CALL:4>N1XX, <GRIDSQUARE:8>FN20XA12 <EOR>\r\n";

class SummaryTest : public ReportTest {
 protected:
  void SetUp() override {
    ReportTest::SetUp();
    rig.writeBytes("vhf4k.adi", kAdif);
  }
  // Runs the command on a log and gives back the summary's bytes.
  std::string summarize(const std::string& logName) {
    rig.dialogs.chooserAnswers.push_back("/anywhere/" + logName);
    mwriteLogFile_Click(s());
    return rig.read(kSummary);
  }
};

class SummaryForms : public SummaryTest, public ::testing::WithParamInterface<LogForm> {};

TEST_P(SummaryForms, ExactBytes) {
  rig.write("032515F.ILE", inForm(GetParam(), {{"W1AW", "Hiram", "  Newington, CT  "},
                                               {"K1ZZ", "Zed", "Boston"},
                                               {"N9NONE", "Nobody", " Far away "},
                                               {"N1XX", "Bad Grid", "Here"},
                                               {"", "", "x"}}));
  EXPECT_EQ(summarize("032515F.ILE"), "222 MHz Check-ins for 03-25-15" + kCRLF + kCRLF +
                                          "1 W1AW        Hiram      Newington, CT 3549 mi" + kCRLF +
                                          "2 K1ZZ        Zed        Boston 1378 mi" + kCRLF +
                                          "3 N9NONE      Nobody     Far away" + kCRLF +
                                          "4 N1XX        Bad Grid   Here" + kCRLF + "5" +
                                          std::string(24, ' ') + "x" + kCRLF);
}

INSTANTIATE_TEST_SUITE_P(BothForms, SummaryForms,
                         ::testing::Values(LogForm::Lines, LogForm::Quoted), formName);

struct ColumnRow {
  const char* name;
  LogRecord record;
  std::string lines;  // the record's lines, CR LF after each
};

class SummaryColumns : public SummaryTest, public ::testing::WithParamInterface<ColumnRow> {};

TEST_P(SummaryColumns, OverflowRule) {
  rig.write("032515F.ILE", lineForm({GetParam().record}));
  EXPECT_EQ(summarize("032515F.ILE"),
            "222 MHz Check-ins for 03-25-15" + kCRLF + kCRLF + GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SummaryColumns,
    ::testing::Values(
        // "1 " and a 12-character callsign make a part A of 14: the name follows directly.
        ColumnRow{
            "PartA14", {"K1ABCDEFGHIJ", "Al", "Q"}, "1 K1ABCDEFGHIJAl         Q 3549 mi" + kCRLF},
        ColumnRow{"PartA15",
                  {"K1ABCDEFGHIJK", "Al", "Q"},
                  "1 K1ABCDEFGHIJK" + kCRLF + std::string(14, ' ') + "Al" + std::string(9, ' ') +
                      "Q" + kCRLF},
        ColumnRow{
            "Name11", {"K1ZZ", "Abcdefghijk", "Q"}, "1 K1ZZ        AbcdefghijkQ 1378 mi" + kCRLF},
        ColumnRow{
            "Name12",
            {"K1ZZ", "Abcdefghijkl", "Q"},
            "1 K1ZZ        Abcdefghijkl" + kCRLF + std::string(25, ' ') + "Q 1378 mi" + kCRLF}),
    [](const auto& info) { return std::string(info.param.name); });

struct UnitRow {
  const char* name;
  std::string unit;
  std::string tail;
};

class SummaryUnit : public ::testing::TestWithParam<UnitRow> {};

TEST_P(SummaryUnit, OnlyExactlyMilesGivesMiles) {
  Rig rig;
  NetSettings settings;
  settings.logFolder = rig.folder.path().string();
  settings.netControlCall = "W1NC";
  settings.netBand = "222 MHz";
  settings.netControlGrid = "FN20XA";
  settings.distanceUnit = GetParam().unit;  // as a hand-edited settings file may hold it
  rig.write("Kelpie_Control.ini", settingsFileLines(settings));
  ASSERT_TRUE(rig.start());
  rig.writeBytes("vhf4k.adi", kAdif);
  rig.write("032515F.ILE", lineForm({{"W1AW", "Hiram", "CT"}}));
  rig.dialogs.chooserAnswers.push_back("032515F.ILE");
  mwriteLogFile_Click(rig.session);
  EXPECT_EQ(rig.read(kSummary), "222 MHz Check-ins for 03-25-15" + kCRLF + kCRLF +
                                    "1 W1AW        Hiram      CT " + GetParam().tail + kCRLF);
}

INSTANTIATE_TEST_SUITE_P(Rows, SummaryUnit,
                         ::testing::Values(UnitRow{"Miles", "Miles", "3549 mi"},
                                           UnitRow{"kM", "kM", "5711 kM"},
                                           UnitRow{"HandEditedKm", "km", "5711 kM"},
                                           UnitRow{"LowerMiles", "miles", "5711 kM"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SummaryTest, AskedWithItsTitleThenOpened) {
  rig.write("032515F.ILE", lineForm({{"W1AW", "Hiram", "CT"}}));
  summarize("032515F.ILE");
  ASSERT_FALSE(rig.dialogs.shown.empty());
  EXPECT_EQ(rig.dialogs.shown[0].title, " Select Check-in file for write summary...");
  EXPECT_EQ(rig.dialogs.shown[0].text, pathText(rig.folder.path()));
  EXPECT_EQ(rig.launcher.opened, (std::vector<std::string>{logPath(kSummary)}));
  EXPECT_TRUE(rig.launcher.started.empty());
  EXPECT_EQ(s().view.label3, "Enter Call or Call- for in&&out");
  EXPECT_TRUE(rig.dialogs.messages().empty());
}

TEST_F(SummaryTest, FailureToOpenIsIgnored) {
  rig.launcher.openSucceeds = false;
  rig.write("032515F.ILE", lineForm({{"W1AW", "Hiram", "CT"}}));
  EXPECT_FALSE(summarize("032515F.ILE").empty());
  EXPECT_TRUE(rig.dialogs.messages().empty());
}

TEST_F(SummaryTest, CancelDoesNothing) {
  const std::string label3 = s().view.label3;
  mwriteLogFile_Click(s());
  EXPECT_FALSE(rig.exists(kSummary));
  EXPECT_TRUE(rig.launcher.opened.empty());
  EXPECT_EQ(s().view.label3, label3);
}

TEST_F(SummaryTest, RebuildsTheNetsList) {
  rig.enter("K1ZZ");
  s().updateCheckIns();  // the list as a full redraw shows it
  const Lines net = s().view.lines;
  ASSERT_FALSE(net.empty());
  rig.write("032515F.ILE", lineForm({{"W1AW", "Hiram", "CT"}}));
  summarize("032515F.ILE");
  EXPECT_EQ(s().view.lines, net);
}

TEST_F(SummaryTest, LastRunWinsAndCarriesNoStaleBytes) {
  rig.write("032515F.ILE", lineForm({{"W1AW", "Hiram", "CT"}, {"K1ZZ", "Zed", "MA"}}));
  summarize("032515F.ILE");
  rig.write("040115F.ILE", lineForm({{"K1ZZ", "Zed", "MA"}}));
  EXPECT_EQ(summarize("040115F.ILE"), "222 MHz Check-ins for 04-01-15" + kCRLF + kCRLF +
                                          "1 K1ZZ        Zed        MA 1378 mi" + kCRLF);
}

TEST_F(SummaryTest, MissingAdifFileGivesQthAlone) {
  fs::remove(rig.folder / "vhf4k.adi");
  rig.write("032515F.ILE", lineForm({{"W1AW", "Hiram", "CT"}}));
  EXPECT_EQ(summarize("032515F.ILE"), "222 MHz Check-ins for 03-25-15" + kCRLF + kCRLF +
                                          "1 W1AW        Hiram      CT" + kCRLF);
}

TEST_F(SummaryTest, MissingLogWritesNothing) {
  rig.dialogs.chooserAnswers.push_back("/elsewhere/010101F.ILE");
  mwriteLogFile_Click(s());
  EXPECT_FALSE(rig.exists(kSummary));
  EXPECT_TRUE(rig.launcher.opened.empty());
  ASSERT_EQ(rig.dialogs.messages().size(), 1u);
  EXPECT_EQ(rig.dialogs.messages()[0].text, "Kelpie could not read the check-in log " +
                                                logPath("010101F.ILE") +
                                                " (No such file or directory).");
}

TEST_F(SummaryTest, UnwritableSummaryIsReportedAndNotOpened) {
  fs::create_directory(rig.folder / kSummary);  // a folder where the file should go
  rig.write("032515F.ILE", lineForm({{"W1AW", "Hiram", "CT"}}));
  rig.dialogs.chooserAnswers.push_back("032515F.ILE");
  mwriteLogFile_Click(s());
  EXPECT_TRUE(rig.launcher.opened.empty());
  ASSERT_EQ(rig.dialogs.messages().size(), 1u);
  EXPECT_EQ(rig.dialogs.messages()[0].title, " File not saved");
  EXPECT_EQ(s().view.label3, "Enter Call or Call- for in&&out");
}

TEST_F(SummaryTest, BandWithPathSeparatorsStaysInLogFolder) {
  s().settings.netBand = "2m/70cm\\..:x";
  rig.write("032515F.ILE", lineForm({{"W1AW", "Hiram", "CT"}}));
  rig.dialogs.chooserAnswers.push_back("032515F.ILE");
  mwriteLogFile_Click(s());
  EXPECT_EQ(rig.read("2m_70cm_.._x Check-in summary.txt"),
            "2m/70cm\\..:x Check-ins for 03-25-15" + kCRLF + kCRLF +
                "1 W1AW        Hiram      CT 3549 mi" + kCRLF);
}

TEST(SummaryFileName, UnsafeCharactersReplaced) {
  EXPECT_EQ(summaryFileName("222 MHz"), "222 MHz Check-in summary.txt");
  EXPECT_EQ(summaryFileName("../up"), ".._up Check-in summary.txt");
  EXPECT_EQ(summaryFileName("a<b>c|d?e*f\"g"), "a_b_c_d_e_f_g Check-in summary.txt");
  EXPECT_EQ(summaryFileName(std::string("t\tn\x7F\xB5") + "m"), "t_n__m Check-in summary.txt");
  EXPECT_EQ(summaryFileName(""), " Check-in summary.txt");
}

TEST(NetDate, FromTheLogName) {
  EXPECT_EQ(netDateText("032515F.ILE"), "03-25-15");
  EXPECT_EQ(netDateText("0325"), "03-25-");
  EXPECT_EQ(netDateText(""), "--");
}

TEST_F(SummaryTest, NoRecordLimit) {
  std::vector<LogRecord> many;
  for (int i = 1; i <= 350; ++i) many.push_back({"K1ZZ", "Zed", "MA"});
  rig.write("032515F.ILE", lineForm(many));
  const Lines lines = splitLines(summarize("032515F.ILE"));
  ASSERT_EQ(lines.size(), 352u);
  EXPECT_EQ(lines[351], "350 K1ZZ      Zed        MA 1378 mi");
}

}  // namespace
}  // namespace kelpie::test
