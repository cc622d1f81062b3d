// Helpers for the offscreen tests of Kelpie's small windows: temporary folders and clicks on
// list items the way the operator makes them.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <ostream>

// Readable values in the failure messages of tests that compare QStrings.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace kelpie::test {

// Creates a file under root with the given permissions (folders are made on the way).
inline void makeFile(const QString& path, QFile::Permissions permissions) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
  file.write("x");
  file.close();
  ASSERT_TRUE(file.setPermissions(permissions)) << path.toStdString();
}

inline const QFile::Permissions kExecutable =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup;
inline const QFile::Permissions kPlain = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;

inline QStringList itemTexts(const QListWidget* list) {
  QStringList texts;
  for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
  return texts;
}

inline QListWidgetItem* itemNamed(QListWidget* list, const QString& text) {
  const auto found = list->findItems(text, Qt::MatchExactly);
  return found.isEmpty() ? nullptr : found.first();
}

inline QPoint itemPoint(QListWidget* list, QListWidgetItem* item) {
  list->scrollToItem(item);
  return list->visualItemRect(item).center();
}

inline bool clickItem(QListWidget* list, const QString& text) {
  QListWidgetItem* item = itemNamed(list, text);
  if (!item) return false;
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, itemPoint(list, item));
  return true;
}

inline bool doubleClickItem(QListWidget* list, const QString& text) {
  QListWidgetItem* item = itemNamed(list, text);
  if (!item) return false;
  // As a real double-click arrives: press, release, double-click, release.
  const QPoint at = itemPoint(list, item);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
  return true;
}

// Runs act on the modal window once it is up (a modal exec() blocks the test until then).
// Closes every modal window after a few seconds so a failing test cannot hang.
inline void whenModal(std::function<void(QWidget*)> act) {
  auto* poll = new QTimer;
  int tries = 0;
  QObject::connect(poll, &QTimer::timeout, [poll, act, tries]() mutable {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal) {
      poll->stop();
      poll->deleteLater();
      act(modal);
      QTimer::singleShot(3000, modal, [modal] {
        if (!modal->isVisible()) return;
        ADD_FAILURE() << "the modal window stayed open";
        modal->close();
      });
    } else if (++tries > 200) {
      poll->stop();
      poll->deleteLater();
      ADD_FAILURE() << "no modal window appeared";
    }
  });
  poll->start(20);
}

}  // namespace kelpie::test
