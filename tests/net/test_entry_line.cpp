// The entry line's commands, the marks and the keys the window previews.
#include <gtest/gtest.h>

#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

// A started net with n check-ins of stations found nowhere: K10X, K11X, ...
struct Net : Rig {
  explicit Net(int n) {
    EXPECT_TRUE(start());
    for (int i = 0; i < n; ++i) enter("K" + std::to_string(10 + i) + "X");
  }
  // Each check-in's marks, "A" for <Ack>, "C" for <Com>, "B" for both, "-" for none, then the
  // mode.
  std::string marks() {
    std::string r;
    for (int i = 1; i <= session.checkIns.count; ++i) {
      const std::string m = session.checkIns.field(i, 7) + session.checkIns.field(i, 9);
      r += m.empty() ? "-" : m == "<Ack>" ? "A" : m == "<Com>" ? "C" : "B";
    }
    return r + (session.ackMode() ? " ack" : " com");
  }
};

// Each row: the entries typed after five check-ins, the message box answers, then the marks
// and the mode, and today's log as check-in callsigns.
TEST(EntryLine, CommandsMarkClearAndDelete) {
  const std::tuple<Lines, std::deque<Answer>, std::string, std::string> rows[] = {
      {{"2", "4", "C", "5", "C4", "A", "c2"}, {}, "---AC ack", "10 11 12 13 14"},
      {{"C", "8", "0", "-1", "0.4", "99999999999", "1.5"}, {}, "-A--- ack", "10 11 12 13 14"},
      {{"C", "105", "3"}, {}, "--A-- ack", "10 11 12 13 14"},  // three characters: Acknowledge
      {{"2", "d3", "D12", "D9", "C12"}, {}, "-A-- ack", "10 11 13 14"},
      {{"dl", "DL", "DL"}, {Answer::Cancel, Answer::OK, Answer::OK}, "--- ack", "10 11 12"},
      {{"4", "DL", "k1abc", "ab1cd"}, {Answer::OK}, "---A-- ack", "10 11 12 13 K1ABC AB1CD"},
      {{"DX", "abcd1", "DK1ABC", "K10X"}, {}, "----- ack", "10 11 12 13 14"}};
  for (const auto& [typed, answers, marks, calls] : rows) {
    SCOPED_TRACE(typed[0]);
    Net net(5);
    net.enterAll(typed, answers);
    std::string log;
    for (const std::string& l : splitLines(net.read("120526F.ILE")))
      if (!l.empty()) log += " " + (l[0] == 'K' && l[3] == 'X' ? l.substr(1, 2) : l);
    EXPECT_EQ(net.marks() + log, marks + " " + calls);
    EXPECT_EQ(net.session.view.entryText, "");
  }
}

TEST(EntryLine, ExactTextsOfLinesLabelsAndBoxes) {
  Net net(3);
  Session& s = net.session;
  net.enterAll({"C", "2", "A", "1", "d3", "abcd1", "k11x", "dl"},
               {Answer::OK, Answer::OK, Answer::Cancel});
  EXPECT_EQ(s.view.lines,
            (std::vector<std::string>{"1  <Ack>  K10X           First time check-in   12/5/2026",
                                      "2    K11X           First time check-in   12/5/2026"}));
  EXPECT_EQ(s.view.label2 + "|" + s.view.label3,
            "Enter Call # 3|Select line, then right-click to edit.");
  EXPECT_EQ(net.dialogs.boxes(),
            "Invalid callsign... / ABCD1 has no numeral in 2nd or 3rd character.\n"
            "K11X in list... / K11X already checked-in.\n"
            " Delete last checkin ! / Are you sure you want to delete K11X ?\n");
  net.enterAll({"C", "2"});
  EXPECT_EQ(s.view.lines[1], "2  <Com>  K11X           First time check-in   12/5/2026");
  EXPECT_EQ(s.view.selected, 1);
  net.enter("W9ZZ-");
  EXPECT_EQ(s.view.lines[2], "3 in&out W9ZZ     First time check-in   12/5/2026");
  EXPECT_EQ(s.view.label3, "Enter # to mark as Acknowledge");
}

