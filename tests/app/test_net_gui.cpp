// A whole net typed into the real window.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "app/gui_rig.h"

namespace kelpie::test {
namespace {

const std::string kD = "12/5/2026";

TEST(NetGui, AWholeNetFromTheKeyboard) {
  GuiRig rig;
  rig.writeRoster({{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", "-"},
                   {"N2XYZ", "AL", "BOSTON", "3/3/2023", "4/4/2024", "-"},
                   {"W3RST", "RAY", "PHILLY", "5/5/2025", "6/6/2026", "-"}});
  rig.writeSettings();
  rig.write("BURROW.DAT", {"W4CLB", "CARL", "ATLANTA", "W5CLB", "DON", "DALLAS"});
  rig.write("ck2list.dat", {"N6NAM  ALICE"});
  ASSERT_TRUE(rig.start());
  QLabel* label2 = rig.child<QLabel>("Label2");
  QLabel* label3 = rig.child<QLabel>("Label3");
  QPushButton* command2 = rig.child<QPushButton>("Command2");

  std::string log;
  auto expectLog = [&](int records) {
    EXPECT_EQ(rig.read("120526F.ILE"), log) << "after " << records << " records";
  };

  rig.type("k1abc");
  log += "K1ABC\r\nBOB\r\nFN20\r\n";
  EXPECT_EQ(rig.lines(), QStringList{"1    K1ABC   BOB   FN20  1/1/2021   2/2/2022"});
  EXPECT_EQ(rig.entry()->text(), "");
  EXPECT_EQ(label2->text(), "Enter Call # 2");
  EXPECT_EQ(command2->text(), "Continue Check-Ins");
  expectLog(1);

  rig.type("N2XYZ-");
  log += "N2XYZ\r\nAL\r\nBOSTON\r\n";
  EXPECT_EQ(rig.lines().last(), "2 in&out N2XYZ   AL   BOSTON   3/3/2023   4/4/2024");
  expectLog(2);

  rig.type("W4CLB");
  log += "W4CLB\r\nCARL\r\nATLANTA  \r\n";
  EXPECT_EQ(rig.lines().last(),
            QString::fromStdString("3    W4CLB   CARL   ATLANTA    First time check-in   " + kD));
  expectLog(3);

  rig.type("N6NAM");
  log += "N6NAM\r\nALICE\r\n\r\n";
  EXPECT_EQ(rig.lines().last(),
            QString::fromStdString("4    N6NAM    First time check-in   " + kD));
  expectLog(4);

  for (const char* call :
       {"W3RST", "W5CLB", "K7AAA", "K7BBB", "K7CCC", "K7DDD", "K7EEE", "K7FFF"}) {
    rig.type(call);
    log += std::string(call) + "\r\n";
    if (std::string(call) == "W3RST")
      log += "RAY\r\nPHILLY\r\n";
    else if (std::string(call) == "W5CLB")
      log += "DON\r\nDALLAS  \r\n";
    else
      log += "\r\n\r\n";
  }
  EXPECT_EQ(rig.lines().size(), 12);
  expectLog(12);

  // A duplicate is refused with its message.
  answerMessageBox("OK");
  rig.type("K1ABC");
  EXPECT_EQ(rig.lines().size(), 12);
  expectLog(12);

  // Marks by number and by Space.
  rig.type("1");
  EXPECT_EQ(rig.lines()[0], "1  <Ack>  K1ABC   BOB   FN20   1/1/2021   2/2/2022");
  EXPECT_EQ(label3->text(), "Select line, then right-click to edit.");
  QTest::keyClick(rig.entry(), Qt::Key_Space);
  EXPECT_EQ(rig.lines()[1], "2  <Ack> in&out  N2XYZ   AL   BOSTON   3/3/2023   4/4/2024");
  EXPECT_EQ(rig.entry()->text(), "");
  EXPECT_EQ(rig.list()->currentRow(), 1);
  expectLog(12);

  // The mode toggle with the Enter option, then a comment mark.
  rig.window->action("mEnterModes")->trigger();
  rig.type("");
  EXPECT_EQ(command2->text(), "Acknowledge");
  rig.type("");
  EXPECT_EQ(command2->text(), "Comments");
  EXPECT_TRUE(rig.child<QRadioButton>("Comment")->isChecked());
  rig.type("3");
  EXPECT_EQ(rig.lines()[2].left(14), "3  <Com>  W4CL");
  EXPECT_EQ(rig.lines()[0].left(11), "1    K1ABC ");

  // Delete check-in 4 and the last one.
  rig.type("D4");
  log = rig.read("120526F.ILE");
  EXPECT_EQ(rig.lines().size(), 11);
  EXPECT_EQ(log.find("N6NAM"), std::string::npos);
  answerMessageBox("OK");
  rig.type("DL");
  EXPECT_EQ(rig.lines().size(), 10);
  EXPECT_EQ(rig.read("120526F.ILE").find("K7FFF"), std::string::npos);
  EXPECT_EQ(label2->text(), "Enter Call # 11");

  // Esc redraws the check-ins after something else was shown.
  rig.session.view.lines = {"statistics"};
  rig.window->render();
  QTest::keyClick(rig.entry(), Qt::Key_Escape);
  EXPECT_EQ(rig.lines().size(), 10);

  // Quit: the roster takes today's check-ins, then the close question.
  answerMessageBox("OK");
  QTest::mouseClick(rig.child<QPushButton>("CmdExit"), Qt::LeftButton);
  EXPECT_FALSE(rig.window->isVisible());
  const std::string roster = rig.read("NETCONT.ROL");
  EXPECT_NE(roster.find("K1ABC\r\nBOB\r\nFN20\r\n1/1/2021\r\n" + kD + "\r\n-\r\n"),
            std::string::npos);
  EXPECT_NE(roster.find("W4CLB\r\nCARL\r\nATLANTA  \r\n" + kD + "\r\n" + kD + "\r\n-\r\n"),
            std::string::npos);
  EXPECT_EQ(roster.find("N6NAM"), std::string::npos);
  EXPECT_NE(roster.find("K7EEE\r\n-\r\n-\r\n" + kD + "\r\n" + kD + "\r\n-\r\n"), std::string::npos);
}

}  // namespace
}  // namespace kelpie::test
