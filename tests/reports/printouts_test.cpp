// The three print commands: one document each in Courier New 12, their lines byte for byte,
// the tie rule and the failure messages.
#include "reports/printouts.h"

#include <gtest/gtest.h>

#include "report_fixture.h"
#include "reports/reports.h"

namespace kelpie::test {
namespace {

// The record rows of both printouts: the callsign from column 2, the name from 15, the QTH
// from 30; a field that reaches the next column pushes the rest onto a new line, padded.
const std::vector<LogRecord> kLog{{"ABCDEFGHIJKLM", "Abcdefghijklmno", "Newington, CT"},
                                  {"ABCDEFGHIJKLMN", "Abcdefghijklmnop", "Far"}};
const Lines kLogRecordLines{" ABCDEFGHIJKLMAbcdefghijklmnoNewington, CT", " ABCDEFGHIJKLMN",
                            std::string(14, ' ') + "Abcdefghijklmnop",
                            std::string(29, ' ') + "Far"};

Lines concat(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The one document printed, checked for its font.
const Lines& printedLines(const FakePrinter& printer) {
  EXPECT_EQ(printer.documents.size(), 1u);
  const FakePrinter::Doc& doc = printer.documents.at(0);  // none: the test fails here
  EXPECT_EQ(doc.font, "Courier New");
  EXPECT_EQ(doc.size, 12);
  EXPECT_FALSE(doc.bold || doc.italic || doc.underline);
  return doc.lines;
}

TEST_F(ReportTest, ShortcutsPrintTwelveLines) {
  mPShortcuts_Click(s());
  EXPECT_EQ(
      printedLines(rig.printer),
      (Lines{"", "       Keyboard shortcuts", "",
             "  <Esc> re-sets, cursor goes to the callsign input",
             "  <Enter> - on a blank input changes modes, if option is selected",
             "  # - marks <Ack> or <Com> while in those modes",
             "  A - changes the mode to Acknowledge", "  C - changes the mode to Comments",
             "  C# - clears <Ack> or <Com> while in those modes", "  D# - deletes the # check-in",
             "  DL - enter DL to delete the last check-in entry",
             "  <Space bar> marks <Ack> or <Com> in those modes, if option selected."}));
  EXPECT_TRUE(rig.dialogs.messages().empty());
}

class PastLogForms : public ReportTest, public ::testing::WithParamInterface<LogForm> {};

TEST_P(PastLogForms, PrintsPathFromColumnFiveAndRecords) {
  rig.write("032515F.ILE", inForm(GetParam(), kLog));
  rig.dialogs.chooserAnswers.push_back("/elsewhere/032515F.ILE");
  MPPastLog_Click(s());
  EXPECT_EQ(printedLines(rig.printer),
            concat({"", "    " + logPath("032515F.ILE"), ""}, kLogRecordLines));
  EXPECT_EQ(rig.dialogs.shown[0].title, " Select Check-in log file to load...");
}

INSTANTIATE_TEST_SUITE_P(BothForms, PastLogForms,
                         ::testing::Values(LogForm::Lines, LogForm::Quoted), formName);

TEST_F(ReportTest, PastLogPrintFailureIsSaid) {
  rig.printer.failEnd = true;
  rig.write("032515F.ILE", lineForm(kLog));
  rig.dialogs.chooserAnswers.push_back("032515F.ILE");
  MPPastLog_Click(s());
  ASSERT_EQ(rig.dialogs.messages().size(), 1u);
  EXPECT_EQ(rig.dialogs.messages()[0].text,
            "The printout of " + logPath("032515F.ILE") + " could not be finished.");
}

class MostCheckinsTest : public ReportTest {
 protected:
  std::vector<LogRecord> records(int n, const std::string& prefix = "K") {
    std::vector<LogRecord> r;
    for (int i = 1; i <= n; ++i) r.push_back({prefix + std::to_string(i), "N", "Q"});
    return r;
  }
  std::string failure(const std::string& name) {
    return " Check file " + logPath(name) + " for format, maybe a blank line below the last line.";
  }
  // The net's list as a full redraw shows it, then something else in its place.
  Lines netThenOtherLines() {
    rig.enter("K1ZZ");
    s().updateCheckIns();
    const Lines net = s().view.lines;
    s().view.lines = {"something else"};
    return net;
  }
};

TEST_F(MostCheckinsTest, PrintsTheLargestLogAndRebuildsTheList) {
  const Lines net = netThenOtherLines();
  rig.write("010126F.ILE", lineForm(records(1)));
  rig.write("020126F.ILE", inForm(LogForm::Quoted, kLog));
  rig.write("030126F.ILE", lineForm(records(1)));
  mPLogMostCheckins_Click(s());
  EXPECT_EQ(printedLines(rig.printer),
            concat({"", " " + logPath("020126F.ILE") + "   2  total", ""}, kLogRecordLines));
  EXPECT_TRUE(rig.dialogs.messages().empty());
  EXPECT_EQ(s().view.lines, net);
}

struct TieRow {
  const char* name;
  std::string first, second;  // the second sorts after the first in the file list
};

class MostCheckinsTie : public MostCheckinsTest, public ::testing::WithParamInterface<TieRow> {};

TEST_P(MostCheckinsTie, GoesToTheFirstInNameOrder) {
  // Written in the opposite order, so that the directory's own order cannot decide.
  rig.write(GetParam().second, lineForm(records(3, "B")));
  rig.write(GetParam().first, lineForm(records(3, "A")));
  mPLogMostCheckins_Click(s());
  const Lines& lines = printedLines(rig.printer);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[1], " " + logPath(GetParam().first) + "   3  total");
  EXPECT_EQ(lines[3], " A1           N              Q");
}

INSTANTIATE_TEST_SUITE_P(Rows, MostCheckinsTie,
                         ::testing::Values(TieRow{"ByDate", "010126F.ILE", "020126F.ILE"},
                                           TieRow{"LetterCaseIgnored", "a.ile", "B.ILE"},
                                           TieRow{"ByMonthNotYear", "010199F.ILE", "020100F.ILE"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct FailRow {
  const char* name;
  std::string bytes;
};

class MostCheckinsFailure : public MostCheckinsTest,
                            public ::testing::WithParamInterface<FailRow> {};

TEST_P(MostCheckinsFailure, NamesTheLogAndPrintsNothing) {
  netThenOtherLines();
  rig.write("010126F.ILE", lineForm(records(5)));
  rig.writeBytes("020126F.ILE", GetParam().bytes);
  rig.write("030126F.ILE", lineForm(records(9)));
  mPLogMostCheckins_Click(s());
  EXPECT_TRUE(rig.printer.documents.empty());
  EXPECT_TRUE(rig.printer.current.lines.empty());
  ASSERT_EQ(rig.dialogs.messages().size(), 1u);
  EXPECT_EQ(rig.dialogs.messages()[0].text, failure("020126F.ILE"));
  EXPECT_EQ(rig.dialogs.messages()[0].title, "");
  EXPECT_EQ(s().view.lines, Lines{"something else"});  // the list is not rebuilt
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MostCheckinsFailure,
    ::testing::Values(FailRow{"BlankLineBelowTheLastLine", "W1AW\r\nBob\r\nCT\r\n\r\n"},
                      FailRow{"QuotedRecordCutShort", "\"W1AW\",\"Bob\",\"CT\"\r\n\"K1ZZ\"\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MostCheckinsTest, PrintFailureNamesThePrintedLog) {
  rig.printer.failEnd = true;
  rig.write("010126F.ILE", lineForm(records(5)));
  rig.write("020126F.ILE", lineForm(records(1)));
  mPLogMostCheckins_Click(s());
  ASSERT_EQ(rig.dialogs.messages().size(), 1u);
  EXPECT_EQ(rig.dialogs.messages()[0].text, failure("010126F.ILE"));
}

TEST_F(MostCheckinsTest, NoCheckInsAnywhereIsSaidAndNothingPrinted) {
  mPLogMostCheckins_Click(s());  // today's empty log is the only one
  EXPECT_TRUE(rig.printer.documents.empty());
  ASSERT_EQ(rig.dialogs.messages().size(), 1u);
  EXPECT_EQ(rig.dialogs.messages()[0].text,
            " No check-in log with check-ins in " + pathText(rig.folder.path()) + ".");
}

}  // namespace
}  // namespace kelpie::test
