#include "dialogs/frm_share.h"

#include <QCheckBox>
#include <QDate>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSpinBox>
#include <QVBoxLayout>

namespace kelpie {

namespace {

QString fromUtf8(const std::string& s) { return QString::fromStdString(s); }

QLineEdit* lineEdit(QWidget* parent, const QString& accessibleName, const std::string& text) {
  auto* edit = new QLineEdit(fromUtf8(text), parent);
  edit->setAccessibleName(accessibleName);
  return edit;
}

int defaultPort(bool tls) { return tls ? 8883 : 1883; }

// A host typed with the brackets of an address ("[::1]") is kept without them, as the
// broker's client wants it.
QString bareHost(QString host) {
  host = host.trimmed();
  if (host.size() >= 2 && host.startsWith(u'[') && host.endsWith(u']'))
    host = host.mid(1, host.size() - 2);
  return host;
}

}  // namespace

FrmShare::FrmShare(const share::ShareSettings& start, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Share this net"));
  setModal(true);

  host_ = lineEdit(this, QStringLiteral("Broker host"), start.host);
  port_ = new QSpinBox(this);
  port_->setRange(1, 65535);
  port_->setValue(start.port >= 1 && start.port <= 65535 ? start.port : defaultPort(start.tls));
  port_->setAccessibleName(QStringLiteral("Port"));
  tls_ = new QCheckBox(QStringLiteral("Use &TLS"), this);
  tls_->setChecked(start.tls);
  tls_->setAccessibleName(QStringLiteral("Use TLS"));
  caFile_ = lineEdit(this, QStringLiteral("CA file"), start.caFile);
  caFile_->setPlaceholderText(QStringLiteral("the system's certificate authorities"));
  browse_ = new QPushButton(QStringLiteral("&Browse..."), this);
  browse_->setAccessibleName(QStringLiteral("Browse for the CA file"));
  user_ = lineEdit(this, QStringLiteral("User name"), start.user);
  password_ = lineEdit(this, QStringLiteral("Password"), start.password);
  password_->setEchoMode(QLineEdit::Password);
  operator_ = lineEdit(this, QStringLiteral("Your callsign"), start.operatorCall);
  net_ = lineEdit(this, QStringLiteral("Net name"), start.net);
  listeners_ = lineEdit(this, QStringLiteral("Listeners' page"),
                        start.listenersPage.empty() ? share::defaultListenersPage(start.host)
                                                    : start.listenersPage);
  listenersTouched_ = !start.listenersPage.empty() &&
                      start.listenersPage != share::defaultListenersPage(start.host);
  problem_ = new QLabel(this);
  problem_->setWordWrap(true);
  problem_->setAccessibleName(QStringLiteral("Problem"));

  // Settings that do not follow the rule were chosen by the operator on an earlier share.
  const std::string host = bareHost(host_->text()).toStdString();
  tlsTouched_ = !host.empty() && start.tls == share::isLocalHost(host);
  portTouched_ = port_->value() != defaultPort(tls_->isChecked());

  auto* form = new QFormLayout;
  auto addRow = [&](const QString& label, QWidget* field, QLayout* row = nullptr) {
    auto* caption = new QLabel(label, this);
    caption->setBuddy(field);
    if (row)
      form->addRow(caption, row);
    else
      form->addRow(caption, field);
  };
  addRow(QStringLiteral("Broker &host:"), host_);
  addRow(QStringLiteral("&Port:"), port_);
  form->addRow(QString(), tls_);
  auto* caRow = new QHBoxLayout;
  caRow->addWidget(caFile_, 1);
  caRow->addWidget(browse_);
  addRow(QStringLiteral("&CA file (optional):"), caFile_, caRow);
  addRow(QStringLiteral("&User name:"), user_);
  addRow(QStringLiteral("Pass&word:"), password_);
  addRow(QStringLiteral("Your call&sign:"), operator_);
  addRow(QStringLiteral("&Net name:"), net_);
  addRow(QStringLiteral("&Listeners' page (optional):"), listeners_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
  ok->setDefault(true);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(problem_);
  layout->addWidget(buttons);

  QWidget* order[] = {host_,
                      port_,
                      tls_,
                      caFile_,
                      browse_,
                      user_,
                      password_,
                      operator_,
                      net_,
                      listeners_,
                      ok,
                      buttons->button(QDialogButtonBox::Cancel)};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

  connect(host_, &QLineEdit::textEdited, this, &FrmShare::hostEdited);
  connect(tls_, &QCheckBox::clicked, this, &FrmShare::tlsClicked);
  connect(listeners_, &QLineEdit::textEdited, this, [this] { listenersTouched_ = true; });
  connect(port_, &QSpinBox::valueChanged, this, &FrmShare::portEdited);
  connect(browse_, &QPushButton::clicked, this, &FrmShare::browseCaFile);
  connect(buttons, &QDialogButtonBox::accepted, this, &FrmShare::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &FrmShare::reject);
  host_->setFocus();
}

void FrmShare::hostEdited() {
  const std::string host = bareHost(host_->text()).toStdString();
  if (!tlsTouched_) tls_->setChecked(!share::isLocalHost(host));
  followTls();
  if (!listenersTouched_) listeners_->setText(fromUtf8(share::defaultListenersPage(host)));
}

void FrmShare::tlsClicked() {
  tlsTouched_ = true;
  followTls();
}

void FrmShare::portEdited() {
  if (!settingPort_) portTouched_ = true;
}

void FrmShare::followTls() {
  if (portTouched_) return;
  settingPort_ = true;
  port_->setValue(defaultPort(tls_->isChecked()));
  settingPort_ = false;
}

void FrmShare::browseCaFile() {
  const QString start = caFile_->text().trimmed();
  const QString chosen = QFileDialog::getOpenFileName(
      this, QStringLiteral("CA file of the broker"),
      start.isEmpty() ? QString() : QFileInfo(start).absolutePath(),
      QStringLiteral("Certificates (*.pem *.crt *.cer);;All files (*)"));
  if (!chosen.isEmpty()) caFile_->setText(chosen);
  caFile_->setFocus();
}

share::ShareSettings FrmShare::settings() const {
  share::ShareSettings s;
  s.host = bareHost(host_->text()).toStdString();
  s.port = port_->value();
  s.tls = tls_->isChecked();
  s.caFile = caFile_->text().trimmed().toStdString();
  s.user = user_->text().trimmed().toStdString();
  s.password = password_->text().toStdString();
  s.operatorCall = operator_->text().trimmed().toUpper().toStdString();
  s.net = net_->text().trimmed().toStdString();
  s.listenersPage = listeners_->text().trimmed().toStdString();
  return s;
}

void FrmShare::refuse(QLineEdit* field, const QString& why) {
  problem_->setText(why);
  field->setAccessibleDescription(why);  // a screen reader says it with the field it lands on
  field->setFocus();
  field->selectAll();
}

void FrmShare::accept() {
  for (QLineEdit* field : {host_, caFile_, net_, listeners_})
    field->setAccessibleDescription(QString());
  const share::ShareSettings s = settings();
  if (s.host.empty())
    return refuse(host_, QStringLiteral("Type the broker's host name or address."));
  // The host must be one the share address could name; the core's reading of it decides.
  const std::string hostPart = s.host.find(':') != std::string::npos ? "[" + s.host + "]" : s.host;
  share::ShareSettings probe;
  std::string error;
  if (!share::parseShareUrl("mqtt://" + hostPart + "/n", probe, error))
    return refuse(host_,
                  QStringLiteral("\"%1\" is not a host name or address.").arg(fromUtf8(s.host)));
  if (!s.caFile.empty() && !QFileInfo(fromUtf8(s.caFile)).isReadable())
    return refuse(caFile_,
                  QStringLiteral("Kelpie cannot read the CA file %1.").arg(fromUtf8(s.caFile)));
  if (s.net.empty())
    return refuse(net_, QStringLiteral("Type the net's name: every logger of the net uses the "
                                       "same one."));
  const QString page = fromUtf8(s.listenersPage);
  if (!page.isEmpty() && !page.startsWith(QLatin1String("http://")) &&
      !page.startsWith(QLatin1String("https://")))
    return refuse(listeners_, QStringLiteral("The listeners' page is an address that starts with "
                                             "http:// or https://, or nothing."));
  problem_->clear();
  QDialog::accept();
}

bool askShareSettings(QWidget* parent, share::ShareSettings& inOut) {
  FrmShare dialog(inOut, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  inOut = dialog.settings();
  return true;
}

void loadRememberedShare(share::ShareSettings& s) {
  QSettings settings(QStringLiteral("Kelpie"), QStringLiteral("Kelpie"));
  settings.beginGroup(QStringLiteral("share"));
  auto text = [&](const char* key, std::string& field) {
    if (settings.contains(QLatin1String(key)))
      field = settings.value(QLatin1String(key)).toString().toStdString();
  };
  text("host", s.host);
  if (settings.contains(QStringLiteral("port"))) {
    const int port = settings.value(QStringLiteral("port")).toInt();
    if (port >= 1 && port <= 65535) s.port = port;
  }
  if (settings.contains(QStringLiteral("tls")))
    s.tls = settings.value(QStringLiteral("tls")).toBool();
  text("caFile", s.caFile);
  text("user", s.user);
  text("operator", s.operatorCall);
  text("listenersPage", s.listenersPage);
  const QString net = settings.value(QStringLiteral("net")).toString();
  static const QRegularExpression dated(QStringLiteral(" (\\d{4}-\\d{2}-\\d{2})$"));
  const QRegularExpressionMatch m = dated.match(net);
  const bool earlierDefault =
      m.hasMatch() && m.captured(1) != QDate::currentDate().toString(Qt::ISODate);
  if (!net.isEmpty() && !earlierDefault) s.net = net.toStdString();
}

void rememberShare(const share::ShareSettings& s) {
  QSettings settings(QStringLiteral("Kelpie"), QStringLiteral("Kelpie"));
  settings.beginGroup(QStringLiteral("share"));
  settings.setValue(QStringLiteral("host"), fromUtf8(s.host));
  settings.setValue(QStringLiteral("port"), s.port);
  settings.setValue(QStringLiteral("tls"), s.tls);
  settings.setValue(QStringLiteral("caFile"), fromUtf8(s.caFile));
  settings.setValue(QStringLiteral("user"), fromUtf8(s.user));
  settings.setValue(QStringLiteral("operator"), fromUtf8(s.operatorCall));
  settings.setValue(QStringLiteral("net"), fromUtf8(s.net));
  settings.setValue(QStringLiteral("listenersPage"), fromUtf8(s.listenersPage));
}

}  // namespace kelpie
