// What the Qt shell itself does: menus, closing, fonts that scale, Alt + letter, the key codes
// handed to the core, and the list's click handler.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include "app/app_folder.h"
#include "app/gui_rig.h"
#include "app/key_codes.h"

namespace kelpie::test {
namespace {

TEST(MainWindowGui, MenusAndTheWaysOut) {
  GuiRig rig;
  ASSERT_TRUE(rig.start());
  MainWindow& w = *rig.window;
  QStringList top;
  for (QAction* a : w.menuBar()->actions()) top << a->text();
  EXPECT_EQ(top,
            (QStringList{"File", "Edit", "View", "Help", "Options", "Set", "Write text file"}));
  answerBoxes({"Cancel"});
  w.close();  // the close box asks; Cancel keeps the window
  EXPECT_TRUE(w.isVisible());
  w.action("mEnterModes")->trigger();
  w.action("mExit")->trigger();  // saves and ends without a question
  EXPECT_FALSE(w.isVisible());
  EXPECT_NE(rig.read("Kelpie_Control.ini").find("[Use the <Enter> key + shortcuts]\r\nYes\r\n"),
            std::string::npos);
}

TEST(MainWindowGui, EveryTextGrowsWithTheWindowAndZoomsAndTheZoomIsKept) {
  GuiRig rig;
  ASSERT_TRUE(rig.start());
  const char* names[] = {"CheckIns", "Label1", "Label2", "Label3", "CallSignInput", "Command2"};
  auto sizes = [&] {
    std::vector<double> s;
    for (const char* n : names) s.push_back(rig.child<QWidget>(n)->font().pointSizeF());
    return s;
  };
  const std::vector<double> small = sizes();
  rig.window->resize(rig.window->width() * 2, rig.window->height() * 2);
  QApplication::processEvents();
  QWidget* client = rig.window->centralWidget();
  EXPECT_NEAR(rig.list()->width() / double(client->width()), 6435.0 / 6744, 0.01);
  for (size_t i = 0; i < small.size(); ++i)
    EXPECT_NEAR(sizes()[i] / small[i], 2.0, 0.1) << names[i];
  QTest::keyClick(rig.entry(), Qt::Key_Plus, Qt::ControlModifier);
  QTest::keyClick(rig.entry(), Qt::Key_Plus, Qt::ControlModifier);
  EXPECT_EQ(rig.window->zoomPercent(), 120);
  for (size_t i = 0; i < small.size(); ++i)
    EXPECT_NEAR(sizes()[i] / small[i], 2.4, 0.1) << names[i];
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
  ASSERT_TRUE(rig.start());
  const std::tuple<Qt::Key, const char*, const char*> rows[] = {
      {Qt::Key_F, "MPPastLog", "mPLogMostCheckins"},
      {Qt::Key_E, "mEditNetControl", "mUpdateToNewCall"},
      {Qt::Key_V, "mEditADIF", "mMostCheckinsperYear"},  // mLoadLog is disabled
      {Qt::Key_H, "mAbout", "mContents"},
      {Qt::Key_O, "mACModes", "mEnterModes"},
      {Qt::Key_S, "mSetBrowserPath", "mSetBrowserPath"}};
  for (const auto& [key, first, second] : rows) {
    SCOPED_TRACE(first);
    QTest::keyClick(rig.entry(), key, Qt::AltModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
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
      {Qt::Key_Shift, 16},  {Qt::Key_Control, 17},  {Qt::Key_Alt, 18},
      {Qt::Key_AltGr, 18},  {Qt::Key_CapsLock, 20}, {Qt::Key_Meta, 91},
      {Qt::Key_Escape, 27}, {Qt::Key_Space, 32},    {Qt::Key_Return, 13},
      {Qt::Key_D, 68},      {Qt::Key_2, 50},        {Qt::Key_F1, 112},
      {Qt::Key_Down, 40},   {Qt::Key_Exclam, 49},   {Qt::Key_Launch0, kKeyWithoutCode}};
  for (const auto& [key, code] : rows) {
    const QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
    EXPECT_EQ(keyCodeOf(&e), code) << key;
  }
  const QKeyEvent altShiftD(QEvent::KeyPress, Qt::Key_D, Qt::ShiftModifier | Qt::AltModifier);
  EXPECT_EQ(shiftStateOf(&altShiftD), 5);
}

TEST(MainWindowGui, ThePastLogKeepsItsHintWhenTheListTakesTheFocus) {
  GuiRig rig({{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", "-"}});
  ASSERT_TRUE(rig.start());
  rig.type("K1ABC");
  answerBoxes({"Open"}, [](QWidget* box) {
    box->findChild<QLineEdit*>("fileNameEdit")->setText("120526F.ILE");
  });
  rig.window->action("mLoadLog")->trigger();
  QApplication::processEvents();
  EXPECT_FALSE(rig.entry()->isEnabled());
  EXPECT_EQ(rig.child<QLabel>("Label3")->text(),
            QString::fromStdString((rig.folder.path() / "120526F.ILE").string()));
  QTest::mouseClick(rig.list()->viewport(), Qt::LeftButton, {},
                    rig.list()->visualItemRect(rig.list()->item(0)).center());
  EXPECT_EQ(rig.child<QLabel>("Label3")->text(), "Select line, then right-click to edit.");
}

TEST(CommandLine, OptionsAndFolder) {
  EXPECT_EQ(parseCommandLine({"kelpie"}).action, CommandLine::Run);
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
