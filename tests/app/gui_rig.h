// Offscreen harness for GUI tests: the real main window over a temporary data folder, with real
// Qt dialogs (answered once they are up), and the date, launcher, printer and help faked.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/main_window.h"
#include "platform/qt/qt_platform.h"
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
  std::unique_ptr<MainWindow> window;  // made once the data files are there

  explicit GuiRig(const std::vector<std::vector<std::string>>& stations = {}) {
    writeRosterFile(folder.path(), stations);
    writeSettingsFile(folder.path());
    window = std::make_unique<MainWindow>(session);
    dialogs.parent = [this]() -> QWidget* { return window.get(); };
    dialogs.beforeBox = events.render = [this] { window->render(); };
    EXPECT_TRUE(session.Form_Load());
    window->render();
    window->show();
    QApplication::processEvents();
  }
  QLineEdit* entry() const { return window->findChild<QLineEdit*>("CallSignInput"); }
  QListWidget* list() const { return window->findChild<QListWidget*>("CheckIns"); }
  QStringList lines() const {
    QStringList l;
    for (int i = 0; i < list()->count(); ++i) l << list()->item(i)->text();
    return l;
  }
  void type(const QString& text) {
    QTest::keyClicks(entry(), text);
    QTest::keyClick(entry(), Qt::Key_Return);
  }
};

}  // namespace kelpie::test
