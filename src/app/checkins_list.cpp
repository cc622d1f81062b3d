#include "app/checkins_list.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace kelpie {

bool CheckInsList::isMoveKey(const QKeyEvent* e) {
  if (e->modifiers() & ~Qt::KeypadModifier) return false;
  switch (e->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
      return true;
    default:
      return false;
  }
}

void CheckInsList::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::RightButton) {
    emit mouseDown(2, e->globalPosition().toPoint(), false);
    e->accept();
    return;
  }
  QListWidget::mousePressEvent(e);
  if (e->button() == Qt::LeftButton && itemAt(e->position().toPoint())) emit clicked();
  emit mouseDown(e->button() == Qt::LeftButton ? 1 : 4, e->globalPosition().toPoint(), false);
}

void CheckInsList::keyPressEvent(QKeyEvent* e) {
  const int before = currentRow();
  QListWidget::keyPressEvent(e);
  if (currentRow() != before && currentRow() >= 0) emit clicked();
}

void CheckInsList::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::RightButton) {
    e->accept();
    return;
  }
  QListWidget::mouseReleaseEvent(e);
}

void CheckInsList::contextMenuEvent(QContextMenuEvent* e) {
  // The press already opened the popup; a keyboard menu key acts like a right press.
  if (e->reason() == QContextMenuEvent::Mouse) {
    e->accept();
    return;
  }
  emit mouseDown(2, e->globalPos(), true);
}

}  // namespace kelpie
