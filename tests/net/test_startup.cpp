#include <gtest/gtest.h>

#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

TEST(FirstRun, AsksBandCallAndGridInOrderAndWritesBothFiles) {
  Rig rig;
  // Band: empty and Cancel ask again; call: "urCall" and blanks ask again.
  rig.dialogs.inputAnswers = {"", "   ", "222 MHz", "urCall", " ", "w1nc", "", "fn20xa"};
  ASSERT_TRUE(rig.session.Form_Load());
  const auto inputs = rig.dialogs.inputs();
  ASSERT_EQ(inputs.size(), 8u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(inputs[i].text, "Enter the band of this net:\r\nex: 50 MHz  222 MHz  1296 MHz");
    EXPECT_EQ(inputs[i].title, "");
  }
  for (int i = 3; i < 6; ++i) {
    EXPECT_EQ(inputs[i].text, "Enter the callsign for this net:");
    EXPECT_EQ(inputs[i].title, "Enter your callsign");
    EXPECT_EQ(inputs[i].defaultText, "urCall");
  }
  for (int i = 6; i < 8; ++i) {
    EXPECT_EQ(inputs[i].text, "Enter your 6-digit grid square.");
    EXPECT_EQ(inputs[i].title, "What is your 6-digit...");
    EXPECT_EQ(inputs[i].defaultText, "");
  }
  EXPECT_EQ(rig.read("NETCONT.ROL"),
            "222 MHz\r\nW1NC\r\n12/5/2026\r\ninitial check-in date\r\nlast check-in date\r\n"
            "old call sign\r\n");
  const std::string ini = rig.read("Kelpie_Control.ini");
  EXPECT_NE(ini.find("[Path to check-in log files]\r\n" + rig.folder.path().string() + "\r\n"),
            std::string::npos);
  EXPECT_NE(ini.find("[Net Control`s Call]\r\nW1NC\r\n[Band for this Net]\r\n222 MHz\r\n"),
            std::string::npos);
  EXPECT_NE(ini.find("[Use Miles or kM]\r\nMiles\r\n"), std::string::npos);
  // The grid asked for is held in memory until the next write.
  EXPECT_NE(ini.find("[NetControl 6-digit Grid]\r\n\r\n"), std::string::npos);
  EXPECT_EQ(rig.session.settings.netControlGrid, "FN20XA");
  EXPECT_TRUE(rig.exists("ck2list.dat"));
  EXPECT_TRUE(rig.exists("vhf4k.adi"));
  EXPECT_TRUE(rig.exists("120526F.ILE"));
  EXPECT_EQ(rig.session.roster.count(), 1);
  EXPECT_EQ(rig.session.view.title, " Kelpie      222 MHz net");
  EXPECT_EQ(rig.session.view.label1, "Different stations checked-in to date: 0");
  EXPECT_EQ(rig.session.view.command2, "Start Net");
  EXPECT_EQ(rig.session.view.label3, "Enter Call or Call- for in&&out");
  EXPECT_FALSE(rig.session.menu("mLoadLog").enabled);
}

TEST(FirstRun, OldQuotedRosterIsConvertedByteForByte) {
  Rig rig;
  rig.writeSettings();
  rig.write("NETCONT.ROL",
            {"\"222 MHz\",\"w1nc\",\"1/2/2003\",\"initial check-in date\",\"last check-in "
             "date\",\"old call sign\"",
             "\"K1ABC\",\"Bob, Jr\",\"FN20\",\"1/1/2004\",\"\",\"\"",
             "\"N2XYZ\",\"Al\",\"Boston\",\"3/4/2005\",\"5/6/2007\",\"N2OLD\""});
  ASSERT_TRUE(rig.session.Form_Load());
  EXPECT_EQ(rig.read("NETCONT.ROL"),
            "222 MHz\r\nW1NC\r\n1/2/2003\r\ninitial check-in date\r\nlast check-in date\r\n"
            "old call sign\r\n"
            "K1ABC\r\nBob, Jr\r\nFN20\r\n1/1/2004\r\n-\r\n-\r\n"
            "N2XYZ\r\nAl\r\nBoston\r\n3/4/2005\r\n5/6/2007\r\nN2OLD\r\n");
  EXPECT_TRUE(rig.dialogs.inputs().empty());
  EXPECT_EQ(rig.session.view.label1, "Different stations checked-in to date: 2");
}

