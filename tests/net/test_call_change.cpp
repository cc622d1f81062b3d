// The callsign change: roster record, today's check-in, the report lines, roster and back-up
// files, and the removal of the record already made under the new callsign.
#include <gtest/gtest.h>

#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

const char* const kLog = "120526F.ILE";  // the fake clock's 12/5/2026
const std::string kHeader =
    "222 MHz\r\nW1NC\r\n1/2/2020\r\ninitial check-in date\r\nlast check-in date\r\n"
    "old call sign\r\n";
const std::string kOldRecord = "K1OLD\r\nJOHN\r\nFN42\r\n1/5/2020\r\n11/28/2026\r\n-\r\n";
const std::string kChangedRecord = "K1NEW\r\nJOHN\r\nFN42\r\n1/5/2020\r\n11/28/2026\r\nK1OLD\r\n";
const std::string kMaryRecord = "W2DEF\r\nMARY\r\nBOSTON\r\n3/1/2021\r\n11/21/2026\r\n-\r\n";
const std::string kDupeRecord = "K1NEW\r\nJOHNNY\r\nFN42AA\r\n11/7/2026\r\n11/7/2026\r\n-\r\n";

const std::vector<std::string> kOld{"K1OLD", "JOHN", "FN42", "1/5/2020", "11/28/2026", "-"};
const std::vector<std::string> kMary{"W2DEF", "MARY", "BOSTON", "3/1/2021", "11/21/2026", "-"};
const std::vector<std::string> kDupe{"K1NEW", "JOHNNY", "FN42AA", "11/7/2026", "11/7/2026", "-"};

// Dialogs that also keep what the list showed when each message box came up.
class SnapDialogs : public FakeDialogs {
 public:
  const Session* session = nullptr;
  std::vector<std::vector<std::string>> linesAtMessage;
  Answer messageBox(const std::string& text, const std::string& title, Buttons buttons,
                    Answer defaultButton) override {
    linesAtMessage.push_back(session->view.lines);
    return FakeDialogs::messageBox(text, title, buttons, defaultButton);
  }
};

// A rig whose session uses SnapDialogs.
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
  std::string read(const std::string& name) const { return base.read(name); }
  bool exists(const std::string& name) const { return base.exists(name); }
  std::vector<ShownBox> messages() const { return dialogs.messages(); }
};

TEST(CallChange, SelectedFirstTimeLineTakesTheStationsHistory) {
  ChangeRig rig({kOld, kMary});
  rig.enter("W2DEF");
  rig.enter("K1NEW");  // a first-time check-in under the new callsign
  rig.pick(1);
  rig.dialogs.inputAnswers = {"k1old"};
  rig.session.mnuPopUpUpdateCall_Click();

  const auto inputs = rig.dialogs.inputs();
  ASSERT_EQ(inputs.size(), 1u);
  EXPECT_EQ(inputs[0].text, "Enter the station`s OLD callsign");
  EXPECT_EQ(inputs[0].title, " Old call");
  EXPECT_EQ(inputs[0].defaultText, "");
  const auto msgs = rig.messages();
  ASSERT_EQ(msgs.size(), 2u);
  EXPECT_EQ(msgs[0].text, "Is the new call K1NEW ?   <Enter> for yes.");
  EXPECT_EQ(msgs[0].title, "Is K1NEW the new call ?");
  EXPECT_EQ(msgs[0].buttons, Buttons::YesNo);
  EXPECT_EQ(msgs[0].defaultButton, Answer::Yes);
  EXPECT_EQ(msgs[1].text, "This edit will be done to the NETCONT.ROL file.");
  EXPECT_EQ(msgs[1].title, "");
  EXPECT_EQ(msgs[1].buttons, Buttons::OK);

  // The report shown while the roster file is written.
  EXPECT_EQ(
      rig.dialogs.linesAtMessage.at(1),
      (std::vector<std::string>{"K1OLD      the old call", "JOHN", "FN42", "1/5/2020", "11/28/2026",
                                "-", "", "changed to this:", "", "K1NEW      the new call", "JOHN",
                                "FN42", "1/5/2020", "11/28/2026", "K1OLD      the old call"}));

  EXPECT_EQ(rig.read("NETCONT.ROL"), kHeader + kChangedRecord + kMaryRecord);
  EXPECT_EQ(rig.read("NETCONT.BU1"), kHeader + kChangedRecord + kMaryRecord);
  EXPECT_EQ(rig.session.roster.count(), 3);

  // Today's check-in now carries the station's name, QTH and dates, and the list shows it.
  EXPECT_EQ(rig.session.view.lines,
            (std::vector<std::string>{"1    W2DEF   MARY   BOSTON   3/1/2021   11/21/2026",
                                      "2    K1NEW   JOHN   FN42   1/5/2020   11/28/2026"}));
  EXPECT_EQ(rig.session.view.label2, "Enter Call # 3");
  EXPECT_EQ(rig.read(kLog), "W2DEF\r\nMARY\r\nBOSTON\r\nK1NEW\r\nJOHN\r\nFN42\r\n");
}

