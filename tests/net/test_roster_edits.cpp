// Edits from the list's popup menu (grid insertion included), the roster view, the web lookup
// and the callsign change.
#include <gtest/gtest.h>

#include "net/list_lines.h"
#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

const std::vector<std::string> kW2{"W2DEF", "MARY", "BOSTON FN42", "3/1/2021", "11/21/2026", "-"};

// What the operator saw and what was written: each box (title / text / default text), the list,
// today's log, the roster and its back-up.
std::string outcome(const Rig& r) {
  std::string s;
  for (const ShownBox& b : r.dialogs.shown)
    s += b.title + " / " + b.text + " / " + b.defaultText + "\n";
  for (const std::string& line : r.session.view.lines) s += "| " + line + "\n";
  for (const std::string f : {"120526F.ILE", "NETCONT.ROL", "NETCONT.BU1"})
    s += "--- " + f + "\n" + r.read(f);
  return s;
}

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
  EXPECT_EQ(rig.session.view.label3, "Hit  <Esc> when done editing");
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
      {kChange, 0, 0, -2, "w2def", "", 0}, {kMenu, 0, 0, 0, "w1nc", "k9new", 0},
  };
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
  EXPECT_EQ(outcome(rig) + joinCrLf(shownAtMessage), golden("net/call_change_first_time"));
  EXPECT_TRUE(rig.dialogs.shown.at(1).buttons == Buttons::YesNo &&
              rig.dialogs.shown[1].defaultButton == Answer::Yes);
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
