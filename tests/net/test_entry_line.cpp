// The entry line's commands, the marks, the keys the window previews, the station lookup (the
// roster, the club list, the name list and the ADIF grid) and the search with "?".
#include <gtest/gtest.h>

#include <sstream>

#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

// What the window shows: the boxes since the last look, the list and the two hints.
std::string screen(Rig& r) {
  std::string s = r.dialogs.boxes();
  for (const std::string& line : r.session.view.lines) s += "| " + line + "\n";
  r.dialogs.shown.clear();
  return s + r.session.view.label2 + "\n" + r.session.view.label3 + "\n";
}

// A started net with n check-ins of stations found nowhere: K10X, K11X, ...
struct Net : Rig {
  explicit Net(int n) {
    EXPECT_TRUE(start());
    for (int i = 0; i < n; ++i) enter("K" + std::to_string(10 + i) + "X");
  }
  // Each check-in's marks (A <Ack>, C <Com>, B both, - none), then the mode.
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
  net.enterAll({"C", "2", "A", "1", "d3", "abcd1", "k11x", "dl"},
               {Answer::OK, Answer::OK, Answer::Cancel});
  std::string got = screen(net);
  net.enterAll({"C", "2"});
  got += screen(net) + std::to_string(net.session.view.selected) + "\n";
  net.enter("W9ZZ-");
  EXPECT_EQ(got + screen(net), golden("net/entry_line_texts"));
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

TEST(Keys, SpaceMarksTheNextUnmarkedAndRightPressNeedsASelectedLine) {
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
  s.selectedCheckIn = 7;  // a right-press opens the popup only on a selected line
  s.view.selected = -1;
  EXPECT_FALSE(s.CheckIns_MouseDown(2) || s.selectedCheckIn != 7);
  s.view.selected = 1;
  EXPECT_FALSE(s.CheckIns_MouseDown(1));
  EXPECT_TRUE(s.CheckIns_MouseDown(2) && s.selectedCheckIn == 2);
  s.view.lines.assign(7, "");  // the statistics' answer: numbers past the check-ins mark nothing
  net.enter("5");
  EXPECT_TRUE(s.checkIns.field(5, 7).empty() && s.view.lines.size() == 3);
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

struct Lookup : Rig {
  Lookup() {
    writeRoster({{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", "-"},
                 {"k1low", "LOW", "X", "1/1/2021", "2/2/2022", "-"}},
                "K1HDR");  // a header whose first line reads like a callsign
    write("BURROW.DAT", {"W2CLB", "CARL", "ALBANY NY", "W2NOG", "NED", "TROY", "N9X"});
    write("ck2list.dat", {"N9NAM  ALICE", "W2CLB  CARLOS", "SE7EN77", "K7LONGGRANT", "N2", "K1AB"});
    write("vhf4k.adi", {"<CALL:5>W2CLB, <GRIDSQUARE:4>FN32 <EOR>",
                        "<CALL:5>N5GRD, <GRIDSQUARE:X>FN31 <CALL:5>N5GRD, <GRIDSQUARE:6>EM12aa",
                        "<CALL:5>N5GRD, <GRIDSQUARE:6>FN20"});
    EXPECT_TRUE(start());
  }
};

// Each kind of station gets its line in the list and its check-in fields: name, QTH, first
// and last check-in, grid.
TEST(Lookup, EachKindOfStationGetsItsLineAndFields) {
  std::string got;
  for (const std::string typed : {"K1ABC", "K1ABC-", "W2CLB", "W2NOG-", "N9X", "N9NAM", "N8NON-",
                                  "N5GRD", "k1low", "K7LONGG", "K1HDR", "SE7EN77", "N2X", "K1AB"}) {
    Lookup rig;
    rig.enter(typed);
    const auto& f = rig.session.checkIns.row(1).f;
    got += typed + "\n| " + rig.session.view.lines.at(0) + "\n";
    got += f[2] + "|" + f[3] + "|" + f[4] + "|" + f[5] + "|" + f[6] + "\n";
    EXPECT_TRUE(rig.dialogs.shown.empty());
  }
  EXPECT_EQ(got, golden("net/lookup_kinds"));
}

// The duplicate refused and the lines redrawn; the station files read afresh at every check-in,
// created empty when missing, in either form.
TEST(Lookup, RedrawnLinesTheDuplicateRefusedAndFilesReadAfresh) {
  Lookup rig;
  rig.enterAll({"K1ABC-", "N9NAM", "n9nam", "K1ABC"});
  rig.session.updateCheckIns();
  EXPECT_EQ(screen(rig) + rig.read("120526F.ILE"), golden("net/lookup_redrawn"));
  rig.write("BURROW.DAT", {"\"W4QQQ\",\"QUINN, JR\",\"ATLANTA\"", "\"N9X\""});
  rig.write("ck2list.dat", {"N6NEW  FRESH"});
  rig.writeRoster({{"N5ROS", "ROSS", "Q", "1/1/2020", "1/1/2020", "-"}});
  rig.enterAll({"W4QQQ", "N9X", "N6NEW", "N5ROS"});
  EXPECT_EQ(rig.read("120526F.ILE"), golden("net/lookup_files_afresh"));
  std::filesystem::remove(rig.folder / "BURROW.DAT");
  std::filesystem::remove(rig.folder / "ck2list.dat");
  rig.enter("N1ZZZ");
  EXPECT_EQ(rig.session.checkIns.count, 7);
  EXPECT_TRUE(rig.exists("BURROW.DAT"));
  // In the roster view, the duplicate's roster lines are selected: the later one stays.
  rig.session.view.lines = {"K1ABC     BOB          FN20", "K1ABCD    DAN          X",
                            "N2XYZ     AL           Y"};
  rig.session.entryText = "K1ABC";
  std::string result;
  rig.session.getStationInfo(result);
  EXPECT_EQ(result + std::to_string(rig.session.view.selected), "1");
}

// The lines merge the roster, the club and name lists and mark today's stations; a number
// picks one. Each pattern row: typed, then the stations found in their order.
TEST(StationSearch, PatternsLinesAndPicksByNumber) {
  Rig rig;
  rig.writeRoster({{"KA0SSY", "SAM", "DENVER", "1/1/2020", "11/28/2026"},
                   {"N2SYA", "NED", "TROY", "1/1/2020", "10/3/2026"},
                   {"WKA0SY", "", "", "1/1/2020", "11/30/2026"},
                   {"DL1SYZ", "DAN", "BONN", "1/1/2020", "1/9/2025"}});
  rig.write("BURROW.DAT", {"KA0SSY", "CLUB SAM", "AURORA", "W9SYX", "CARL", "", "W2AB", "A", "B"});
  rig.write("ck2list.dat", {"W9SYX  CARLOS", "K5SYN  NINA", "WKA0SY WILMA"});
  ASSERT_TRUE(rig.start());
  rig.enterAll({"N2SYA", "?SY"});
  const std::string found = screen(rig);
  EXPECT_EQ(found, golden("net/search_lines"));
  rig.session.view.selected = 2;
  EXPECT_FALSE(rig.session.CheckIns_MouseDown(2));  // no popup edit on a match
  const std::string logBefore = rig.read("120526F.ILE");
  rig.enterAll({"7", "0"});  // out of range: nothing happens
  EXPECT_EQ(screen(rig) + rig.read("120526F.ILE"), found + logBefore);
  // The ordinary check-in of the callsign; one beginning with "D" is checked in too.
  rig.enterAll({"6", "?SY", "4"});
  EXPECT_EQ(rig.read("120526F.ILE"), logBefore + "K5SYN\r\nNINA\r\n\r\nDL1SYZ\r\nDAN\r\nBONN\r\n");
  rig.session.updateCheckIns();
  const std::string redrawn = screen(rig) + rig.read("120526F.ILE");
  rig.enter("?SY");
  rig.session.Form_KeyDown(kKeyEsc, 0);  // Esc: back without a change
  EXPECT_EQ(screen(rig) + rig.read("120526F.ILE"), redrawn);
  std::istringstream rows(
      "?SY WKA0SY KA0SSY N2SYA DL1SYZ W9SYX K5SYN|?KA*Y KA0SSY|?*SY WKA0SY KA0SSY|"
      "?ka0s?y KA0SSY|?A0?S KA0SSY|?W* WKA0SY W9SYX W2AB|?Q");
  for (std::string row; std::getline(rows, row, '|');) {
    const std::string typed = row.substr(0, row.find(' '));
    rig.enter(typed);
    std::string got = typed;
    for (const std::string& c : rig.session.searchCalls) got += " " + c;
    EXPECT_EQ(got, row);
    EXPECT_EQ(rig.session.view.label3, "Enter # to check in, <Esc> to return");
  }
  EXPECT_EQ(rig.session.view.lines,
            Lines{"No station in the roster, club list or name list fits Q"});
  rig.dialogs.inputAnswers.push_back("ka*y");  // the menu command asks for the pattern
  rig.session.mFindCall_Click();
  EXPECT_EQ(rig.session.searchCalls, Lines{"KA0SSY"});
}

TEST(StationSearch, RegularsHalfOfTheLastEightJoinedAcrossCallChanges) {
  // The nets, newest first a day apart back from 11/28, then today's check-ins: half of 8, the
  // 9th net and today's stations left out; two of three; joined across the callsign change;
  // heard tonight under the former call.
  const std::pair<const char*, const char*> rows[] = {
      {"K1A K2B K3C K4D|K1A K2B K3C K4D|K1A K2B K4D|K1A K4D K1A|K4D|K4D|K4D|K4D|K2B K3C", "K4D"},
      {"K5E|K6F K5E|K6F K8H", ""},
      {"N7NEW|N7NEW K7OLD|K7OLD|K7OLD", ""},
      {"K7OLD|N7NEW", "K7OLD"}};
  std::string got;
  for (const auto& [nets, today] : rows) {
    Rig rig;
    rig.writeRoster({{"N7NEW", "NEWT", "X", "1/1/2020", "1/1/2020", "K7OLD"}});
    ASSERT_TRUE(rig.start());
    std::istringstream netsIn(nets), todayIn(today);
    std::string net, call;
    for (int n = 28; std::getline(netsIn, net, '|'); --n) {
      Lines log;
      std::istringstream calls(net);
      while (calls >> call) log.insert(log.end(), {call, "NM", "QTH"});
      rig.write("11" + std::to_string(n) + "26F.ILE", log);
    }
    while (todayIn >> call) rig.enter(call);
    rig.enter("?");
    for (const std::string& c : rig.session.searchCalls) got += c + " ";
    got += "\n" + screen(rig);
  }
  EXPECT_EQ(got, golden("net/search_regulars"));
}

}  // namespace
}  // namespace kelpie::test
