#include "app/window_share.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>

#include "dialogs/frm_share.h"
#include "net/session.h"
#include "net/spoken.h"
#include "platform/qt/mqtt_link.h"
#include "platform/qt/password_store.h"
#include "platform/qt/text1252.h"
#include "share/cp1252.h"
#include "share/share_net.h"

namespace kelpie {

namespace {
// How soon a change from the net is tried again while a key, a box or a menu is in the way.
constexpr int kRetryMs = 15;
// How long the status line shows what "Copy the listeners' address" did.
constexpr int kHintMs = 10000;
}  // namespace

WindowShare::WindowShare(QMainWindow* window, Session& session, std::function<bool()> idle,
                         std::function<void(const std::function<void()>&)> apply)
    : QObject(window),
      window_(window),
      s_(session),
      idle_(std::move(idle)),
      apply_(std::move(apply)) {}

WindowShare::~WindowShare() {
  if (s_.share) s_.stopSharing();
}

void WindowShare::askAndShare() {
  share::ShareSettings settings;
  const Date d = s_.ui.clock.today();
  settings.net = share::defaultNetName(fromBytes(s_.settings.netBand).toStdString(),
                                       fromBytes(s_.settings.netControlCall).toStdString(), d.year,
                                       d.month, d.day);
  loadRememberedShare(settings);
  QString stored;
  if (!settings.user.empty() && readSharePassword(sharePasswordKey(settings), stored))
    settings.password = stored.toStdString();
  if (!askShareSettings(window_, settings)) return;
  rememberShare(settings);
  typedPassword_ = QString::fromStdString(settings.password);
  share(settings);
}

void WindowShare::share(const share::ShareSettings& settings) {
  if (!link_) link_ = std::make_unique<MqttLink>();
  apply_([&] {
    s_.startSharing(*link_, settings);
    s_.view.menus["mCopyListeners"].enabled = true;
  });
  s_.share->onWake = [this] { wake(); };
}

void WindowShare::stop() {
  apply_([this] {
    s_.stopSharing();
    s_.view.menus["mCopyListeners"].enabled = false;
  });
}

void WindowShare::copyListenersAddress() {
  if (!s_.share) return;
  const share::ShareSettings& settings = s_.share->settings();
  // No page given (a net shared from the command line): the broker's own, on its usual port.
  const std::string address = share::listenersAddress(
      settings.listenersPage.empty() ? share::defaultListenersPage(settings.host)
                                     : settings.listenersPage,
      settings.net);
  QGuiApplication::clipboard()->setText(QString::fromStdString(address));
  const std::string said = "Copied the listeners' address: " + address;
  window_->statusBar()->showMessage(QString::fromStdString(said), kHintMs);
  // The view's text is in the log's code page.
  apply_([&] { speak(s_.view, share::cp1252FromUtf8(said).value_or(said)); });
}

void WindowShare::wake() {
  if (woken_) return;
  woken_ = true;
  QTimer::singleShot(0, this, [this] { takeArrived(); });
}

void WindowShare::takeArrived() {
  if (!idle_()) {
    QTimer::singleShot(kRetryMs, this, [this] { takeArrived(); });
    return;
  }
  woken_ = false;
  if (!s_.share) return;
  apply_([this] { s_.applyShared(); });
  if (!typedPassword_.isEmpty() && s_.share->connected()) {
    storeSharePasswordLater(sharePasswordKey(s_.share->settings()), typedPassword_);
    typedPassword_.clear();
  }
}

void WindowShare::draw(const std::string& status) {
  const bool shown = !status.empty();
  if (!status_ && !shown) return;
  if (!status_) {
    status_ = new QLabel(window_);
    status_->setObjectName("ShareStatus");
    status_->setAccessibleName("Shared net");
    window_->statusBar()->addWidget(status_, 1);
    window_->statusBar()->setSizeGripEnabled(false);
    window_->statusBar()->hide();
  }
  status_->setText(QString::fromStdString(status));
  QStatusBar* bar = window_->statusBar();
  if (bar->isVisible() == shown) return;
  // The window grows or shrinks by the line, so the controls above keep their size and places.
  const int h = bar->sizeHint().height();
  bar->setVisible(shown);
  if (window_->isVisible()) window_->resize(window_->width(), window_->height() + (shown ? h : -h));
}

}  // namespace kelpie