TEST(CallChange, RecordAlreadyMadeForTheNewCallIsRemovedAfterTheBackUp) {
  ChangeRig rig({kOld, kMary, kDupe});
  rig.enter("K1NEW");  // known from an earlier net under the new callsign
  rig.pick(0);
  rig.dialogs.inputAnswers = {"K1OLD"};
  rig.session.mnuPopUpUpdateCall_Click();

  EXPECT_EQ(rig.read("NETCONT.BU1"), kHeader + kChangedRecord + kMaryRecord + kDupeRecord);
  EXPECT_EQ(rig.read("NETCONT.ROL"), kHeader + kChangedRecord + kMaryRecord);
  EXPECT_EQ(rig.session.roster.count(), 3);
  EXPECT_EQ(rig.session.checkIns.field(1, 2), "JOHN");
  EXPECT_EQ(rig.session.checkIns.field(1, 4), "1/5/2020");
  EXPECT_EQ(rig.session.view.lines,
            std::vector<std::string>{"1    K1NEW   JOHN   FN42   1/5/2020   11/28/2026"});
}

TEST(CallChange, DuplicateBeforeTheChangedRecordIsRemovedToo) {
  ChangeRig rig({kDupe, kMary, kOld});
  rig.dialogs.inputAnswers = {"K1OLD", "K1NEW"};
  rig.session.mUpdateToNewCall_Click();
  EXPECT_EQ(rig.read("NETCONT.BU1"), kHeader + kDupeRecord + kMaryRecord + kChangedRecord);
  EXPECT_EQ(rig.read("NETCONT.ROL"), kHeader + kMaryRecord + kChangedRecord);
  EXPECT_EQ(rig.session.roster.count(), 3);
}

TEST(CallChange, NoToTheNewCallChangesNothing) {
  ChangeRig rig({kOld, kMary});
  rig.enter("K1NEW");
  rig.pick(0);
  const std::string before = rig.read("NETCONT.ROL");
  const std::vector<std::string> lines = rig.session.view.lines;
  rig.dialogs.inputAnswers = {"K1OLD"};
  rig.dialogs.messageAnswers = {Answer::No};
  rig.session.mnuPopUpUpdateCall_Click();
  EXPECT_EQ(rig.messages().size(), 1u);
  EXPECT_EQ(rig.read("NETCONT.ROL"), before);
  EXPECT_FALSE(rig.exists("NETCONT.BU1"));
  EXPECT_EQ(rig.session.roster.row(2).callSign, "K1OLD");
  EXPECT_EQ(rig.session.checkIns.field(1, 4), "  First time check-in");
  EXPECT_EQ(rig.session.view.lines, lines);
}

struct SameCase {
  const char* name;
  bool fromLine;
  std::vector<std::string> answers;
  const char* text;
};

class SameCalls : public ::testing::TestWithParam<SameCase> {};

TEST_P(SameCalls, AreReportedAndChangeNothing) {
  const SameCase& c = GetParam();
  ChangeRig rig({kOld, kMary});
  rig.enter("W2DEF");
  if (c.fromLine)
    rig.pick(0);
  else
    rig.session.view.selected = -1;
  const std::string before = rig.read("NETCONT.ROL");
  for (const auto& a : c.answers) rig.dialogs.inputAnswers.push_back(a);
  rig.session.mUpdateToNewCall_Click();
  const auto msgs = rig.messages();
  ASSERT_FALSE(msgs.empty());
  EXPECT_EQ(msgs.back().text, c.text);
  EXPECT_EQ(msgs.back().title, " Same calls ?");
  EXPECT_EQ(msgs.back().buttons, Buttons::OK);
  EXPECT_EQ(rig.read("NETCONT.ROL"), before);
  EXPECT_FALSE(rig.exists("NETCONT.BU1"));
  EXPECT_EQ(rig.session.roster.row(3).oldCallSign, "-");
}

