// The "Share this net" dialog (Tools > Share this net...): the broker, the login, the
// operator's callsign and the net's name; and what Kelpie remembers of it between runs.
#pragma once

#include <QDialog>

#include "share/share_url.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace kelpie {

class FrmShare : public QDialog {
  Q_OBJECT

 public:
  explicit FrmShare(const share::ShareSettings& start, QWidget* parent = nullptr);

  // What the fields hold (host and net name without outer spaces, the host without brackets).
  share::ShareSettings settings() const;
  void accept() override;

 private:
  void hostEdited();
  void tlsClicked();
  void portEdited();
  void browseCaFile();
  void followTls();
  void refuse(QLineEdit* field, const QString& why);

  QLineEdit* host_ = nullptr;
  QSpinBox* port_ = nullptr;
  QCheckBox* tls_ = nullptr;
  QLineEdit* caFile_ = nullptr;
  QPushButton* browse_ = nullptr;
  QLineEdit* user_ = nullptr;
  QLineEdit* password_ = nullptr;
  QLineEdit* operator_ = nullptr;
  QLineEdit* net_ = nullptr;
  QLineEdit* listeners_ = nullptr;
  QLabel* problem_ = nullptr;
  // Once the operator has set the box or the port himself, the host no longer decides them.
  bool tlsTouched_ = false;
  bool portTouched_ = false;
  bool settingPort_ = false;
  // The listeners' page follows the host until the operator edits it.
  bool listenersTouched_ = false;
};

// Shows the dialog, modal, filled from inOut; on OK sets inOut to what was entered and returns
// true. Cancel (or Esc) leaves inOut as it was.
bool askShareSettings(QWidget* parent, share::ShareSettings& inOut);

// What was entered last time, from QSettings("Kelpie", "Kelpie") under "share/": host, port,
// tls, caFile, user, operator, net and listenersPage. Only remembered fields are set. A remembered net name
// that ends in another day's date (an earlier net's default name) is not taken: today's net
// keeps the name the caller set, so that windows with the same settings meet again.
void loadRememberedShare(share::ShareSettings& s);
// Writes those keys. Never the password: it goes to the keyring or nowhere.
void rememberShare(const share::ShareSettings& s);

}  // namespace kelpie