// With the statistics' answer in the list, numbers past the last check-in mark nothing.
TEST(EntryLine, NumbersBeyondTheCheckInsMarkNothing) {
  Net net(2);
  net.session.view.lines.assign(7, "");
  net.enter("5");
  EXPECT_EQ(net.session.checkIns.field(5, 7), "");
  EXPECT_EQ(net.session.view.lines.size(), 2u);
}

TEST(EntryLine, EnterOptionWalksTheModes) {
  Net net(0);
  Session& s = net.session;
  s.mEnterModes_Click();
  std::string walk;
  for (const char* typed : {"", "", "x", "a", "", "C", "", ""}) {
    net.enter(typed);
    walk += std::to_string(s.markModeState) + s.view.command2.substr(0, 3) + " ";
  }
  EXPECT_EQ(walk, "2Ack 1Com 2Ack 2Ack 1Com 3Com 1Com 2Ack ");
  EXPECT_EQ(s.view.label3, "Enter # to mark for Acknowledge");
}

TEST(Keys, SpaceMarksTheNextUnmarkedWhenTheOptionIsOn) {
  Net net(3);
  Session& s = net.session;
  net.enterAll({"1", "2"});
  s.Form_KeyDown(kKeySpace, 0);
  EXPECT_EQ(net.marks() + s.view.lines[2] + std::to_string(s.view.selected),
            "AAA ack3  <Ack>  K12X           First time check-in   12/5/20262");
  s.Form_KeyDown(kKeySpace, 0);  // all marked: nothing selected
  int key = kKeySpace;
  s.CallSignInput_KeyPress(key);
  EXPECT_TRUE(s.view.selected == -1 && key == 0);  // the entry line never takes a space
  net.enter("C");
  s.mUseNumberModes_Click();
  s.Form_KeyDown(kKeySpace, 0);
  s.mUseSpaceBarModes_Click();
  s.Form_KeyDown(kKeySpace, 0);
  EXPECT_EQ(net.marks(), "BAA com");
}

TEST(Keys, EscBringsBackTheCheckInsAndAnyKeyLeavesThePastLog) {
  Net net(1);
  Session& s = net.session;
  s.mEditNetControl_Click();
  EXPECT_FALSE(s.menu("mnuPopUpMultiple").visible || s.menu("mnuPopUpUpdateCall").visible);
  s.view.entryText = "half";
  s.Form_KeyDown(kKeyEsc, 0);
  EXPECT_FALSE(s.rosterEditMode || s.view.lines.size() != 1);
  EXPECT_EQ(s.view.entryText + s.view.command2, "Continue Check-Ins");
  EXPECT_TRUE(s.menu("mnuPopUpMultiple").visible && s.menu("mnuPopUpUpdateCall").visible);
  s.mEditNetControl_Click();
  net.enter("A");  // a redraw of the check-ins ends the roster view
  EXPECT_TRUE(!s.rosterEditMode && s.menu("mnuPopUpMultiple").visible);
  s.viewOnlyLog = true;
  s.view.entryEnabled = s.menu("mnuPopUpName").enabled = false;
  s.view.lines = {"1  K1ABC BOB FN20"};
  s.Form_KeyDown('X', 0);
  EXPECT_TRUE(!s.viewOnlyLog && s.view.entryEnabled && s.menu("mnuPopUpName").enabled);
  EXPECT_EQ(s.view.label3, "Enter Call or Call- for in&&out");
  EXPECT_EQ(s.view.lines.size(), 1u);  // the past log stays until the next redraw
}

TEST(Keys, RightPressOpensThePopupOnlyOnASelectedLine) {
  Net net(3);
  Session& s = net.session;
  s.selectedCheckIn = 7;
  s.view.selected = -1;
  EXPECT_FALSE(s.CheckIns_MouseDown(2) || s.selectedCheckIn != 7);
  s.view.selected = 1;
  EXPECT_FALSE(s.CheckIns_MouseDown(1));
  EXPECT_TRUE(s.CheckIns_MouseDown(2) && s.selectedCheckIn == 2);
}

}  // namespace
}  // namespace kelpie::test
