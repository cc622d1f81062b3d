// The window's side of a shared net: the Tools menu's "Share this net...", "Stop sharing" and
// "Copy the listeners' address", the status line under the controls while the net is shared,
// and the changes that arrive from the broker, taken in between the operator's keys and never
// under an open box or menu.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLabel;
class QMainWindow;

namespace kelpie {

class Session;
class ShareLink;
namespace share {
struct ShareSettings;
}

class WindowShare : public QObject {
 public:
  // idle: true when no key, handler, box or menu is in the way of a change from the net;
  // apply runs a core handler in the window the way a key does.
  WindowShare(QMainWindow* window, Session& session, std::function<bool()> idle,
              std::function<void(const std::function<void()>&)> apply);
  ~WindowShare() override;

  // "Share this net...": asks where and as whom, then shares.
  void askAndShare();
  // Shares with settings whose password is known (the command line's --share).
  void share(const share::ShareSettings& settings);
  void stop();
  // Puts the address of the shared net's page for listeners on the clipboard and says it.
  void copyListenersAddress();
  // Shows or hides the status line for the view state; the controls keep their places.
  void draw(const std::string& status);

 private:
  void wake();
  void takeArrived();

  QMainWindow* window_;
  Session& s_;
  std::function<bool()> idle_;
  std::function<void(const std::function<void()>&)> apply_;
  std::unique_ptr<ShareLink> link_;
  QLabel* status_ = nullptr;
  bool woken_ = false;
  // A password typed in the dialog, kept in the keyring once the broker has taken it.
  QString typedPassword_;
};

}  // namespace kelpie
