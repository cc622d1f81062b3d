// frmKelpie, Kelpie's main window: wires its parts (the controls and their drawing, the menus,
// the key queue) to the session. It holds no rules of its own.
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>

#include "app/checkins_list.h"
#include "net/session.h"

class QAction;
class QKeyEvent;
class QMenu;

namespace kelpie {

class Announcer;
class KeyQueue;
class WindowMenus;
class WindowShare;
class WindowView;
namespace share {
struct ShareSettings;
}

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
  QMenu* popupMenu() const;
  // Restores the size and place kept at the last close, and the text zoom.
  void restorePlacement();
  // The text size in percent of the size that fits the window (Ctrl+Plus, Ctrl+Minus, Ctrl+0).
  int zoomPercent() const { return zoomPercent_; }
  // Shares today's net (the command line's --share); the password is known.
  void startSharing(const share::ShareSettings& settings);

 signals:
  // The window has closed for good: the program ends (other windows included).
  void finished();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void connectControls();
  void handleRequests();
  void dispatch(const std::string& name);
  // One key, handled to its end (the window's preview, then the widget's own handling).
  void handleKey(QWidget* target, QKeyEvent* key);
  bool escapeFromMenu(QWidget* menu);
  void setZoom(int percent);
  void layoutControls();

  Session& s_;
  std::unique_ptr<WindowView> view_;
  std::unique_ptr<WindowMenus> menus_;
  std::unique_ptr<KeyQueue> keys_;
  std::unique_ptr<Announcer> announcer_;
  std::unique_ptr<WindowShare> share_;
  int zoomPercent_ = 100;
  bool quitting_ = false;
  int depth_ = 0;
};

}  // namespace kelpie
