#include <gtest/gtest.h>

#include "geo/locator.h"
#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

// A redrawn line of a first-time station with no grid: number, the mark field, the in-and-out
// field, then the callsign and the empty name and QTH between runs of three spaces.
std::string redrawn(int i, const std::string& call, const std::string& mark = "") {
  return std::to_string(i) + "  " + mark + "  " + call + "         " +
         "  First time check-in   12/5/2026";
}

// A started net with n check-ins of stations found nowhere (no grid), K1AA0.. style calls.
class Net : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(rig.start()); }
  void checkIn(int n) {
    for (int i = 0; i < n; ++i)
      rig.enter("K" + std::to_string(10 + rig.session.checkIns.count) + "X");
  }
  const std::vector<std::string>& lines() { return rig.session.view.lines; }
  Session& s() { return rig.session; }
  Rig rig;
};

TEST_F(Net, EnterToggleWalksTheModesFromStateOne) {
  s().mEnterModes_Click();
  rig.enter("");
  EXPECT_TRUE(s().ackMode());
  EXPECT_EQ(s().view.command2, "Acknowledge");
  EXPECT_EQ(s().view.label3, "Enter # to mark for Acknowledge");
  EXPECT_EQ(s().markModeState, 2);
  rig.enter("");
  EXPECT_FALSE(s().ackMode());
  EXPECT_EQ(s().view.command2, "Comments");
  EXPECT_EQ(s().view.label3, "Enter # to mark for Comments");
  EXPECT_EQ(s().markModeState, 1);
  rig.enter("x");
  EXPECT_TRUE(s().ackMode());
  EXPECT_EQ(s().view.command2, "Acknowledge");
}

TEST_F(Net, EnterToggleAfterTheModeCommands) {
  s().mEnterModes_Click();
  rig.enter("a");
  EXPECT_EQ(s().markModeState, 2);
  EXPECT_EQ(s().view.label3, "Enter # to mark for Acknowledge");
  rig.enter("");
  EXPECT_FALSE(s().ackMode());
  rig.enter("C");
  EXPECT_EQ(s().markModeState, 3);
  EXPECT_FALSE(s().ackMode());
  EXPECT_EQ(s().view.label3, "Enter # to mark for Comments");
  rig.enter("");
  EXPECT_FALSE(s().ackMode());
  EXPECT_EQ(s().markModeState, 1);
  rig.enter("");
  EXPECT_TRUE(s().ackMode());
}

TEST_F(Net, WithAcShortcutsAShortEntryOnlyRedraws) {
  checkIn(2);
  s().view.lines = {"something else"};
  rig.enter("DX");  // "D" and a letter is no command
  EXPECT_TRUE(s().ackMode());
  EXPECT_EQ(s().view.command2, "Continue Check-Ins");
  EXPECT_EQ(lines().size(), 2u);
  EXPECT_EQ(s().view.entryText, "");
}

TEST_F(Net, NumbersMarkInTheCurrentModeWithinTheListOnly) {
  checkIn(7);
  rig.enter("C");
  rig.enter("5");
  EXPECT_EQ(lines()[4], "5  <Com>  K14X           First time check-in   12/5/2026");
  EXPECT_EQ(s().view.selected, 4);
  EXPECT_EQ(s().view.label3, "Select line, then right-click to edit.");
  EXPECT_EQ(s().checkIns.field(5, 9), "<Com>");
  for (const char* outside : {"8", "0", "-1", "0.4", "99999999999"}) {
    rig.enter(outside);
    EXPECT_EQ(s().view.entryText, "") << outside;
  }
  int marks = 0;
  for (int i = 1; i <= 7; ++i) marks += !s().checkIns.field(i, 9).empty();
  EXPECT_EQ(marks, 1);
}

TEST_F(Net, ThreeDigitNumberSwitchesToAcknowledge) {
  checkIn(120);
  rig.enter("C");
  rig.enter("105");
  EXPECT_TRUE(s().ackMode());
  EXPECT_EQ(s().checkIns.field(105, 7), "<Ack>");
  EXPECT_EQ(s().checkIns.field(105, 9), "");
  EXPECT_EQ(s().view.selected, 104);
}

