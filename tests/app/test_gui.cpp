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

// Answers the next modal boxes in order once each is up: seen looks first, then the button with
// the answer's text is clicked, or an input box given it; an empty answer leaves it to seen. A
// box that never comes up, or stays open, fails the test.
inline void answerBoxes(QStringList answers, std::function<void(QWidget*)> seen = {},
                        int tries = 250) {
  QTimer::singleShot(20, [answers, seen, tries]() mutable {
    QPointer<QWidget> box = QApplication::activeModalWidget();
    if (!box && tries > 0) return answerBoxes(answers, seen, tries - 1);
    if (!box) return ADD_FAILURE() << "no modal window appeared";
    if (seen) seen(box);
    const QString answer = answers.takeFirst();
    if (!answers.isEmpty()) answerBoxes(answers, seen);
    if (auto* input = qobject_cast<QInputDialog*>(box); input && !answer.isEmpty())
      input->setTextValue(answer), input->accept();
    for (auto* b : box->findChildren<QAbstractButton*>())
      if (!answer.isEmpty() && box->isVisible() && b->text().remove('&') == answer) b->click();
    EXPECT_FALSE(box->isVisible()) << "the modal window stayed open";
    if (box->isVisible()) box->close();
  });
}

TEST(MainWindowGui, MenusScreenReaderKeyBurstPopupPastLogZoomAboutAndHelp) {
  Rig rig;  // with real Qt boxes, events and help window
  QtDialogs dialogs;
  QtEvents events;
  QtHelpViewer help;
  Platform platform{dialogs, rig.clock, events, rig.launcher, rig.printer, help};
  Session session{platform, rig.folder.path()};
  MainWindow window{session};
  rig.writeRoster({{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", "-"},
                   {"N2XYZ", "AL", "BOSTON", "3/3/2023", "4/4/2024", "-"},
                   {"W3RST", "RAY", "PHILLY", "5/5/2025", "6/6/2026", "-"}});
  rig.writeSettings();
  dialogs.parent = [&]() -> QWidget* { return &window; };
  dialogs.beforeBox = events.render = [&] { window.render(); };
  ASSERT_TRUE(session.Form_Load());
  window.show();
  QApplication::processEvents();
  auto* entry = window.findChild<QLineEdit*>("CallSignInput");
  auto* list = window.findChild<QListWidget*>("CheckIns");
  auto lines = [list, l = QStringList()]() mutable {
    for (l.clear(); l.size() < list->count();) l << list->item(l.size())->text();
    return l;
  };
  const std::tuple<Qt::Key, const char*, const char*> menus[] = {
      {Qt::Key_F, "MPPastLog", "mPLogMostCheckins"},
      {Qt::Key_V, "mEditADIF", "mMostCheckinsperYear"},  // mLoadLog is disabled: no log yet
      {Qt::Key_O, "mACModes", "mEnterModes"}};
  for (const auto& [key, first, second] : menus) {
    QTest::keyClick(entry, key, Qt::AltModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr) << first;
    EXPECT_EQ(menu->activeAction(), window.action(first));
    QTest::keyClick(menu, Qt::Key_Down);
    EXPECT_EQ(menu->activeAction(), window.action(second));
    QTest::keyClick(menu, Qt::Key_Escape);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(window.menuBar()->activeAction(), nullptr);  // the menu bar lets go too
  }
  EXPECT_EQ(list->accessibleName() + "|" + entry->accessibleName(), "Check-ins|Enter Call # 1");
  auto* notice = window.findChild<QWidget*>("SpokenNotice");  // from Qt 6.8, announcements
  ASSERT_EQ(notice != nullptr, QT_VERSION < QT_VERSION_CHECK(6, 8, 0));
  const std::tuple<QString, QString, QString> spoken[] = {
      {"k1abc", "Return", "1, K1ABC, BOB, FN20"},  // typed, then keys, then said
      {"", "Ctrl+R", "1 check-in. It is 1, K1ABC, BOB, FN20"},
      {"D2", "Return", "No check-in 2"}};
  for (const auto& [typed, keys, said] : spoken) {
    QTest::keyClicks(entry, typed);
    QTest::keySequence(entry, QKeySequence(keys));
    EXPECT_EQ(!notice ? said : notice->isVisible() ? notice->accessibleName() : "hidden", said);
    EXPECT_EQ(session.view.spoken, said.toStdString());
  }
  EXPECT_EQ(entry->accessibleName() + "|" + list->item(0)->data(Qt::AccessibleTextRole).toString(),
            "Enter Call # 2|1 of 1, 1 K1ABC BOB FN20 1/1/2021 2/2/2022");
  window.activateWindow();  // the arrows move in the list and stay there; Esc gives it back
  list->setFocus();
  QTest::keyClick(list, Qt::Key_Down);
  EXPECT_TRUE(list->hasFocus());
  EXPECT_EQ(list->currentRow(), 0);
  QTest::keyClick(list, Qt::Key_Escape);
  EXPECT_TRUE(entry->hasFocus());
  QStringList asked;
  answerBoxes({"OK"}, [&](QWidget* box) { asked << box->windowTitle(); });
  auto post = [entry](QEvent::Type type, int key, Qt::KeyboardModifiers mods, QString t = {}) {
    QCoreApplication::postEvent(entry, new QKeyEvent(type, key, mods, t));
  };
  // Queued as typed; a Shift taken for Space (the Space option is on) would mark check-ins.
  for (const QChar c : QString("n2Xyz\nW3RST\nk7aaa\nD2\nDL\nw")) {
    const auto mods = c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier;
    const int key = c == '\n' ? int(Qt::Key_Return) : int(c.toUpper().unicode());
    if (mods) post(QEvent::KeyPress, Qt::Key_Shift, mods);
    for (const auto type : {QEvent::KeyPress, QEvent::KeyRelease})
      post(type, key, mods, c == '\n' ? QString("\r") : QString(c));
    if (mods) post(QEvent::KeyRelease, Qt::Key_Shift, {});
  }
  QCoreApplication::sendPostedEvents();
  QApplication::processEvents();
  EXPECT_EQ(asked.join('|') + "|" + entry->text(), " Delete last checkin !|w");
  EXPECT_EQ(lines(), (QStringList{"1    K1ABC   BOB   FN20   1/1/2021   2/2/2022",
                                  "2    W3RST   RAY   PHILLY   5/5/2025   6/6/2026"}));
  QStringList shown;  // as the last box, the message, comes up: the list is drawn first
  answerBoxes({"k1abc", "w9new", "OK"}, [&](QWidget*) { shown = lines(); });
  window.action("mUpdateToNewCall")->trigger();
  EXPECT_EQ((shown.join('\n') + '\n').toStdString(), golden("app/call_change_report"));
  ASSERT_EQ(lines().size(), 2);
  auto at = [list](int row) { return list->visualItemRect(list->item(row)).center(); };
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at(1));
  QMenu* popup = window.popupMenu();
  QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, at(1));
  QCoreApplication::sendEvent(list->viewport(), &menuKey);
  EXPECT_EQ(popup->isVisible() ? popup->activeAction() : nullptr, window.action("mnuQRZConnect"));
  popup->hide();
  QTest::mousePress(list->viewport(), Qt::RightButton, {}, at(0));
  ASSERT_TRUE(popup->isVisible());
  EXPECT_EQ(popup->activeAction(), nullptr);
  EXPECT_EQ(list->currentRow(), 1);  // the right press moves no selection
  popup->hide();
  for (const char* name : {"020126f.ile", "030126F.Ile", "notes.txt"})
    ASSERT_TRUE(writeBytesAtomic(rig.folder / name, "x\r\n"));
  QStringList logs;
  answerBoxes({""}, [&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    EXPECT_EQ(dialog->directory().absolutePath().toStdString(), rig.folder.path().string());
    auto* view = dialog->findChild<QListView*>("listView");  // read in the background: wait
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->model()->rowCount(view->rootIndex()) >= 3; }));
    for (int r = 0; r < view->model()->rowCount(view->rootIndex()); ++r)
      logs << view->model()->index(r, 0, view->rootIndex()).data().toString();
    // Typed: selectFile() ignores a name line that has the focus, which depends on timing.
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText("120526F.ILE");
    static_cast<QDialog*>(dialog)->accept();
  });
  window.action("mLoadLog")->trigger();
  logs.sort();
  EXPECT_EQ(logs, QStringList({"020126f.ile", "030126F.Ile", "120526F.ILE"}));
  auto* label3 = window.findChild<QLabel*>("Label3");
  EXPECT_EQ(label3->text(), QString::fromStdString((rig.folder / "120526F.ILE").string()));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at(0));
  EXPECT_EQ(label3->text(), "Select line, then right-click to edit.");
  answerBoxes({""}, [](QWidget* dialog) { dialog->close(); });
  EXPECT_EQ(chooseLogFileQt(nullptr, " T", rig.folder.path().string()), "");  // Cancel: nothing
  const char* names[] = {"CheckIns", "Label1", "Label2", "Label3", "CallSignInput", "Command2"};
  auto pt = [&](const char* name) { return window.findChild<QWidget*>(name)->font().pointSizeF(); };
  std::map<const char*, double> small;
  for (const char* name : names) small[name] = pt(name);
  auto ratios = [&](double expected) {
    for (const char* name : names) EXPECT_NEAR(pt(name) / small[name], expected, 0.1) << name;
  };
  window.resize(window.width() * 2, window.height() * 2);
  QApplication::processEvents();
  ratios(2);
  for (int i = 0; i < 2; ++i) QTest::keyClick(entry, Qt::Key_Plus, Qt::ControlModifier);
  ratios(2.4);
  MainWindow next(session);
  next.restorePlacement();
  EXPECT_EQ(next.zoomPercent(), 120);
  QTest::keyClick(entry, Qt::Key_0, Qt::ControlModifier);
  EXPECT_EQ(window.zoomPercent(), 100);
  answerBoxes({""}, [&](QWidget* box) {  // the About box closes on a click on the icon
    EXPECT_EQ(box->windowTitle(), " Kelpie   v2.1 for Linux (Qt 6)");
    EXPECT_EQ(box->findChild<QLabel*>("lblAbout")->text(),
              "\n" + QString(19, u' ') + "Kelpie net control log, 2026\n" + QString(20, u' ') +
                  "written by the Kelpie developers for net control operators");
    QTest::mouseClick(box->findChild<QWidget*>("Image1"), Qt::LeftButton);
  });
  window.action("mAbout")->trigger();
  window.action("mTypeHelp")->trigger();  // HTML help: the contents open on context 10
  window.action("mContents")->trigger();
  QWidget* first = help.window();
  ASSERT_TRUE(first && first->isVisible());
  EXPECT_EQ(help.browser()->cursorForPosition({0, 0}).block().text(),
            "Keyboard commands of the entry line");
  first->close();
  window.action("mTypeHelp")->trigger();  // back to the contents at the top, in the same window
  window.action("mContents")->trigger();
  EXPECT_EQ(help.window(), first);
  EXPECT_EQ(help.scrollPosition(), 0);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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
  auto clickItem = [](QListWidget* list, const QString& text, bool twice = false) {
    const QPoint at =
        list->visualItemRect(list->findItems(text, Qt::MatchExactly).value(0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    if (twice) QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
  };
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
  QTest::mouseClick(picker->findChild<QWidget*>("cmdDone"), Qt::LeftButton);
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
  EXPECT_EQ(rig.read(pdf.filename()).substr(0, 5), "%PDF-");
}

}  // namespace kelpie::test

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);  // unless a display is asked for
  QStandardPaths::setTestModeEnabled(true);   // window placement never goes to the user's settings
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
