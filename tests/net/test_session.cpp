// Start-up, the first run, the re-start of today's log, the ways out of Kelpie, the roster read
// once and the times file beside today's log.
#include <gtest/gtest.h>
#include <sys/inotify.h>

#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

TEST(FirstRun, AsksBandCallAndGridInOrderAndWritesBothFilesThenSettingsReadAfresh) {
  Rig rig;
  // Empty, spaces, Cancel and the call's default text ask again.
  rig.dialogs.inputAnswers = {"", "   ", "222 MHz", "urCall", " ", "w1nc", "", "fn20xa"};
  ASSERT_TRUE(rig.session.Form_Load());
  std::string got;
  for (const auto& b : rig.dialogs.shown)
    got += b.kind + ": " + b.title + " / " + b.text + " / " + b.defaultText + "\n";
  EXPECT_EQ(got + rig.read("NETCONT.ROL"), golden("net/first_run"));
  const std::string ini = rig.read("Kelpie_Control.ini");
  rig.writeSettings("");  // the grid is held until the next write
  EXPECT_EQ(ini, rig.read("Kelpie_Control.ini"));
  EXPECT_EQ(rig.session.settings.netControlGrid, "FN20XA");
  EXPECT_TRUE(rig.exists("120526F.ILE") && !rig.session.menu("mLoadLog").enabled);
  EXPECT_EQ(rig.session.view.command2 + "|" + rig.session.view.label1,
            "Start Net|Different stations checked-in to date: 0");
  // A second read of the settings starts from the defaults, not from what the first one gave.
  NetSettings& s = rig.session.settings;
  s.enterModes = s.distanceKm = true;
  s.spaceBarModes = false;
  s.distanceUnit = "kM";
  rig.write("Kelpie_Control.ini", {"[NetControl 6-digit Grid]", "FN20XA"});
  rig.session.readSettings();
  EXPECT_TRUE(!s.enterModes && !s.distanceKm && s.spaceBarModes && s.distanceUnit == "Miles");
  rig.enter("K1ABC");  // the first save of today's log offers it for loading, then the options
  std::string marks(1, "-v"[rig.session.menu("mLoadLog").enabled]);  // as the settings read
  for (const char* m : {"mEnterModes", "mACModes", "mUseSpaceBarModes", "mUseNumberModes",
                        "mDistanceTypekM", "mDistanceTypeMiles"})
    marks += "-v"[rig.session.menu(m).checked];
  EXPECT_EQ(marks, "v-vv--v");
}

TEST(StartUp, OldQuotedRosterIsConvertedAndDistinctCallsCounted) {
  Rig rig;
  rig.writeSettings();
  rig.write("NETCONT.ROL",
            {"\"2 m\",\"w1nc\",\"1/2/2003\",\"initial check-in date\",\"last check-in "
             "date\",\"old call sign\"",
             "\"K1ABC\",\"Bob, Jr\",\"FN20\",\"1/1/2004\",\"\",\"\"",
             "\"k1abc\",\"Al\",\"Boston\",\"3/4/2005\",\"5/6/2007\",\"N2OLD\"", "\"K1ABC\""});
  ASSERT_TRUE(rig.session.Form_Load());
  EXPECT_EQ(rig.read("NETCONT.ROL"), golden("net/quoted_roster_converted"));
  EXPECT_EQ(rig.dialogs.messages().at(0).title, " Check NETCONT.ROL");  // the cut record
  EXPECT_EQ(rig.session.view.label1, "Different stations checked-in to date: 2");
  EXPECT_EQ(rig.session.view.title, " Kelpie      222 MHz net");  // the settings' band
}

// Whole reads of the watched file: an open and a close each, alternating so none is merged.
int reads(int fd) {
  inotify_event buf[64];
  return int(std::max<ssize_t>(::read(fd, buf, sizeof buf), 0) / ssize_t{2 * sizeof *buf});
}