TEST(StartUp, CountsDistinctCallsignsAndNamesTheBand) {
  Rig rig;
  rig.writeRoster({{"K1ABC"}, {"K1ABC"}, {"k1abc"}, {""}, {"N2XYZ"}});
  ASSERT_TRUE(rig.start());
  EXPECT_EQ(rig.session.view.title, " Kelpie      222 MHz net");
  EXPECT_EQ(rig.session.view.label1, "Different stations checked-in to date: 3");
}

TEST(StartUp, SettingsReplaceTheRosterCallAndBand) {
  Rig rig;
  rig.writeRoster({}, "2 m", "W0OLD");
  rig.writeSettings();
  ASSERT_TRUE(rig.start());
  EXPECT_EQ(rig.session.settings.netBand, "222 MHz");
  EXPECT_EQ(rig.session.settings.netControlCall, "W1NC");
}

TEST(StartUp, RosterCutInsideARecordIsReadToItsLastWholeRecordAndKept) {
  Rig rig;
  rig.writeSettings();
  const std::string cut =
      "222 MHz\r\nW1NC\r\n1/2/2020\r\ninitial check-in date\r\nlast check-in date\r\nold call "
      "sign\r\nK1ABC\r\nBob\r\nFN20\r\n1/1/2021\r\n2/2/2022\r\n-\r\nN2XYZ\r\nAl\r\n";
  rig.writeBytes("NETCONT.ROL", cut);
  ASSERT_TRUE(rig.start());
  const auto msgs = rig.dialogs.messages();
  ASSERT_EQ(msgs.size(), 1u);  // told once, though the file is read twice
  EXPECT_NE(msgs[0].text.find((rig.folder / "NETCONT.ROL").string()), std::string::npos);
  EXPECT_NE(msgs[0].text.find("NETCONT.ROL.bad"), std::string::npos);
  EXPECT_EQ(rig.session.roster.count(), 2);
  rig.enter("N2XYZ");
  rig.session.mExit_Click();
  EXPECT_EQ(rig.read("NETCONT.ROL.bad"), cut);
  const std::string roster = rig.read("NETCONT.ROL");
  EXPECT_NE(roster.find("K1ABC\r\nBob\r\n"), std::string::npos);
  EXPECT_NE(roster.find("N2XYZ\r\n-\r\n-\r\n12/5/2026\r\n12/5/2026\r\n-\r\n"), std::string::npos);
}

TEST(StartUp, MissingLogFolderFallsBackToTheProgramFolder) {
  Rig rig;
  rig.writeRoster({});
  NetSettings s;
  s.logFolder = (rig.folder / "gone").string();
  s.netControlCall = "W1NC";
  s.netBand = "222 MHz";
  s.netControlGrid = "FN20XA";
  rig.write("Kelpie_Control.ini", settingsFileLines(s));
  ASSERT_TRUE(rig.start());
  const auto msgs = rig.dialogs.messages();
  ASSERT_EQ(msgs.size(), 1u);
  EXPECT_NE(msgs[0].text.find(s.logFolder), std::string::npos);
  EXPECT_EQ(rig.session.logFolder, rig.folder.path());
  EXPECT_TRUE(rig.exists("120526F.ILE"));
  rig.session.mExit_Click();
  // The operator's value stays in the settings file.
  EXPECT_NE(rig.read("Kelpie_Control.ini").find(s.logFolder), std::string::npos);
}

