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

// Runs act on the next modal window once it is up (the dialog's own event loop runs it).
static void onModal(std::function<void(QWidget*)> act) {
  QTimer::singleShot(10, [act] {
    QWidget* w = QApplication::activeModalWidget();
    w ? act(w) : onModal(act);
  });
}

template <class W = QLineEdit>
W* named(QWidget* dialog, const char* name) {
  for (W* w : dialog->findChildren<W*>())
    if (w->accessibleName() == QLatin1String(name)) return w;
  throw std::runtime_error(name);
}

static QString link(QWidget* d) {
  return (named<QCheckBox>(d, "Use TLS")->isChecked() ? "TLS " : "plain ") +
         QString::number(named<QSpinBox>(d, "Port")->value());
}

TEST(ShareDialog, TypedWithTheTlsRuleRememberedButThePasswordWhichComesFromItsSources) {
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
            "callsign|Net name|Listeners' page|plain 1883|TLS 8883|plain 1883|TLS 8883|Type the net's name: "
            "every logger of the net uses the same one. open");
  EXPECT_EQ(s.host + "|" + std::to_string(s.port) + (s.tls ? "|TLS|" : "|plain|") + s.user + "|" +
                s.password + "|" + s.operatorCall + "|" + s.net + "|" + s.listenersPage,
            "LocalHost.example.org|8883|TLS|w1abc|w1abc|W1ABC|2m W1AW|"
            "http://LocalHost.example.org:8080/");
  // A page the operator gave stays his, whatever host he types; one that is no web address is
  // refused.
  onModal([&](QWidget* d) {
    QLineEdit* page = named(d, "Listeners' page");
    seen = {page->text()};
    page->selectAll();
    QTest::keyClicks(page, "pi:8080");
    QTest::keyClicks(named(d, "Broker host"), "x");
    QTest::keyClick(d->focusWidget(), Qt::Key_Return);
    seen << named<QLabel>(d, "Problem")->text();
    page->selectAll();
    QTest::keyClicks(page, "https://pi/");
    QTest::keyClick(page, Qt::Key_Return);
  });
  share::ShareSettings other = s;
  ASSERT_TRUE(askShareSettings(nullptr, other));
  EXPECT_EQ(seen.join(u'|').toStdString() + "|" + other.listenersPage,
            "http://LocalHost.example.org:8080/|The listeners' page is an address that starts "
            "with http:// or https://, or nothing.|https://pi/");

  rememberShare(
      {"10.0.0.2", 1884, false, "/ca.pem", "w1abc", "s3cret", "W1ABC", "Club net", "http://p/"});
  QFile file(QSettings("Kelpie", "Kelpie").fileName());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_FALSE(file.readAll().contains("s3cret"));
  share::ShareSettings kept, today;  // what comes back keeps its TLS and port in the dialog
  loadRememberedShare(kept);
  EXPECT_EQ(kept.host + std::to_string(kept.port) + (kept.tls ? "1" : "0") + kept.caFile +
                kept.user + kept.password + kept.operatorCall + kept.net + kept.listenersPage,
            "10.0.0.218840/ca.pemw1abcW1ABCClub nethttp://p/");
  onModal([&](QWidget* d) {
    QTest::keyClicks(named(d, "Broker host"), "0");
    seen = {link(d)};
    QTest::keyClick(d, Qt::Key_Escape);
  });
  EXPECT_FALSE(askShareSettings(nullptr, kept));
  EXPECT_EQ(seen.join(u' ').toStdString() + "|" + kept.host, "plain 1884|10.0.0.2");
  rememberShare({"h", 8883, true, "", "", "", "", "2m W1AW 2000-01-02", ""});  // an earlier day's
  today.net = "2m W1AW today";
  loadRememberedShare(today);
  EXPECT_EQ(today.host + "|" + today.net, "h|2m W1AW today");
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
  for (const auto& [typed, key, result] :
       {std::tuple<QString, Qt::Key, std::string>{"typed", Qt::Key_Return, "OK typed"},
        {"", Qt::Key_Return, "OK "},  // an empty password is one too
        {"", Qt::Key_Escape, "Cancel"}}) {
    QString asked;
    onModal([&](QWidget* d) {
      auto* box = qobject_cast<QInputDialog*>(d);
      asked = box->labelText() + (box->textEchoMode() == QLineEdit::Password ? " hidden" : "");
      QTest::keyClicks(box->findChild<QLineEdit*>(), typed);
      QTest::keyClick(box, key);
    });
    EXPECT_EQ(sharePasswordFor(nullptr, s) ? "OK " + s.password : "Cancel", result);
    EXPECT_EQ(asked.toStdString(),
              "Password of w1abc@LocalHost.example.org:8883 on the broker: hidden");
  }
}

}  // namespace kelpie

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/kelpie-test-bus", 1);  // no keyring
  QStandardPaths::setTestModeEnabled(true);  // nor the real settings: Qt's test folders
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
