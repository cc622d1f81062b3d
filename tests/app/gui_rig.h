// Offscreen harness for GUI tests: the real main window over a temporary data folder, with real
// Qt dialogs (answered once they are up), and the date, launcher, printer and help faked.
#pragma once

#include <QAbstractButton>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <memory>

#include "app/main_window.h"
#include "dialogs/dialog_test_util.h"
#include "platform/qt/qt_platform.h"
#include "support/fake_platform.h"

namespace kelpie::test {

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
  std::unique_ptr<MainWindow> window;

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
  std::string read(const std::string& name) const {
    std::string s;
    return readBytes(folder / name, s), s;
  }
  template <class T = QWidget>
  T* child(const char* name) const {
    return window->findChild<T*>(name);
  }
  QLineEdit* entry() const { return child<QLineEdit>("CallSignInput"); }
  QListWidget* list() const { return child<QListWidget>("CheckIns"); }
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
