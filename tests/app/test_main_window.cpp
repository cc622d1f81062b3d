// What the Qt shell itself does: keys as a person types them (a burst queued before any is
// handled, Shift with the capitals), the window drawn before a box covers it, Alt + letter,
// the key codes handed to the core, the list's handlers and popup, and text that scales.
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStandardPaths>
#include <cstdlib>

#include "app/gui_rig.h"
#include "app/key_codes.h"

namespace kelpie::test {
namespace {

// Posts the keys of text ("\n" is Enter) as a keyboard sends them: capitals inside Shift.
void postTyped(QWidget* to, const QString& text) {
  for (const QChar c : text) {
    const bool shift = c.isUpper();
    const auto mods = shift ? Qt::ShiftModifier : Qt::NoModifier;
    const int key = c == '\n' ? int(Qt::Key_Return) : int(c.toUpper().unicode());
    const QString t = c == '\n' ? QString("\r") : QString(c);
    if (shift)
      QCoreApplication::postEvent(to, new QKeyEvent(QEvent::KeyPress, Qt::Key_Shift, mods));
    for (const auto type : {QEvent::KeyPress, QEvent::KeyRelease})
      QCoreApplication::postEvent(to, new QKeyEvent(type, key, mods, t));
    if (shift)
      QCoreApplication::postEvent(to, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Shift, {}));
  }
}

const std::vector<std::vector<std::string>> kStations{
    {"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", "-"},
    {"N2XYZ", "AL", "BOSTON", "3/3/2023", "4/4/2024", "-"},
    {"W3RST", "RAY", "PHILLY", "5/5/2025", "6/6/2026", "-"}};

TEST(KeyQueue, ABurstOfKeysIsHandledInOrderAsTyped) {
  GuiRig rig(kStations);
  QStringList asked;
  answerBoxes({"OK"}, [&](QWidget* box) { asked << box->windowTitle(); });
  // With the Space option on: a Shift taken for Space would mark check-ins.
  postTyped(rig.entry(), "k1Abc\nN2xyz\nW3RST\nk7aaa\nD2\nDL\nw");
  QCoreApplication::sendPostedEvents();
  QApplication::processEvents();
  EXPECT_EQ(asked, QStringList{" Delete last checkin !"});
  EXPECT_EQ(rig.lines(), (QStringList{"1    K1ABC   BOB   FN20   1/1/2021   2/2/2022",
                                      "2    W3RST   RAY   PHILLY   5/5/2025   6/6/2026"}));
  EXPECT_EQ(rig.entry()->text(), "w");
}

TEST(BoxesOverTheList, TheCallsignChangeReportIsShownWhileItsMessageIsUp) {
  GuiRig rig(kStations);
  rig.type("w9new");
  QStringList shown;  // as the last box, the message, comes up
  answerBoxes({"k1abc", "w9new", "OK"}, [&](QWidget*) { shown = rig.lines(); });
  rig.window->action("mUpdateToNewCall")->trigger();
  EXPECT_EQ((shown.join('\n') + '\n').toStdString(), golden("app/call_change_report"));
  EXPECT_EQ(rig.lines().size(), 1);
}

// The menu key opens the popup with its first item active, a right press with none; a past log
// shown keeps its path over the list until a real click on it.
TEST(MainWindowGui, TheListsPopupAndClicks) {
  GuiRig rig(kStations);
  rig.type("K1ABC");
  rig.type("N2XYZ");
  QListWidget* list = rig.list();
  auto at = [list](int row) { return list->visualItemRect(list->item(row)).center(); };
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at(1));
  QMenu* popup = rig.window->popupMenu();
  QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, at(1));
  QCoreApplication::sendEvent(list->viewport(), &menuKey);
  ASSERT_TRUE(popup->isVisible());
  EXPECT_EQ(popup->activeAction(), rig.window->action("mnuQRZConnect"));
  popup->hide();
  QTest::mousePress(list->viewport(), Qt::RightButton, {}, at(0));
  ASSERT_TRUE(popup->isVisible());
  EXPECT_EQ(popup->activeAction(), nullptr);
  EXPECT_EQ(list->currentRow(), 1);  // the right press moves no selection
  popup->hide();
  answerBoxes({"Open"}, [](QWidget* box) {
    box->findChild<QLineEdit*>("fileNameEdit")->setText("120526F.ILE");
  });
  rig.window->action("mLoadLog")->trigger();
  auto* label3 = rig.window->findChild<QLabel*>("Label3");
  EXPECT_EQ(label3->text(), QString::fromStdString((rig.folder / "120526F.ILE").string()));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at(0));
  EXPECT_EQ(label3->text(), "Select line, then right-click to edit.");
}

// Alt and a letter open the menu with its first item active; every text grows with the window
// and with the zoom, and the zoom is kept.
TEST(MainWindowGui, AltMenusAndTextThatScales) {
  GuiRig rig;
  const std::tuple<Qt::Key, const char*, const char*> rows[] = {
      {Qt::Key_F, "MPPastLog", "mPLogMostCheckins"},
      {Qt::Key_V, "mEditADIF", "mMostCheckinsperYear"},  // mLoadLog is disabled
      {Qt::Key_O, "mACModes", "mEnterModes"}};
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
  const char* names[] = {"CheckIns", "Label1", "Label2", "Label3", "CallSignInput", "Command2"};
  auto ratios = [&, small = std::vector<double>()](double expected) mutable {
    for (size_t i = 0; i < std::size(names); ++i) {
      const double size = rig.window->findChild<QWidget*>(names[i])->font().pointSizeF();
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
  MainWindow next(rig.session);
  next.restorePlacement();
  EXPECT_EQ(next.zoomPercent(), 120);
  QTest::keyClick(rig.entry(), Qt::Key_0, Qt::ControlModifier);
  EXPECT_EQ(rig.window->zoomPercent(), 100);
}

TEST(MainWindowGui, KeysReachTheCoreWithTheCodesOfTheOriginalPlatform) {
  const std::pair<Qt::Key, int> rows[] = {
      {Qt::Key_Shift, 16},  {Qt::Key_Control, 17},  {Qt::Key_Alt, 18},
      {Qt::Key_AltGr, 18},  {Qt::Key_CapsLock, 20}, {Qt::Key_Meta, 91},
      {Qt::Key_Space, 32},  {Qt::Key_D, 68},        {Qt::Key_2, 50},
      {Qt::Key_Exclam, 49}, {Qt::Key_F1, 112},      {Qt::Key_Launch0, kKeyWithoutCode}};
  for (const auto& [key, code] : rows) {
    const QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
    EXPECT_EQ(keyCodeOf(&e), code) << key;
  }
  const QKeyEvent altShiftD(QEvent::KeyPress, Qt::Key_D, Qt::ShiftModifier | Qt::AltModifier);
  EXPECT_EQ(shiftStateOf(&altShiftD), 5);
}

}  // namespace
}  // namespace kelpie::test

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QStandardPaths::setTestModeEnabled(true);  // window placement never goes to the user's settings
  QApplication app(argc, argv);
  QApplication::setApplicationName("Kelpie");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
