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

// Only the chosen name counts: the log is opened in LogFolder, in any letter case.
TEST_P(ViewerForms, ShowsTheRecordsNumbered) {
  rig.write("032515F.ILE", inForm(GetParam(), kThree));
  rig.dialogs.chooserAnswers.push_back("/somewhere/else/032515f.ile");
  mLoadLog_Click(s());
  EXPECT_EQ(s().view.lines, kThreeShown);
}

INSTANTIATE_TEST_SUITE_P(BothForms, ViewerForms, ::testing::Values(LogForm::Lines, LogForm::Quoted),
                         formName);

TEST_F(ReportTest, ViewerEntersTheReadOnlyStateAndEscLeavesIt) {
  rig.write("032515F.ILE", lineForm(kThree));
  rig.dialogs.chooserAnswers.push_back("C:\\Net\\Old\\032515F.ILE");
  mLoadLog_Click(s());

  ASSERT_EQ(rig.dialogs.shown.size(), 1u);
  EXPECT_EQ(rig.dialogs.shown[0].title, " Select Check-in log file to load...");
  EXPECT_EQ(rig.dialogs.shown[0].text, pathText(rig.folder.path()));  // starts in LogFolder
  EXPECT_TRUE(s().viewOnlyLog);
  for (const char* item : kPopupItems) EXPECT_FALSE(s().menu(item).enabled) << item;
  EXPECT_TRUE(s().menu("mnuQRZConnect").enabled);
  EXPECT_FALSE(s().view.entryEnabled);
  EXPECT_EQ(s().view.entryText, " * log for view only *");
  EXPECT_EQ(s().view.label3, logPath("032515F.ILE"));

  s().Form_KeyDown(kKeyEsc, 0);
  EXPECT_FALSE(s().viewOnlyLog);
  for (const char* item : kPopupItems) EXPECT_TRUE(s().menu(item).enabled) << item;
  EXPECT_TRUE(s().view.entryEnabled);
}

// Cancel changes nothing; a log that is not there is named, and the net stays.
TEST_F(ReportTest, ViewerCancelOrMissingLogStaysAtTheNet) {
  const MainView before = s().view;
  mLoadLog_Click(s());
  rig.dialogs.chooserAnswers.push_back("/elsewhere/010101F.ILE");
  mLoadLog_Click(s());
  EXPECT_FALSE(s().viewOnlyLog);
  EXPECT_EQ(s().view.lines, before.lines);
  EXPECT_EQ(s().view.label3, before.label3);
  const auto boxes = rig.dialogs.messages();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Kelpie could not read the check-in log " + logPath("010101F.ILE") +
                               " (No such file or directory).");
  EXPECT_EQ(boxes[0].title, " Check-in log");
}

struct BytesRow {
  const char* name;
  std::string bytes;
  Lines shown;
};

class ViewerBytes : public ReportTest, public ::testing::WithParamInterface<BytesRow> {};

TEST_P(ViewerBytes, ShowsWhatWasRead) {
  rig.writeBytes("032515F.ILE", GetParam().bytes);
  rig.dialogs.chooserAnswers.push_back(logPath("032515F.ILE"));
  mLoadLog_Click(s());
  EXPECT_EQ(s().view.lines, GetParam().shown);
  EXPECT_TRUE(s().viewOnlyLog);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ViewerBytes,
    ::testing::Values(BytesRow{"EmptyLog", "", {"", "   <Esc> to resume..."}},
                      BytesRow{"NameButNoQth",
                               "W1AW\r\nHiram\r\nCT\r\nK1ZZ\r\nBob\r\n",
                               {"1  W1AW Hiram CT", "2  K1ZZ Bob ", "", "   <Esc> to resume..."}},
                      BytesRow{"BlankLineBelowTheLastRecordIsNoCheckIn",
                               "W1AW\r\nHiram\r\nCT\r\n\r\n",
                               {"1  W1AW Hiram CT", "", "   <Esc> to resume..."}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kelpie::test
