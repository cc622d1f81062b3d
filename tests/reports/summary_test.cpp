// The text summary: its exact bytes, the columns with their overflow rule, the distance and
// its unit, the grid from the first qualifying ADIF line, and the file's safe name.
#include "reports/summary.h"

#include <gtest/gtest.h>

#include "report_fixture.h"
#include "reports/reports.h"

namespace kelpie::test {
namespace {

const std::string kCRLF = "\r\n";
const std::string kSummary = "222 MHz Check-in summary.txt";
const std::string kHead = "222 MHz Check-ins for 03-25-15" + kCRLF + kCRLF;

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
  // Runs the command on a log of these records and gives back the summary's bytes.
  std::string summarize(const Lines& log, const std::string& summaryName = kSummary) {
    rig.write("032515F.ILE", log);
    rig.dialogs.chooserAnswers.push_back("/anywhere/032515F.ILE");
    mwriteLogFile_Click(s());
    return rig.read(summaryName);
  }
};

class SummaryForms : public SummaryTest, public ::testing::WithParamInterface<LogForm> {};

// The QTH is trimmed; the distance comes from the station's first line with a grid; a station
// without a grid, or with no locator in it, gets no distance.
TEST_P(SummaryForms, ExactBytes) {
  EXPECT_EQ(summarize(inForm(GetParam(), {{"W1AW", "Hiram", "  Newington, CT  "},
                                          {"K1ZZ", "Zed", "Boston"},
                                          {"N9NONE", "Nobody", " Far away "},
                                          {"N1XX", "Bad Grid", "Here"},
                                          {"", "", "x"}})),
            kHead + "1 W1AW        Hiram      Newington, CT 3549 mi" + kCRLF +
                "2 K1ZZ        Zed        Boston 1378 mi" + kCRLF +
                "3 N9NONE      Nobody     Far away" + kCRLF + "4 N1XX        Bad Grid   Here" +
                kCRLF + "5" + std::string(24, ' ') + "x" + kCRLF);
  EXPECT_EQ(rig.dialogs.shown[0].title, " Select Check-in file for write summary...");
  EXPECT_EQ(rig.dialogs.shown[0].text, pathText(rig.folder.path()));
  EXPECT_EQ(rig.launcher.opened, (std::vector<std::string>{logPath(kSummary)}));
  EXPECT_EQ(s().view.label3, "Enter Call or Call- for in&&out");
  EXPECT_TRUE(rig.dialogs.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(BothForms, SummaryForms,
                         ::testing::Values(LogForm::Lines, LogForm::Quoted), formName);

struct RecordRow {
  const char* name;
  LogRecord record;
  std::string lines;           // the record's lines, CR LF after each
  std::string unit = "Miles";  // as a hand-edited settings file may hold it
};

class SummaryRecord : public SummaryTest, public ::testing::WithParamInterface<RecordRow> {};

TEST_P(SummaryRecord, ColumnsAndUnit) {
  s().settings.distanceUnit = GetParam().unit;
  EXPECT_EQ(summarize(lineForm({GetParam().record})), kHead + GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SummaryRecord,
    ::testing::Values(
        // "1 " and a 12-character callsign make a part A of 14: the name follows directly.
        RecordRow{
            "PartA14", {"K1ABCDEFGHIJ", "Al", "Q"}, "1 K1ABCDEFGHIJAl         Q 3549 mi" + kCRLF},
        RecordRow{"PartA15",
                  {"K1ABCDEFGHIJK", "Al", "Q"},
                  "1 K1ABCDEFGHIJK" + kCRLF + std::string(14, ' ') + "Al" + std::string(9, ' ') +
                      "Q" + kCRLF},
        RecordRow{
            "Name11", {"K1ZZ", "Abcdefghijk", "Q"}, "1 K1ZZ        AbcdefghijkQ 1378 mi" + kCRLF},
        RecordRow{
            "Name12",
            {"K1ZZ", "Abcdefghijkl", "Q"},
            "1 K1ZZ        Abcdefghijkl" + kCRLF + std::string(25, ' ') + "Q 1378 mi" + kCRLF},
        // Only exactly "Miles" gives miles.
        RecordRow{"HandEditedKm",
                  {"W1AW", "Hiram", "CT"},
                  "1 W1AW        Hiram      CT 5711 kM" + kCRLF,
                  "km"},
        RecordRow{"LowerMiles",
                  {"W1AW", "Hiram", "CT"},
                  "1 W1AW        Hiram      CT 5711 kM" + kCRLF,
                  "miles"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SummaryTest, UnwritableSummaryIsReportedAndNotOpened) {
  fs::create_directory(rig.folder / kSummary);  // a folder where the file should go
  summarize(lineForm({{"W1AW", "Hiram", "CT"}}));
  EXPECT_TRUE(rig.launcher.opened.empty());
  ASSERT_EQ(rig.dialogs.messages().size(), 1u);
  EXPECT_EQ(rig.dialogs.messages()[0].title, " File not saved");
}

TEST_F(SummaryTest, BandWithPathSeparatorsStaysInLogFolder) {
  s().settings.netBand = "2m/70cm\\..:x";
  EXPECT_EQ(summarize(lineForm({{"W1AW", "Hiram", "CT"}}), "2m_70cm_.._x Check-in summary.txt"),
            "2m/70cm\\..:x Check-ins for 03-25-15" + kCRLF + kCRLF +
                "1 W1AW        Hiram      CT 3549 mi" + kCRLF);
  EXPECT_EQ(summaryFileName(std::string("a<b>c|d?e*f\"g\t\x7F\xB5")),
            "a_b_c_d_e_f_g___ Check-in summary.txt");
  EXPECT_EQ(netDateText("0325"), "03-25-");  // a short log name
}

}  // namespace
}  // namespace kelpie::test
