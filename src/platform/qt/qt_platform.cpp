#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QDate>
#include <QDateTime>
#include <QDesktopServices>
#include <QInputDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QUrl>

#include "platform/qt/qt_log_chooser.h"
#include "platform/qt/text1252.h"

namespace kelpie {

namespace {
QString boxTitle(const std::string& title) {
  return title.empty() ? QStringLiteral("Kelpie") : fromBytesForDisplay(title);
}
}  // namespace

Answer QtDialogs::messageBox(const std::string& text, const std::string& title, Buttons buttons,
                             Answer defaultButton) {
  if (beforeBox) beforeBox();
  QMessageBox box(parent());
  box.setWindowTitle(boxTitle(title));
  box.setText(fromBytesForDisplay(text));
  box.setTextFormat(Qt::PlainText);
  QPushButton* ok = nullptr;
  QPushButton* cancel = nullptr;
  QPushButton* yes = nullptr;
  QPushButton* no = nullptr;
  switch (buttons) {
    case Buttons::OK:
      ok = box.addButton(QMessageBox::Ok);
      box.setEscapeButton(ok);
      break;
    case Buttons::OKCancel:
      ok = box.addButton(QMessageBox::Ok);
      cancel = box.addButton(QMessageBox::Cancel);
      box.setEscapeButton(cancel);
      break;
    case Buttons::YesNo:
      yes = box.addButton(QMessageBox::Yes);
      no = box.addButton(QMessageBox::No);
      box.setEscapeButton(no);
      break;
  }
  QPushButton* def = nullptr;
  switch (defaultButton) {
    case Answer::OK:
      def = ok;
      break;
    case Answer::Cancel:
      def = cancel;
      break;
    case Answer::Yes:
      def = yes;
      break;
    case Answer::No:
      def = no;
      break;
  }
  if (def) {
    box.setDefaultButton(def);
    def->setFocus();
  }
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  if (clicked == ok) return Answer::OK;
  if (clicked == yes) return Answer::Yes;
  if (clicked == no) return Answer::No;
  if (clicked == cancel) return Answer::Cancel;
  // Closed by its title bar: the escape answer.
  return buttons == Buttons::YesNo ? Answer::No
                                   : (buttons == Buttons::OK ? Answer::OK : Answer::Cancel);
}

std::string QtDialogs::inputBox(const std::string& prompt, const std::string& title,
                                const std::string& defaultText) {
  if (beforeBox) beforeBox();
  QInputDialog dlg(parent());
  dlg.setWindowTitle(boxTitle(title));
  dlg.setLabelText(fromBytesForDisplay(prompt));
  dlg.setTextValue(fromBytes(defaultText));
  dlg.setInputMode(QInputDialog::TextInput);
  if (dlg.exec() != QDialog::Accepted) return {};
  return toBytes(dlg.textValue());
}

std::string QtDialogs::chooseLogFile(const std::string& title, const std::string& folder) {
  if (beforeBox) beforeBox();
  return chooseLogFileQt(parent(), title, folder);
}

std::string QtDialogs::chooseLogFileSelecting(const std::string& title, const std::string& folder,
                                              const std::string& selectedName) {
  return chooseLogFileQt(parent(), title, folder, selectedName);
}

SaveChoice QtDialogs::chooseSaveFile(const std::string& title, const std::string& startPath,
                                     const std::vector<std::string>& types) {
  return chooseSaveFileQt(parent(), title, startPath, types);
}

namespace {
DateTime fromQt(const QDateTime& t) {
  const QDate d = t.date();
  const QTime h = t.time();
  return DateTime{Date{d.year(), d.month(), d.day()}, h.hour(), h.minute(), h.second()};
}
}  // namespace

DateTime QtClock::nowUtc() { return fromQt(QDateTime::currentDateTimeUtc()); }

DateTime QtClock::localTime(const DateTime& utc) {
  const QDateTime t(QDate(utc.date.year, utc.date.month, utc.date.day),
                    QTime(utc.hour, utc.minute, utc.second), Qt::UTC);
  return fromQt(t.toLocalTime());
}

Date QtClock::today() {
  const QDate d = QDate::currentDate();
  return Date{d.year(), d.month(), d.day()};
}

void QtEvents::doEvents() {
  if (render) render();
  QCoreApplication::processEvents();
}

bool QtLauncher::startDetached(const std::string& program, const std::vector<std::string>& args) {
  if (program.empty()) return false;
  QStringList list;
  for (const auto& a : args) list << fromBytes(a);
  return QProcess::startDetached(fromBytes(program), list);
}

bool QtLauncher::openDocument(const std::string& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromLocal8Bit(path.c_str())));
}

}  // namespace kelpie
