#include "platform/qt/password_store.h"

#include <qt6keychain/keychain.h>

#include <QEventLoop>
#include <QInputDialog>
#include <QLineEdit>
#include <QTimer>

namespace kelpie {

namespace {

const QString kService = QStringLiteral("Kelpie");

// Runs a keyring job in a local event loop, at most kKeyringTimeoutMs. The job deletes itself
// when it finishes, even after a timeout; by then nothing of this call is left for it to touch
// (the connection dies with the loop). Keys typed meanwhile stay queued for the window.
bool runJob(QKeychain::Job* job, QString* text) {
  job->setAutoDelete(true);
  job->setInsecureFallback(false);  // never a password in a plain-text settings file
  QEventLoop loop;
  bool done = false, ok = false;
  QObject::connect(job, &QKeychain::Job::finished, &loop, [&](QKeychain::Job* j) {
    done = true;
    ok = j->error() == QKeychain::NoError;
    if (ok && text)
      if (auto* read = qobject_cast<QKeychain::ReadPasswordJob*>(j)) *text = read->textData();
    loop.quit();
  });
  QTimer::singleShot(kKeyringTimeoutMs, &loop, &QEventLoop::quit);
  job->start();
  if (!done) loop.exec(QEventLoop::ExcludeUserInputEvents);
  return done && ok;
}

}  // namespace

QString sharePasswordKey(const share::ShareSettings& s) {
  const QString hostPort = QString::fromStdString(s.host) + u':' + QString::number(s.port);
  return s.user.empty() ? hostPort : QString::fromStdString(s.user) + u'@' + hostPort;
}

bool readSharePassword(const QString& key, QString& out) {
  auto* job = new QKeychain::ReadPasswordJob(kService);
  job->setKey(key);
  QString text;
  if (!runJob(job, &text)) return false;
  out = text;
  return true;
}

bool writeSharePassword(const QString& key, const QString& password) {
  auto* job = new QKeychain::WritePasswordJob(kService);
  job->setKey(key);
  job->setTextData(password);
  return runJob(job, nullptr);
}

void storeSharePasswordLater(const QString& key, const QString& password) {
  auto* job = new QKeychain::WritePasswordJob(kService);
  job->setAutoDelete(true);
  job->setInsecureFallback(false);
  job->setKey(key);
  job->setTextData(password);
  job->start();
}

QString askSharePassword(QWidget* parent, const QString& where) {
  bool ok = false;
  const QString text =
      QInputDialog::getText(parent, QStringLiteral("Share this net"),
                            QStringLiteral("Password of %1 on the broker:").arg(where),
                            QLineEdit::Password, QString(), &ok);
  if (!ok) return QString();
  return text.isNull() ? QStringLiteral("") : text;
}

bool sharePasswordFor(QWidget* parent, share::ShareSettings& s) {
  const QString fromEnvironment = qEnvironmentVariable("KELPIE_SHARE_PASSWORD");
  if (!fromEnvironment.isEmpty()) {
    s.password = fromEnvironment.toStdString();
    return true;
  }
  const QString key = sharePasswordKey(s);
  QString stored;
  if (readSharePassword(key, stored) && !stored.isEmpty()) {
    s.password = stored.toStdString();
    return true;
  }
  const QString asked = askSharePassword(parent, key);
  if (asked.isNull()) return false;
  s.password = asked.toStdString();
  return true;
}

}  // namespace kelpie
