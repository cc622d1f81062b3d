// frmKelpie, Kelpie's main window: renders the session's view state and forwards keys, clicks
// and menu commands to it. It holds no rules of its own.
#pragma once

#include <QListWidget>
#include <QMainWindow>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "net/session.h"

class QAction;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

namespace kelpie {

// The check-in list: a right press opens the popup without moving the selection. It reports
// what the operator does (a click on a line, a move with the arrow keys, a press), never a
// change of the current line that the focus, a redraw or the program caused.
class CheckInsList : public QListWidget {
  Q_OBJECT
 public:
  using QListWidget::QListWidget;
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

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(Session& session, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Shows the view state in the widgets.
  void render();
  // Runs one core handler: widget state in, handler, view state out, then closing requests.
  void run(const std::function<void()>& handler);
  QAction* action(const std::string& name) const;
  QMenu* popupMenu() const { return popup_; }
  // Restores the size and place kept at the last close, and the text zoom.
  void restorePlacement();
  // The text size in percent of the size that fits the window (Ctrl+Plus, Ctrl+Minus, Ctrl+0).
  int zoomPercent() const { return zoomPercent_; }

 signals:
  // The window has closed for good: the program ends (other windows included).
  void finished();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void buildControls();
  void buildMenus();
  void layoutControls();
  void pullFromWidgets();
  void handleRequests();
  void dispatch(const std::string& name);
  // One key, handled to its end (the window's preview, then the widget's own handling).
  void handleKey(QWidget* target, QKeyEvent* key);
  bool openTopMenu(const QKeyEvent* key);
  bool zoomKey(const QKeyEvent* key);
  void setZoom(int percent);

  Session& s_;
  QLabel* label1_ = nullptr;
  QPushButton* command2_ = nullptr;
  QLabel* label2_ = nullptr;
  QLineEdit* entry_ = nullptr;
  CheckInsList* list_ = nullptr;
  QLabel* label3_ = nullptr;
  QRadioButton* ack_ = nullptr;
  QRadioButton* comment_ = nullptr;
  QPushButton* cmdExit_ = nullptr;
  QListWidget* file1_ = nullptr;
  QMenu* popup_ = nullptr;
  std::map<std::string, QAction*> actions_;
  std::map<std::string, QMenu*> menus_;
  std::vector<std::string> shownLines_;
  // The entry line's text as the window last took it from the line or wrote it there: the
  // line is written only when a procedure changed the text since.
  std::string shownEntry_;
  int shownFocusRequests_ = 0;
  // Keys that arrived while another key or a handler was running, handled after it in order.
  std::deque<std::unique_ptr<QKeyEvent>> heldKeys_;
  bool keyBusy_ = false;
  QKeyEvent* passThrough_ = nullptr;  // the key being handed to its widget
  int zoomPercent_ = 100;
  bool rendering_ = false;
  bool quitting_ = false;
  int depth_ = 0;
  QFont baseFont_;
};

}  // namespace kelpie
