// The callsign change: roster record, today's check-in, the report lines, roster and back-up
// files, and the removal of the record already made under the new callsign.
#include <gtest/gtest.h>

#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

const std::string kHeader =
    "222 MHz\r\nW1NC\r\n1/2/2020\r\ninitial check-in date\r\nlast check-in date\r\n"
    "old call sign\r\n";
const std::string kChangedRecord = "K1NEW\r\nJOHN\r\nFN42\r\n1/5/2020\r\n11/28/2026\r\nK1OLD\r\n";
const std::string kMaryRecord = "W2DEF\r\nMARY\r\nBOSTON\r\n3/1/2021\r\n11/21/2026\r\n-\r\n";
const std::string kDupeRecord = "K1NEW\r\nJOHNNY\r\nFN42AA\r\n11/7/2026\r\n11/7/2026\r\n-\r\n";
const std::vector<std::string> kOld{"K1OLD", "JOHN", "FN42", "1/5/2020", "11/28/2026", "-"};
const std::vector<std::string> kMary{"W2DEF", "MARY", "BOSTON", "3/1/2021", "11/21/2026", "-"};
const std::vector<std::string> kDupe{"K1NEW", "JOHNNY", "FN42AA", "11/7/2026", "11/7/2026", "-"};

// Dialogs that also keep what the list showed when each message box came up.
struct SnapDialogs : FakeDialogs {
  const Session* session = nullptr;
  std::vector<std::vector<std::string>> linesAtMessage;
  Answer messageBox(const std::string& text, const std::string& title, Buttons buttons,
                    Answer defaultButton) override {
    linesAtMessage.push_back(session->view.lines);
    return FakeDialogs::messageBox(text, title, buttons, defaultButton);
  }
};

// Every box shown, a "title / text" line each.
std::string boxes(const FakeDialogs& d) {
  std::string all;
  for (const ShownBox& b : d.shown) all += b.title + " / " + b.text + "\n";
  return all;
}

// A started net over the given roster stations, its session using SnapDialogs.
struct ChangeRig {
  Rig base;
  SnapDialogs dialogs;
  Platform platform{dialogs, base.clock, base.events, base.launcher, base.printer, base.help};
  Session session{platform, base.folder.path()};

  explicit ChangeRig(const std::vector<std::vector<std::string>>& stations) {
    dialogs.session = &session;
    base.writeRoster(stations);
    base.writeSettings();
    EXPECT_TRUE(session.Form_Load());
  }
  void enter(const std::string& text) {
    session.view.entryText = text;
    int key = kKeyEnter;
    session.CallSignInput_KeyPress(key);
  }
  void pick(int index) {
    session.selectLine(index);
    EXPECT_TRUE(session.CheckIns_MouseDown(2));
  }
};

TEST(CallChange, SelectedFirstTimeLineTakesTheHistoryAndTheDuplicateRecordGoes) {
  ChangeRig rig({kOld, kMary});
  rig.enter("W2DEF");
  rig.enter("K1NEW");                // a first-time check-in under the new callsign
  rig.session.saveNetControlFile();  // as on the way out: K1NEW now has a record of its own
  const std::string mary = "W2DEF\r\nMARY\r\nBOSTON\r\n3/1/2021\r\n12/5/2026\r\n-\r\n";
  const std::string dupe = "K1NEW\r\n-\r\n-\r\n12/5/2026\r\n12/5/2026\r\n-\r\n";
  rig.pick(1);
  rig.dialogs.inputAnswers = {"k1old"};
  rig.session.mnuPopUpUpdateCall_Click();

  EXPECT_EQ(boxes(rig.dialogs),
            " Old call / Enter the station`s OLD callsign\n"
            "Is K1NEW the new call ? / Is the new call K1NEW ?   <Enter> for yes.\n"
            " / This edit will be done to the NETCONT.ROL file.\n");
  EXPECT_EQ(rig.dialogs.shown.at(1).buttons, Buttons::YesNo);
  EXPECT_EQ(rig.dialogs.shown.at(1).defaultButton, Answer::Yes);
  // The report shown while the roster file is written.
  EXPECT_EQ(
      rig.dialogs.linesAtMessage.at(1),
      (std::vector<std::string>{"K1OLD      the old call", "JOHN", "FN42", "1/5/2020", "11/28/2026",
                                "-", "", "changed to this:", "", "K1NEW      the new call", "JOHN",
                                "FN42", "1/5/2020", "11/28/2026", "K1OLD      the old call"}));

  // The back-up is made after the change and before the duplicate record is removed: the roster
  // is one record shorter.
  EXPECT_EQ(rig.base.read("NETCONT.BU1"), kHeader + kChangedRecord + mary + dupe);
  EXPECT_EQ(rig.base.read("NETCONT.ROL"), kHeader + kChangedRecord + mary);
  // Today's check-in carries the station's name, QTH and dates, shown and saved at once.
  EXPECT_EQ(rig.session.view.lines,
            (std::vector<std::string>{"1    W2DEF   MARY   BOSTON   3/1/2021   11/21/2026",
                                      "2    K1NEW   JOHN   FN42   1/5/2020   11/28/2026"}));
  EXPECT_EQ(rig.base.read("120526F.ILE"), "W2DEF\r\nMARY\r\nBOSTON\r\nK1NEW\r\nJOHN\r\nFN42\r\n");
}

