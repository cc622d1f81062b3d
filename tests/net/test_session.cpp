// Start-up, the first run, the re-start of today's log and the ways out of Kelpie.
#include <gtest/gtest.h>

#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

const std::string kHeader =
    "222 MHz\r\nW1NC\r\n1/2/2020\r\ninitial check-in date\r\nlast check-in date\r\nold call "
    "sign\r\n";

TEST(FirstRun, AsksBandCallAndGridInOrderAndWritesBothFiles) {
  Rig rig;
  // Empty, spaces, Cancel and the call's default text ask again.
  rig.dialogs.inputAnswers = {"", "   ", "222 MHz", "urCall", " ", "w1nc", "", "fn20xa"};
  ASSERT_TRUE(rig.session.Form_Load());
  std::string asked;
  for (const auto& b : rig.dialogs.inputs())
    asked += b.title + " / " + b.text + " / " + b.defaultText + "\n";
  const std::string band = " / Enter the band of this net:\r\nex: 50 MHz  222 MHz  1296 MHz / \n";
  const std::string call = "Enter your callsign / Enter the callsign for this net: / urCall\n";
  const std::string grid = "What is your 6-digit... / Enter your 6-digit grid square. / \n";
  EXPECT_EQ(asked, band + band + band + call + call + call + grid + grid);
  EXPECT_EQ(rig.read("NETCONT.ROL"),
            "222 MHz\r\nW1NC\r\n12/5/2026\r\ninitial check-in date\r\n"
            "last check-in date\r\nold call sign\r\n");
  NetSettings ini;
  ini.logFolder = rig.folder.path().string();
  ini.netControlCall = "W1NC";
  ini.netBand = "222 MHz";  // the grid is held until the next write
  EXPECT_EQ(rig.read("Kelpie_Control.ini"), joinCrLf(settingsFileLines(ini)));
  EXPECT_EQ(rig.session.settings.netControlGrid, "FN20XA");
  EXPECT_TRUE(rig.exists("120526F.ILE") && !rig.session.menu("mLoadLog").enabled);
  EXPECT_EQ(rig.session.view.command2 + "|" + rig.session.view.label1,
            "Start Net|Different stations checked-in to date: 0");
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
  EXPECT_EQ(rig.read("NETCONT.ROL"),
            "2 m\r\nW1NC\r\n1/2/2003\r\ninitial check-in date\r\nlast check-in date\r\n"
            "old call sign\r\nK1ABC\r\nBob, Jr\r\nFN20\r\n1/1/2004\r\n-\r\n-\r\n"
            "k1abc\r\nAl\r\nBoston\r\n3/4/2005\r\n5/6/2007\r\nN2OLD\r\n");
  EXPECT_EQ(rig.dialogs.messages().at(0).title, " Check NETCONT.ROL");  // the cut record
  EXPECT_EQ(rig.session.view.label1, "Different stations checked-in to date: 2");
  EXPECT_EQ(rig.session.view.title, " Kelpie      222 MHz net");  // the settings' band
}

// A second read of the settings starts from the defaults, not from what the first one gave.
TEST(StartUp, SettingsReadAgainStartFromTheDefaults) {
  Rig rig;
  ASSERT_TRUE(rig.start());
  NetSettings& s = rig.session.settings;
  s.enterModes = s.distanceKm = true;
  s.spaceBarModes = false;
  s.distanceUnit = "kM";
  rig.write("Kelpie_Control.ini", {"[NetControl 6-digit Grid]", "FN20XA"});
  rig.session.readSettings();
  EXPECT_TRUE(!s.enterModes && !s.distanceKm && s.spaceBarModes && s.distanceUnit == "Miles");
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
    EXPECT_EQ(b.title + "|" + b.text,
              " Re-start with 120526F.ILE|120526F.ILE exists. Click <OK> to re-start the existing "
              "log.\r\n\r\n       Otherwise - select <Cancel> to exit Kelpie.");
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
  EXPECT_EQ(rig.read("NETCONT.ROL"),
            kHeader +
                "K1ABC\r\nROBERT\r\nFN20\r\n1/1/2021\r\n12/5/2026\r\n-\r\n"
                "N2XYZ\r\nAL\r\nBOSTON\r\n3/3/2023\r\n4/4/2024\r\nN2OLD\r\n"
                "W3NEW\r\n-\r\n-\r\n12/5/2026\r\n12/5/2026\r\n-\r\n");
  EXPECT_TRUE(rig.read("Kelpie_Control.ini").find("[Use the <Enter> key + shortcuts]\r\nYes\r\n") !=
                  std::string::npos &&
              !rig.exists("010101F.ILE"));
  rig.dialogs.messageAnswers = {Answer::Cancel};
  EXPECT_FALSE(rig.session.Form_Unload());
  const auto& box = rig.dialogs.shown.back();
  EXPECT_EQ(box.title + "|" + box.text,
            " Quit software...| Click <OK> to quit Kelpie.\r\n\r\nOtherwise - <Space> or <Enter> "
            "as default.");
  EXPECT_EQ(box.defaultButton, Answer::Cancel);
}

// Exit with no check-ins leaves the roster as it was; the net button clears an answer the
// list shows when there are no check-ins.
TEST(WaysOut, ExitWithNoCheckInsTheBackUpAndTheNetButton) {
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
}

TEST(HelpMenu, EngineSwitchTwiceReturnsAndContextTenInSecondState) {
  Rig rig;
  for (int i = 0; i < 2; ++i) {
    rig.session.mContents_Click();
    rig.session.mTypeHelp_Click();
    const MenuItem& m = rig.session.menu("mTypeHelp");
    EXPECT_EQ(m.caption + (m.checked ? " checked" : ""),
              i ? "Default - WinHelp32 checked" : "HTML Help");
  }
  EXPECT_EQ(rig.help.contexts, (std::vector<int>{0, 10}));
}

}  // namespace
}  // namespace kelpie::test
