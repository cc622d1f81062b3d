// The three print commands: one document each in Courier New 12, their lines, the tie rule,
// the failure message and the printer's note.
#include "reports/printouts.h"

#include <gtest/gtest.h>

#include "report_fixture.h"
#include "reports/reports.h"

namespace kelpie::test {
namespace {

const std::vector<LogRecord> kLog{{"W1AW", "Hiram", "Newington, CT"},
                                  {"ABCDEFGHIJKLMN", "Abcdefghijklmnop", "Far"}};
const Lines kLogRecordLines{" W1AW         Hiram          Newington, CT", " ABCDEFGHIJKLMN",
                            std::string(14, ' ') + "Abcdefghijklmnop",
                            std::string(29, ' ') + "Far"};

Lines concat(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

void expectCourierNew12(const FakePrinter::Doc& doc) {
  EXPECT_EQ(doc.font, "Courier New");
  EXPECT_EQ(doc.size, 12);
  EXPECT_FALSE(doc.bold);
  EXPECT_FALSE(doc.italic);
  EXPECT_FALSE(doc.underline);
}

// A printer whose pages went to a file, as the Qt printer does without a printer.
class NotingPrinter : public FakePrinter {
 public:
  std::string note = "Saved as /logs/Print Shortcuts 2026-12-05.pdf";
  std::string endDoc(bool& ok) override {
    FakePrinter::endDoc(ok);
    return note;
  }
};

TEST_F(ReportTest, ShortcutsPrintTwelveLinesInOneDocument) {
  s().selectComment();
  mPShortcuts_Click(s());
  ASSERT_EQ(rig.printer.documents.size(), 1u);
  expectCourierNew12(rig.printer.documents[0]);
  EXPECT_EQ(rig.printer.documents[0].lines, shortcutPrintLines());
  EXPECT_TRUE(rig.dialogs.messages().empty());
}

TEST(Printouts, PrinterNoteIsShown) {
  TempFolder folder;
  FakeDialogs dialogs;
  FakeClock clock;
  FakeEvents events;
  FakeLauncher launcher;
  NotingPrinter printer;
  FakeHelp help;
  Platform platform{dialogs, clock, events, launcher, printer, help};
  Session session(platform, folder.path());
  mPShortcuts_Click(session);
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].text, printer.note);
  EXPECT_EQ(dialogs.messages()[0].title, "");
  EXPECT_EQ(dialogs.messages()[0].buttons, Buttons::OK);
}

class PastLogForms : public ReportTest, public ::testing::WithParamInterface<LogForm> {};

TEST_P(PastLogForms, PrintsPathAndRecords) {
  rig.write("032515F.ILE", inForm(GetParam(), kLog));
  rig.dialogs.chooserAnswers.push_back("/elsewhere/032515F.ILE");
  MPPastLog_Click(s());
  ASSERT_EQ(rig.printer.documents.size(), 1u);
  expectCourierNew12(rig.printer.documents[0]);
  EXPECT_EQ(rig.printer.documents[0].lines,
            concat({"", "    " + logPath("032515F.ILE"), ""}, kLogRecordLines));
  EXPECT_EQ(rig.dialogs.shown[0].title, " Select Check-in log file to load...");
  EXPECT_EQ(s().view.label3, "Enter Call or Call- for in&&out");
}

INSTANTIATE_TEST_SUITE_P(BothForms, PastLogForms,
                         ::testing::Values(LogForm::Lines, LogForm::Quoted), formName);

TEST_F(ReportTest, PastLogCancelPrintsNothing) {
  MPPastLog_Click(s());
  EXPECT_TRUE(rig.printer.documents.empty());
  EXPECT_TRUE(rig.printer.current.lines.empty());
}

TEST_F(ReportTest, PastLogMissingPrintsNothing) {
  rig.dialogs.chooserAnswers.push_back("/elsewhere/010101F.ILE");
  MPPastLog_Click(s());
  EXPECT_TRUE(rig.printer.documents.empty());
  EXPECT_TRUE(rig.printer.current.lines.empty());
  EXPECT_EQ(rig.dialogs.messages().size(), 1u);
}

TEST_F(ReportTest, PastLogRebuildsTheNetsList) {
  rig.enter("K1ZZ");
  s().updateCheckIns();  // the list as a full redraw shows it
  const Lines net = s().view.lines;
  rig.write("032515F.ILE", lineForm(kLog));
  rig.dialogs.chooserAnswers.push_back("032515F.ILE");
  MPPastLog_Click(s());
  EXPECT_EQ(s().view.lines, net);
}

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
  void printMost() { mPLogMostCheckins_Click(s()); }
  std::string failure(const std::string& name) {
    return " Check file " + logPath(name) + " for format, maybe a blank line below the last line.";
  }
};

