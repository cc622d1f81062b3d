#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>

#include "app/app_folder.h"
#include "app/gui_rig.h"

namespace kelpie::test {
namespace {

TEST(MainWindowGui, StartsWithItsControlsAndMenusAndLeavesThroughExit) {
  GuiRig rig;
  rig.writeRoster({{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", "-"}});
  rig.writeSettings();
  ASSERT_TRUE(rig.start());
  MainWindow& w = *rig.window;
  EXPECT_EQ(w.objectName(), "frmKelpie");
  EXPECT_EQ(w.windowTitle(), " Kelpie      222 MHz net");
  EXPECT_EQ(rig.child<QLabel>("Label1")->text(), "Different stations checked-in to date: 1");
  EXPECT_EQ(rig.child<QLabel>("Label2")->text(), "Enter Call # 1");
  EXPECT_EQ(rig.child<QLabel>("Label3")->text(), "Enter Call or Call- for in&out");
  EXPECT_EQ(rig.child<QPushButton>("Command2")->text(), "Start Net");
  EXPECT_EQ(rig.child<QPushButton>("CmdExit")->text(), "Quit");
  EXPECT_EQ(rig.child<QPushButton>("CmdExit")->toolTip(), " Exit program ");
  EXPECT_EQ(rig.entry()->toolTip(), "Call or function number");
  EXPECT_TRUE(rig.child<QRadioButton>("Ack")->isChecked());
  EXPECT_EQ(rig.child<QRadioButton>("Comment")->text(), "Comments");
  EXPECT_TRUE(rig.entry()->hasFocus());
  EXPECT_NE(rig.child<QObject>("File1"), nullptr);

  QStringList top;
  for (QAction* a : w.menuBar()->actions()) top << a->text();
  EXPECT_EQ(top,
            (QStringList{"File", "Edit", "View", "Help", "Options", "Set", "Write text file", "Tools"}));
  QStringList options;
  for (QAction* a : w.menuBar()->actions()[4]->menu()->actions())
    options << (a->isSeparator() ? "-" : a->text() + (a->isChecked() ? " [x]" : ""));
  EXPECT_EQ(options, (QStringList{"Use A and C shortcuts to change modes [x]",
                                  "Use <Enter> as shortcut to change modes", "-",
                                  "Use # entry to mark <Ack> and <Com>",
                                  "Use <Space> or # entry to mark <Ack> and <Com> [x]", "-",
                                  "Write text file in Miles [x]", "Write text file in kM"}));
  EXPECT_FALSE(w.action("mLoadLog")->isEnabled());
  EXPECT_TRUE(w.action("mTypeHelp")->isChecked());
  EXPECT_EQ(w.action("mnuQRZConnect")->text(), "Connect to QRZ.com");
  for (QAction* a : w.menuBar()->actions()) EXPECT_NE(a->menu(), w.popupMenu());

  // The Options items check their pair; File > Exit saves and ends without a question.
  w.action("mEnterModes")->trigger();
  EXPECT_TRUE(w.action("mEnterModes")->isChecked());
  EXPECT_FALSE(w.action("mACModes")->isChecked());
  w.action("mExit")->trigger();
  EXPECT_FALSE(w.isVisible());
  EXPECT_NE(rig.read("Kelpie_Control.ini").find("[Use the <Enter> key + shortcuts]\r\nYes\r\n"),
            std::string::npos);
}

TEST(MainWindowGui, CloseBoxAsksAndCancelKeepsTheWindow) {
  GuiRig rig;
  rig.writeRoster({});
  rig.writeSettings();
  ASSERT_TRUE(rig.start());
  answerMessageBox("Cancel");
  rig.window->close();
  EXPECT_TRUE(rig.window->isVisible());
  answerMessageBox("OK");
  rig.window->close();
  EXPECT_FALSE(rig.window->isVisible());
}

TEST(MainWindowGui, ControlsKeepTheirProportionsWhenResized) {
  GuiRig rig;
  rig.writeRoster({});
  rig.writeSettings();
  ASSERT_TRUE(rig.start());
  QWidget* list = rig.list();
  QWidget* client = rig.window->centralWidget();
  rig.window->resize(rig.window->width() * 2, rig.window->height() * 2);
  QApplication::processEvents();
  EXPECT_NEAR(list->x() / double(client->width()), 135.0 / 6744, 0.01);
  EXPECT_NEAR(list->width() / double(client->width()), 6435.0 / 6744, 0.01);
  EXPECT_NEAR(list->height() / double(client->height()), 2928.0 / 4824, 0.01);
}

TEST(CommandLine, OptionsAndFolder) {
  EXPECT_EQ(parseCommandLine({"kelpie"}).action, CommandLine::Run);
  EXPECT_EQ(parseCommandLine({"kelpie", "--help"}).action, CommandLine::Help);
  EXPECT_EQ(parseCommandLine({"kelpie", "--version"}).action, CommandLine::Version);
  EXPECT_EQ(parseCommandLine({"kelpie", "--frobnicate"}).action, CommandLine::Refuse);
  EXPECT_EQ(parseCommandLine({"kelpie", "a", "b"}).action, CommandLine::Refuse);
  EXPECT_EQ(parseCommandLine({"kelpie", "/data/net"}).folder, "/data/net");
}

TEST(CommandLine, DefaultFolderIsTheProgramFolderOnlyWhenItHoldsKelpieFiles) {
  TempFolder prog;
  EXPECT_EQ(defaultDataFolder(QString::fromStdString(prog.path().string()), "/user/data"),
            "/user/data");
  writeLinesAtomic(prog / "netcont.rol", {});
  EXPECT_EQ(defaultDataFolder(QString::fromStdString(prog.path().string()), "/user/data"),
            QString::fromStdString(prog.path().string()));
}

}  // namespace
}  // namespace kelpie::test
