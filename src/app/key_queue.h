// The main window's keys, one at a time: every key of the window is taken before any widget
// or shortcut sees it, and a key typed while another key or a handler is still running waits
// and is handled after it, in order.
#pragma once

#include <QObject>
#include <deque>
#include <functional>
#include <memory>

class QKeyEvent;
class QWidget;

namespace kelpie {

class KeyQueue : public QObject {
 public:
  struct Hooks {
    // True while a core handler runs (it may let pending events run, or show a box).
    std::function<bool()> handlerRunning;
    // One key press or release for target, handled to its end.
    std::function<void(QWidget* target, QKeyEvent* key)> handle;
    // Esc in the popup widget w: true when it was one of the window's menus, now closed.
    std::function<bool(QWidget* w)> escapeFromMenu;
  };
  // Watches every key of the application for window.
  KeyQueue(QWidget* window, Hooks hooks);
  ~KeyQueue() override;

  // True while a key is being handled or keys wait their turn.
  bool busy() const { return busy_ || !held_.empty(); }
  // Hands key to target's own handling, past the queue.
  void deliver(QWidget* target, QKeyEvent* key);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* window_;
  Hooks hooks_;
  std::deque<std::unique_ptr<QKeyEvent>> held_;
  bool busy_ = false;
  QKeyEvent* passThrough_ = nullptr;  // the key being handed to its widget
};

}  // namespace kelpie