TEST_F(MostCheckinsTest, PrintsTheLargestLogUnderItsHeading) {
  rig.write("010126F.ILE", lineForm(records(1)));
  rig.write("020126F.ILE", quotedForm(kLog));
  rig.write("030126F.ILE", lineForm(records(1)));
  printMost();
  ASSERT_EQ(rig.printer.documents.size(), 1u);
  expectCourierNew12(rig.printer.documents[0]);
  EXPECT_EQ(rig.printer.documents[0].lines,
            concat({"", " " + logPath("020126F.ILE") + "   2  total", ""}, kLogRecordLines));
  EXPECT_TRUE(rig.dialogs.messages().empty());
}

TEST_F(MostCheckinsTest, HeadingOfTwentyThree) {
  rig.write("032515F.ILE", lineForm(records(23)));
  printMost();
  ASSERT_EQ(rig.printer.documents.size(), 1u);
  const Lines& lines = rig.printer.documents[0].lines;
  ASSERT_EQ(lines.size(), 26u);
  EXPECT_EQ(lines[1], " " + logPath("032515F.ILE") + "   23  total");
  EXPECT_EQ(lines[25], " K23          N              Q");
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
  printMost();
  ASSERT_EQ(rig.printer.documents.size(), 1u);
  EXPECT_EQ(rig.printer.documents[0].lines[1], " " + logPath(GetParam().first) + "   3  total");
  EXPECT_EQ(rig.printer.documents[0].lines[3], " A1           N              Q");
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
  rig.enter("K1ZZ");
  s().updateCheckIns();  // the list as a full redraw shows it
  const Lines net = s().view.lines;
  s().view.lines = {"something else"};  // the list is not rebuilt after the failure
  rig.write("010126F.ILE", lineForm(records(5)));
  rig.writeBytes("020126F.ILE", GetParam().bytes);
  rig.write("030126F.ILE", lineForm(records(9)));
  printMost();
  EXPECT_TRUE(rig.printer.documents.empty());
  EXPECT_TRUE(rig.printer.current.lines.empty());
  ASSERT_EQ(rig.dialogs.messages().size(), 1u);
  EXPECT_EQ(rig.dialogs.messages()[0].text, failure("020126F.ILE"));
  EXPECT_EQ(rig.dialogs.messages()[0].title, "");
  EXPECT_EQ(rig.dialogs.messages()[0].buttons, Buttons::OK);
  EXPECT_EQ(s().view.lines, Lines{"something else"});
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MostCheckinsFailure,
    ::testing::Values(FailRow{"BlankLineBelowTheLastLine", "W1AW\r\nBob\r\nCT\r\n\r\n"},
                      FailRow{"LastRecordWithoutQth", "W1AW\r\nBob\r\nCT\r\nK1ZZ\r\nZed\r\n"},
                      FailRow{"QuotedRecordCutShort", "\"W1AW\",\"Bob\",\"CT\"\r\n\"K1ZZ\"\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MostCheckinsTest, PrintFailureNamesThePrintedLog) {
  rig.printer.failEnd = true;
  rig.write("010126F.ILE", lineForm(records(5)));
  rig.write("020126F.ILE", lineForm(records(1)));
  printMost();
  ASSERT_EQ(rig.dialogs.messages().size(), 1u);
  EXPECT_EQ(rig.dialogs.messages()[0].text, failure("010126F.ILE"));
}

TEST_F(MostCheckinsTest, NoCheckInsAnywhereIsSaidAndNothingPrinted) {
  // Today's empty log is the only one.
  printMost();
  EXPECT_TRUE(rig.printer.documents.empty());
  ASSERT_EQ(rig.dialogs.messages().size(), 1u);
  EXPECT_EQ(rig.dialogs.messages()[0].text,
            " No check-in log with check-ins in " + pathText(rig.folder.path()) + ".");
}

TEST_F(MostCheckinsTest, RebuildsTheNetsList) {
  rig.enter("K1ZZ");
  s().updateCheckIns();  // the list as a full redraw shows it
  const Lines net = s().view.lines;
  s().view.lines = {"something else"};
  rig.write("010126F.ILE", lineForm(records(5)));
  printMost();
  EXPECT_EQ(rig.printer.documents.size(), 1u);
  EXPECT_EQ(s().view.lines, net);
}

TEST_F(MostCheckinsTest, NoRecordLimit) {
  rig.write("010126F.ILE", lineForm(records(40000)));
  printMost();
  ASSERT_EQ(rig.printer.documents.size(), 1u);
  EXPECT_EQ(rig.printer.documents[0].lines[1], " " + logPath("010126F.ILE") + "   40000  total");
  EXPECT_EQ(rig.printer.documents[0].lines.size(), 40003u);
}

}  // namespace
}  // namespace kelpie::test
