// Helpers for the offscreen tests of Kelpie's windows: files with permissions, clicks on list
// items the way the operator makes them, and acting on a modal window once it is up.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>

namespace kelpie::test {

inline void makeFile(const QString& path, bool executable) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("x") == 1) << path.toStdString();
  file.close();
  ASSERT_TRUE(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner |
                                  (executable ? QFile::ExeOwner : QFile::Permissions())));
}

// A click (or, as a real one arrives, a click then a double-click) on the item with this text.
inline bool clickItem(QListWidget* list, const QString& text, bool twice = false) {
  const auto found = list->findItems(text, Qt::MatchExactly);
  if (found.isEmpty()) return false;
  const QPoint at = list->visualItemRect(found.first()).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
  if (twice) QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
  return true;
}

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

}  // namespace kelpie::test
