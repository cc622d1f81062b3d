// The report commands: statistics, the printouts, the text summary and the past-log viewer.
#include "reports/reports.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>

#include "reports/summary.h"
#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

// A log of three lines per record as it is, or in the older form: a line of quoted values each.
Lines inForm(bool quoted, const Lines& log) {
  if (!quoted) return log;
  Lines out;
  for (size_t i = 0; i + 2 < log.size(); i += 3)
    out.push_back("\"" + log[i] + "\",\"" + log[i + 1] + "\",\"" + log[i + 2] + "\"");
  return out;
}

// A started session; today (5 December 2026) has its empty log 120526F.ILE in the data folder.
class ReportTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(rig.start()); }
  std::string logPath(const std::string& name) { return pathText(rig.folder / name); }
  std::string chooser(const std::string& title) {
    return " Select Check-in " + title + "... / " + pathText(rig.folder.path()) + "\n";
  }
  Rig rig;
  Session& s = rig.session;
};

const std::string kResume = "   <Esc> to resume...";

// A record of name "N" and QTH "Q" for each call of the text ("_" an empty call).
Lines records(const std::string& calls) {
  Lines r;
  std::stringstream words(calls);
  for (std::string c; words >> c;) r.insert(r.end(), {c == "_" ? "" : c, "N", "Q"});
  return r;
}

// Each line of reports/statistics.txt: the logs ("name call ...", '"' first for the quoted form,
// '|' between; ties go to the earlier file, in name order, any case, and the earlier record),
// then the heading and the best line shown.
TEST(Statistics, NameTheEarliestYearAndTheStationWithTheMostCheckIns) {
  const std::string rows = golden("reports/statistics.txt");
  std::string got;
  for (const std::string& row : splitLines(rows)) {
    if (row.empty()) continue;
    const std::string logs = row.substr(0, row.find('\t'));
    Rig rig;
    std::stringstream all(logs);
    for (std::string log; std::getline(all, log, '|');) {
      const bool quoted = log[0] == '"';
      const size_t space = std::min(log.find(' '), log.size());
      rig.write(log.substr(quoted, space - quoted), inForm(quoted, records(log.substr(space))));
    }
    mMostCheckins_Click(rig.session);
    const Lines& shown = rig.session.view.lines;
    ASSERT_EQ(shown.size(), 7u);
    got += logs + "\t" + shown[1] + "\t" + shown[3] + "\n";
    EXPECT_EQ(shown, (Lines{"", shown[1], "", shown[3], "", "", kResume})) << logs;
  }
  EXPECT_EQ(got, rows);
}

// Old and new calls count together under the new one, whatever the roster's order; an old call
// that is the station's own is not doubled; a change one side of which never checked in adds none.
TEST(Statistics, CheckInsUnderAFormerCallCountForTheNewCall) {
  Rig rig;
  rig.writeRoster({{"K1NEW", "Ned", "Here", "1/1/2020", "2/2/2026", "W1OLD"},
                   {"K1ZZ", "Zed", "Here", "1/1/2020", "2/2/2026", "K1ZZ"},
                   {"W1AW", "Hiram", "CT", "1/1/2020", "2/2/2026", "W0GONE"},
                   {"K0NONE", "", "", "", "", "W1AW"}});
  ASSERT_TRUE(rig.start());
  rig.write("010125F.ILE", records("W1OLD W1AW W1OLD"));
  rig.write("010126F.ILE", records("W1AW K1NEW W1AW K1NEW"));
  mMostCheckins_Click(rig.session);
  EXPECT_EQ(rig.session.view.lines[3], "  K1NEW (ex: W1OLD)   4");
  rig.write("020126F.ILE", records("K1ZZ K1ZZ K1ZZ W1AW W1AW"));
  mMostCheckins_Click(rig.session);
  EXPECT_EQ(rig.session.view.lines[3], "  W1AW   5");
  rig.writeBytes("030126F.ILE", "K1ZZ\r\nA\r\nB\r\nK1ZZ\r\n");  // cut short: still counted
  mMostCheckinsperYear_Click(rig.session);
  EXPECT_EQ(rig.session.view.lines[1] + rig.session.view.lines[3],
            " Station with the most check-ins in 2026:  K1ZZ   5");
}

