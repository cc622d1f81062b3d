// The window's side of the screen reader, offscreen: the names the controls are read by, the
// list's lines with their place, and the notification that says each result.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include "app/main_window.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/text1252.h"
#include "support/fake_platform.h"

namespace kelpie::test {

TEST(ScreenReader, NamesListLinesAndTheNotificationOfEachResult) {
  TempFolder folder;
  QtDialogs dialogs;
  FakeClock clock;
  QtEvents events;
  FakeLauncher launcher;
  FakePrinter printer;
  FakeHelp help;
  Platform platform{dialogs, clock, events, launcher, printer, help};
  Session session{platform, folder.path()};
  writeRosterFile(folder.path(), {{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", "-"}});
  writeSettingsFile(folder.path());
  MainWindow window{session};
  events.render = [&] { window.render(); };
  ASSERT_TRUE(session.Form_Load());
  window.show();
  QApplication::processEvents();
  auto* entry = window.findChild<QLineEdit*>("CallSignInput");
  auto* list = window.findChild<QListWidget*>("CheckIns");
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)  // later, an announcement says it
  auto* notice = window.findChild<QWidget*>("SpokenNotice");
  ASSERT_NE(notice, nullptr);
#endif
  EXPECT_EQ(list->accessibleName(), "Check-ins");
  EXPECT_EQ(entry->accessibleName(), "Enter Call # 1");
  // Each row: typed (Ctrl+R for "*"), then what the notification says.
  const std::pair<QString, QString> rows[] = {
      {"k1abc", "1, K1ABC, BOB, FN20"},
      {"*", "1 check-in. It is 1, K1ABC, BOB, FN20"},
      {"D2", "No check-in 2"},
  };
  for (const auto& [typed, said] : rows) {
    if (typed == "*") {
      QTest::keyClick(entry, Qt::Key_R, Qt::ControlModifier);
    } else {
      QTest::keyClicks(entry, typed);
      QTest::keyClick(entry, Qt::Key_Return);
    }
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    EXPECT_EQ(notice->accessibleName(), said);
    EXPECT_TRUE(notice->isVisible());
#endif
    EXPECT_EQ(session.view.spoken, toBytes(said));
  }
  EXPECT_EQ(entry->accessibleName(), "Enter Call # 2");
  EXPECT_EQ(list->item(0)->data(Qt::AccessibleTextRole).toString(),
            "1 of 1, 1 K1ABC BOB FN20 1/1/2021 2/2/2022");
  EXPECT_EQ(entry->text(), "");
  EXPECT_EQ(window.action("mReadNet")->shortcut(), QKeySequence("Ctrl+R"));
  // The arrows move through the list and leave the keyboard there; Esc gives it back.
  window.activateWindow();
  list->setFocus();
  QTest::keyClick(list, Qt::Key_Down);
  EXPECT_TRUE(list->hasFocus());
  EXPECT_EQ(list->currentRow(), 0);
  QTest::keyClick(list, Qt::Key_Escape);
  EXPECT_TRUE(entry->hasFocus());
}

}  // namespace kelpie::test
