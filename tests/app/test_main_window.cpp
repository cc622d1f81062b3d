// What the Qt shell itself does: closing, fonts that scale and zoom, Alt + letter, the key codes
// handed to the core, the list's click handler, and the command line.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include "app/app_folder.h"
#include "app/gui_rig.h"
#include "app/key_codes.h"

namespace kelpie::test {
namespace {

TEST(MainWindowGui, CloseBoxAsksAndExitSavesWithoutAQuestion) {
  GuiRig rig;
  answerBoxes({"Cancel"});
  rig.window->close();
  EXPECT_TRUE(rig.window->isVisible());
  rig.window->action("mEnterModes")->trigger();
  rig.window->action("mExit")->trigger();
  EXPECT_FALSE(rig.window->isVisible());
  EXPECT_NE(rig.read("Kelpie_Control.ini").find("[Use the <Enter> key + shortcuts]\r\nYes\r\n"),
            std::string::npos);
}

TEST(MainWindowGui, EveryTextGrowsWithTheWindowAndZoomsAndTheZoomIsKept) {
  GuiRig rig;
  const char* names[] = {"CheckIns", "Label1", "Label2", "Label3", "CallSignInput", "Command2"};
  auto ratios = [&, small = std::vector<double>()](double expected) mutable {
    for (size_t i = 0; i < std::size(names); ++i) {
      const double size = rig.child(names[i])->font().pointSizeF();
      if (small.size() < std::size(names)) small.push_back(size);
      EXPECT_NEAR(size / small[i], expected, 0.1) << names[i];
    }
  };
  ratios(1);
  rig.window->resize(rig.window->width() * 2, rig.window->height() * 2);
  QApplication::processEvents();
  ratios(2);
  QTest::keyClick(rig.entry(), Qt::Key_Plus, Qt::ControlModifier);
  QTest::keyClick(rig.entry(), Qt::Key_Plus, Qt::ControlModifier);
  ratios(2.4);
  EXPECT_EQ(rig.entry()->text(), "");
  MainWindow next(rig.session);
  next.restorePlacement();
  EXPECT_EQ(next.zoomPercent(), 120);
  QTest::keyClick(rig.entry(), Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_EQ(rig.window->zoomPercent(), 110);
  QTest::keyClick(rig.entry(), Qt::Key_0, Qt::ControlModifier);
  EXPECT_EQ(rig.window->zoomPercent(), 100);
}

TEST(MainWindowGui, AltAndALetterOpensTheMenuWithItsFirstItemActive) {
  GuiRig rig;
  const std::tuple<Qt::Key, const char*, const char*> rows[] = {
      {Qt::Key_F, "MPPastLog", "mPLogMostCheckins"},
      {Qt::Key_V, "mEditADIF", "mMostCheckinsperYear"},  // mLoadLog is disabled
      {Qt::Key_H, "mAbout", "mContents"},
      {Qt::Key_S, "mSetBrowserPath", "mSetBrowserPath"}};
  for (const auto& [key, first, second] : rows) {
    QTest::keyClick(rig.entry(), key, Qt::AltModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr) << first;
    EXPECT_EQ(menu->activeAction(), rig.window->action(first));
    QTest::keyClick(menu, Qt::Key_Down);
    EXPECT_EQ(menu->activeAction(), rig.window->action(second));
    QTest::keyClick(menu, Qt::Key_Escape);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(rig.window->menuBar()->activeAction(), nullptr);  // the menu bar lets go too
  }
}

TEST(MainWindowGui, KeysReachTheCoreWithTheCodesOfTheOriginalPlatform) {
  const std::pair<Qt::Key, int> rows[] = {
      {Qt::Key_Shift, 16},    {Qt::Key_Control, 17},
      {Qt::Key_Alt, 18},      {Qt::Key_AltGr, 18},
      {Qt::Key_CapsLock, 20}, {Qt::Key_Meta, 91},
      {Qt::Key_Escape, 27},   {Qt::Key_Space, 32},
      {Qt::Key_Return, 13},   {Qt::Key_D, 68},
      {Qt::Key_2, 50},        {Qt::Key_F1, 112},
      {Qt::Key_Exclam, 49},   {Qt::Key_Launch0, kKeyWithoutCode}};
  for (const auto& [key, code] : rows) {
    const QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
    EXPECT_EQ(keyCodeOf(&e), code) << key;
  }
  const QKeyEvent altShiftD(QEvent::KeyPress, Qt::Key_D, Qt::ShiftModifier | Qt::AltModifier);
  EXPECT_EQ(shiftStateOf(&altShiftD), 5);
}

TEST(MainWindowGui, ThePastLogKeepsItsHintWhenTheListTakesTheFocus) {
  GuiRig rig({{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", "-"}});
  rig.type("K1ABC");
  answerBoxes({"Open"}, [](QWidget* box) {
    box->findChild<QLineEdit*>("fileNameEdit")->setText("120526F.ILE");
  });
  rig.window->action("mLoadLog")->trigger();
  QLabel* label3 = rig.child<QLabel>("Label3");
  EXPECT_EQ(label3->text(), QString::fromStdString((rig.folder / "120526F.ILE").string()));
  QTest::mouseClick(rig.list()->viewport(), Qt::LeftButton, {},
                    rig.list()->visualItemRect(rig.list()->item(0)).center());
  EXPECT_EQ(label3->text(), "Select line, then right-click to edit.");  // a click still counts
}

TEST(CommandLine, OptionsAndFolder) {
  EXPECT_EQ(parseCommandLine({"kelpie", "--help"}).action, CommandLine::Help);
  EXPECT_EQ(parseCommandLine({"kelpie", "--version"}).action, CommandLine::Version);
  EXPECT_EQ(parseCommandLine({"kelpie", "--frobnicate"}).action, CommandLine::Refuse);
  EXPECT_EQ(parseCommandLine({"kelpie", "a", "b"}).action, CommandLine::Refuse);
  EXPECT_EQ(parseCommandLine({"kelpie", "/data/net"}).folder, "/data/net");
  TempFolder prog;
  const QString at = QString::fromStdString(prog.path().string());
  EXPECT_EQ(defaultDataFolder(at, "/user/data"), "/user/data");
  writeLinesAtomic(prog / "netcont.rol", {});
  EXPECT_EQ(defaultDataFolder(at, "/user/data"), at);  // the program's folder holds Kelpie's files
}

}  // namespace
}  // namespace kelpie::test