TEST_F(Net, DeleteByNumberSavesAndClearDoesNot) {
  checkIn(4);
  rig.enter("2");
  rig.enter("4");
  rig.enter("d3");
  EXPECT_EQ(s().checkIns.count, 3);
  EXPECT_EQ(rig.read("120526F.ILE"), "K10X\r\n\r\n\r\nK11X\r\n\r\n\r\nK13X\r\n\r\n\r\n");
  EXPECT_EQ(lines()[2], redrawn(3, "K13X", "<Ack>"));
  EXPECT_EQ(s().checkIns.field(3, 1), "K13X");
  EXPECT_EQ(s().view.label2, "Enter Call # 4");
  const std::string log = rig.read("120526F.ILE");
  rig.enter("C2");
  EXPECT_EQ(s().checkIns.field(2, 7), "");
  EXPECT_EQ(lines()[1], "2    K11X           First time check-in   12/5/2026");
  EXPECT_EQ(rig.read("120526F.ILE"), log);
  rig.enter("D12");  // longer than three characters: discarded
  rig.enter("C12");
  EXPECT_EQ(s().checkIns.count, 3);
  rig.enter("D9");
  EXPECT_EQ(s().checkIns.count, 3);
}

TEST_F(Net, DeleteLastAsksAndCancelStillRedrawsAndSaves) {
  checkIn(2);
  const std::string log = rig.read("120526F.ILE");
  rig.writeBytes("120526F.ILE", "stale");
  rig.dialogs.messageAnswers = {Answer::Cancel};
  rig.enter("dl");
  auto box = rig.dialogs.messages().back();
  EXPECT_EQ(box.text, "Are you sure you want to delete K11X ?");
  EXPECT_EQ(box.title, " Delete last checkin !");
  EXPECT_EQ(box.buttons, Buttons::OKCancel);
  EXPECT_EQ(s().checkIns.count, 2);
  EXPECT_EQ(rig.read("120526F.ILE"), log);
  rig.dialogs.messageAnswers = {Answer::OK};
  rig.enter("DL");
  EXPECT_EQ(s().checkIns.count, 1);
  EXPECT_EQ(rig.read("120526F.ILE"), "K10X\r\n\r\n\r\n");
  // The dropped row leaves nothing behind for the next check-in.
  rig.enter("W9ZZ-");
  rig.enter("1");
  EXPECT_EQ(s().checkIns.field(2, 7), "");
  rig.dialogs.messageAnswers = {Answer::OK, Answer::OK};
  rig.enter("DL");
  rig.enter("DL");
  const size_t boxes = rig.dialogs.messages().size();
  rig.enter("DL");  // nothing left: no question, nothing changes
  EXPECT_EQ(rig.dialogs.messages().size(), boxes);
  EXPECT_EQ(s().checkIns.count, 0);
}

TEST_F(Net, CallsignRulesAndUpperCase) {
  rig.enter("k1abc");
  EXPECT_EQ(s().checkIns.field(1, 1), "K1ABC");
  rig.enter("ab1cd");  // digit third
  EXPECT_EQ(s().checkIns.field(2, 1), "AB1CD");
  rig.enter("abcd1");
  EXPECT_EQ(s().checkIns.count, 2);
  const auto box = rig.dialogs.messages().back();
  EXPECT_EQ(box.text, "ABCD1 has no numeral in 2nd or 3rd character.");
  EXPECT_EQ(box.title, "Invalid callsign...");
  EXPECT_EQ(s().view.entryText, "");
  rig.enter("DK1ABC");  // begins with D and is longer than three: never checked in
  EXPECT_EQ(s().checkIns.count, 2);
}

TEST_F(Net, CallsignInCommentsModeSwitchesToAcknowledge) {
  rig.enter("C");
  rig.enter("K1ABC");
  EXPECT_TRUE(s().ackMode());
  EXPECT_EQ(s().view.label3, "Enter # to mark as Acknowledge");
}

TEST_F(Net, SpaceMarksTheNextUnmarked) {
  checkIn(3);
  rig.enter("1");
  rig.enter("2");
  s().Form_KeyDown(kKeySpace, 0);
  EXPECT_EQ(s().checkIns.field(3, 7), "<Ack>");
  EXPECT_EQ(s().view.selected, 2);
  s().Form_KeyDown(kKeySpace, 0);  // all marked: redraw with nothing selected
  EXPECT_EQ(s().view.selected, -1);
  EXPECT_EQ(s().nextAckIndex, 0);
  int key = kKeySpace;
  s().CallSignInput_KeyPress(key);
  EXPECT_EQ(key, 0);  // the entry line never takes a space
  rig.enter("C");
  s().mUseNumberModes_Click();
  s().Form_KeyDown(kKeySpace, 0);
  EXPECT_EQ(s().checkIns.field(1, 9), "");
  s().mUseSpaceBarModes_Click();
  s().Form_KeyDown(kKeySpace, 0);
  EXPECT_EQ(s().checkIns.field(1, 9), "<Com>");
}

TEST_F(Net, ModesShowTheirOwnMarks) {
  checkIn(2);
  rig.enter("1");
  rig.enter("C");
  rig.enter("2");
  EXPECT_EQ(lines()[0], redrawn(1, "K10X"));
  EXPECT_EQ(lines()[1], redrawn(2, "K11X", "<Com>"));
  rig.enter("A");
  EXPECT_EQ(lines()[0], redrawn(1, "K10X", "<Ack>"));
  EXPECT_EQ(lines()[1], redrawn(2, "K11X"));
}