INSTANTIATE_TEST_SUITE_P(
    Ways, SameCalls,
    ::testing::Values(SameCase{"FromSelectedLine",
                               true,
                               {"w2def"},
                               "OOPS! new call is W2DEF and old call is W2DEF ?"},
                      SameCase{"BothTyped",
                               false,
                               {"k1old", "K1old"},
                               "OOPS! new call is K1OLD and old call is K1OLD ?"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CallChange, OldCallNotFoundChangesNothingAndKeepsTheOtherRecord) {
  ChangeRig rig({kOld, kMary, kDupe});
  rig.enter("W2DEF");
  rig.session.mEditNetControl_Click();
  rig.session.view.selected = -1;
  const std::string before = rig.read("NETCONT.ROL");
  rig.dialogs.inputAnswers = {"k1xxx", "k1new"};
  rig.session.mUpdateToNewCall_Click();
  const auto msgs = rig.messages();
  ASSERT_EQ(msgs.size(), 1u);
  EXPECT_EQ(msgs[0].text, "K1XXX not found. Nothing done...");
  EXPECT_EQ(msgs[0].title, " Not found");
  EXPECT_EQ(msgs[0].buttons, Buttons::OK);
  EXPECT_EQ(rig.read("NETCONT.ROL"), before);
  EXPECT_FALSE(rig.exists("NETCONT.BU1"));
  EXPECT_EQ(rig.session.roster.count(), 4);
  // The check-ins are drawn again, and the popup acts on them.
  EXPECT_EQ(rig.session.view.lines,
            std::vector<std::string>{"1    W2DEF   MARY   BOSTON   3/1/2021   11/21/2026"});
  EXPECT_FALSE(rig.session.rosterEditMode);
  EXPECT_TRUE(rig.session.view.menus["mnuPopUpMultiple"].visible);
  EXPECT_TRUE(rig.session.view.menus["mnuPopUpUpdateCall"].visible);
}

TEST(CallChange, RecordStoredInLowerCaseIsNotFound) {
  ChangeRig rig({{"k1old", "JOHN", "FN42", "1/5/2020", "11/28/2026", "-"}});
  rig.dialogs.inputAnswers = {"k1old", "k1new"};
  rig.session.mUpdateToNewCall_Click();
  ASSERT_EQ(rig.messages().size(), 1u);
  EXPECT_EQ(rig.messages()[0].title, " Not found");
  EXPECT_EQ(rig.session.roster.row(2).callSign, "k1old");
}

TEST(CallChange, HeaderIsNeverTakenForAStation) {
  ChangeRig rig({kOld});
  rig.session.roster.row(1).callSign = "6M";  // a band that reads like a callsign
  rig.dialogs.inputAnswers = {"6m", "K1NEW"};
  rig.session.mUpdateToNewCall_Click();
  EXPECT_EQ(rig.messages().back().title, " Not found");
  EXPECT_EQ(rig.session.roster.row(1).callSign, "6M");
}

TEST(CallChange, StationChangedTwiceKeepsOnlyItsLatestFormerCall) {
  ChangeRig rig({kOld, kMary});
  rig.dialogs.inputAnswers = {"K1OLD", "K1MID", "K1MID", "K1NEW"};
  rig.session.mUpdateToNewCall_Click();
  EXPECT_EQ(rig.session.roster.row(2).oldCallSign, "K1OLD");
  rig.session.mUpdateToNewCall_Click();
  EXPECT_EQ(rig.read("NETCONT.ROL"),
            kHeader + "K1NEW\r\nJOHN\r\nFN42\r\n1/5/2020\r\n11/28/2026\r\nK1MID\r\n" + kMaryRecord);
  EXPECT_EQ(rig.read("NETCONT.BU1"), rig.read("NETCONT.ROL"));
}

TEST(CallChange, TypedCallsignsAreUpperCasedAndTrimmed) {
  ChangeRig rig({kOld, kMary});
  rig.dialogs.inputAnswers = {"  k1old ", " k1new  "};
  rig.session.mUpdateToNewCall_Click();
  EXPECT_EQ(rig.read("NETCONT.ROL"), kHeader + kChangedRecord + kMaryRecord);
  const auto inputs = rig.dialogs.inputs();
  ASSERT_EQ(inputs.size(), 2u);
  EXPECT_EQ(inputs[1].text, "Enter the station`s NEW callsign");
  EXPECT_EQ(inputs[1].title, " New call");
  EXPECT_EQ(inputs[1].defaultText, "");
}

struct StopCase {
  const char* name;
  std::vector<std::string> answers;
  bool viewOnly;
  bool rosterView;
  bool popup;
  size_t boxes;
};

class Stops : public ::testing::TestWithParam<StopCase> {};

TEST_P(Stops, WithoutAWord) {
  const StopCase& c = GetParam();
  ChangeRig rig({kOld, kMary});
  rig.enter("K1NEW");
  if (c.rosterView) rig.session.mEditNetControl_Click();
  rig.session.view.selected = -1;
  rig.session.viewOnlyLog = c.viewOnly;
  const std::string before = rig.read("NETCONT.ROL");
  const std::vector<std::string> lines = rig.session.view.lines;
  for (const auto& a : c.answers) rig.dialogs.inputAnswers.push_back(a);
  if (c.popup)
    rig.session.mnuPopUpUpdateCall_Click();
  else
    rig.session.mUpdateToNewCall_Click();
  EXPECT_EQ(rig.dialogs.shown.size(), c.boxes);
  EXPECT_TRUE(rig.messages().empty());
  EXPECT_EQ(rig.read("NETCONT.ROL"), before);
  EXPECT_EQ(rig.session.view.lines, lines);
  EXPECT_EQ(rig.session.rosterEditMode, c.rosterView);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Stops,
    ::testing::Values(StopCase{"OldCancelled", {""}, false, false, false, 1},
                      StopCase{"OldSpaces", {"   "}, false, false, false, 1},
                      StopCase{"NewCancelled", {"K1OLD", ""}, false, false, false, 2},
                      StopCase{"NewSpaces", {"K1OLD", "  "}, false, false, true, 2},
                      StopCase{"PastLogShown", {}, true, false, false, 0},
                      StopCase{"PopupInRosterView", {}, false, true, true, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CallChange, EditMenuInTheRosterViewTakesTheNewCallFromTheSelectedStation) {
  ChangeRig rig({kOld, kMary, kDupe});
  rig.enter("K1NEW");
  rig.session.mEditNetControl_Click();
  rig.pick(2);  // the K1NEW record made at an earlier net
  rig.dialogs.inputAnswers = {"K1OLD"};
  rig.session.mUpdateToNewCall_Click();
  EXPECT_EQ(rig.messages().at(0).text, "Is the new call K1NEW ?   <Enter> for yes.");
  EXPECT_EQ(rig.read("NETCONT.ROL"), kHeader + kChangedRecord + kMaryRecord);
  // No check-in is touched from the roster view.
  EXPECT_EQ(rig.session.checkIns.field(1, 2), "JOHNNY");
  EXPECT_FALSE(rig.session.rosterEditMode);
}

// ---- the duplicate removal on its own ---------------------------------------------------------

struct DupeCase {
  const char* name;
  const char* call;
  int index;
  bool changed;
  std::vector<std::string> calls;  // station callsigns afterwards
};

class DupeEntry : public ::testing::TestWithParam<DupeCase> {};

TEST_P(DupeEntry, RemovesTheFirstOtherRecordOfTheCall) {
  const DupeCase& c = GetParam();
  Rig rig;
  rig.writeRoster({{"K1NEW"}, {"W2DEF"}, {"K1NEW"}, {"W2DEF"}, {"K5ONE"}});
  rig.start();
  rig.session.roster.row(1).callSign = "K1NEW";  // even a header that reads so stays
  bool changed = false;
  rig.session.getNewCallDupeEntry(c.call, c.index, changed);
  EXPECT_EQ(changed, c.changed);
  std::vector<std::string> calls;
  for (int r = 2; r <= rig.session.roster.count(); ++r)
    calls.push_back(rig.session.roster.row(r).callSign);
  EXPECT_EQ(calls, c.calls);
  EXPECT_EQ(rig.session.roster.row(1).callSign, "K1NEW");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DupeEntry,
    ::testing::Values(
        DupeCase{"IndexZero", "W2DEF", 0, false, {"K1NEW", "W2DEF", "K1NEW", "W2DEF", "K5ONE"}},
        DupeCase{"OnlyAtIndex", "K5ONE", 6, false, {"K1NEW", "W2DEF", "K1NEW", "W2DEF", "K5ONE"}},
        DupeCase{"LaterThanIndex", "K1NEW", 2, true, {"K1NEW", "W2DEF", "W2DEF", "K5ONE"}},
        DupeCase{"EarlierThanIndex", "K1NEW", 4, true, {"W2DEF", "K1NEW", "W2DEF", "K5ONE"}},
        DupeCase{"LastRow", "K5ONE", 2, true, {"K1NEW", "W2DEF", "K1NEW", "W2DEF"}},
        DupeCase{"NotThere", "K9ZZZ", 2, false, {"K1NEW", "W2DEF", "K1NEW", "W2DEF", "K5ONE"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kelpie::test
