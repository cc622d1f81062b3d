#include "app/key_queue.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QWidget>

namespace kelpie {

KeyQueue::KeyQueue(QWidget* window, Hooks hooks)
    : QObject(window), window_(window), hooks_(std::move(hooks)) {
  qApp->installEventFilter(this);
}

KeyQueue::~KeyQueue() { qApp->removeEventFilter(this); }

void KeyQueue::deliver(QWidget* target, QKeyEvent* key) {
  passThrough_ = key;
  QCoreApplication::sendEvent(target, key);
  passThrough_ = nullptr;
}

bool KeyQueue::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
    return false;
  auto* w = qobject_cast<QWidget*>(watched);
  auto* key = static_cast<QKeyEvent*>(event);
  if (event == passThrough_) return false;
  // Esc closes a menu of the menu bar and gives the keyboard back to the window at once, rather
  // than leave the menu bar waiting for keys the operator means for the entry line.
  if (type == QEvent::KeyPress && key->key() == Qt::Key_Escape && w &&
      w == QApplication::activePopupWidget() && hooks_.escapeFromMenu(w))
    return true;
  // Keys are previewed only for the main window itself, never for its dialogs, menus or menu bar.
  if (!w || w->window() != window_ || qobject_cast<QMenuBar*>(w)) return false;
  const bool busy = busy_ || hooks_.handlerRunning();
  if (!busy && (QApplication::activeModalWidget() || QApplication::activePopupWidget()))
    return false;
  // Every key of the window is the window's own: no shortcut takes one.
  if (type == QEvent::ShortcutOverride) {
    event->accept();
    return true;
  }
  // A key event travels up from the focused widget; take it once, at the focus.
  if (w != QApplication::focusWidget() && QApplication::focusWidget() &&
      QApplication::focusWidget()->window() == window_)
    return false;
  // One key at a time: a key that arrives while another one, or any handler, is still running
  // (it let pending events run, or opened a box) waits and is handled after it, in order.
  if (busy) {
    held_.push_back(std::unique_ptr<QKeyEvent>(static_cast<QKeyEvent*>(key->clone())));
    return true;
  }
  busy_ = true;
  hooks_.handle(w, key);
  while (!held_.empty() && !hooks_.handlerRunning()) {
    const std::unique_ptr<QKeyEvent> next = std::move(held_.front());
    held_.pop_front();
    QWidget* target = QApplication::activePopupWidget();
    if (!target) target = QApplication::activeModalWidget();
    if (target) {
      if (target->focusWidget()) target = target->focusWidget();
      QCoreApplication::sendEvent(target, next.get());
      continue;
    }
    // The window's focused control, even while the window waits to be active again.
    QWidget* focus = window_->focusWidget();
    hooks_.handle(focus ? focus : window_, next.get());
  }
  busy_ = false;
  return true;
}

}  // namespace kelpie