// A station renamed twice: first with both callsigns typed (trimmed and upper-cased), then from
// the roster view, where the selected record names the new call. It keeps its latest former
// call, and that selected record, made earlier under the newest call, goes after the back-up.
TEST(CallChange, StationRenamedTwiceTheSecondTimeFromTheRosterView) {
  ChangeRig rig({kDupe, kMary, kOld});
  rig.dialogs.inputAnswers = {"  k1old ", " k1mid  ", "k1mid"};
  rig.session.mUpdateToNewCall_Click();
  EXPECT_EQ(boxes(rig.dialogs),
            " Old call / Enter the station`s OLD callsign\n"
            " New call / Enter the station`s NEW callsign\n"
            " / This edit will be done to the NETCONT.ROL file.\n");
  rig.enter("K1NEW");  // today's check-in of the earlier record
  rig.session.mEditNetControl_Click();
  rig.pick(0);
  rig.session.mUpdateToNewCall_Click();
  const std::string twice = "K1NEW\r\nJOHN\r\nFN42\r\n1/5/2020\r\n11/28/2026\r\nK1MID\r\n";
  EXPECT_EQ(rig.base.read("NETCONT.BU1"), kHeader + kDupeRecord + kMaryRecord + twice);
  EXPECT_EQ(rig.base.read("NETCONT.ROL"), kHeader + kMaryRecord + twice);
  EXPECT_EQ(rig.session.checkIns.field(1, 2), "JOHNNY");  // no check-in is touched from there
  EXPECT_FALSE(rig.session.rosterEditMode);
}

struct NoChangeCase {
  const char* name;
  const char* oldAnswer;
  const char* newAnswer;
  int line;  // the selected list line, -1 for none
  bool rosterView;
  bool viewOnly;
  void (Session::*handler)();  // the popup's item or the Edit menu's
  bool sayNo;
  size_t boxes;
  const char* last;  // the last message's title and text, "" for none
};

const auto kPopup = &Session::mnuPopUpUpdateCall_Click, kMenu = &Session::mUpdateToNewCall_Click;

class NoChange : public ::testing::TestWithParam<NoChangeCase> {};

TEST_P(NoChange, LeavesRosterListAndFilesAsTheyWere) {
  const NoChangeCase& c = GetParam();
  ChangeRig rig({kOld, kMary, kDupe});
  rig.enter("W2DEF");
  rig.enter("K1NEW");
  rig.session.updateCheckIns();
  rig.session.roster.row(1).callSign = "K1XXX";  // a header that reads like a callsign
  if (c.rosterView) rig.session.mEditNetControl_Click();
  if (c.line >= 0) rig.pick(c.line);
  rig.session.viewOnlyLog = c.viewOnly;
  const std::string before = rig.base.read("NETCONT.ROL");
  const std::vector<std::string> lines = rig.session.view.lines;
  const Lines roster = rosterLines(rig.session.roster);
  rig.dialogs.inputAnswers = {c.oldAnswer, c.newAnswer};
  if (c.sayNo) rig.dialogs.messageAnswers = {Answer::No};
  (rig.session.*c.handler)();

  EXPECT_EQ(rig.dialogs.shown.size(), c.boxes);
  const auto msgs = rig.dialogs.messages();
  EXPECT_EQ(msgs.empty() ? "" : msgs.back().title + " / " + msgs.back().text, c.last);
  EXPECT_EQ(rig.base.read("NETCONT.ROL"), before);
  EXPECT_FALSE(rig.base.exists("NETCONT.BU1"));
  EXPECT_EQ(rosterLines(rig.session.roster), roster);
  EXPECT_EQ(rig.session.view.lines, lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NoChange,
    ::testing::Values(
        NoChangeCase{"OldSpaces", "   ", "", -1, false, false, kMenu, false, 1, ""},
        NoChangeCase{"NewSpaces", "K1OLD", "  ", -1, false, false, kPopup, false, 2, ""},
        NoChangeCase{"PastLogShown", "K1OLD", "", 1, false, true, kMenu, false, 0, ""},
        NoChangeCase{"PopupInRosterView", "K1OLD", "", 2, true, false, kPopup, false, 0, ""},
        NoChangeCase{"AnsweredNo", "K1OLD", "", 1, false, false, kPopup, true, 2,
                     "Is K1NEW the new call ? / Is the new call K1NEW ?   <Enter> for yes."},
        NoChangeCase{"SameFromLine", "w2def", "", 0, false, false, kPopup, false, 3,
                     " Same calls ? / OOPS! new call is W2DEF and old call is W2DEF ?"},
        // The header is no station, and the K1NEW record stays when nothing was changed.
        NoChangeCase{"OldNotFound", "k1xxx", "k1new", -1, false, false, kMenu, false, 3,
                     " Not found / K1XXX not found. Nothing done..."}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kelpie::test