TEST_F(Net, EscBringsBackTheCheckInsAndThePopupItems) {
  checkIn(1);
  s().rosterEditMode = true;
  s().menu("mnuPopUpUpdateCall").visible = false;
  s().menu("mnuPopUpMultiple").visible = false;
  s().view.lines = {"K10X      ROSTER"};
  s().view.entryText = "half";
  s().clickedListIndex = 3;
  s().Form_KeyDown(kKeyEsc, 0);
  EXPECT_FALSE(s().rosterEditMode);
  EXPECT_EQ(lines(), (std::vector<std::string>{redrawn(1, "K10X")}));
  EXPECT_EQ(s().view.entryText, "");
  EXPECT_EQ(s().clickedListIndex, 0);
  EXPECT_TRUE(s().menu("mnuPopUpUpdateCall").visible);
  EXPECT_TRUE(s().menu("mnuPopUpMultiple").visible);
  EXPECT_EQ(s().view.command2, "Continue Check-Ins");
}

TEST_F(Net, AnyKeyLeavesThePastLogView) {
  s().viewOnlyLog = true;
  s().view.entryEnabled = false;
  s().menu("mnuPopUpName").enabled = false;
  s().view.lines = {"1  K1ABC BOB FN20"};
  s().Form_KeyDown('X', 0);
  EXPECT_FALSE(s().viewOnlyLog);
  EXPECT_TRUE(s().view.entryEnabled);
  EXPECT_TRUE(s().menu("mnuPopUpName").enabled);
  EXPECT_EQ(s().view.label3, "Enter Call or Call- for in&&out");
  EXPECT_EQ(lines().size(), 1u);  // the past log stays until the next redraw
}

TEST_F(Net, RightPressOpensThePopupOnlyOnASelectedLine) {
  checkIn(3);
  s().selectedCheckIn = 7;
  s().view.selected = -1;
  EXPECT_FALSE(s().CheckIns_MouseDown(2));
  EXPECT_EQ(s().clickedListIndex, -1);
  EXPECT_EQ(s().selectedCheckIn, 7);
  s().view.selected = 1;
  EXPECT_TRUE(s().CheckIns_MouseDown(2));
  EXPECT_EQ(s().selectedCheckIn, 2);
  EXPECT_FALSE(s().CheckIns_MouseDown(1));
}

TEST_F(Net, ThreeCheckInsMakeNineLogLines) {
  rig.write("vhf4k.adi", {"<CALL:5>W2GRD, <GRIDSQUARE:4>FN31 <EOR>"});
  std::string grid = "FN31";
  double distance = 0;
  ASSERT_EQ(calcBeamHeading(grid, distance, "FN20XA", "Miles"), BeamStatus::Ok);
  ASSERT_EQ(grid.back(), '\xB0');
  rig.enter("K1ABC");
  rig.enter("W2GRD");
  rig.enter("N3XYZ-");
  EXPECT_EQ(rig.read("120526F.ILE"),
            "K1ABC\r\n\r\n\r\nW2GRD\r\n\r\n" + grid + "\r\nN3XYZ\r\n\r\n\r\n");
  // A restart reads them back with no marks and no dates.
  Rig again;
  again.writeRoster({});
  again.writeSettings();
  again.writeBytes("120526F.ILE", rig.read("120526F.ILE"));
  again.dialogs.messageAnswers = {Answer::OK};
  ASSERT_TRUE(again.session.Form_Load());
  EXPECT_EQ(again.session.view.lines[1], "2    W2GRD      " + grid + "      ");
  EXPECT_EQ(again.session.checkIns.field(3, 8), "");
}

}  // namespace
}  // namespace kelpie::test

namespace kelpie::test {
namespace {

TEST(RosterView, EndsWhenAnEntryRedrawsTheCheckIns) {
  Rig rig;
  rig.writeRoster({{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", "-"}});
  ASSERT_TRUE(rig.start());
  rig.enter("N2XYZ");
  rig.session.mEditNetControl_Click();
  ASSERT_TRUE(rig.session.rosterEditMode);
  EXPECT_FALSE(rig.session.menu("mnuPopUpMultiple").visible);
  rig.enter("1");  // marks check-in 1 and redraws the check-ins
  EXPECT_FALSE(rig.session.rosterEditMode);
  EXPECT_TRUE(rig.session.menu("mnuPopUpMultiple").visible);
  EXPECT_TRUE(rig.session.menu("mnuPopUpUpdateCall").visible);
  EXPECT_EQ(rig.session.view.lines.size(), 1u);
}

}  // namespace
}  // namespace kelpie::test
