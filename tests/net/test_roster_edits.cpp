// Edits from the list's popup menu (grid insertion included), the roster view and the web lookup.
#include <gtest/gtest.h>

#include "net/list_lines.h"
#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

const char* const kLog = "120526F.ILE";  // the fake clock's 12/5/2026
const char* const kRoster = "NETCONT.ROL";
const std::string kW2Grid = "  FN31PR  30\xb0", kK9Grid = "  DN31  286\xb0";  // as inserted

// A net with three roster stations and one first-time station, drawn by a full redraw, and an
// ADIF file with grids for W2DEF and K9NEW.
struct NetRig : Rig {
  NetRig() {
    writeRoster({{"K1ABC", "JOHN", "FN42", "1/5/2020", "11/28/2026", "-"},
                 {"W2DEF", "MARY", "BOSTON FN42", "3/1/2021", "11/21/2026", "-"},
                 {"N3GHI", "BOB", "EM12", "6/7/2022", "10/3/2026", "N3OLD"}});
    start();
    for (const char* call : {"K1ABC", "W2DEF", "N3GHI", "K9NEW"}) enter(call);
    session.updateCheckIns();
    write("vhf4k.adi",
          {"<CALL:5>W2DEF,<GRIDSQUARE:6>FN31PR <EOR>", "<CALL:5>K9NEW,<GRIDSQUARE:4>DN31 <EOR>"});
    dialogs.shown.clear();
  }
  // The operator selects list line index and right-presses it.
  void pick(int index) {
    session.selectLine(index);
    ASSERT_TRUE(session.CheckIns_MouseDown(2));
  }
  // Every box shown, a "title / text / default text" line each.
  std::string boxes() const {
    std::string all;
    for (const ShownBox& b : dialogs.shown)
      all += b.title + " / " + b.text + " / " + b.defaultText + "\n";
    return all;
  }
};

// text with its first from replaced by to.
std::string with(std::string text, const std::string& from, const std::string& to) {
  return text.replace(text.find(from), from.size(), to);
}

using Handler = void (Session::*)();
const Handler kCall = &Session::mnuPopUpCall_Click, kName = &Session::mnuPopUpName_Click,
              kQth = &Session::mnuPopUpQTH_Click, kMultiple = &Session::mnuPopUpMultiple_Click,
              kGrid = &Session::mnuPopUpInsertGrid_Click;

// ---- the roster view ------------------------------------------------------------------------

// Callsign to 10 characters and name to 13, with one space at least after each.
TEST(RosterView, ShowsStationRowsInColumnsInFixedFontAndHidesTwoPopupItems) {
  Rig rig;
  rig.writeRoster({{"K1ABC", "JOHN", "FN42"},
                   {"VE3/K1ABCD", "ABCDEFGHIJKLM", "Q"},
                   {"VE3/K1ABCDE", "ABCDEFGHIJKLMN", "Q"}});
  rig.start();
  Session& s = rig.session;
  s.clickedListIndex = 0;  // the first line is never selected again
  s.mEditNetControl_Click();
  EXPECT_EQ(s.view.lines,
            (std::vector<std::string>{"K1ABC     JOHN         FN42", "VE3/K1ABCD ABCDEFGHIJKLM Q",
                                      "VE3/K1ABCDE ABCDEFGHIJKLMN Q"}));
  EXPECT_TRUE(s.view.fixedFont);
  EXPECT_EQ(s.view.selected, -1);
  EXPECT_FALSE(s.menu("mnuPopUpUpdateCall").visible);
  EXPECT_FALSE(s.menu("mnuPopUpMultiple").visible);
  EXPECT_EQ(s.view.label3, "Hit  <Esc> when done editing");
}

// ---- edits of a check-in (one field or several) and of a roster station --------------------

struct EditCase {
  const char* name;
  Handler handler;
  bool rosterView;
  const char* boxes;  // as NetRig::boxes shows them
  const char* answer;
  const char* answer2;  // for the second box of "Do multiple edits"
  std::string from;     // the field before
  std::string to;       // the field stored
};

class Edit : public ::testing::TestWithParam<EditCase> {};

const std::string kLine2 = "2    W2DEF   MARY   BOSTON FN42   3/1/2021   11/21/2026";

