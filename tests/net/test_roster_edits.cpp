// Edits from the list's popup menu, the roster view and the web lookup.
#include <gtest/gtest.h>

#include "support/fake_platform.h"

namespace kelpie {
std::string rosterViewLine(const RosterEntry& e);
std::string callsignOfListLine(std::string_view line, bool rosterView);
}  // namespace kelpie

namespace kelpie::test {
namespace {

const char* const kLog = "120526F.ILE";  // the fake clock's 12/5/2026

// A net with three roster stations and one first-time station, drawn by a full redraw.
struct NetRig : Rig {
  NetRig() {
    writeRoster({{"K1ABC", "JOHN", "FN42", "1/5/2020", "11/28/2026", "-"},
                 {"W2DEF", "MARY", "BOSTON FN42", "3/1/2021", "11/21/2026", "-"},
                 {"N3GHI", "BOB", "EM12", "6/7/2022", "10/3/2026", "N3OLD"}});
    start();
    for (const char* call : {"K1ABC", "W2DEF", "N3GHI", "K9NEW"}) enter(call);
    session.updateCheckIns();
  }
  // The operator selects list line index and right-presses it.
  void pick(int index) {
    session.selectLine(index);
    ASSERT_TRUE(session.CheckIns_MouseDown(2));
  }
  std::string rosterBytes() const { return read("NETCONT.ROL"); }
};

const std::string kLogBefore =
    "K1ABC\r\nJOHN\r\nFN42\r\nW2DEF\r\nMARY\r\nBOSTON FN42\r\nN3GHI\r\nBOB\r\nEM12\r\n"
    "K9NEW\r\n\r\n\r\n";

std::string rosterFile(const std::string& thirdStationQth, const std::string& secondName) {
  return "222 MHz\r\nW1NC\r\n1/2/2020\r\ninitial check-in date\r\nlast check-in date\r\n"
         "old call sign\r\n"
         "K1ABC\r\nJOHN\r\nFN42\r\n1/5/2020\r\n11/28/2026\r\n-\r\n"
         "W2DEF\r\n" +
         secondName +
         "\r\nBOSTON FN42\r\n3/1/2021\r\n11/21/2026\r\n-\r\n"
         "N3GHI\r\nBOB\r\n" +
         thirdStationQth + "\r\n6/7/2022\r\n10/3/2026\r\nN3OLD\r\n";
}

// ---- the roster view ------------------------------------------------------------------------

struct ViewLineCase {
  const char* name;
  RosterEntry entry;
  const char* line;
};

class RosterViewLine : public ::testing::TestWithParam<ViewLineCase> {};

TEST_P(RosterViewLine, PadsCallsignToTenAndNameToThirteen) {
  EXPECT_EQ(rosterViewLine(GetParam().entry), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Columns, RosterViewLine,
    ::testing::Values(
        ViewLineCase{"Plain", {"K1ABC", "JOHN", "FN42", "", "", ""}, "K1ABC     JOHN         FN42"},
        ViewLineCase{
            "CallOfNine", {"VE3/K1ABC", "JO", "Q", "", "", ""}, "VE3/K1ABC JO           Q"},
        ViewLineCase{
            "CallFillsColumn", {"VE3/K1ABCD", "JO", "Q", "", "", ""}, "VE3/K1ABCD JO           Q"},
        ViewLineCase{
            "CallOverflows", {"VE3/K1ABCDE", "JO", "Q", "", "", ""}, "VE3/K1ABCDE JO           Q"},
        ViewLineCase{
            "NameOfTwelve", {"K1ABC", "ABCDEFGHIJKL", "Q", "", "", ""}, "K1ABC     ABCDEFGHIJKL Q"},
        ViewLineCase{"NameFillsColumn",
                     {"K1ABC", "ABCDEFGHIJKLM", "Q", "", "", ""},
                     "K1ABC     ABCDEFGHIJKLM Q"},
        ViewLineCase{"NameOverflows",
                     {"K1ABC", "ABCDEFGHIJKLMNOP", "Q", "", "", ""},
                     "K1ABC     ABCDEFGHIJKLMNOP Q"},
        ViewLineCase{"EmptyFields", {"", "", "", "", "", ""}, "                       "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RosterView, ShowsStationRowsInFixedFontAndHidesTwoPopupItems) {
  NetRig rig;
  Session& s = rig.session;
  s.clickedListIndex = 0;
  s.mEditNetControl_Click();
  EXPECT_EQ(s.view.lines, (std::vector<std::string>{"K1ABC     JOHN         FN42",
                                                    "W2DEF     MARY         BOSTON FN42",
                                                    "N3GHI     BOB          EM12"}));
  EXPECT_TRUE(s.view.fixedFont);
  EXPECT_TRUE(s.rosterEditMode);
  EXPECT_EQ(s.view.selected, -1);
  EXPECT_FALSE(s.view.menus["mnuPopUpUpdateCall"].visible);
  EXPECT_FALSE(s.view.menus["mnuPopUpMultiple"].visible);
  EXPECT_TRUE(s.view.menus["mnuPopUpName"].visible);
  EXPECT_EQ(s.view.label3, "Hit  <Esc> when done editing");

  // Esc brings the check-ins back; the fixed font stays.
  rig.session.Form_KeyDown(kKeyEsc, 0);
  EXPECT_FALSE(s.rosterEditMode);
  EXPECT_TRUE(s.view.fixedFont);
  EXPECT_EQ(s.view.lines.size(), 4u);
}

TEST(RosterView, SelectsTheClickedLineAgainUnlessItIsTheFirst) {
  NetRig rig;
  Session& s = rig.session;
  s.clickedListIndex = 2;
  s.mEditNetControl_Click();
  EXPECT_EQ(s.view.selected, 2);
  EXPECT_EQ(s.view.label3, "Hit  <Esc> when done editing");
  s.clickedListIndex = 7;  // beyond the roster: nothing selected
  s.mEditNetControl_Click();
  EXPECT_EQ(s.view.selected, -1);
}

// ---- edits of today's check-ins ---------------------------------------------------------------

struct CheckInEditCase {
  const char* name;
  void (Session::*handler)();
  const char* prompt;
  const char* title;
  const char* defaultText;
  const char* answer;
  int field;
  const char* stored;
  const char* line;
  const char* log;
  int clickedAfter;
};

class CheckInEdit : public ::testing::TestWithParam<CheckInEditCase> {};

TEST_P(CheckInEdit, StoresTheAnswerInUpperCaseAndRewritesTodaysLog) {
  const CheckInEditCase& c = GetParam();
  NetRig rig;
  rig.pick(1);
  rig.dialogs.shown.clear();
  rig.dialogs.inputAnswers = {c.answer};
  (rig.session.*c.handler)();

  ASSERT_EQ(rig.dialogs.shown.size(), 1u);
  const ShownBox& box = rig.dialogs.shown[0];
  EXPECT_EQ(box.kind, "input");
  EXPECT_EQ(box.text, c.prompt);
  EXPECT_EQ(box.title, c.title);
  EXPECT_EQ(box.defaultText, c.defaultText);
  EXPECT_EQ(rig.session.checkIns.field(2, c.field), c.stored);
  EXPECT_EQ(rig.session.view.lines.at(1), c.line);
  EXPECT_EQ(rig.read(kLog), c.log);
  EXPECT_EQ(rig.session.clickedListIndex, c.clickedAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Items, CheckInEdit,
    ::testing::Values(
        CheckInEditCase{"Callsign", &Session::mnuPopUpCall_Click,
                        "Enter Call to change, then hit <Enter>.", " Edit call", "W2DEF", "w2xyz",
                        1, "W2XYZ", "2    W2XYZ   MARY   BOSTON FN42   3/1/2021   11/21/2026",
                        "K1ABC\r\nJOHN\r\nFN42\r\nW2XYZ\r\nMARY\r\nBOSTON FN42\r\nN3GHI\r\nBOB\r\n"
                        "EM12\r\nK9NEW\r\n\r\n\r\n",
                        1},
        CheckInEditCase{"Name", &Session::mnuPopUpName_Click,
                        "Enter Name to change, then hit <Enter>.", " Edit Name", "MARY",
                        " mary ann ", 2, " MARY ANN ",
                        "2    W2DEF    MARY ANN    BOSTON FN42   3/1/2021   11/21/2026",
                        "K1ABC\r\nJOHN\r\nFN42\r\nW2DEF\r\n MARY ANN \r\nBOSTON FN42\r\nN3GHI\r\n"
                        "BOB\r\nEM12\r\nK9NEW\r\n\r\n\r\n",
                        0},
        CheckInEditCase{"Qth", &Session::mnuPopUpQTH_Click,
                        "Enter QTH grid etc to change, then hit <Enter>.", " Edit QTH Grid etc",
                        "BOSTON FN42", "salem \xe9t\xe9", 3, "SALEM \xc9T\xc9",
                        "2    W2DEF   MARY   SALEM \xc9T\xc9   3/1/2021   11/21/2026",
                        "K1ABC\r\nJOHN\r\nFN42\r\nW2DEF\r\nMARY\r\nSALEM \xc9T\xc9\r\nN3GHI\r\n"
                        "BOB\r\nEM12\r\nK9NEW\r\n\r\n\r\n",
                        1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CheckInEdit, NameOfTheFourthCheckInShowsOnItsLine) {
  NetRig rig;
  rig.pick(3);
  rig.dialogs.inputAnswers = {"sam"};
  rig.session.mnuPopUpName_Click();
  EXPECT_EQ(rig.session.view.lines.at(3),
            "4    K9NEW   SAM        First time check-in   12/5/2026");
  EXPECT_EQ(rig.read(kLog),
            "K1ABC\r\nJOHN\r\nFN42\r\nW2DEF\r\nMARY\r\nBOSTON FN42\r\nN3GHI\r\nBOB\r\nEM12\r\n"
            "K9NEW\r\nSAM\r\n\r\n");
}

struct BlankCase {
  const char* name;
  void (Session::*handler)();
  bool rosterView;
  const char* answer;
};

class BlankAnswer : public ::testing::TestWithParam<BlankCase> {};

TEST_P(BlankAnswer, ChangesAndSavesNothing) {
  const BlankCase& c = GetParam();
  NetRig rig;
  if (c.rosterView) rig.session.mEditNetControl_Click();
  rig.pick(1);
  const std::vector<std::string> lines = rig.session.view.lines;
  const auto rows = rig.session.checkIns.rows;
  const auto roster = rig.session.roster.rows;
  std::filesystem::remove(rig.folder / kLog);
  std::filesystem::remove(rig.folder / "NETCONT.ROL");
  rig.dialogs.shown.clear();
  rig.dialogs.inputAnswers = {c.answer, c.answer};
  (rig.session.*c.handler)();

  EXPECT_FALSE(rig.dialogs.inputs().empty());
  EXPECT_TRUE(rig.dialogs.messages().empty());
  EXPECT_EQ(rig.session.view.lines, lines);
  for (size_t i = 1; i < rows.size(); ++i) EXPECT_EQ(rig.session.checkIns.rows[i].f, rows[i].f);
  ASSERT_EQ(rig.session.roster.rows.size(), roster.size());
  for (size_t i = 0; i < roster.size(); ++i)
    EXPECT_EQ(rig.session.roster.rows[i].name + rig.session.roster.rows[i].qth,
              roster[i].name + roster[i].qth);
  EXPECT_FALSE(rig.exists(kLog));
  EXPECT_FALSE(rig.exists("NETCONT.ROL"));
  EXPECT_EQ(rig.session.clickedListIndex, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, BlankAnswer,
    ::testing::Values(BlankCase{"CallSpaces", &Session::mnuPopUpCall_Click, false, "   "},
                      BlankCase{"CallCancel", &Session::mnuPopUpCall_Click, false, ""},
                      BlankCase{"NameSpaces", &Session::mnuPopUpName_Click, false, " "},
                      BlankCase{"QthCancel", &Session::mnuPopUpQTH_Click, false, ""},
                      BlankCase{"MultipleSpaces", &Session::mnuPopUpMultiple_Click, false, "  "},
                      BlankCase{"RosterNameSpaces", &Session::mnuPopUpName_Click, true, "  "},
                      BlankCase{"RosterQthCancel", &Session::mnuPopUpQTH_Click, true, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MultipleEdits, NameAnsweredAndQthCancelledStoresTheNameAndSavesTheLog) {
  NetRig rig;
  rig.pick(2);
  rig.dialogs.shown.clear();
  rig.dialogs.inputAnswers = {"robert", ""};
  rig.session.mnuPopUpMultiple_Click();
  const auto boxes = rig.dialogs.inputs();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, "Enter Name to change, then hit <Enter>.");
  EXPECT_EQ(boxes[0].title, " Edit Name");
  EXPECT_EQ(boxes[0].defaultText, "BOB");
  EXPECT_EQ(boxes[1].text, "Enter QTH grid etc to change, then hit <Enter>.");
  EXPECT_EQ(boxes[1].title, " Edit QTH Grid etc");
  EXPECT_EQ(boxes[1].defaultText, "EM12");
  EXPECT_EQ(rig.session.view.lines.at(2), "3    N3GHI   ROBERT   EM12   6/7/2022   10/3/2026");
  EXPECT_EQ(rig.read(kLog),
            "K1ABC\r\nJOHN\r\nFN42\r\nW2DEF\r\nMARY\r\nBOSTON FN42\r\nN3GHI\r\nROBERT\r\nEM12\r\n"
            "K9NEW\r\n\r\n\r\n");
}

TEST(MultipleEdits, NameCancelledAndQthAnsweredStoresTheQth) {
  NetRig rig;
  rig.pick(0);
  rig.dialogs.inputAnswers = {"", "fn42aa"};
  rig.session.mnuPopUpMultiple_Click();
  EXPECT_EQ(rig.session.checkIns.field(1, 2), "JOHN");
  EXPECT_EQ(rig.session.checkIns.field(1, 3), "FN42AA");
  EXPECT_EQ(rig.read(kLog).substr(0, 19), "K1ABC\r\nJOHN\r\nFN42AA");
}

// ---- edits in the roster view -------------------------------------------------------------

struct RosterEditCase {
  const char* name;
  void (Session::*handler)();
  const char* prompt;
  const char* title;
  const char* defaultText;
  const char* answer;
  std::string file;
  const char* line;
};

class RosterEdit : public ::testing::TestWithParam<RosterEditCase> {};

TEST_P(RosterEdit, WritesTheRosterFileAtOnceAndSelectsTheLineAgain) {
  const RosterEditCase& c = GetParam();
  NetRig rig;
  rig.session.mEditNetControl_Click();
  rig.pick(2);  // the third line: roster row 4
  rig.dialogs.shown.clear();
  rig.dialogs.inputAnswers = {c.answer};
  (rig.session.*c.handler)();

  ASSERT_EQ(rig.dialogs.shown.size(), 1u);
  EXPECT_EQ(rig.dialogs.shown[0].text, c.prompt);
  EXPECT_EQ(rig.dialogs.shown[0].title, c.title);
  EXPECT_EQ(rig.dialogs.shown[0].defaultText, c.defaultText);
  EXPECT_EQ(rig.rosterBytes(), c.file);
  EXPECT_TRUE(rig.session.rosterEditMode);
  EXPECT_EQ(rig.session.view.lines.size(), 3u);
  EXPECT_EQ(rig.session.view.lines.at(2), c.line);
  EXPECT_EQ(rig.session.view.selected, 2);
  EXPECT_EQ(rig.session.view.label3, "Hit  <Esc> when done editing");
  // Today's check-in of the station is not touched, nor is today's log.
  EXPECT_EQ(rig.session.checkIns.field(3, 2), "BOB");
  EXPECT_EQ(rig.session.checkIns.field(3, 3), "EM12");
  EXPECT_EQ(rig.read(kLog), kLogBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Items, RosterEdit,
    ::testing::Values(
        RosterEditCase{"Qth", &Session::mnuPopUpQTH_Click,
                       "N3GHI: Enter QTH grid etc to change, then hit <Enter>.",
                       "N3GHI: Edit QTH Grid etc", "EM12", "em12kx tulsa",
                       rosterFile("EM12KX TULSA", "MARY"), "N3GHI     BOB          EM12KX TULSA"},
        RosterEditCase{
            "Name", &Session::mnuPopUpName_Click, "N3GHI: Enter Name to change, then hit <Enter>.",
            "N3GHI: Edit name", "BOB", "robert",
            "222 MHz\r\nW1NC\r\n1/2/2020\r\ninitial check-in date\r\nlast check-in "
            "date\r\nold call sign\r\nK1ABC\r\nJOHN\r\nFN42\r\n1/5/2020\r\n11/28/2026\r\n"
            "-\r\nW2DEF\r\nMARY\r\nBOSTON FN42\r\n3/1/2021\r\n11/21/2026\r\n-\r\nN3GHI\r\n"
            "ROBERT\r\nEM12\r\n6/7/2022\r\n10/3/2026\r\nN3OLD\r\n",
            "N3GHI     ROBERT       EM12"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RosterEdit, FirstLineIsNotSelectedAgain) {
  NetRig rig;
  rig.session.mEditNetControl_Click();
  rig.pick(0);
  rig.dialogs.inputAnswers = {"jon"};
  rig.session.mnuPopUpName_Click();
  EXPECT_EQ(rig.session.roster.row(2).name, "JON");
  EXPECT_EQ(rig.session.view.lines.at(0), "K1ABC     JON          FN42");
  EXPECT_EQ(rig.session.view.selected, -1);
}

TEST(RosterEdit, EditCallsignDoesNothingInTheRosterView) {
  NetRig rig;
  rig.session.mEditNetControl_Click();
  rig.pick(1);
  const std::string before = rig.rosterBytes();
  rig.dialogs.shown.clear();
  rig.session.mnuPopUpCall_Click();
  rig.session.mnuPopUpMultiple_Click();
  EXPECT_TRUE(rig.dialogs.shown.empty());
  EXPECT_EQ(rig.rosterBytes(), before);
  EXPECT_EQ(rig.session.checkIns.field(2, 1), "W2DEF");
}

// ---- nothing runs against a line that is not there -------------------------------------------

struct NoTargetCase {
  const char* name;
  void (Session::*handler)();
  bool rosterView;
  bool viewOnly;
  int selectedCheckIn;
};

class NoTarget : public ::testing::TestWithParam<NoTargetCase> {};

TEST_P(NoTarget, ShowsNoBoxAndChangesNothing) {
  const NoTargetCase& c = GetParam();
  NetRig rig;
  if (c.rosterView) rig.session.mEditNetControl_Click();
  rig.session.viewOnlyLog = c.viewOnly;
  rig.session.selectedCheckIn = c.selectedCheckIn;
  const std::string log = rig.read(kLog);
  const std::string roster = rig.rosterBytes();
  rig.dialogs.shown.clear();
  (rig.session.*c.handler)();
  EXPECT_TRUE(rig.dialogs.shown.empty());
  EXPECT_EQ(rig.read(kLog), log);
  EXPECT_EQ(rig.rosterBytes(), roster);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NoTarget,
    ::testing::Values(
        NoTargetCase{"ViewOnlyCall", &Session::mnuPopUpCall_Click, false, true, 2},
        NoTargetCase{"ViewOnlyName", &Session::mnuPopUpName_Click, false, true, 2},
        NoTargetCase{"ViewOnlyQth", &Session::mnuPopUpQTH_Click, false, true, 2},
        NoTargetCase{"ViewOnlyMultiple", &Session::mnuPopUpMultiple_Click, false, true, 2},
        NoTargetCase{"ViewOnlyRosterName", &Session::mnuPopUpName_Click, true, true, 2},
        NoTargetCase{"ViewOnlyRosterQth", &Session::mnuPopUpQTH_Click, true, true, 2},
        NoTargetCase{"CheckInZero", &Session::mnuPopUpName_Click, false, false, 0},
        NoTargetCase{"CheckInNegative", &Session::mnuPopUpCall_Click, false, false, -1},
        NoTargetCase{"CheckInPastLast", &Session::mnuPopUpQTH_Click, false, false, 5},
        NoTargetCase{"MultiplePastLast", &Session::mnuPopUpMultiple_Click, false, false, 5},
        NoTargetCase{"RosterZero", &Session::mnuPopUpName_Click, true, false, 0},
        NoTargetCase{"RosterPastLast", &Session::mnuPopUpQTH_Click, true, false, 4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NoTarget, LastCheckInDeletedAfterItWasPressedIsNotEdited) {
  NetRig rig;
  rig.pick(3);
  rig.enter("D4");
  ASSERT_EQ(rig.session.checkIns.count, 3);
  rig.dialogs.shown.clear();
  rig.session.mnuPopUpName_Click();
  EXPECT_TRUE(rig.dialogs.shown.empty());
}

TEST(NoTarget, RosterRowsAreNotEditedWhileTheListShowsCheckIns) {
  NetRig rig;
  rig.session.mEditNetControl_Click();
  rig.session.updateCheckIns();  // the list is redrawn; the roster view is over
  EXPECT_FALSE(rig.session.rosterEditMode);
  rig.pick(1);
  rig.dialogs.shown.clear();
  rig.dialogs.inputAnswers = {""};
  rig.session.mnuPopUpQTH_Click();
  ASSERT_EQ(rig.dialogs.shown.size(), 1u);
  EXPECT_EQ(rig.dialogs.shown[0].title, " Edit QTH Grid etc");  // the check-in's box
  EXPECT_EQ(rig.session.roster.row(3).qth, "BOSTON FN42");
}

// ---- web lookup -------------------------------------------------------------------------------

struct LineCallCase {
  const char* name;
  const char* line;
  bool rosterView;
  const char* call;
};

class CallsignOfLine : public ::testing::TestWithParam<LineCallCase> {};

TEST_P(CallsignOfLine, IsTheWordAfterNumberAndMarks) {
  EXPECT_EQ(callsignOfListLine(GetParam().line, GetParam().rosterView), GetParam().call);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CallsignOfLine,
    ::testing::Values(
        LineCallCase{"Plain", "12    K1ABC   JOHN   FN42   1/5/2020   11/28/2026", false, "K1ABC"},
        LineCallCase{"Ack", "3  <Ack>  K1ABC   JOHN   FN42", false, "K1ABC"},
        LineCallCase{"Com", "3  <Com>  K1ABC   JOHN", false, "K1ABC"},
        LineCallCase{"AckInOut", "3  <Ack> in&out  K1ABC   JOHN", false, "K1ABC"},
        LineCallCase{"InOut", "3   in&out  K1ABC   JOHN", false, "K1ABC"},
        LineCallCase{"AddedInOut", "7 in&out K1ABC   JOHN   FN42   1/5/2020", false, "K1ABC"},
        LineCallCase{"PastLog", "1  K1ABC JOHN FN42", false, "K1ABC"},
        LineCallCase{"NumberOnly", "5    ", false, ""},
        LineCallCase{"Roster", "K1ABC     JOHN         FN42", true, "K1ABC"},
        LineCallCase{"RosterLeadingSpaces", "  K1ABC  JOHN", true, "K1ABC"},
        LineCallCase{"RosterLongCall", "VE3/K1ABCD JOHN", true, "VE3/K1ABCD"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WebLookup, SendsTheCallsignOfMarkedInOutAndPlainLines) {
  NetRig rig;
  rig.enter("W5XYZ-");  // check-in 5, in and out
  rig.session.updateAck(5);
  rig.session.updateAck(1);
  rig.session.settings.browserPath = "/usr/bin/firefox";
  for (const int line : {0, 1, 4}) {
    rig.session.selectLine(line);
    rig.session.CheckIns_MouseDown(2);
    rig.session.mnuQRZConnect_Click();
  }
  ASSERT_EQ(rig.launcher.started.size(), 3u);
  const char* calls[] = {"K1ABC", "W2DEF", "W5XYZ"};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(rig.launcher.started[i].program, "/usr/bin/firefox");
    EXPECT_EQ(rig.launcher.started[i].args,
              std::vector<std::string>{std::string("https://www.qrz.com/db/") + calls[i]});
  }
  EXPECT_TRUE(rig.dialogs.messages().empty());
  EXPECT_EQ(rig.session.view.menus["mnuQRZConnect"].caption, "Connect to QRZ.com");
}

TEST(WebLookup, RosterViewSendsTheFirstWord) {
  NetRig rig;
  rig.session.settings.browserPath = "C:\\Program Files\\browser.exe";
  rig.session.mEditNetControl_Click();
  rig.pick(2);
  rig.session.mnuQRZConnect_Click();
  ASSERT_EQ(rig.launcher.started.size(), 1u);
  EXPECT_EQ(rig.launcher.started[0].program, "C:\\Program Files\\browser.exe");
  EXPECT_EQ(rig.launcher.started[0].args, std::vector<std::string>{"https://www.qrz.com/db/N3GHI"});
}

struct NoBrowserCase {
  const char* name;
  const char* path;
  int selected;
  bool startSucceeds;
  size_t attempts;
};

class NoBrowser : public ::testing::TestWithParam<NoBrowserCase> {};

TEST_P(NoBrowser, TellsTheOperatorToSetThePath) {
  const NoBrowserCase& c = GetParam();
  NetRig rig;
  rig.session.settings.browserPath = c.path;
  rig.launcher.startSucceeds = c.startSucceeds;
  rig.session.view.selected = c.selected;
  rig.dialogs.shown.clear();
  rig.session.mnuQRZConnect_Click();
  EXPECT_EQ(rig.launcher.started.size(), c.attempts);
  ASSERT_EQ(rig.dialogs.shown.size(), 1u);
  EXPECT_EQ(rig.dialogs.shown[0].kind, "message");
  EXPECT_EQ(rig.dialogs.shown[0].text, "Use the {Set} menu to point to your web browser");
  EXPECT_EQ(rig.dialogs.shown[0].title, " no path to web browser");
  EXPECT_EQ(rig.dialogs.shown[0].buttons, Buttons::OK);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NoBrowser,
    ::testing::Values(NoBrowserCase{"EmptyPath", "", 1, true, 0},
                      NoBrowserCase{"SpacesPath", "   ", 1, true, 0},
                      NoBrowserCase{"NoLineSelected", "/usr/bin/firefox", -1, true, 0},
                      NoBrowserCase{"BrowserFailsToStart", "/nowhere/browser", 1, false, 1}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kelpie::test
