// The Qt shell driven offscreen: the real main window over a temporary data folder with real Qt
// boxes (answered once they are up), Kelpie's own dialogs, its help window, and PDF printouts.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include "app/key_codes.h"
#include "app/main_window.h"
#include "dialogs/frm_about.h"
#include "dialogs/frm_web_path.h"
#include "platform/qt/qt_help_viewer.h"
#include "platform/qt/qt_log_chooser.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_printer.h"
#include "reports/reports.h"
#include "support/fake_platform.h"

namespace kelpie::test {

// Runs act on the modal window once it is up; act must close it, or the test fails.
inline void whenModal(std::function<void(QWidget*)> act, int tries = 250) {
  QTimer::singleShot(20, [act, tries] {
    QPointer<QWidget> modal = QApplication::activeModalWidget();
    if (!modal && tries > 0) return whenModal(act, tries - 1);
    if (!modal) return ADD_FAILURE() << "no modal window appeared";
    act(modal);
    if (!modal || !modal->isVisible()) return;
    ADD_FAILURE() << "the modal window stayed open";
    modal->close();
  });
}

// Answers the next boxes in order: clicks the button with the answer's text or, for an input
// box, enters it. seen, when given, looks at each box (and the window behind it) first.
inline void answerBoxes(QStringList answers, std::function<void(QWidget*)> seen = {}) {
  if (answers.isEmpty()) return;
  whenModal([answers, seen](QWidget* box) mutable {
    if (seen) seen(box);
    const QString answer = answers.takeFirst();
    answerBoxes(answers, seen);
    if (auto* input = qobject_cast<QInputDialog*>(box))
      return input->setTextValue(answer), input->accept();
    for (auto* b : box->findChildren<QAbstractButton*>())
      if (b->text().remove('&') == answer) return b->click();
  });
}

// A left click on the list item with this text, and a double-click after it when twice.
inline void clickItem(QListWidget* list, const QString& text, bool twice = false) {
  const auto found = list->findItems(text, Qt::MatchExactly);
  ASSERT_FALSE(found.isEmpty()) << text.toStdString();
  const QPoint at = list->visualItemRect(found[0]).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
  if (twice) QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

struct GuiRig {
  TempFolder folder;
  QtDialogs dialogs;
  FakeClock clock;
  QtEvents events;
  FakeLauncher launcher;
  FakePrinter printer;
  FakeHelp help;
  Platform platform{dialogs, clock, events, launcher, printer, help};
  Session session{platform, folder.path()};
  MainWindow window{session};

  explicit GuiRig(const std::vector<std::vector<std::string>>& stations = {}) {
    writeRosterFile(folder.path(), stations);
    writeSettingsFile(folder.path());
    dialogs.parent = [this]() -> QWidget* { return &window; };
    dialogs.beforeBox = events.render = [this] { window.render(); };
    EXPECT_TRUE(session.Form_Load());
    window.render();
    window.show();
    QApplication::processEvents();
  }
  QLineEdit* entry() const { return window.findChild<QLineEdit*>("CallSignInput"); }
  QListWidget* list() const { return window.findChild<QListWidget*>("CheckIns"); }
  QStringList lines() const {
    QStringList l;
    for (int i = 0; i < list()->count(); ++i) l << list()->item(i)->text();
    return l;
  }
};

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
  rig.window.action("mUpdateToNewCall")->trigger();
  EXPECT_EQ((shown.join('\n') + '\n').toStdString(), golden("app/call_change_report"));
  EXPECT_EQ(rig.lines().size(), 2);
}

// The menu key opens the popup on its first item, a right press on none. The log chooser lists
// the log folder's logs in any letter case; a past log keeps its path until a real click.
TEST(MainWindowGui, TheListsPopupTheLogChooserAndClicks) {
  GuiRig rig(kStations);
  postTyped(rig.entry(), "K1ABC\nN2XYZ\n");
  QApplication::processEvents();
  QListWidget* list = rig.list();
  auto at = [list](int row) { return list->visualItemRect(list->item(row)).center(); };
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at(1));
  QMenu* popup = rig.window.popupMenu();
  QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, at(1));
  QCoreApplication::sendEvent(list->viewport(), &menuKey);
  ASSERT_TRUE(popup->isVisible());
  EXPECT_EQ(popup->activeAction(), rig.window.action("mnuQRZConnect"));
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
  rig.window.action("mLoadLog")->trigger();
  logs.sort();
  EXPECT_EQ(logs, QStringList({"020126f.ile", "030126F.Ile", "120526F.ILE"}));
  auto* label3 = rig.window.findChild<QLabel*>("Label3");
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
    EXPECT_EQ(menu->activeAction(), rig.window.action(first));
    QTest::keyClick(menu, Qt::Key_Down);
    EXPECT_EQ(menu->activeAction(), rig.window.action(second));
    QTest::keyClick(menu, Qt::Key_Escape);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(rig.window.menuBar()->activeAction(), nullptr);  // the menu bar lets go too
  }
  const char* names[] = {"CheckIns", "Label1", "Label2", "Label3", "CallSignInput", "Command2"};
  auto ratios = [&, small = std::vector<double>()](double expected) mutable {
    for (size_t i = 0; i < std::size(names); ++i) {
      const double size = rig.window.findChild<QWidget*>(names[i])->font().pointSizeF();
      if (small.size() < std::size(names)) small.push_back(size);
      EXPECT_NEAR(size / small[i], expected, 0.1) << names[i];
    }
  };
  ratios(1);
  rig.window.resize(rig.window.width() * 2, rig.window.height() * 2);
  QApplication::processEvents();
  ratios(2);
  QTest::keyClick(rig.entry(), Qt::Key_Plus, Qt::ControlModifier);
  QTest::keyClick(rig.entry(), Qt::Key_Plus, Qt::ControlModifier);
  ratios(2.4);
  MainWindow next(rig.session);
  next.restorePlacement();
  EXPECT_EQ(next.zoomPercent(), 120);
  QTest::keyClick(rig.entry(), Qt::Key_0, Qt::ControlModifier);
  EXPECT_EQ(rig.window.zoomPercent(), 100);
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