TEST(RosterReads, OnceAtStartUpThenAfreshAtEachCheckIn) {
  Rig rig;
  rig.writeRoster({{"K1ABC", "Bob", "FN20"}});
  const int fd = inotify_init1(IN_NONBLOCK);
  ASSERT_GE(inotify_add_watch(fd, (rig.folder / "NETCONT.ROL").c_str(), IN_OPEN | IN_CLOSE), 0);
  ASSERT_TRUE(rig.start());
  EXPECT_EQ(reads(fd), 1);
  rig.enter("K1ABC");
  EXPECT_EQ(reads(fd), 1);
  ::close(fd);
}

TEST(Restart, OkReloadsTodaysCheckInsAndCancelEndsWithoutWriting) {
  for (const Answer answer : {Answer::OK, Answer::Cancel}) {
    Rig rig;
    rig.writeRoster({{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", "-"}});
    rig.write("120526F.ILE", {"K1ABC", "BOB", "FN20", "N2XYZ", "AL", "FN31  50\xB0"});
    const std::string roster = rig.read("NETCONT.ROL"), log = rig.read("120526F.ILE");
    rig.dialogs.messageAnswers = {answer};
    EXPECT_EQ(rig.start(), answer == Answer::OK);
    const auto& b = rig.dialogs.shown.at(0);
    EXPECT_EQ(b.title + "|" + b.text, golden("net/restart_box"));
    EXPECT_TRUE(b.buttons == Buttons::OKCancel && b.defaultButton == Answer::OK);
    EXPECT_EQ(rig.read("NETCONT.ROL") + rig.read("120526F.ILE"), roster + log);
    EXPECT_EQ(rig.session.view.quitRequested, answer == Answer::Cancel);
    if (answer == Answer::Cancel) continue;
    const MainView& v = rig.session.view;
    EXPECT_EQ(v.lines[1] + "|" + v.command2 + "|" + v.label2,
              "2    N2XYZ   AL   FN31  50\xB0      |Continue Check-Ins|Enter Call # 3");
    EXPECT_TRUE(rig.session.menu("mLoadLog").enabled);
  }
}

// Quit saves the roster (today's date, edits of the day, new stations once) and the settings,
// drops empty logs of other days, then asks; the close box only asks.
TEST(WaysOut, QuitFoldsTheDayIntoTheRosterAndTheCloseBoxSavesNothing) {
  Rig rig;
  rig.writeRoster({{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", ""},
                   {"N2XYZ", "AL", "BOSTON", "3/3/2023", "4/4/2024", "N2OLD"}});
  rig.write("010101F.ILE", {});
  ASSERT_TRUE(rig.start());
  const std::string roster = rig.read("NETCONT.ROL"), ini = rig.read("Kelpie_Control.ini");
  rig.enterAll({"W3NEW-", "K1ABC"});
  rig.session.checkIns.field(2, 2) = "ROBERT";
  rig.session.mEnterModes_Click();
  rig.dialogs.messageAnswers = {Answer::OK};
  EXPECT_TRUE(rig.session.Form_Unload());  // the close box
  EXPECT_EQ(rig.read("NETCONT.ROL") + rig.read("Kelpie_Control.ini"), roster + ini);
  rig.enter("W3NEW");  // refused: already checked in
  rig.session.CmdExit_Click();
  EXPECT_TRUE(rig.session.view.closeRequested);
  EXPECT_EQ(rig.read("NETCONT.ROL"), golden("net/quit_roster"));
  EXPECT_TRUE(rig.read("Kelpie_Control.ini").find("[Use the <Enter> key + shortcuts]\r\nYes\r\n") !=
                  std::string::npos &&
              !rig.exists("010101F.ILE"));
  rig.dialogs.messageAnswers = {Answer::Cancel};
  EXPECT_FALSE(rig.session.Form_Unload());
  const auto& box = rig.dialogs.shown.back();
  EXPECT_EQ(box.title + "|" + box.text, golden("net/quit_box"));
  EXPECT_EQ(box.defaultButton, Answer::Cancel);
}

// Exit with no check-ins leaves the roster as it was; the net button clears an answer the
// list shows when there are no check-ins; the help menu.
TEST(WaysOut, ExitWithNoCheckInsTheBackUpTheNetButtonAndHelp) {
  Rig rig;
  rig.writeRoster({{"K1ABC", "", "FN20", "1/1/2021", "", ""}});
  ASSERT_TRUE(rig.start());
  const std::string roster = rig.read("NETCONT.ROL");
  rig.session.view.lines = {"", " Station with the most check-ins since 2050:"};
  rig.session.Command2_Click();
  EXPECT_TRUE(rig.session.view.lines.empty());
  EXPECT_EQ(rig.session.view.label3, "Enter Call or Call- for in&&out.");
  rig.session.mSaveBU_Click();
  rig.session.mExit_Click();
  EXPECT_TRUE(rig.session.view.quitRequested && rig.exists("120526F.ILE"));  // an empty log stays
  EXPECT_EQ(rig.read("NETCONT.ROL") + rig.read("NETCONT.BU1"), roster + roster);
  EXPECT_EQ(rig.dialogs.boxes(), " / The back-up file will be named NETCONT.BU1\n");
  for (int i = 0; i < 2; ++i) {  // the help engine switched twice returns
    rig.session.mContents_Click();
    rig.session.mTypeHelp_Click();
    const MenuItem& m = rig.session.menu("mTypeHelp");
    EXPECT_EQ(m.caption + (m.checked ? " checked" : ""),
              i ? "Default - WinHelp32 checked" : "HTML Help");
  }
  EXPECT_EQ(rig.help.contexts, (std::vector<int>{0, 10}));  // context 10 in the second state
}

void edit(Rig& r, int line, void (Session::*command)(), const std::string& answer) {
  r.session.selectLine(line), r.session.CheckIns_MouseDown(2);
  r.dialogs.inputAnswers = {answer};
  (r.session.*command)();
}

// A re-start the same day over the times file given (the one there when empty), one more check-in.
void restart(Rig& r, const std::string& times) {
  if (!times.empty()) r.writeBytes("120526F.TIM", times);
  Session again{r.platform, r.folder.path()};
  ASSERT_TRUE(again.Form_Load());
  again.view.entryText = "W1DDD";
  int key = kKeyEnter;
  again.CallSignInput_KeyPress(key);
  EXPECT_EQ(r.read("120526F.ILE"),
            "W1AAA\r\n\r\n\r\nW1BBB\r\n\r\n\r\nW1CCC\r\n\r\n\r\nW1DDD\r\n\r\n\r\n");
}

// The times file beside today's log: each time stays with its check-in, whatever happens to it:
// a deletion, the last one undone, edits, a re-start over its own file or over one out of order
// with a bad time.
TEST(CheckInTimes, EachTimeStaysWithItsCheckIn) {
  const std::function<void(Rig&)> rows[] = {
      [](Rig& r) { r.enter("D2"); },
      [](Rig& r) { r.enter("DL"); },
      [](Rig& r) { edit(r, 0, &Session::mnuPopUpName_Click, "ann"); },
      [](Rig& r) { edit(r, 1, &Session::mnuPopUpCall_Click, "w1xyz"); },
      [](Rig& r) { restart(r, ""); },
      [](Rig& r) {
        restart(r, "W1CCC\t2026-12-06T09:00:00Z\r\nW1AAA\tx\r\nW1BBB\t2026-01-31T23:59:59Z\r\n");
      }};
  std::string got;
  for (const auto& row : rows) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    for (const char* call : {"W1AAA", "W1BBB-", "W1CCC"}) rig.enter(call), ++rig.clock.utc.minute;
    row(rig);
    got += "--\n" + rig.read("120526F.TIM");
  }
  EXPECT_EQ(got, golden("net/checkin_times"));
}

TEST(CheckInTimes, AFailedWriteIsToldOnceAndTheNetGoesOn) {
  Rig rig;
  ASSERT_TRUE(rig.start());
  std::filesystem::create_directory(rig.folder / "120526F.TIM");
  rig.enterAll({"W1AAA", "W1BBB"});
  EXPECT_EQ(rig.dialogs.boxes(), " File not saved / Kelpie could not write " +
                                     (rig.folder / "120526F.TIM").string() +
                                     " (Is a directory).\r\n\r\nThe data is still in memory; "
                                     "Kelpie tries again at the next save.\n");
  EXPECT_EQ(rig.read("120526F.ILE"), "W1AAA\r\n\r\n\r\nW1BBB\r\n\r\n\r\n");
}

}  // namespace
}  // namespace kelpie::test
