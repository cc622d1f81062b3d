#include "app/window_menus.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

#include "net/spoken.h"
#include "platform/qt/text1252.h"
#include "reports/export.h"
#include "reports/reports.h"

namespace kelpie {

namespace {
// Menu texts take "&" as an access key mark; Kelpie's captions show it as it stands.
QString actionText(const std::string& caption) {
  QString t = fromBytes(caption);
  t.replace(QLatin1String("&"), QLatin1String("&&"));
  return t;
}

// The menu bar's entries with their access keys: Alt and the letter opens the menu with its
// first item active, as on any desktop; the captions show no underlined letter. An entry
// without items is a command of the menu bar itself.
struct TopMenu {
  const char* name;
  Qt::Key key;
  bool command;
};
constexpr TopMenu kTopMenus[] = {
    {"mFile", Qt::Key_F, false},        {"mEdit", Qt::Key_E, false},    {"mView", Qt::Key_V, false},
    {"mainHelp", Qt::Key_H, false},     {"mOptions", Qt::Key_O, false}, {"mSet", Qt::Key_S, false},
    {"mwriteLogFile", Qt::Key_W, true}, {"mTools", Qt::Key_T, false},
};

// Items with a key of their own. The window takes every key before any shortcut sees it, so
// the key path runs them (shortcutItem); the menu shows the key beside the caption.
struct Shortcut {
  const char* name;
  QKeyCombination key;
};
const Shortcut kShortcuts[] = {{"mReadNet", Qt::CTRL | Qt::Key_R}};

const TopMenu* topMenu(const std::string& name) {
  for (const TopMenu& m : kTopMenus)
    if (name == m.name) return &m;
  return nullptr;
}
}  // namespace

void activateFirstItem(QMenu* menu) {
  for (QAction* a : menu->actions()) {
    if (a->isSeparator() || !a->isVisible() || !a->isEnabled()) continue;
    menu->setActiveAction(a);
    return;
  }
}

WindowMenus::WindowMenus(QMenuBar* bar, QWidget* owner,
                         std::function<void(const std::string&)> command)
    : bar_(bar) {
  QMenu* current = nullptr;
  for (const auto& [name, item] : initialMenuItems()) {
    if (const TopMenu* top = topMenu(name)) {
      if (top->command) {
        QAction* a = bar_->addAction(actionText(item.caption));
        a->setObjectName(QString::fromStdString(name));
        actions_[name] = a;
        const std::string n = name;
        QObject::connect(a, &QAction::triggered, owner, [command, n] { command(n); });
        current = nullptr;
        continue;
      }
      current = bar_->addMenu(actionText(item.caption));
      current->setObjectName(QString::fromStdString(name));
      current->menuAction()->setObjectName(QString::fromStdString(name));
      menus_[name] = current;
      actions_[name] = current->menuAction();
      continue;
    }
    if (name == "mnuPopUp") {
      popup_ = new QMenu(actionText(item.caption), owner);
      popup_->setObjectName("mnuPopUp");
      current = popup_;
      continue;
    }
    if (!current) continue;
    QAction* a = nullptr;
    if (item.caption == "-") {
      a = current->addSeparator();
    } else {
      a = current->addAction(actionText(item.caption));
      const std::string n = name;
      QObject::connect(a, &QAction::triggered, owner, [command, n] { command(n); });
    }
    a->setObjectName(QString::fromStdString(name));
    actions_[name] = a;
  }
  for (const Shortcut& k : kShortcuts) {
    QAction* a = actions_.at(k.name);
    a->setShortcut(QKeySequence(k.key));
    a->setShortcutContext(Qt::WidgetShortcut);
  }
  for (const char* checkable : {"mTypeHelp", "mACModes", "mEnterModes", "mUseNumberModes",
                                "mUseSpaceBarModes", "mDistanceTypeMiles", "mDistanceTypekM"})
    actions_[checkable]->setCheckable(true);
}

QAction* WindowMenus::action(const std::string& name) const {
  auto it = actions_.find(name);
  return it == actions_.end() ? nullptr : it->second;
}

void WindowMenus::draw(const std::map<std::string, MenuItem>& items) {
  for (const auto& [name, item] : items) {
    QAction* a = action(name);
    if (!a) continue;
    if (item.caption != "-") a->setText(actionText(item.caption));
    if (a->isCheckable()) a->setChecked(item.checked);
    a->setEnabled(item.enabled);
    a->setVisible(item.visible);
  }
}

bool WindowMenus::openTopMenu(const QKeyEvent* key) {
  if ((key->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) != Qt::AltModifier) return false;
  for (const TopMenu& top : kTopMenus) {
    if (key->key() != top.key) continue;
    QAction* a = action(top.name);
    if (!a || !a->isEnabled() || !a->isVisible()) return true;
    if (top.command) {
      a->trigger();
      return true;
    }
    bar_->setActiveAction(a);
    activateFirstItem(menus_.at(top.name));
    return true;
  }
  return false;
}

std::string WindowMenus::shortcutItem(const QKeyEvent* key) {
  const Qt::KeyboardModifiers mods =
      key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  for (const Shortcut& k : kShortcuts)
    if (k.key.key() == key->key() && k.key.keyboardModifiers() == mods) return k.name;
  return {};
}

bool WindowMenus::isBarMenu(const QWidget* w) const {
  for (const auto& [name, menu] : menus_)
    if (menu == w) return true;
  return false;
}

std::function<void(Session&)> menuHandler(const std::string& name) {
  using H = std::function<void(Session&)>;
  static const std::map<std::string, H> handlers{
      {"MPPastLog", MPPastLog_Click},
      {"mPLogMostCheckins", mPLogMostCheckins_Click},
      {"mPShortcuts", mPShortcuts_Click},
      {"mSaveBU", &Session::mSaveBU_Click},
      {"mExit", &Session::mExit_Click},
      {"mEditNetControl", &Session::mEditNetControl_Click},
      {"mUpdateToNewCall", &Session::mUpdateToNewCall_Click},
      {"mLoadLog", mLoadLog_Click},
      {"mEditADIF", &Session::mEditADIF_Click},
      {"mMostCheckinsperYear", mMostCheckinsperYear_Click},
      {"mMostCheckins", mMostCheckins_Click},
      {"mContents", &Session::mContents_Click},
      {"mTypeHelp", &Session::mTypeHelp_Click},
      {"mACModes", &Session::mACModes_Click},
      {"mEnterModes", &Session::mEnterModes_Click},
      {"mUseNumberModes", &Session::mUseNumberModes_Click},
      {"mUseSpaceBarModes", &Session::mUseSpaceBarModes_Click},
      {"mDistanceTypeMiles", &Session::mDistanceTypeMiles_Click},
      {"mDistanceTypekM", &Session::mDistanceTypekM_Click},
      {"mwriteLogFile", mwriteLogFile_Click},
      {"mFindCall", &Session::mFindCall_Click},
      {"mRegulars", &Session::mRegulars_Click},
      {"mExport", mExport_Click},
      {"mReadNet", mReadNet_Click},
      {"mnuQRZConnect", &Session::mnuQRZConnect_Click},
      {"mnuPopUpMultiple", &Session::mnuPopUpMultiple_Click},
      {"mnuPopUpCall", &Session::mnuPopUpCall_Click},
      {"mnuPopUpName", &Session::mnuPopUpName_Click},
      {"mnuPopUpQTH", &Session::mnuPopUpQTH_Click},
      {"mnuPopUpInsertGrid", &Session::mnuPopUpInsertGrid_Click},
      {"mnuPopUpUpdateCall", &Session::mnuPopUpUpdateCall_Click},
      {"mnuPopUpTactical", &Session::mnuPopUpTactical_Click},
      {"mnuPopUpRelay", &Session::mnuPopUpRelay_Click},
  };
  auto it = handlers.find(name);
  return it == handlers.end() ? H{} : it->second;
}

}  // namespace kelpie
