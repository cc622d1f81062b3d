// Edits from the list's popup menu (grid insertion included), the roster view, the web lookup
// and the callsign change.
#include <gtest/gtest.h>

#include "net/list_lines.h"
#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

const std::string kHeader =
    "222 MHz\r\nW1NC\r\n1/2/2020\r\ninitial check-in date\r\nlast check-in date\r\nold call "
    "sign\r\n";
const std::string kW2Grid = "  FN31PR  30\xb0", kK9Grid = "  DN31  286\xb0";  // as inserted
const std::vector<std::string> kK1{"K1ABC", "JOHN", "FN42", "1/5/2020", "11/28/2026", "-"},
    kW2{"W2DEF", "MARY", "BOSTON FN42", "3/1/2021", "11/21/2026", "-"},
    kN3{"N3GHI", "BOB", "EM12", "6/7/2022", "10/3/2026", "N3OLD"};

// A net with three roster stations and a first-time one, drawn by a full redraw, and an ADIF
// file with grids for W2DEF and K9NEW.
struct NetRig : Rig {
  explicit NetRig(const std::vector<std::vector<std::string>>& roster = {kK1, kW2, kN3}) {
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

// text with its first from replaced by to.
std::string with(std::string text, const std::string& from, const std::string& to) {
  return text.replace(text.find(from), from.size(), to);
}

using Handler = void (Session::*)();
const Handler kCall = &Session::mnuPopUpCall_Click, kName = &Session::mnuPopUpName_Click,
              kQth = &Session::mnuPopUpQTH_Click, kMultiple = &Session::mnuPopUpMultiple_Click,
              kGrid = &Session::mnuPopUpInsertGrid_Click,
              kChange = &Session::mnuPopUpUpdateCall_Click,
              kMenuChange = &Session::mUpdateToNewCall_Click;

TEST(RosterView, ShowsStationsInColumnsInFixedFont) {
  NetRig rig({kK1, {"VE3/K1ABCD", "ABCDEFGHIJKLM", "Q"}, {"VE3/K1ABCDE", "ABCDEFGHIJKLMN", "Q"}});
  Session& s = rig.session;
  s.clickedListIndex = 0;  // the first line is never selected again
  s.mEditNetControl_Click();
  EXPECT_EQ(s.view.lines, (Lines{"K1ABC     JOHN         FN42", "VE3/K1ABCD ABCDEFGHIJKLM Q",
                                 "VE3/K1ABCDE ABCDEFGHIJKLMN Q"}));
  EXPECT_TRUE(s.view.fixedFont && s.view.selected == -1);
  EXPECT_EQ(s.view.label3, "Hit  <Esc> when done editing");
}

// Each row: the item, on the roster view, the boxes (title / prompt / default), the answers, the
// field before and after. A check-in goes to today's log, a roster station to NETCONT.ROL.
struct EditRow {
  Handler handler;
  bool rosterView;
  std::string boxes, answer, answer2, from, to;
};

TEST(PopupEdit, StoresTheAnswerInUpperCaseAndRewritesItsFile) {
  const std::string name = " Edit Name / Enter Name to change, then hit <Enter>. / MARY\n",
                    qth =
                        " Edit QTH Grid etc / Enter QTH grid etc to change, then hit <Enter>. / "
                        "BOSTON FN42\n";
  const EditRow rows[] = {
      {kCall, false, " Edit call / Enter Call to change, then hit <Enter>. / W2DEF\n", "w2xyz", "",
       "W2DEF", "W2XYZ"},
      {kName, false, name, " mary ann ", "", "MARY", " MARY ANN "},
      {kQth, false, qth, "salem \xe9t\xe9", "", "BOSTON FN42", "SALEM \xc9T\xc9"},
      {kName, true, "W2DEF: Edit name / W2DEF: Enter Name to change, then hit <Enter>. / MARY\n",
       "mari", "", "MARY", "MARI"},
      {kQth, true,
       "W2DEF: Edit QTH Grid etc / W2DEF: Enter QTH grid etc to change, then hit "
       "<Enter>. / BOSTON FN42\n",
       "fn42ab lynn", "", "BOSTON FN42", "FN42AB LYNN"},
      {kGrid, true, "", "", "", "BOSTON FN42", "BOSTON FN42" + kW2Grid},
      {kMultiple, false, name + qth, "robin", "", "MARY", "ROBIN"},
      {kMultiple, false, name + qth, "", "fn42aa", "BOSTON FN42", "FN42AA"}};
  for (const EditRow& c : rows) {
    SCOPED_TRACE(c.answer + c.answer2);
    NetRig rig;
    if (c.rosterView) rig.session.mEditNetControl_Click();
    const std::string file = c.rosterView ? "NETCONT.ROL" : "120526F.ILE",
                      other = c.rosterView ? "120526F.ILE" : "NETCONT.ROL";
    const std::string before = rig.read(file), otherBefore = rig.read(other),
                      line = rig.session.view.lines.at(1);
    rig.pick(1);
    rig.dialogs.inputAnswers = {c.answer, c.answer2};
    (rig.session.*c.handler)();
    std::string got;
    for (const ShownBox& b : rig.dialogs.shown)
      got += b.title + " / " + b.text + " / " + b.defaultText + "\n";
    got += rig.read(file) + rig.read(other) + rig.session.view.lines.at(1);
    EXPECT_EQ(got, c.boxes + with(before, c.from, c.to) + otherBefore + with(line, c.from, c.to));
    EXPECT_EQ(rig.session.view.selected, c.rosterView ? 1 : -1);
  }
}

// Grid insertion into today's check-ins, twice on one and once on an empty QTH.
TEST(PopupEdit, GridIsAppendedTwiceAndToAnEmptyQthAndTheLogSaved) {
  NetRig rig;
  const std::string before = rig.read("120526F.ILE"), line = rig.session.view.lines[1];
  for (const int index : {1, 1, 3}) {
    rig.pick(index);
    rig.session.mnuPopUpInsertGrid_Click();
  }
  const std::string qth = "BOSTON FN42" + kW2Grid + kW2Grid,
                    k9 = "K9NEW\r\n\r\n" + kK9Grid + "\r\n";
  EXPECT_EQ(rig.dialogs.boxes() + rig.session.view.lines.at(1) + rig.read("120526F.ILE"),
            with(line, "BOSTON FN42", qth) +
                with(with(before, "BOSTON FN42", qth), "K9NEW\r\n\r\n\r\n", k9));
}

// Spaces-only answers, lines gone or out of range (a stale press), a past log shown, no grid:
// nothing changes and nothing is written. Each row: item, roster view, past log, the selected
// check-in, the input boxes shown.
TEST(PopupEdit, NothingIsDoneForSpacesStaleLinesOrAPastLog) {
  const std::tuple<Handler, bool, bool, int, size_t> rows[] = {
      {kName, 0, 0, 2, 1},      {kMultiple, 0, 0, 2, 2}, {kQth, 1, 0, 2, 1},  {kCall, 1, 0, 2, 0},
      {kName, 0, 1, 2, 0},      {kGrid, 0, 1, 2, 0},     {kGrid, 0, 0, 1, 0}, {kName, 0, 0, 0, 0},
      {kQth, 0, 0, 5, 0},       {kGrid, 0, 0, 5, 0},     {kQth, 1, 0, 4, 0},  {kChange, 1, 0, 2, 0},
      {kMenuChange, 0, 1, 2, 0}};
  int row = 0;
  for (const auto& [handler, rosterView, viewOnly, checkIn, boxes] : rows) {
    SCOPED_TRACE(row++);
    NetRig rig;
    if (rosterView) rig.session.mEditNetControl_Click();
    rig.session.viewOnlyLog = viewOnly;
    rig.session.selectedCheckIn = checkIn;
    const std::vector<std::string> lines = rig.session.view.lines;
    std::filesystem::remove(rig.folder / "120526F.ILE");
    std::filesystem::remove(rig.folder / "NETCONT.ROL");
    rig.dialogs.inputAnswers = {"  ", " "};
    (rig.session.*handler)();
    EXPECT_EQ(rig.dialogs.shown.size(), boxes);
    EXPECT_EQ(rig.session.view.lines, lines);
    EXPECT_FALSE(rig.exists("120526F.ILE") || rig.exists("NETCONT.ROL"));
  }
}

TEST(WebLookup, SendsTheCallsignOfMarkedInOutPlainAndRosterLinesAsOneArgument) {
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
  std::string started;
  for (const auto& s : rig.launcher.started)
    for (const auto& a : s.args) started += s.program + " " + a + "\n";
  EXPECT_EQ(started,
            "/opt/my browser https://www.qrz.com/db/K1ABC\n"
            "/opt/my browser https://www.qrz.com/db/W2DEF\n"
            "/opt/my browser https://www.qrz.com/db/N3GHI\n"
            "/opt/my browser https://www.qrz.com/db/K1$(ID)`ID`;&|>\"X'\n"
            "/opt/my browser https://www.qrz.com/db/N3GHI\n");
  EXPECT_EQ(rig.dialogs.boxes(), "");
  EXPECT_EQ(callsignOfListLine("5    ", false), "");  // a line with only its number
}

TEST(WebLookup, WithoutABrowserTellsTheOperatorToSetThePath) {
  for (const auto& [path, selected, attempts] :
       {std::tuple{"   ", 1, 0}, {"/usr/bin/firefox", -1, 0}, {"/nowhere", 1, 1}}) {
    NetRig rig;
    rig.session.settings.browserPath = path;
    rig.launcher.startSucceeds = false;
    rig.session.view.selected = selected;
    rig.session.mnuQRZConnect_Click();
    EXPECT_EQ(rig.launcher.started.size(), size_t(attempts));
    EXPECT_EQ(rig.dialogs.boxes(),
              " no path to web browser / Use the {Set} menu to point to your web browser\n");
  }
}

// A first-time check-in under the new callsign takes the station's history: the roster record,
// the check-in (name, QTH, dates), the report lines while the file is written, the back-up made
// before the record already made under the new callsign is removed.
TEST(CallChange, SelectedFirstTimeLineTakesTheHistoryAndTheDuplicateRecordGoes) {
  NetRig rig({{"K1OLD", "JOHN", "FN42", "1/5/2020", "11/28/2026", "-"}, kW2});
  rig.session.saveNetControlFile();  // as on the way out: K9NEW now has a record of its own
  std::vector<std::string> shownAtMessage;
  rig.dialogs.onMessage = [&] { shownAtMessage = rig.session.view.lines; };
  rig.pick(3);
  rig.session.checkIns.field(4, 6) = "DN31";
  rig.dialogs.inputAnswers = {"k1old"};
  rig.session.mnuPopUpUpdateCall_Click();
  EXPECT_EQ(rig.dialogs.boxes(),
            " Old call / Enter the station`s OLD callsign\n"
            "Is K9NEW the new call ? / Is the new call K9NEW ?   <Enter> for yes.\n"
            " / This edit will be done to the NETCONT.ROL file.\n");
  EXPECT_TRUE(rig.dialogs.shown[1].buttons == Buttons::YesNo &&
              rig.dialogs.shown[1].defaultButton == Answer::Yes);
  const std::string changed = "K9NEW\r\nJOHN\r\nFN42\r\n1/5/2020\r\n11/28/2026\r\nK1OLD\r\n",
                    mary = "W2DEF\r\nMARY\r\nBOSTON FN42\r\n3/1/2021\r\n12/5/2026\r\n-\r\n",
                    today = "\r\n-\r\n-\r\n12/5/2026\r\n12/5/2026\r\n-\r\n";
  EXPECT_EQ(rig.read("NETCONT.BU1"),
            kHeader + changed + mary + "K1ABC" + today + "N3GHI" + today + "K9NEW" + today);
  EXPECT_EQ(rig.read("NETCONT.ROL"), kHeader + changed + mary + "K1ABC" + today + "N3GHI" + today);
  EXPECT_EQ(shownAtMessage, (std::vector<std::string>{
                                "K1OLD      the old call", "JOHN", "FN42", "1/5/2020", "11/28/2026",
                                "-", "", "changed to this:", "", "K9NEW      the new call", "JOHN",
                                "FN42", "1/5/2020", "11/28/2026", "K1OLD      the old call"}));
  EXPECT_EQ(rig.session.view.lines.at(3), "4    K9NEW   JOHN   FN42   1/5/2020   11/28/2026");
  EXPECT_EQ(rig.session.checkIns.field(4, 6), "DN31");  // the grid is no roster field
  EXPECT_EQ(rig.read("120526F.ILE").substr(rig.read("120526F.ILE").find("K9NEW")),
            "K9NEW\r\nJOHN\r\nFN42\r\n");
}

// A station renamed twice: first with both callsigns typed (trimmed and upper-cased), then from
// the roster view, where the selected record names the new call. It keeps its latest former
// call, and the selected record, made earlier under the newest call, goes after the back-up.
TEST(CallChange, StationRenamedTwiceTheSecondTimeFromTheRosterView) {
  const std::string mary = "W2DEF\r\nMARY\r\nBOSTON FN42\r\n3/1/2021\r\n11/21/2026\r\n-\r\n",
                    dupe = "K1NEW\r\nJOHNNY\r\nFN42AA\r\n11/7/2026\r\n11/7/2026\r\n-\r\n";
  Rig rig;
  rig.writeRoster({{"K1NEW", "JOHNNY", "FN42AA", "11/7/2026", "11/7/2026", "-"},
                   kW2,
                   {"K1OLD", "JOHN", "FN42", "1/5/2020", "11/28/2026", "-"}});
  ASSERT_TRUE(rig.start());
  rig.dialogs.inputAnswers = {"  k1old ", " k1mid  ", "k1mid"};
  rig.session.mUpdateToNewCall_Click();
  EXPECT_EQ(rig.dialogs.boxes(),
            " Old call / Enter the station`s OLD callsign\n"
            " New call / Enter the station`s NEW callsign\n"
            " / This edit will be done to the NETCONT.ROL file.\n");
  rig.enter("K1NEW");  // today's check-in of the earlier record
  rig.session.mEditNetControl_Click();
  rig.session.selectLine(0);
  ASSERT_TRUE(rig.session.CheckIns_MouseDown(2));
  rig.session.mUpdateToNewCall_Click();
  const std::string twice = "K1NEW\r\nJOHN\r\nFN42\r\n1/5/2020\r\n11/28/2026\r\nK1MID\r\n";
  EXPECT_EQ(rig.read("NETCONT.BU1"), kHeader + dupe + mary + twice);
  EXPECT_EQ(rig.read("NETCONT.ROL"), kHeader + mary + twice);
  // No check-in is touched from there.
  EXPECT_TRUE(rig.session.checkIns.field(1, 2) == "JOHNNY" && !rig.session.rosterEditMode);
}

// Each row: the old and new callsign answers, the selected line (-1 none), the item, a No to
// the question, the boxes shown and the last message. Roster, list and files stay.
TEST(CallChange, NothingChangesWithoutTwoDifferentKnownCallsigns) {
  const std::tuple<const char*, const char*, int, Handler, bool, size_t, const char*> rows[] = {
      {"   ", "", -1, kMenuChange, false, 1, ""},
      {"K1ABC", "  ", -1, kMenuChange, false, 2, ""},
      {"K1ABC", "", 3, kChange, true, 2,
       "Is K9NEW the new call ? / Is the new call K9NEW ?   <Enter> for yes."},
      {"w2def", "", 1, kChange, false, 3,
       " Same calls ? / OOPS! new call is W2DEF and old call is W2DEF ?"},
      // The header is no station.
      {"w1nc", "k9new", -1, kMenuChange, false, 3, " Not found / W1NC not found. Nothing done..."}};
  for (const auto& [oldCall, newCall, line, handler, sayNo, boxes, last] : rows) {
    SCOPED_TRACE(oldCall);
    NetRig rig;
    rig.session.roster.row(1).callSign = "W1NC";
    if (line >= 0) rig.pick(line);
    const std::string before = rig.read("NETCONT.ROL");
    const std::vector<std::string> lines = rig.session.view.lines;
    rig.dialogs.inputAnswers = {oldCall, newCall};
    if (sayNo) rig.dialogs.messageAnswers = {Answer::No};
    (rig.session.*handler)();
    EXPECT_EQ(rig.dialogs.shown.size(), boxes);
    const auto msgs = rig.dialogs.messages();
    EXPECT_EQ(msgs.empty() ? "" : msgs.back().title + " / " + msgs.back().text, last);
    EXPECT_EQ(rig.read("NETCONT.ROL"), before);
    EXPECT_TRUE(!rig.exists("NETCONT.BU1") && rig.session.view.lines == lines);
  }
}

}  // namespace
}  // namespace kelpie::test