class Restart : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.writeRoster({{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", "-"}});
    rig.writeSettings();
    rig.write("120526F.ILE", {"K1ABC", "BOB", "FN20", "N2XYZ", "AL", "FN31  50\xB0"});
  }
  Rig rig;
};

TEST_F(Restart, OkReloadsTodaysCheckIns) {
  rig.dialogs.messageAnswers = {Answer::OK};
  ASSERT_TRUE(rig.session.Form_Load());
  const auto msgs = rig.dialogs.messages();
  ASSERT_EQ(msgs.size(), 1u);
  EXPECT_EQ(msgs[0].text,
            "120526F.ILE exists. Click <OK> to re-start the existing log.\r\n\r\n       "
            "Otherwise - select <Cancel> to exit Kelpie.");
  EXPECT_EQ(msgs[0].title, " Re-start with 120526F.ILE");
  EXPECT_EQ(msgs[0].buttons, Buttons::OKCancel);
  EXPECT_EQ(msgs[0].defaultButton, Answer::OK);
  EXPECT_EQ(rig.session.view.lines,
            (std::vector<std::string>{"1    K1ABC   BOB   FN20      ",
                                      "2    N2XYZ   AL   FN31  50\xB0      "}));
  EXPECT_EQ(rig.session.view.command2, "Continue Check-Ins");
  EXPECT_EQ(rig.session.view.label3, "Enter Call or Call- for in&&out.  Enter # to acknowledge.");
  EXPECT_EQ(rig.session.view.label2, "Enter Call # 3");
  EXPECT_TRUE(rig.session.menu("mLoadLog").enabled);
}

TEST_F(Restart, CancelEndsWithoutRewritingTheRoster) {
  const std::string before = rig.read("NETCONT.ROL");
  const std::string log = rig.read("120526F.ILE");
  rig.dialogs.messageAnswers = {Answer::Cancel};
  EXPECT_FALSE(rig.session.Form_Load());
  EXPECT_TRUE(rig.session.view.quitRequested);
  EXPECT_EQ(rig.read("NETCONT.ROL"), before);
  EXPECT_EQ(rig.read("120526F.ILE"), log);  // untouched
}

TEST(WaysOut, QuitSavesThenAsksAndCancelKeepsRunning) {
  Rig rig;
  rig.writeRoster({{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", ""}});
  rig.write("010101F.ILE", {});  // an empty log of another day
  ASSERT_TRUE(rig.start());
  rig.enter("K1ABC");
  rig.session.CmdExit_Click();
  EXPECT_TRUE(rig.session.view.closeRequested);
  EXPECT_NE(rig.read("NETCONT.ROL").find("K1ABC\r\nBOB\r\nFN20\r\n1/1/2021\r\n12/5/2026\r\n-\r\n"),
            std::string::npos);
  EXPECT_FALSE(rig.exists("010101F.ILE"));
  EXPECT_TRUE(rig.exists("120526F.ILE"));
  rig.dialogs.messageAnswers = {Answer::Cancel};
  EXPECT_FALSE(rig.session.Form_Unload());
  const auto box = rig.dialogs.messages().back();
  EXPECT_EQ(box.text,
            " Click <OK> to quit Kelpie.\r\n\r\nOtherwise - <Space> or <Enter> as default.");
  EXPECT_EQ(box.title, " Quit software...");
  EXPECT_EQ(box.defaultButton, Answer::Cancel);
  rig.dialogs.messageAnswers = {Answer::OK};
  EXPECT_TRUE(rig.session.Form_Unload());
}

TEST(WaysOut, CloseBoxSavesNothing) {
  Rig rig;
  rig.writeRoster({{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", "-"}});
  ASSERT_TRUE(rig.start());
  const std::string roster = rig.read("NETCONT.ROL");
  const std::string ini = rig.read("Kelpie_Control.ini");
  rig.enter("K1ABC");
  rig.session.mEnterModes_Click();
  rig.dialogs.messageAnswers = {Answer::OK};
  EXPECT_TRUE(rig.session.Form_Unload());
  EXPECT_EQ(rig.read("NETCONT.ROL"), roster);
  EXPECT_EQ(rig.read("Kelpie_Control.ini"), ini);
}

TEST(WaysOut, ExitWithNoCheckInsLeavesTheRosterUntouchedButWritesSettings) {
  Rig rig;
  rig.writeRoster({{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", ""}});
  ASSERT_TRUE(rig.start());
  const std::string roster = rig.read("NETCONT.ROL");
  rig.session.mEnterModes_Click();
  rig.session.mExit_Click();
  EXPECT_TRUE(rig.session.view.quitRequested);
  EXPECT_EQ(rig.read("NETCONT.ROL"), roster);  // the empty oldCallSign stays as it was
  EXPECT_NE(rig.read("Kelpie_Control.ini").find("[Use the <Enter> key + shortcuts]\r\nYes\r\n"),
            std::string::npos);
  // Today's empty log was not in the start-up list, so it stays.
  EXPECT_TRUE(rig.exists("120526F.ILE"));
}

TEST(RosterFold, AppendsOnceCopiesEditsAndDatesToday) {
  Rig rig;
  rig.writeRoster({{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", ""},
                   {"N2XYZ", "AL", "BOSTON", "3/3/2023", "4/4/2024", "N2OLD"}});
  ASSERT_TRUE(rig.start());
  rig.enter("W3NEW-");
  rig.enter("K1ABC");
  rig.session.checkIns.field(2, 2) = "ROBERT";
  rig.session.checkIns.field(1, 2) = "";
  rig.session.checkIns.count = 3;  // the same station twice in one net
  rig.session.checkIns.row(3) = rig.session.checkIns.row(1);
  rig.session.saveNetControlFile();
  EXPECT_EQ(rig.read("NETCONT.ROL"),
            "222 MHz\r\nW1NC\r\n1/2/2020\r\ninitial check-in date\r\nlast check-in date\r\nold "
            "call sign\r\n"
            "K1ABC\r\nROBERT\r\nFN20\r\n1/1/2021\r\n12/5/2026\r\n-\r\n"
            "N2XYZ\r\nAL\r\nBOSTON\r\n3/3/2023\r\n4/4/2024\r\nN2OLD\r\n"
            "W3NEW\r\n-\r\n-\r\n12/5/2026\r\n12/5/2026\r\n-\r\n");
  EXPECT_EQ(rig.session.roster.count(), 4);
}

TEST(RosterWriters, AfterEditAndBackUpWriteRowsUnchanged) {
  Rig rig;
  rig.writeRoster({{"K1ABC", "", "FN20", "1/1/2021", "", ""}});
  ASSERT_TRUE(rig.start());
  rig.session.roster.row(2).oldCallSign = "";
  rig.session.saveNCFileAfterEdit();
  rig.session.mSaveBU_Click();
  const std::string expected =
      "222 MHz\r\nW1NC\r\n1/2/2020\r\ninitial check-in date\r\nlast check-in date\r\nold call "
      "sign\r\nK1ABC\r\n\r\nFN20\r\n1/1/2021\r\n\r\n\r\n";
  EXPECT_EQ(rig.read("NETCONT.ROL"), expected);
  EXPECT_EQ(rig.read("NETCONT.BU1"), expected);
  const auto box = rig.dialogs.messages().back();
  EXPECT_EQ(box.text, "The back-up file will be named NETCONT.BU1");
  EXPECT_EQ(box.title, "");
}

TEST(NetButton, ClearsAStatisticsAnswerWhenNoCheckIns) {
  Rig rig;
  ASSERT_TRUE(rig.start());
  rig.session.view.lines = {"", " Station with the most check-ins since 2050:"};
  rig.session.Command2_Click();
  EXPECT_TRUE(rig.session.view.lines.empty());
  EXPECT_EQ(rig.session.view.command2, "Start Net");
  EXPECT_EQ(rig.session.view.label3, "Enter Call or Call- for in&&out.");
  rig.enter("K1ABC");
  rig.session.view.lines.clear();
  rig.session.Command2_Click();
  EXPECT_EQ(rig.session.view.lines.size(), 1u);
  EXPECT_EQ(rig.session.view.command2, "Continue Check-Ins");
  EXPECT_EQ(rig.session.view.label3, "Enter Call or Call- for in&&out.  Enter # to Acknowledge.");
}

TEST(HelpMenu, EngineSwitchTwiceReturnsAndContextTenInSecondState) {
  Rig rig;
  rig.session.mContents_Click();
  rig.session.mTypeHelp_Click();
  EXPECT_EQ(rig.session.menu("mTypeHelp").caption, "HTML Help");
  EXPECT_FALSE(rig.session.menu("mTypeHelp").checked);
  rig.session.mContents_Click();
  rig.session.mTypeHelp_Click();
  EXPECT_EQ(rig.session.menu("mTypeHelp").caption, "Default - WinHelp32");
  EXPECT_TRUE(rig.session.menu("mTypeHelp").checked);
  EXPECT_EQ(rig.help.contexts, (std::vector<int>{0, 10}));
}

}  // namespace
}  // namespace kelpie::test
