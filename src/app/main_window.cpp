#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>

#include "app/announcer.h"
#include "app/key_codes.h"
#include "app/key_queue.h"
#include "app/window_menus.h"
#include "app/window_share.h"
#include "app/window_view.h"
#include "dialogs/frm_about.h"
#include "dialogs/frm_web_path.h"
#include "platform/qt/text1252.h"

namespace kelpie {

MainWindow::MainWindow(Session& session, QWidget* parent) : QMainWindow(parent), s_(session) {
  setObjectName("frmKelpie");
  // The window takes the application's icon, which main() sets once the window is up.
  auto* central = new QWidget(this);
  central->setObjectName("clientArea");
  setCentralWidget(central);
  // The control places were laid out for a small 8-point face; a larger default would clip them.
  QFont base = font();
  base.setPointSizeF(8);
  view_ = std::make_unique<WindowView>(central, base);
  layoutControls();
  for (const char* name : {"Browse", "CommonDialog1", "ActiveResize1"}) {
    auto* o = new QObject(this);
    o->setObjectName(name);
  }
  announcer_ = std::make_unique<Announcer>(central);
  connectControls();
  menus_ =
      std::make_unique<WindowMenus>(menuBar(), this, [this](const std::string& n) { dispatch(n); });
  keys_ = std::make_unique<KeyQueue>(
      this, KeyQueue::Hooks{[this] { return depth_ > 0; },
                            [this](QWidget* w, QKeyEvent* k) { handleKey(w, k); },
                            [this](QWidget* w) { return escapeFromMenu(w); }});
  share_ = std::make_unique<WindowShare>(
      this, s_,
      [this] {
        return depth_ == 0 && !keys_->busy() && !QApplication::activeModalWidget() &&
               !QApplication::activePopupWidget();
      },
      [this](const std::function<void()>& h) { run(h); });
  const double dpi = logicalDpiX() > 0 ? logicalDpiX() : 96.0;
  const QSize client = WindowView::designedSize(dpi);
  resize(client.width(), client.height() + menuBar()->sizeHint().height());
  render();
}

// The key queue goes first: no key may reach a window half taken down; then the net.
MainWindow::~MainWindow() {
  keys_.reset();
  share_.reset();
}

void MainWindow::startSharing(const share::ShareSettings& settings) { share_->share(settings); }

void MainWindow::connectControls() {
  WindowView& v = *view_;
  connect(v.command2, &QPushButton::clicked, this,
          [this] { run([this] { s_.Command2_Click(); }); });
  connect(v.cmdExit, &QPushButton::clicked, this, [this] { run([this] { s_.CmdExit_Click(); }); });
  connect(v.ack, &QRadioButton::toggled, this, [this](bool on) {
    if (view_->drawing() || !on) return;
    run([this] {
      s_.view.ackSelected = true;
      s_.Ack_Click();
    });
  });
  connect(v.comment, &QRadioButton::toggled, this, [this](bool on) {
    if (view_->drawing() || !on) return;
    run([this] {
      s_.view.ackSelected = false;
      s_.Comment_Click();
    });
  });
  connect(v.list, &CheckInsList::clicked, this, [this] { run([this] { s_.CheckIns_Click(); }); });
  connect(v.list, &CheckInsList::mouseDown, this, [this](int button, QPoint at, bool byKeyboard) {
    bool popup = false;
    run([&] { popup = s_.CheckIns_MouseDown(button); });
    if (!popup) return;
    popupMenu()->popup(at);
    if (byKeyboard) activateFirstItem(popupMenu());
  });
}

QAction* MainWindow::action(const std::string& name) const { return menus_->action(name); }

QMenu* MainWindow::popupMenu() const { return menus_->popup(); }

void MainWindow::dispatch(const std::string& name) {
  if (name == "mAbout") {
    run([this] { showAboutBox(this, fromBytes(s_.versionTag)); });
    return;
  }
  if (name == "mSetBrowserPath") {
    run([this] {
      showWebPathPicker(this, s_.settings.browserPath,
                        QString::fromStdString(s_.appFolder.string()),
                        [this] { s_.writeSettings(); });
    });
    return;
  }
  if (name == "mShare") return share_->askAndShare();
  if (name == "mStopShare") return share_->stop();
  if (name == "mCopyListeners") return share_->copyListenersAddress();
  if (auto handler = menuHandler(name)) run([&] { handler(s_); });
}

void MainWindow::run(const std::function<void()>& handler) {
  view_->pull(s_.view);
  ++depth_;
  handler();
  --depth_;
  // Whatever the handler changed in today's list goes to a shared net before anything else.
  if (depth_ == 0) s_.syncShare();
  render();
  if (depth_ == 0) handleRequests();
}

void MainWindow::handleRequests() {
  if (s_.view.quitRequested) {
    s_.view.quitRequested = false;
    quitting_ = true;
    close();
    return;
  }
  if (s_.view.closeRequested) {
    s_.view.closeRequested = false;
    close();
  }
}

void MainWindow::render() {
  setWindowTitle(fromBytes(s_.view.title));
  menus_->draw(s_.view.menus);
  view_->draw(s_.view, s_.file1);
  announcer_->draw(s_.view);
  if (share_) share_->draw(s_.view.shareStatus);
}

bool MainWindow::escapeFromMenu(QWidget* menu) {
  if (!menus_->isBarMenu(menu)) return false;
  menu->hide();
  activateWindow();
  if (view_->entry->isEnabled()) view_->entry->setFocus(Qt::PopupFocusReason);
  return true;
}

void MainWindow::handleKey(QWidget* target, QKeyEvent* key) {
  const auto deliver = [&] {
    // A key that came to the window with no control focused goes to the one the preview chose.
    if (target == this && focusWidget()) target = focusWidget();
    keys_->deliver(target, key);
  };
  if (key->type() != QEvent::KeyPress) return deliver();
  if (const int zoom = zoomAfterKey(key->key(), key->modifiers(), zoomPercent_); zoom > 0)
    return setZoom(zoom);
  if (const std::string item = WindowMenus::shortcutItem(key); !item.empty()) {
    if (QAction* a = action(item); a && a->isEnabled() && a->isVisible()) dispatch(item);
    return;
  }
  // Moving through the list leaves the keyboard there, so each line is read as it is reached;
  // any other key gives it back to the entry line.
  if (target == view_->list && CheckInsList::isMoveKey(key)) return deliver();
  const int code = keyCodeOf(key);
  run([&] { s_.Form_KeyDown(code, shiftStateOf(key)); });
  if (menus_->openTopMenu(key)) return;
  if (code == kKeySpace) return;  // a callsign never holds a space
  if (code == kKeyEnter && target == view_->entry) {
    run([&] {
      int k = kKeyEnter;
      s_.CallSignInput_KeyPress(k);
    });
    return;
  }
  deliver();
}

void MainWindow::setZoom(int percent) {
  zoomPercent_ = std::clamp(percent, kZoomMin, kZoomMax);
  QSettings("Kelpie", "Kelpie").setValue("window/zoom", zoomPercent_);
  layoutControls();
}

void MainWindow::layoutControls() { view_->layout(zoomPercent_, s_.view.fixedFont); }

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!quitting_) {
    bool ok = false;
    ++depth_;
    ok = s_.Form_Unload();
    --depth_;
    render();
    if (!ok) {
      event->ignore();
      return;
    }
  }
  QSettings settings("Kelpie", "Kelpie");
  settings.setValue("window/geometry", saveGeometry());
  event->accept();
  // The question's own event loop may have handled the window's state; leave no doubt.
  hide();
  emit finished();
}

void MainWindow::restorePlacement() {
  QSettings settings("Kelpie", "Kelpie");
  const QByteArray g = settings.value("window/geometry").toByteArray();
  if (!g.isEmpty()) restoreGeometry(g);
  zoomPercent_ = std::clamp(settings.value("window/zoom", 100).toInt(), kZoomMin, kZoomMax);
  layoutControls();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (view_) layoutControls();
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  layoutControls();
  run([this] { s_.Form_Activate(); });
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && menus_)
    run([this] { s_.Form_Activate(); });
}

}  // namespace kelpie
