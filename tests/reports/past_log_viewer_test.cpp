// The past-log viewer: its lines, the read-only state and the way back.
#include <gtest/gtest.h>

#include "report_fixture.h"
#include "reports/reports.h"

namespace kelpie::test {
namespace {

const std::vector<LogRecord> kThree{
    {"W1AW", "Hiram", "Newington, CT"}, {"K1ZZ", "", "Boston"}, {"N1XX", "Ann Lee", ""}};
const Lines kThreeShown{"1  W1AW Hiram Newington, CT", "2  K1ZZ  Boston", "3  N1XX Ann Lee ", "",
                        "   <Esc> to resume..."};

const char* const kPopupItems[] = {"mnuPopUpCall",     "mnuPopUpName",       "mnuPopUpQTH",
                                   "mnuPopUpMultiple", "mnuPopUpInsertGrid", "mnuPopUpUpdateCall"};

class ViewerForms : public ReportTest, public ::testing::WithParamInterface<LogForm> {};

TEST_P(ViewerForms, ShowsTheRecordsNumbered) {
  rig.write("032515F.ILE", inForm(GetParam(), kThree));
  rig.dialogs.chooserAnswers.push_back(logPath("032515F.ILE"));
  mLoadLog_Click(s());
  EXPECT_EQ(s().view.lines, kThreeShown);
}

INSTANTIATE_TEST_SUITE_P(BothForms, ViewerForms, ::testing::Values(LogForm::Lines, LogForm::Quoted),
                         formName);

TEST_F(ReportTest, ViewerEntersTheReadOnlyState) {
  rig.write("032515F.ILE", lineForm(kThree));
  rig.dialogs.chooserAnswers.push_back(logPath("032515F.ILE"));
  mLoadLog_Click(s());

  ASSERT_EQ(rig.dialogs.shown.size(), 1u);
  EXPECT_EQ(rig.dialogs.shown[0].kind, "chooser");
  EXPECT_EQ(rig.dialogs.shown[0].title, " Select Check-in log file to load...");
  EXPECT_EQ(rig.dialogs.shown[0].text, pathText(rig.folder.path()));  // starts in LogFolder
  EXPECT_TRUE(s().viewOnlyLog);
  for (const char* item : kPopupItems) EXPECT_FALSE(s().menu(item).enabled) << item;
  EXPECT_TRUE(s().menu("mnuQRZConnect").enabled);
  EXPECT_FALSE(s().view.entryEnabled);
  EXPECT_EQ(s().view.entryText, " * log for view only *");
  EXPECT_EQ(s().view.label3, logPath("032515F.ILE"));
  EXPECT_TRUE(s().view.label2Visible);
  EXPECT_EQ(s().view.label2, "");
  EXPECT_EQ(s().view.selected, -1);
  EXPECT_GT(rig.events.calls, 0);

  // Esc returns to the net with everything enabled again.
  s().Form_KeyDown(kKeyEsc, 0);
  EXPECT_FALSE(s().viewOnlyLog);
  for (const char* item : kPopupItems) EXPECT_TRUE(s().menu(item).enabled) << item;
  EXPECT_TRUE(s().view.entryEnabled);
}

TEST_F(ReportTest, ViewerOfAnEmptyLogShowsOnlyTheWayBack) {
  rig.writeBytes("032515F.ILE", "");
  rig.dialogs.chooserAnswers.push_back(logPath("032515F.ILE"));
  mLoadLog_Click(s());
  EXPECT_EQ(s().view.lines, (Lines{"", "   <Esc> to resume..."}));
  EXPECT_TRUE(s().viewOnlyLog);
}

TEST_F(ReportTest, ViewerCancelWhileViewingKeepsTheView) {
  rig.write("032515F.ILE", lineForm(kThree));
  rig.dialogs.chooserAnswers.push_back(logPath("032515F.ILE"));
  mLoadLog_Click(s());
  mLoadLog_Click(s());  // no answer queued: Cancel
  EXPECT_EQ(s().view.lines, kThreeShown);
  EXPECT_TRUE(s().viewOnlyLog);
  EXPECT_FALSE(s().menu("mnuPopUpCall").enabled);
  EXPECT_EQ(s().view.entryText, " * log for view only *");
}

TEST_F(ReportTest, ViewerCancelAtTheNetChangesNothing) {
  const MainView before = s().view;
  mLoadLog_Click(s());
  EXPECT_FALSE(s().viewOnlyLog);
  EXPECT_EQ(s().view.lines, before.lines);
  EXPECT_EQ(s().view.label3, before.label3);
  EXPECT_TRUE(s().view.entryEnabled);
}

struct ChosenRow {
  const char* name;
  std::string chosen;  // what the dialog gives back
};

class ViewerChosenPath : public ReportTest, public ::testing::WithParamInterface<ChosenRow> {};

TEST_P(ViewerChosenPath, OpensTheNameInLogFolder) {
  rig.write("032515F.ILE", lineForm(kThree));
  // An empty row stands for the file in LogFolder itself, whose path only the test knows.
  const std::string chosen = GetParam().chosen.empty() ? logPath("032515F.ILE") : GetParam().chosen;
  rig.dialogs.chooserAnswers.push_back(chosen);
  mLoadLog_Click(s());
  EXPECT_EQ(s().view.lines, kThreeShown);
  EXPECT_EQ(s().view.label3, logPath("032515F.ILE"));
}

INSTANTIATE_TEST_SUITE_P(Rows, ViewerChosenPath,
                         ::testing::Values(ChosenRow{"InLogFolder", ""},
                                           ChosenRow{"OtherFolder", "/somewhere/else/032515F.ILE"},
                                           ChosenRow{"WindowsPath", "C:\\Net\\Old\\032515F.ILE"},
                                           ChosenRow{"DriveRoot", "D:\\032515F.ILE"},
                                           ChosenRow{"MixedSeparators", "C:\\a/b\\032515F.ILE"},
                                           ChosenRow{"BareName", "032515F.ILE"},
                                           ChosenRow{"OtherLetterCase", "/elsewhere/032515f.ile"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReportTest, ViewerOfAMissingLogSaysSoAndStaysAtTheNet) {
  rig.dialogs.chooserAnswers.push_back("/elsewhere/010101F.ILE");
  const Lines before = s().view.lines;
  mLoadLog_Click(s());
  EXPECT_FALSE(s().viewOnlyLog);
  EXPECT_TRUE(s().view.entryEnabled);
  EXPECT_EQ(s().view.lines, before);
  const auto boxes = rig.dialogs.messages();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Kelpie could not read the check-in log " + logPath("010101F.ILE") +
                               " (No such file or directory).");
  EXPECT_EQ(boxes[0].title, " Check-in log");
}

struct CutRow {
  const char* name;
  std::string bytes;
  Lines shown;
};

class ViewerCutShort : public ReportTest, public ::testing::WithParamInterface<CutRow> {};

TEST_P(ViewerCutShort, ShowsWhatWasRead) {
  rig.writeBytes("032515F.ILE", GetParam().bytes);
  rig.dialogs.chooserAnswers.push_back(logPath("032515F.ILE"));
  mLoadLog_Click(s());
  EXPECT_EQ(s().view.lines, GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ViewerCutShort,
    ::testing::Values(CutRow{"NameButNoQth",
                             "W1AW\r\nHiram\r\nCT\r\nK1ZZ\r\nBob\r\n",
                             {"1  W1AW Hiram CT", "2  K1ZZ Bob ", "", "   <Esc> to resume..."}},
                      CutRow{"BlankLineBelowTheLastRecordIsNoCheckIn",
                             "W1AW\r\nHiram\r\nCT\r\n\r\n",
                             {"1  W1AW Hiram CT", "", "   <Esc> to resume..."}},
                      CutRow{"NoFinalLineEnd",
                             "W1AW\nHiram\nCT",
                             {"1  W1AW Hiram CT", "", "   <Esc> to resume..."}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReportTest, ViewerHasNoRecordLimit) {
  std::vector<LogRecord> many;
  for (int i = 1; i <= 400; ++i) many.push_back({"K" + std::to_string(i), "N", "Q"});
  rig.write("032515F.ILE", lineForm(many));
  rig.dialogs.chooserAnswers.push_back(logPath("032515F.ILE"));
  mLoadLog_Click(s());
  ASSERT_EQ(s().view.lines.size(), 402u);
  EXPECT_EQ(s().view.lines[150], "151  K151 N Q");
  EXPECT_EQ(s().view.lines[399], "400  K400 N Q");
}

}  // namespace
}  // namespace kelpie::test