// The printouts: one document each in Courier New 12; a field that reaches the next column
// pushes the rest onto a new line, padded.
TEST_F(ReportTest, PrintoutsLineForLine) {
  const Lines log{"ABCDEFGHIJKLM",  "Abcdefghijklmno",  "Newington, CT",
                  "ABCDEFGHIJKLMN", "Abcdefghijklmnop", "Far"};
  const std::string body = " ABCDEFGHIJKLMAbcdefghijklmnoNewington, CT\r\n ABCDEFGHIJKLMN\r\n" +
                           std::string(14, ' ') + "Abcdefghijklmnop\r\n" + std::string(29, ' ') +
                           "Far\r\n";
  rig.write("032515F.ILE", inForm(true, log));
  rig.write("032615F.ILE", log);
  rig.write("0327.ile", records("A1 A2"));
  rig.enter("K1ZZ");
  s.updateCheckIns();
  const Lines net = s.view.lines;
  s.view.lines = {"something else"};
  mPShortcuts_Click(s);
  rig.dialogs.chooserAnswers = {"/elsewhere/032615f.ile"};
  MPPastLog_Click(s);
  mPLogMostCheckins_Click(s);
  ASSERT_EQ(rig.printer.documents.size(), 3u);
  for (const auto& doc : rig.printer.documents)
    EXPECT_TRUE(doc.font == "Courier New" && doc.size == 12 && !doc.bold && !doc.italic &&
                !doc.underline);
  EXPECT_EQ(joinCrLf(rig.printer.documents[0].lines), golden("reports/shortcuts.txt"));
  EXPECT_EQ(joinCrLf(rig.printer.documents[1].lines),
            "\r\n    " + logPath("032615F.ILE") + "\r\n\r\n" + body);
  EXPECT_EQ(joinCrLf(rig.printer.documents[2].lines),
            "\r\n " + logPath("032515F.ILE") + "   2  total\r\n\r\n" + body);
  EXPECT_EQ(s.view.lines, net);  // the list is rebuilt after the largest log is printed
  EXPECT_EQ(rig.dialogs.boxes(), chooser("log file to load"));
}

TEST_F(ReportTest, PrintoutFailuresNameTheLog) {
  rig.writeBytes("020126F.ILE", "W1AW\r\nBob\r\nCT\r\n\r\n");  // a blank line below the last
  rig.write("030126F.ILE", records("A1 A2 A3"));
  s.view.lines = {"something else"};
  mPLogMostCheckins_Click(s);
  EXPECT_EQ(s.view.lines, Lines{"something else"});
  rig.writeBytes("020126F.ILE", "\"W1AW\",\"Bob\",\"CT\"\r\n\"K1ZZ\"\r\n");
  mPLogMostCheckins_Click(s);
  fs::remove(rig.folder / "020126F.ILE");
  rig.printer.failEnd = true;
  mPLogMostCheckins_Click(s);
  rig.dialogs.chooserAnswers = {"030126F.ILE"};
  MPPastLog_Click(s);
  mPShortcuts_Click(s);
  fs::remove(rig.folder / "030126F.ILE");
  mPLogMostCheckins_Click(s);
  const auto check = [&](const char* name) {
    return " /  Check file " + logPath(name) +
           " for format, maybe a blank line below the last line.\n";
  };
  EXPECT_EQ(rig.dialogs.boxes(),
            check("020126F.ILE") + check("020126F.ILE") + check("030126F.ILE") +
                chooser("log file to load") + " / The printout of " + logPath("030126F.ILE") +
                " could not be finished.\n / The shortcuts could not be printed.\n /  No check-in "
                "log with check-ins in " +
                pathText(rig.folder.path()) + ".\n");
  EXPECT_EQ(rig.printer.documents.size(), 3u);
}

