// The check-in list of the main window: a list that reports what the operator does to it.
#pragma once

#include <QListWidget>

namespace kelpie {

// A right press opens the popup without moving the selection. It reports what the operator
// does (a click on a line, a move with the arrow keys, a press), never a change of the current
// line that the focus, a redraw or the program caused.
class CheckInsList : public QListWidget {
  Q_OBJECT
 public:
  using QListWidget::QListWidget;
  // The keys that move through the lines (arrows, pages, first and last), without modifiers.
  static bool isMoveKey(const QKeyEvent* e);
 signals:
  void clicked();
  // byKeyboard: the keyboard's menu key, which opens the popup with its first item active.
  void mouseDown(int button, QPoint globalPos, bool byKeyboard);

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
};

}  // namespace kelpie
