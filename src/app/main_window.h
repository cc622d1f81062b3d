// frmKelpie, Kelpie's main window: renders the session's view state and forwards keys, clicks
// and menu commands to it. It holds no rules of its own.
#pragma once

#include <QListWidget>
#include <QMainWindow>
#include <QMap>
#include <functional>
#include <map>
#include <string>

#include "net/session.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

namespace kelpie {

// The check-in list: a right press opens the popup without moving the selection.
class CheckInsList : public QListWidget {
  Q_OBJECT
 public:
  using QListWidget::QListWidget;
 signals:
  void mouseDown(int button, QPoint globalPos);

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
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
  // Restores the size and place kept at the last close.
  void restorePlacement();

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
  int shownFocusRequests_ = 0;
  bool rendering_ = false;
  bool quitting_ = false;
  int depth_ = 0;
  QFont baseFont_;
};

}  // namespace kelpie