TEST(AboutBox, ShowsItsTextsAndClosesOnAClickOnTheIcon) {
  whenModal([&](QWidget* box) {
    EXPECT_EQ(box->windowTitle(), " Kelpie   v2.1 for Linux (Qt 6)");
    EXPECT_EQ(box->findChild<QLabel*>("lblAbout")->text(),
              "\n" + QString(19, u' ') + "Kelpie net control log, 2026\n" + QString(20, u' ') +
                  "written by the Kelpie developers for net control operators");
    QTest::mouseClick(box->findChild<QWidget*>("Image1"), Qt::LeftButton);
  });
  showAboutBox(nullptr, "v2.1");
}

TEST(HelpWindow, Context10AtTheTopThenTheContentsInTheSameWindowAfterAClose) {
  QtHelpViewer help;
  help.showHelp(10);
  QWidget* first = help.window();
  ASSERT_TRUE(first && first->isVisible());
  EXPECT_EQ(help.browser()->cursorForPosition({0, 0}).block().text(),
            "Keyboard commands of the entry line");
  first->close();
  help.showHelp(0);
  EXPECT_EQ(help.window(), first);
  EXPECT_EQ(help.scrollPosition(), 0);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(WebPathPicker, ListsProgramsThenClickAndDoneStoresTheFileOnceAsWindows1252) {
  QTemporaryDir tmp;
  const QString root = QDir(tmp.path()).canonicalPath(), app = root + "/app";
  const QString cafe = root + QString::fromUtf8("/caf\u00e9");
  for (const QString& dir : {app, cafe}) QDir().mkpath(dir);
  for (const char* name : {"navigateur\u20ac", "zeta", "notes.txt"})
    ASSERT_TRUE(writeBytesAtomic(fs::path(cafe.toStdString()) / name, "x"));
  for (const char* name : {"navigateur\u20ac", "zeta"})  // programs
    fs::permissions(fs::path(cafe.toStdString()) / name, fs::perms::owner_all);
  std::string browserPath;
  int writes = 0;
  QWidget main;
  FrmWebPath* picker = showWebPathPicker(&main, browserPath, app, [&] { ++writes; });
  QListWidget* dirs = picker->findChild<QListWidget*>("Dir2");
  ASSERT_EQ(picker->currentFolder(), app);  // first run: the app folder
  clickItem(dirs, "..");                    // a single click opens no folder
  EXPECT_EQ(picker->currentFolder(), app);
  clickItem(dirs, "..", true);
  clickItem(dirs, QString::fromUtf8("caf\u00e9"), true);
  QListWidget* files = picker->findChild<QListWidget*>("File2");
  EXPECT_EQ(files->count(), 2);  // programs only
  clickItem(files, QString::fromUtf8("navigateur\u20ac"));
  EXPECT_EQ(writes, 0);
  QTest::mouseClick(picker->findChild<QPushButton*>("cmdDone"), Qt::LeftButton);
  EXPECT_EQ(writes, 1);
  EXPECT_EQ(browserPath, root.toStdString() + "/caf\xE9/navigateur\x80");
}

TEST(PrintPdf, ShortcutsWithoutAPrinterBecomeAPdfInTheLogFolder) {
  Rig rig;
  QtPrinter printer{[&] { return rig.folder.path().string(); }, [&] { return rig.clock.today(); }};
  Platform platform{rig.dialogs, rig.clock, rig.events, rig.launcher, printer, rig.help};
  Session session{platform, rig.folder.path()};
  printer.setPdfOnly(true);  // never a real printer of this machine
  mPShortcuts_Click(session);
  const fs::path pdf = rig.folder / "Print Shortcuts 2026-12-05.pdf";
  EXPECT_EQ(
      rig.dialogs.messages()[0].text,
      "No printer is set up, so Kelpie saved the pages as a PDF file:\r\n\r\n" + pdf.string());
  std::string pdfBytes;
  ASSERT_TRUE(readBytes(pdf, pdfBytes));
  EXPECT_EQ(pdfBytes.substr(0, 5), "%PDF-");
}

}  // namespace kelpie::test

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);  // unless a display is asked for
  QStandardPaths::setTestModeEnabled(true);   // window placement never goes to the user's settings
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
