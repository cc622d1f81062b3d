// The main window's menus: the menu bar and the list's popup built from the session's menu
// items, their access keys (Alt and a letter), and their captions and states drawn.
#pragma once

#include <QObject>
#include <functional>
#include <map>
#include <string>

#include "net/session.h"

class QAction;
class QKeyEvent;
class QMenu;
class QMenuBar;
class QWidget;

namespace kelpie {

class WindowMenus {
 public:
  // command runs the item of that name when the operator picks it.
  WindowMenus(QMenuBar* bar, QWidget* owner, std::function<void(const std::string&)> command);

  QAction* action(const std::string& name) const;
  QMenu* popup() const { return popup_; }
  // Shows each item's caption, check mark, enabled and visible state.
  void draw(const std::map<std::string, MenuItem>& items);
  // Alt and a menu's letter: opens that menu with its first item active, or runs the menu
  // bar's own command. True when the key was such a key (even for a disabled menu).
  bool openTopMenu(const QKeyEvent* key);
  // The item a shortcut key runs (Ctrl+R: "Read the net so far"); empty for any other key.
  static std::string shortcutItem(const QKeyEvent* key);
  // True when w is one of the menu bar's menus (not the popup).
  bool isBarMenu(const QWidget* w) const;

 private:
  QMenuBar* bar_;
  QMenu* popup_ = nullptr;
  std::map<std::string, QAction*> actions_;
  std::map<std::string, QMenu*> menus_;
};

// Makes the first item a keyboard user can run the menu's active one.
void activateFirstItem(QMenu* menu);

// The core handler of a menu command that needs no window of its own; empty when there is none.
std::function<void(Session&)> menuHandler(const std::string& name);

}  // namespace kelpie