// The summary's bytes: QTH trimmed, distance from the first ADIF line with a grid in the unit
// asked for ("Miles" exactly gives miles), columns and their overflow, a safe file name.
TEST_F(ReportTest, SummaryExactBytes) {
  rig.enter("K1ZZ");  // today's check-in, shown again once the summary is written
  rig.write("vhf4k.adi",
            {"<CALL:4>W1AW, <NAME:5>Hiram <EOR>", "<CALL:4>W1AW, <GRIDSQUARE:4>JO01",
             "<CALL:4>W1AW, <GRIDSQUARE:4>EM12", "<CALL:4>K1ZZ, <GRIDSQUARE:4>EM12",
             "<CALL:13>K1ABCDEFGHIJK, <GRIDSQUARE:4>EM12", "<CALL:4>N1XX, <GRIDSQUARE:8>FN20XA12"});
  const Lines log = splitLines(
      "W1AW\nHiram\n  Newington, CT  \nK1ZZ\nAbcdefghijk\nQ\nN9NONE\nAbcdefghijkl\n Far away \n"
      "N1XX\nBad Grid\nHere\nK1ABCDEFGHIJ\nAl\nQ\nK1ABCDEFGHIJK\nAl\nQ\n\n\nx\n");
  const std::array<std::string, 3> rows[] = {{"222 MHz", "Miles", "miles"},
                                             {"2m/70cm\\..:x\x7F\xB5\x1F", "miles", "km"}};
  for (const auto& [band, unit, want] : rows) {
    s.settings.netBand = band;
    s.settings.distanceUnit = unit;
    for (const bool quoted : {false, true}) {
      rig.write("032515F.ILE", inForm(quoted, log));
      rig.dialogs.chooserAnswers = {"/anywhere/032515F.ILE"};
      mwriteLogFile_Click(s);
      EXPECT_EQ(rig.read(summaryFileName(band)), golden("reports/summary_" + want + ".txt"));
      EXPECT_EQ(rig.launcher.opened.back(), logPath(summaryFileName(band)));
    }
  }
  EXPECT_EQ(summaryFileName("2m/70cm\\..:x\x7F\xB5\x1F"), "2m_70cm_.._x___ Check-in summary.txt");
  EXPECT_EQ(summaryFileName("a b<c>d|e?f*g\"h\ti"), "a b_c_d_e_f_g_h_i Check-in summary.txt");
  EXPECT_EQ(netDateText("0325"), "03-25-");
  EXPECT_EQ(s.view.label3 + s.view.lines.at(0).substr(0, 9),
            "Enter Call or Call- for in&&out1    K1ZZ");
  EXPECT_TRUE(rig.dialogs.boxes().starts_with(chooser("file for write summary")));
  EXPECT_TRUE(rig.dialogs.messages().empty());
  fs::create_directory(rig.folder / summaryFileName("x"));  // a folder where the file goes
  s.settings.netBand = "x";
  rig.dialogs.chooserAnswers = {"032515F.ILE"};
  mwriteLogFile_Click(s);
  EXPECT_EQ(rig.launcher.opened.size(), 4u);
  EXPECT_EQ(rig.dialogs.messages().at(0).title, " File not saved");
}

// The past-log viewer shows the chosen log (by its name, in the log folder, any letter case)
// numbered, read-only, until Esc; Cancel changes nothing, a missing log is named.
TEST_F(ReportTest, PastLogViewer) {
  const MainView before = s.view;
  mLoadLog_Click(s);  // cancelled
  rig.dialogs.chooserAnswers = {"/elsewhere/010101F.ILE"};
  mLoadLog_Click(s);  // not there
  EXPECT_TRUE(!s.viewOnlyLog && s.view.lines == before.lines && s.view.label3 == before.label3);
  EXPECT_EQ(rig.dialogs.boxes(), chooser("log file to load") + chooser("log file to load") +
                                     " Check-in log / Kelpie could not read the check-in log " +
                                     logPath("010101F.ILE") + " (No such file or directory).\n");
  const std::pair<std::string, Lines> rows[] = {
      {"W1AW\r\nHiram\r\nNewington, CT\r\nK1ZZ\r\n\r\nBoston\r\nN1XX\r\nAnn Lee\r\n",
       {"1  W1AW Hiram Newington, CT", "2  K1ZZ  Boston", "3  N1XX Ann Lee ", "", kResume}},
      {"\"W1AW\",\"Hiram\",\"CT\"\r\n\r\n", {"1  W1AW Hiram CT", "", kResume}},
      {"W1AW\r\nHiram\r\nCT\r\n\r\n", {"1  W1AW Hiram CT", "", kResume}}};
  for (const auto& [bytes, shown] : rows) {
    rig.writeBytes("032515F.ILE", bytes);
    s.view.label2 = "K1ZZ Zed";  // the last station's details go with the list
    rig.dialogs.chooserAnswers = {"C:\\Net\\Old\\032515f.ile"};
    mLoadLog_Click(s);
    EXPECT_EQ(s.view.lines, shown);
    EXPECT_TRUE(s.viewOnlyLog && !s.view.entryEnabled && s.menu("mnuQRZConnect").enabled);
    EXPECT_EQ(s.view.label2, "");
    for (const char* item : {"mnuPopUpCall", "mnuPopUpName", "mnuPopUpQTH", "mnuPopUpMultiple",
                             "mnuPopUpInsertGrid", "mnuPopUpUpdateCall"})
      EXPECT_FALSE(s.menu(item).enabled) << item;
    EXPECT_EQ(s.view.entryText + s.view.label3, " * log for view only *" + logPath("032515F.ILE"));
    s.Form_KeyDown(kKeyEsc, 0);
    EXPECT_TRUE(!s.viewOnlyLog && s.view.entryEnabled && s.menu("mnuPopUpName").enabled);
  }
}

}  // namespace
}  // namespace kelpie::test
