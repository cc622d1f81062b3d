// Offscreen harness for GUI tests: the real main window over a temporary data folder, with real
// Qt dialogs (answered by a timer), and the date, launcher, printer and help faked.
#pragma once

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>
#include <memory>

#include "app/main_window.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/text1252.h"
#include "support/fake_platform.h"

namespace kelpie::test {

// Answers the next modal box once it shows: a message box by the text of a button, an input
// box with a text (accepted) or cancelled when text is null.
inline void answerMessageBox(const QString& buttonText) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, buttonText] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    for (QAbstractButton* b : box->buttons()) {
      if (b->text().remove('&') == buttonText) {
        timer->stop();
        timer->deleteLater();
        b->click();
        return;
      }
    }
  });
  timer->start();
}

inline void answerInputBox(const QString& text) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, text] {
    auto* dlg = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    if (!dlg) return;
    timer->stop();
    timer->deleteLater();
    dlg->setTextValue(text);
    dlg->accept();
  });
  timer->start();
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

  // Data files in the folder before start().
  void write(const std::string& name, const Lines& lines) const {
    writeLinesAtomic(folder / name, lines);
  }
  std::string read(const std::string& name) const {
    std::string s;
    readBytes(folder / name, s);
    return s;
  }
  void writeRoster(const std::vector<std::vector<std::string>>& stations) const {
    writeRosterFile(folder.path(), stations);
  }
  void writeSettings() const { writeSettingsFile(folder.path()); }

  bool start() {
    window = std::make_unique<MainWindow>(session);
    dialogs.parent = [this]() -> QWidget* { return window.get(); };
    events.render = [this] { window->render(); };
    if (!session.Form_Load()) return false;
    window->render();
    window->show();
    window->activateWindow();
    QApplication::processEvents();
    return true;
  }

  template <class T>
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
  // Types text on the entry line and presses Enter, as the operator does.
  void type(const QString& text) {
    entry()->setFocus();
    QTest::keyClicks(entry(), text);
    QTest::keyClick(entry(), Qt::Key_Return);
  }
};

}  // namespace kelpie::test
