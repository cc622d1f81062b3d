// What the Qt shell itself does with the main window: keys, boxes, menus, the list, the zoom.
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QStandardPaths>

#include "app/gui_rig.h"
#include "app/key_codes.h"
#include "platform/qt/qt_log_chooser.h"

namespace kelpie::test {

// Posts the keys of text ("\n" is Enter) as a keyboard sends them: capitals inside Shift.
static void postTyped(QWidget* to, const QString& text) {
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

TEST(KeyQueue, ABurstOfKeysIsHandledInOrderAsTypedAndTheListIsDrawnBeforeABoxCoversIt) {
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
  QStringList shown;  // as the last box, the message, comes up
  answerBoxes({"k1abc", "w9new", "OK"}, [&](QWidget*) { shown = rig.lines(); });
  rig.window->action("mUpdateToNewCall")->trigger();
  EXPECT_EQ((shown.join('\n') + '\n').toStdString(), golden("app/call_change_report"));
  EXPECT_EQ(rig.lines().size(), 2);
}

// The menu key opens the popup with its first item active, a right press with none. The log
// chooser starts in the log folder and lists logs in any letter case; a past log shown keeps its
// path over the list until a real click on it.
TEST(MainWindowGui, TheListsPopupTheLogChooserAndClicks) {
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
  for (const char* name : {"020126f.ile", "030126F.Ile", "notes.txt"})
    ASSERT_TRUE(writeBytesAtomic(rig.folder / name, "x\r\n"));
  QStringList logs;
  whenModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    EXPECT_EQ(dialog->directory().absolutePath().toStdString(), rig.folder.path().string());
    auto* view = dialog->findChild<QListView*>("listView");
    // The folder is read in the background: wait until the logs are listed.
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->model()->rowCount(view->rootIndex()) >= 3; }));
    for (int r = 0; r < view->model()->rowCount(view->rootIndex()); ++r)
      logs << view->model()->index(r, 0, view->rootIndex()).data().toString();
    // Typed: selectFile() ignores a name line that has the focus, which depends on timing.
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText("120526F.ILE");
    static_cast<QDialog*>(dialog)->accept();
  });
  rig.window->action("mLoadLog")->trigger();
  logs.sort();
  EXPECT_EQ(logs, QStringList({"020126f.ile", "030126F.Ile", "120526F.ILE"}));
  auto* label3 = rig.window->findChild<QLabel*>("Label3");
  EXPECT_EQ(label3->text(), QString::fromStdString((rig.folder / "120526F.ILE").string()));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at(0));
  EXPECT_EQ(label3->text(), "Select line, then right-click to edit.");
  whenModal([](QWidget* dialog) { dialog->close(); });
  EXPECT_EQ(chooseLogFileQt(nullptr, " T", rig.folder.path().string()), "");  // Cancel: nothing
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

}  // namespace kelpie::test

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);  // unless a display is asked for
  QStandardPaths::setTestModeEnabled(true);   // window placement never goes to the user's settings
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
