// The entry line's commands and marks, the keys the window previews, the station lookup (the
// roster, the club list, the name list and the ADIF grid), the search with "?", and the edits
// from the list's popup menu: fields, grid insertion, the roster view, the web lookup and the
// callsign change.
#include <gtest/gtest.h>

#include <sstream>

#include "net/list_lines.h"
#include "net/station_search.h"
#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

// What the operator saw and what was written: each box since the last look (title / text /
// default text), the list, the two hints, then today's log, the roster and its back-up.
std::string outcome(Rig& r) {
  std::string s;
  for (const ShownBox& b : r.dialogs.shown)
    s += b.title + " / " + b.text + " / " + b.defaultText + "\n";
  r.dialogs.shown.clear();
  for (const std::string& line : r.session.view.lines) s += "| " + line + "\n";
  s += r.session.view.label2 + "\n" + r.session.view.label3 + "\n";
  for (const std::string f : {"120526F.ILE", "NETCONT.ROL", "NETCONT.BU1"})
    s += "--- " + f + "\n" + r.read(f);
  return s;
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
// and the mode, and today's log as check-in callsigns; the entry line is left empty.
TEST(EntryLine, CommandsMarkClearAndDelete) {
  const std::tuple<Lines, std::deque<Answer>, std::string, std::string> rows[] = {
      {{"2", "4", "C", "5", "C4", "A", "c2"}, {}, "---AC ack", "10 11 12 13 14"},
      {{"C", "8", "0", "-1", "0.4", "99999999999", "1.5"}, {}, "-A--- ack", "10 11 12 13 14"},
      {{"C", "105", "3"}, {}, "--A-- ack", "10 11 12 13 14"},  // three characters: Acknowledge
      {{"2", "d3", "D12", "D9", "C12"}, {}, "-A-- ack", "10 11 13 14"},
      {{"dl", "DL", "DL"}, {Answer::Cancel, Answer::OK, Answer::OK}, "--- ack", "10 11 12"},
      {{"4", "DL", "k1abc", "ab1cd"}, {Answer::OK}, "---A-- ack", "10 11 12 13 K1ABC AB1CD"},
      {{"DX", "abcd1", "DK1ABC", "K10X"}, {}, "----- ack", "10 11 12 13 14"},
      {{" * Log for view only *"}, {}, "----- ack", "10 11 12 13 14"}};
  for (const auto& [typed, answers, marks, calls] : rows) {
    SCOPED_TRACE(typed[0]);
    Net net(5);
    net.enterAll(typed, answers);
    std::string log;
    for (const std::string& l : splitLines(net.read("120526F.ILE")))
      if (!l.empty()) log += " " + (l[0] == 'K' && l[3] == 'X' ? l.substr(1, 2) : l);
    EXPECT_EQ(net.marks() + log + net.session.view.entryText, marks + " " + calls);
  }
}

TEST(EntryLine, ExactTextsOfLinesLabelsAndBoxes) {
  Net net(3);
  net.enterAll({"C", "2", "A", "1", "d3", "abcd1", "k11x", "dl"},
               {Answer::OK, Answer::OK, Answer::Cancel});
  std::string got = outcome(net);
  net.enterAll({"C", "2"});
  got += outcome(net) + std::to_string(net.session.view.selected) + "\n";
  net.enter("W9ZZ-");
  EXPECT_EQ(got + outcome(net), golden("net/entry_line_texts"));
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
  const int focus = s.view.focusEntryRequests;
  s.Comment_Click();
  s.Ack_Click();
  EXPECT_EQ(s.view.focusEntryRequests, focus + 2);  // the radio buttons give the keyboard back
}

// D# and C# select the line they act on while the window catches up, before it changes.
TEST(EntryLine, DeleteAndClearShowTheirLineFirst) {
  Net net(5);
  std::string seen;
  net.events.onDoEvents = [&] {
    const std::string now = " " + std::to_string(net.session.view.selected);
    if (!seen.ends_with(now)) seen += now;
  };
  net.enterAll({"4", "C4", "D2"});
  EXPECT_EQ(seen, " -1 3 1 -1");
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
    // N5GRD: only a line's first grid tag counts, one whose length is no digit is passed over.
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
  EXPECT_EQ(outcome(rig), golden("net/lookup_redrawn"));
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

// The lines merge the roster (the latest heard first, ties in roster order), the club and name
// lists and mark today's stations; a number picks one. Each row: typed, then the stations found.
TEST(StationSearch, PatternsLinesAndPicksByNumber) {
  Rig rig;
  rig.writeRoster({{"KA0SSY", "SAM", "DENVER", "1/1/2020", "11/28/2026"},
                   {"N2SYA", "NED", "TROY", "1/1/2020", "10/3/2026"},
                   {"WKA0SY", "", "", "1/1/2020", "11/28/2026"},
                   {"DL1SYZ", "DAN", "BONN", "1/1/2020", "1/9/2025"}});
  rig.write("BURROW.DAT", {"KA0SSY", "CLUB SAM", "AURORA", "W9SYX", "CARL", "", "W2AB", "A", "B"});
  rig.write("ck2list.dat", {"W9SYX  CARLOS", "K5SYN  NINA", "WKA0SY WILMA"});
  ASSERT_TRUE(rig.start());
  rig.enterAll({"N2SYA", "?SY"});
  const std::string found = outcome(rig);
  EXPECT_EQ(found, golden("net/search_lines"));
  rig.session.view.selected = 2;
  EXPECT_FALSE(rig.session.CheckIns_MouseDown(2));  // no popup edit on a match
  const std::string logBefore = rig.read("120526F.ILE");
  rig.enterAll({"7", "0"});  // out of range: nothing happens
  EXPECT_EQ(outcome(rig), found);
  // The ordinary check-in of the callsign; one beginning with "D" is checked in too.
  rig.enterAll({"6", "C", "?SY", "4"});  // a pick checks in in Acknowledge mode
  EXPECT_EQ(rig.read("120526F.ILE"), logBefore + "K5SYN\r\nNINA\r\n\r\nDL1SYZ\r\nDAN\r\nBONN\r\n");
  EXPECT_TRUE(rig.session.ackMode());
  rig.session.updateCheckIns();
  const std::string redrawn = outcome(rig);
  rig.enter("?SY");
  rig.session.Form_KeyDown(kKeyEsc, 0);  // Esc: back without a change
  EXPECT_EQ(outcome(rig), redrawn);
  rig.enterAll({"?SY", "3"});  // N2SYA, in already: refused, and the check-ins are shown again
  EXPECT_FALSE(rig.session.searchShown());
  std::istringstream rows(
      "?SY KA0SSY WKA0SY N2SYA DL1SYZ W9SYX K5SYN|?KA*Y KA0SSY|?*SY KA0SSY WKA0SY|"
      "?ka0s?y KA0SSY|?A0?S KA0SSY|?W* WKA0SY W9SYX W2AB|?Q");
  for (std::string row; std::getline(rows, row, '|');) {
    const std::string typed = row.substr(0, row.find(' '));
    rig.enter(typed);
    std::string got = typed;
    for (const std::string& c : rig.session.searchCalls) got += " " + c;
    EXPECT_EQ(got, row);
  }
  EXPECT_EQ(rig.session.view.lines,
            Lines{"No station in the roster, club list or name list fits Q"});
  rig.dialogs.inputAnswers.push_back("ka*y");  // the menu command asks for the pattern
  rig.session.mFindCall_Click();
  EXPECT_EQ(rig.session.searchCalls, Lines{"KA0SSY"});
  rig.enter("1");  // the number picks; it marks no check-in
  EXPECT_EQ(rig.session.checkIns.field(1, 7) + rig.session.checkIns.field(4, 1), "KA0SSY");
  EXPECT_EQ(foundStationLine(1000, {"K1A", "", "", "", true}).substr(0, 14), "1000. (in) K1A");
}

TEST(StationSearch, RegularsHalfOfTheLastEightJoinedAcrossCallChanges) {
  // The nets, newest first a day apart back from 12/31/25, then today's check-ins: half of 8, the
  // 9th net and today's stations left out; two of three; joined across the callsign change;
  // heard tonight under the former call; a tie in callsign order.
  const std::pair<const char*, const char*> rows[] = {
      {"K1A K2B K3C K4D|K1A K2B K3C K4D|K1A K2B K4D|K1A K4D K1A|K4D|K4D|K4D|K4D|K2B K3C", "K4D"},
      {"K5E|K6F K5E|K6F K8H", ""},
      {"N7NEW|N7NEW K7OLD|K7OLD|K7OLD", ""},
      {"K7OLD|N7NEW", "K7OLD"},
      {"K7G K5E K6F|K5E K6F K7G", ""}};
  std::string got;
  for (const auto& [nets, today] : rows) {
    Rig rig;
    rig.writeRoster({{"N7NEW", "NEWT", "X", "1/1/2020", "1/1/2020", "K7OLD"},
                     {"N8NEW", "NED", "Y", "1/1/2020", "1/1/2020", "K7OLD"}});  // the first wins
    ASSERT_TRUE(rig.start());
    rig.write("1127 6F.ILE", {"K5E", "NM", "QTH"});  // no date in its name: no net
    std::istringstream netsIn(nets), todayIn(today);
    std::string net, call;
    for (int n = 31; std::getline(netsIn, net, '|'); --n) {
      Lines log;
      std::istringstream calls(net);
      while (calls >> call) log.insert(log.end(), {call, "NM", "QTH"});
      rig.write("12" + std::to_string(n) + "25F.ILE", log);
    }
    while (todayIn >> call) rig.enter(call);
    rig.enter("?");
    for (const std::string& c : rig.session.searchCalls) got += c + " ";
    got += "\n" + outcome(rig);
  }
  EXPECT_EQ(got, golden("net/search_regulars"));
}

const std::vector<std::string> kW2{"W2DEF", "MARY", "BOSTON FN42", "3/1/2021", "11/21/2026", "-"};

// A net with five roster stations (two with callsign and name just up to and over their columns
// in the roster view), three of them checked in, and a first-time one, drawn by a full redraw,
// and an ADIF file with grids for W2DEF and K9NEW.
struct NetRig : Rig {
  explicit NetRig(const std::vector<std::vector<std::string>>& roster = {
                      {"K1ABC", "JOHN", "FN42", "1/5/2020", "11/28/2026", "-"},
                      kW2,
                      {"N3GHI", "BOB", "EM12", "6/7/2022", "10/3/2026", "N3OLD"},
                      {"VE3/K1ABCD", "ABCDEFGHIJKLM", "Q"},
                      {"VE3/K1ABCDE", "ABCDEFGHIJKLMN", "Q"}}) {
    writeRoster(roster);
    EXPECT_TRUE(start());
    enterAll({"K1ABC", "W2DEF", "N3GHI", "K9NEW"});
    session.updateCheckIns();
    write("vhf4k.adi",
          {"<CALL:5>W2DEF,<GRIDSQUARE:6>FN31PR <EOR>", "<CALL:5>K9NEW,<GRIDSQUARE:4>DN31 <EOR>"});
    dialogs.shown.clear();
  }
  // The operator selects list line index and right-presses it.
  void pick(int index) {
    session.selectLine(index);
    EXPECT_TRUE(session.CheckIns_MouseDown(2));
  }
};

using Handler = void (Session::*)();
const Handler kCall = &Session::mnuPopUpCall_Click, kName = &Session::mnuPopUpName_Click,
              kQth = &Session::mnuPopUpQTH_Click, kMultiple = &Session::mnuPopUpMultiple_Click,
              kGrid = &Session::mnuPopUpInsertGrid_Click,
              kChange = &Session::mnuPopUpUpdateCall_Click,
              kMenu = &Session::mUpdateToNewCall_Click;

TEST(RosterView, ShowsStationsInColumnsInFixedFont) {
  NetRig rig;
  rig.session.clickedListIndex = 0;  // the first line is never selected again
  rig.session.mEditNetControl_Click();
  EXPECT_EQ(outcome(rig), golden("net/roster_view"));
  EXPECT_TRUE(rig.session.view.fixedFont && rig.session.view.selected == -1);
  rig.enter("D5");  // the fifth line is a roster station: no check-in is deleted
  EXPECT_EQ(rig.session.checkIns.count, 4);
}

// Each row: the item, on the roster view, the answers. The answer goes upper-cased to today's
// log for a check-in, to NETCONT.ROL for a roster station; the last rows insert grids.
TEST(PopupEdit, StoresTheAnswerInUpperCaseAndRewritesItsFile) {
  const std::tuple<Handler, bool, const char*, const char*, std::vector<int>> rows[] = {
      {kCall, 0, "w2xyz", "", {1}},          {kName, 0, " mary ann ", "", {1}},
      {kQth, 0, "salem \xe9t\xe9", "", {1}}, {kName, 1, "mari", "", {1}},
      {kQth, 1, "fn42ab lynn", "", {1}},     {kMultiple, 0, "robin", "", {1}},
      {kMultiple, 0, "", "fn42aa", {1}},     {kGrid, 1, "", "", {1}},
      {kGrid, 0, "", "", {1, 1, 3}}};  // twice on one, once on an empty QTH
  for (size_t i = 0; i < std::size(rows); ++i) {
    const auto& [handler, rosterView, answer, answer2, picks] = rows[i];
    SCOPED_TRACE(i);
    NetRig rig;
    if (rosterView) rig.session.mEditNetControl_Click();
    for (const int line : picks) {
      rig.pick(line);
      rig.dialogs.inputAnswers = {answer, answer2};
      (rig.session.*handler)();
    }
    EXPECT_EQ(outcome(rig), golden("net/popup_edit_" + std::to_string(i)));
    EXPECT_EQ(rig.session.view.selected, rosterView ? 1 : -1);
  }
}

// Nothing changes and nothing is written for spaces-only answers, lines gone or out of range (a
// stale press), a past log shown, no grid, or no two different known callsigns (a No to the
// question, the header no station). Each row: item, roster view, past log, the selected
// check-in (the line pressed when negative), the answers, a No to the question; the boxes shown
// are in the golden file.
TEST(PopupEdit, NothingIsDoneWithoutAnAnswerALineOrTwoKnownCalls) {
  const std::tuple<Handler, bool, bool, int, const char*, const char*, bool> rows[] = {
      {kName, 0, 0, 2, "  ", "", 0},       {kMultiple, 0, 0, 2, "  ", " ", 0},
      {kQth, 1, 0, 2, " ", "", 0},         {kCall, 1, 0, 2, "", "", 0},
      {kName, 0, 1, 2, "", "", 0},         {kGrid, 0, 1, 2, "", "", 0},
      {kGrid, 0, 0, 1, "", "", 0},         {kName, 0, 0, 0, "", "", 0},
      {kQth, 0, 0, 5, "", "", 0},          {kGrid, 0, 0, 5, "", "", 0},
      {kQth, 1, 0, 6, "", "", 0},          {kChange, 1, 0, 2, "", "", 0},
      {kMenu, 0, 1, 2, "", "", 0},         {kMenu, 0, 0, 0, "   ", "", 0},
      {kMenu, 0, 0, 0, "K1ABC", "  ", 0},  {kChange, 0, 0, -4, "K1ABC", "", 1},
      {kChange, 0, 0, -2, "w2def", "", 0}, {kMenu, 0, 0, 0, "w1nc", "k9new", 0}};
  std::string boxes;
  for (const auto& [handler, rosterView, viewOnly, line, answer, answer2, no] : rows) {
    SCOPED_TRACE(boxes);
    NetRig rig;
    rig.session.roster.row(1).callSign = "W1NC";
    if (rosterView) rig.session.mEditNetControl_Click();
    rig.session.viewOnlyLog = viewOnly;
    if (line < 0)
      rig.pick(-line - 1);
    else
      rig.session.selectedCheckIn = line;
    const std::vector<std::string> lines = rig.session.view.lines;
    std::filesystem::remove(rig.folder / "120526F.ILE");
    std::filesystem::remove(rig.folder / "NETCONT.ROL");
    rig.dialogs.inputAnswers = {answer, answer2};
    if (no) rig.dialogs.messageAnswers = {Answer::No};
    (rig.session.*handler)();
    boxes += "--\n" + rig.dialogs.boxes();
    EXPECT_EQ(rig.session.view.lines, lines);
    EXPECT_FALSE(rig.exists("120526F.ILE") || rig.exists("NETCONT.ROL") ||
                 rig.exists("NETCONT.BU1"));
  }
  EXPECT_EQ(boxes, golden("net/nothing_done_boxes"));
}

// A line that shows no check-in (here the statistics' answer) is never taken for one.
TEST(CallChange, ALineShowingNoCheckInIsNoSelection) {
  NetRig rig;
  rig.session.view.lines = {"", " Station with the most check-ins since 2020:", ""};
  rig.session.view.selected = 1;
  rig.dialogs.inputAnswers = {"k1abc", ""};
  rig.session.mnuPopUpUpdateCall_Click();
  EXPECT_EQ(rig.dialogs.boxes(),
            " Old call / Enter the station`s OLD callsign\n"
            " New call / Enter the station`s NEW callsign\n");
}

TEST(WebLookup, SendsTheCallsignAsOneArgumentOrTellsToSetTheBrowser) {
  NetRig rig;
  rig.session.settings.browserPath = "/opt/my browser";
  rig.enter("k1$(id)`id`;&|>\"x'-");  // check-in 5, in and out
  rig.session.updateAck(1);
  const auto look = [&](int line) { rig.pick(line), rig.session.mnuQRZConnect_Click(); };
  look(0);
  rig.session.updateComment(2);
  for (const int line : {1, 2, 4}) look(line);
  rig.session.mEditNetControl_Click();
  look(2);
  rig.launcher.startSucceeds = false;  // without a browser the operator is told to set the path
  for (const auto& [path, selected] :
       {std::pair{"   ", 1}, {"/usr/bin/firefox", -1}, {"/nowhere", 1}}) {
    rig.session.settings.browserPath = path;
    rig.session.view.selected = selected;
    rig.session.mnuQRZConnect_Click();
  }
  std::string started;
  for (const auto& s : rig.launcher.started)
    for (const auto& a : s.args) started += s.program + " " + a + "\n";
  EXPECT_EQ(started + rig.dialogs.boxes(), golden("net/web_lookup"));
  EXPECT_EQ(callsignOfListLine("5    ", false), "");  // a line with only its number
}

// A first-time check-in under the new callsign takes the station's history: the roster record,
// the check-in (name, QTH, dates, not the grid), the report lines while the file is written, the
// back-up made before the record already made under the new callsign is removed.
TEST(CallChange, SelectedFirstTimeLineTakesTheHistoryAndTheDuplicateRecordGoes) {
  NetRig rig({{"K1OLD", "JOHN", "FN42", "1/5/2020", "11/28/2026", "-"}, kW2});
  rig.session.saveNetControlFile();  // as on the way out: K9NEW now has a record of its own
  Lines shownAtMessage;
  rig.dialogs.onMessage = [&] { shownAtMessage = rig.session.view.lines; };
  rig.pick(3);
  rig.session.checkIns.field(4, 6) = "DN31";
  rig.dialogs.inputAnswers = {"k1old"};
  rig.session.mnuPopUpUpdateCall_Click();
  EXPECT_TRUE(rig.dialogs.shown.at(1).buttons == Buttons::YesNo &&
              rig.dialogs.shown[1].defaultButton == Answer::Yes);
  EXPECT_EQ(outcome(rig) + joinCrLf(shownAtMessage), golden("net/call_change_first_time"));
  EXPECT_EQ(rig.session.checkIns.field(4, 6), "DN31");
}

// A station renamed twice: first with both callsigns typed (trimmed and upper-cased), then from
// the roster view, where the selected record names the new call. It keeps its latest former
// call, and the selected record, made earlier under the newest call, goes after the back-up.
// No check-in is touched from there.
TEST(CallChange, StationRenamedTwiceTheSecondTimeFromTheRosterView) {
  Rig rig;
  rig.writeRoster({{"K1NEW", "JOHNNY", "FN42AA", "11/7/2026", "11/7/2026", "-"},
                   kW2,
                   {"K1OLD", "JOHN", "FN42", "1/5/2020", "11/28/2026", "-"}});
  ASSERT_TRUE(rig.start());
  rig.dialogs.inputAnswers = {"  k1old ", " k1mid  ", "k1mid"};
  rig.session.mUpdateToNewCall_Click();
  rig.enter("K1NEW");  // today's check-in of the earlier record
  rig.session.mEditNetControl_Click();
  rig.session.selectLine(0);
  ASSERT_TRUE(rig.session.CheckIns_MouseDown(2));
  rig.session.mUpdateToNewCall_Click();
  EXPECT_EQ(outcome(rig), golden("net/call_change_twice"));
  EXPECT_TRUE(rig.session.checkIns.field(1, 2) == "JOHNNY" && !rig.session.rosterEditMode);
}

}  // namespace
}  // namespace kelpie::test