// On the second line: a check-in goes to today's log, a roster station to NETCONT.ROL at once
// with the roster view drawn again and the line selected again; the other file stays. The line
// shows the field stored.
TEST_P(Edit, StoresTheAnswerInUpperCaseAndRewritesItsFile) {
  const EditCase& c = GetParam();
  NetRig rig;
  if (c.rosterView) rig.session.mEditNetControl_Click();
  const std::string file = c.rosterView ? kRoster : kLog, other = c.rosterView ? kLog : kRoster;
  const std::string before = rig.read(file), otherBefore = rig.read(other);
  rig.pick(1);
  rig.dialogs.inputAnswers = {c.answer, c.answer2};
  (rig.session.*c.handler)();
  EXPECT_EQ(rig.boxes(), c.boxes);
  EXPECT_EQ(rig.read(file), with(before, c.from, c.to));
  EXPECT_EQ(rig.read(other), otherBefore);
  EXPECT_EQ(rig.session.view.lines.at(1),
            with(c.rosterView ? "W2DEF     MARY         BOSTON FN42" : kLine2, c.from, c.to));
  EXPECT_EQ(rig.session.view.selected, c.rosterView ? 1 : -1);
}

const char* const kMultipleBoxes =
    " Edit Name / Enter Name to change, then hit <Enter>. / MARY\n"
    " Edit QTH Grid etc / Enter QTH grid etc to change, then hit <Enter>. / BOSTON FN42\n";

INSTANTIATE_TEST_SUITE_P(
    Items, Edit,
    ::testing::Values(
        EditCase{"Callsign", kCall, false,
                 " Edit call / Enter Call to change, then hit <Enter>. / W2DEF\n", "w2xyz", "",
                 "W2DEF", "W2XYZ"},
        EditCase{"Name", kName, false,
                 " Edit Name / Enter Name to change, then hit <Enter>. / MARY\n", " mary ann ", "",
                 "MARY", " MARY ANN "},
        EditCase{
            "Qth", kQth, false,
            " Edit QTH Grid etc / Enter QTH grid etc to change, then hit <Enter>. / BOSTON FN42\n",
            "salem \xe9t\xe9", "", "BOSTON FN42", "SALEM \xc9T\xc9"},
        EditCase{"RosterName", kName, true,
                 "W2DEF: Edit name / W2DEF: Enter Name to change, then hit <Enter>. / MARY\n",
                 "mari", "", "MARY", "MARI"},
        EditCase{"RosterQth", kQth, true,
                 "W2DEF: Edit QTH Grid etc / W2DEF: Enter QTH grid etc to change, then hit "
                 "<Enter>. / BOSTON FN42\n",
                 "fn42ab lynn", "", "BOSTON FN42", "FN42AB LYNN"},
        EditCase{"RosterGrid", kGrid, true, "", "", "", "BOSTON FN42", "BOSTON FN42" + kW2Grid},
        EditCase{"MultipleQthCancelled", kMultiple, false, kMultipleBoxes, "robin", "", "MARY",
                 "ROBIN"},
        EditCase{"MultipleNameCancelled", kMultiple, false, kMultipleBoxes, "", "fn42aa",
                 "BOSTON FN42", "FN42AA"}),
    [](const auto& info) { return std::string(info.param.name); });

// Grid insertion into today's check-ins, twice on one and once on an empty QTH.
TEST(GridInsert, AppendsTwiceAndToAnEmptyQthAndSavesTheLog) {
  NetRig rig;
  const std::string before = rig.read(kLog);
  for (const int line : {1, 1, 3}) {
    rig.pick(line);
    rig.session.mnuPopUpInsertGrid_Click();
  }
  const std::string qth = "BOSTON FN42" + kW2Grid + kW2Grid;
  EXPECT_EQ(rig.session.view.lines.at(1), with(kLine2, "BOSTON FN42", qth));
  EXPECT_EQ(rig.read(kLog), with(with(before, "BOSTON FN42", qth), "K9NEW\r\n\r\n\r\n",
                                 "K9NEW\r\n\r\n" + kK9Grid + "\r\n"));
  EXPECT_TRUE(rig.dialogs.shown.empty());
}

// ---- spaces-only answers; lines gone or out of range (a stale press) or not to be edited ----

struct NothingCase {
  const char* name;
  Handler handler;
  bool rosterView;
  bool viewOnly;
  int selectedCheckIn;
  size_t boxes;  // each answered with spaces only
};

class NothingDone : public ::testing::TestWithParam<NothingCase> {};

