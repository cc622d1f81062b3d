// The "Share this net" dialog typed into from the keyboard, what Kelpie remembers of it (never
// the password), and where the password comes from when no keyring runs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <functional>

#include "dialogs/frm_share.h"
#include "platform/qt/password_store.h"

namespace kelpie {
namespace {

// Runs act on the next modal window once it is up (the dialog's own event loop runs it).
void onModal(std::function<void(QWidget*)> act) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, [poll, act] {
    if (QWidget* w = QApplication::activeModalWidget()) poll->deleteLater(), poll->stop(), act(w);
  });
  poll->start(10);
}

template <class W = QLineEdit>
W* named(QWidget* dialog, const char* name) {
  for (W* w : dialog->findChildren<W*>())
    if (w->accessibleName() == QLatin1String(name)) return w;
  throw std::runtime_error(name);
}

// The TLS box and the port as the dialog shows them: "TLS 8883" or "plain 1883".
QString link(QWidget* d) {
  return (named<QCheckBox>(d, "Use TLS")->isChecked() ? "TLS " : "plain ") +
         QString::number(named<QSpinBox>(d, "Port")->value());
}

TEST(ShareDialog, TypedFromTheKeyboardWithTheTlsRule) {
  share::ShareSettings s;  // nothing remembered: TLS on, 8883
  QStringList seen;
  onModal([&](QWidget* d) {
    QWidget* focus = d->focusWidget();
    for (int i = 0; i < 10; ++i, QTest::keyClick(focus, Qt::Key_Tab), focus = d->focusWidget())
      seen << (focus->accessibleName().isEmpty() ? focus->property("text").toString()
                                                 : focus->accessibleName());
    QLineEdit* host = named(d, "Broker host");
    host->setFocus();  // back where the operator types, so Enter means OK
    for (const char* typed : {"LocalHost", "x", "\b", " ", ".example.org"}) {
      if (*typed == ' ')  // the operator's own choice: TLS stays as he sets it
        QTest::keyClick(named<QCheckBox>(d, "Use TLS"), Qt::Key_Space);
      else
        QTest::keyClicks(host, typed), seen << link(d);
    }
    QTest::keyClick(host, Qt::Key_Return);  // no net name yet: refused in the dialog
    seen << named<QLabel>(d, "Problem")->text() + (d->isVisible() ? " open" : " closed");
    for (const char* field : {"User name", "Password", "Your callsign"})
      QTest::keyClicks(named(d, field), "w1abc");
    QTest::keyClicks(named(d, "Net name"), " 2m W1AW ");
    QTest::keyClick(d->focusWidget(), Qt::Key_Return);
  });
  ASSERT_TRUE(askShareSettings(nullptr, s));
  EXPECT_EQ(seen.join(u'|').toStdString(),
            "Broker host|Port|Use TLS|CA file|Browse for the CA file|User name|Password|Your "
            "callsign|Net name|OK|plain 1883|TLS 8883|plain 1883|TLS 8883|Type the net's name: "
            "every logger of the net uses the same one. open");
  EXPECT_EQ(s.host + "|" + std::to_string(s.port) + (s.tls ? "|TLS|" : "|plain|") + s.user + "|" +
                s.password + "|" + s.operatorCall + "|" + s.net,
            "LocalHost.example.org|8883|TLS|w1abc|w1abc|W1ABC|2m W1AW");

  share::ShareSettings kept{"10.0.0.2", 1884, false, "", "", "", "", "net"};  // chosen earlier
  onModal([&](QWidget* d) {
    QTest::keyClicks(named(d, "Broker host"), "0");
    seen = {link(d)};
    QTest::keyClick(d, Qt::Key_Escape);
  });
  EXPECT_FALSE(askShareSettings(nullptr, kept));
  EXPECT_EQ(seen.join(u' ').toStdString() + "|" + kept.host, "plain 1884|10.0.0.2");
}

TEST(ShareDialog, RemembersAllButThePassword) {
  rememberShare({"[::1]", 1883, false, "/ca.pem", "w1abc", "s3cret", "W1ABC", "Club net"});
  QFile file(QSettings(QStringLiteral("Kelpie"), QStringLiteral("Kelpie")).fileName());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_FALSE(file.readAll().contains("s3cret"));
  share::ShareSettings back;
  loadRememberedShare(back);
  EXPECT_EQ(back.host + std::to_string(back.port) + (back.tls ? "1" : "0") + back.caFile +
                back.user + back.password + back.operatorCall + back.net,
            "[::1]18830/ca.pemw1abcW1ABCClub net");
  rememberShare({"h", 8883, true, "", "", "", "", "2m W1AW 2000-01-02"});  // an earlier day's
  share::ShareSettings today;
  today.net = "2m W1AW today";
  loadRememberedShare(today);
  EXPECT_EQ(today.host + "|" + today.net, "h|2m W1AW today");
}

TEST(SharePassword, EnvironmentThenKeyringThenAsked) {
  share::ShareSettings s{"broker.org", 8883, true, "", "w1abc", "", "", "n"};
  qputenv("KELPIE_SHARE_PASSWORD", "from env");
  ASSERT_TRUE(sharePasswordFor(nullptr, s));
  EXPECT_EQ(s.password, "from env");
  qunsetenv("KELPIE_SHARE_PASSWORD");
  QString out = "untouched";
  QElapsedTimer clock;
  clock.start();
  EXPECT_FALSE(readSharePassword(sharePasswordKey(s), out));  // no keyring on this bus
  EXPECT_LT(clock.elapsed(), 4 * kKeyringTimeoutMs);          // answered, or gave up in time
  EXPECT_EQ(out.toStdString(), "untouched");
  QString asked;
  onModal([&](QWidget* d) {
    auto* box = qobject_cast<QInputDialog*>(d);
    asked = box->labelText() + (box->textEchoMode() == QLineEdit::Password ? " hidden" : "");
    QTest::keyClicks(box->findChild<QLineEdit*>(), "typed");
    QTest::keyClick(box->findChild<QLineEdit*>(), Qt::Key_Return);
  });
  ASSERT_TRUE(sharePasswordFor(nullptr, s));
  EXPECT_EQ(asked.toStdString() + "|" + s.password,
            "Password of w1abc@broker.org:8883 on the broker: hidden|typed");
  for (const auto key : {Qt::Key_Return, Qt::Key_Escape}) {  // an empty password is one too
    onModal([key](QWidget* d) { QTest::keyClick(d, key); });
    EXPECT_EQ(sharePasswordFor(nullptr, s) ? "OK " + s.password : "Cancel",
              key == Qt::Key_Return ? "OK " : "Cancel");
  }
}

}  // namespace
}  // namespace kelpie

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // No real keyring and no real settings are ever touched: a bus that is not there, and Qt's
  // test folders for QSettings.
  setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/kelpie-test-bus", 1);
  QStandardPaths::setTestModeEnabled(true);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