TEST_P(NothingDone, ChangesAndWritesNothing) {
  const NothingCase& c = GetParam();
  NetRig rig;
  if (c.rosterView) rig.session.mEditNetControl_Click();
  rig.session.viewOnlyLog = c.viewOnly;
  rig.session.selectedCheckIn = c.selectedCheckIn;
  const std::vector<std::string> lines = rig.session.view.lines;
  std::filesystem::remove(rig.folder / kLog);
  std::filesystem::remove(rig.folder / kRoster);
  rig.dialogs.inputAnswers = {"  ", " "};
  (rig.session.*c.handler)();
  EXPECT_EQ(rig.dialogs.inputs().size(), c.boxes);
  EXPECT_TRUE(rig.dialogs.messages().empty());
  EXPECT_EQ(rig.session.view.lines, lines);
  EXPECT_FALSE(rig.exists(kLog));
  EXPECT_FALSE(rig.exists(kRoster));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NothingDone,
    ::testing::Values(NothingCase{"Spaces", kName, false, false, 2, 1},
                      NothingCase{"MultipleSpaces", kMultiple, false, false, 2, 2},
                      NothingCase{"RosterSpaces", kQth, true, false, 2, 1},
                      NothingCase{"RosterCallsign", kCall, true, false, 2, 0},
                      NothingCase{"RosterMultiple", kMultiple, true, false, 2, 0},
                      NothingCase{"ViewOnly", kName, false, true, 2, 0},
                      NothingCase{"ViewOnlyMultiple", kMultiple, false, true, 2, 0},
                      NothingCase{"ViewOnlyRoster", kQth, true, true, 2, 0},
                      NothingCase{"ViewOnlyGrid", kGrid, false, true, 2, 0},
                      NothingCase{"NoGridInAdif", kGrid, false, false, 1, 0},
                      NothingCase{"NoGridInAdifRoster", kGrid, true, false, 1, 0},
                      NothingCase{"CheckInZero", kName, false, false, 0, 0},
                      NothingCase{"CheckInPastLast", kQth, false, false, 5, 0},
                      NothingCase{"MultiplePastLast", kMultiple, false, false, 5, 0},
                      NothingCase{"GridPastLast", kGrid, false, false, 5, 0},
                      NothingCase{"RosterZero", kName, true, false, 0, 0},
                      NothingCase{"RosterPastLast", kQth, true, false, 4, 0},
                      NothingCase{"RosterGridPastLast", kGrid, true, false, 4, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- web lookup -------------------------------------------------------------------------------

TEST(WebLookup, SendsTheCallsignOfMarkedInOutPlainAndRosterLines) {
  NetRig rig;
  rig.session.settings.browserPath = "/usr/bin/firefox";
  rig.enter("W5XYZ-");  // check-in 5, in and out
  rig.session.updateAck(1);
  rig.pick(0);
  rig.session.mnuQRZConnect_Click();
  rig.session.updateComment(2);
  for (const int line : {1, 2, 4}) {
    rig.pick(line);
    rig.session.mnuQRZConnect_Click();
  }
  rig.session.mEditNetControl_Click();
  rig.pick(2);
  rig.session.mnuQRZConnect_Click();
  ASSERT_EQ(rig.launcher.started.size(), 5u);
  const char* calls[] = {"K1ABC", "W2DEF", "N3GHI", "W5XYZ", "N3GHI"};
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(rig.launcher.started[i].program, "/usr/bin/firefox");
    EXPECT_EQ(rig.launcher.started[i].args,
              std::vector<std::string>{std::string("https://www.qrz.com/db/") + calls[i]});
  }
  EXPECT_EQ(rig.boxes(), "");
  EXPECT_EQ(callsignOfListLine("5    ", false), "");  // a line with only its number
}

struct NoBrowserCase {
  const char* name;
  const char* path;
  int selected;
  size_t attempts;  // the browser never starts
};

class NoBrowser : public ::testing::TestWithParam<NoBrowserCase> {};

TEST_P(NoBrowser, TellsTheOperatorToSetThePath) {
  const NoBrowserCase& c = GetParam();
  NetRig rig;
  rig.session.settings.browserPath = c.path;
  rig.launcher.startSucceeds = false;
  rig.session.view.selected = c.selected;
  rig.session.mnuQRZConnect_Click();
  EXPECT_EQ(rig.launcher.started.size(), c.attempts);
  EXPECT_EQ(rig.boxes(),
            " no path to web browser / Use the {Set} menu to point to your web browser / \n");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NoBrowser,
    ::testing::Values(NoBrowserCase{"EmptyPath", "", 1, 0},
                      NoBrowserCase{"SpacesPath", "   ", 1, 0},
                      NoBrowserCase{"NoLineSelected", "/usr/bin/firefox", -1, 0},
                      NoBrowserCase{"BrowserFailsToStart", "/nowhere/browser", 1, 1}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kelpie::test
