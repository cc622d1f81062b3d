// The broker client against a real Mosquitto: what reaches whom, refusals, TLS, restarts.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <QCoreApplication>
#include <QTest>
#include <chrono>
#include <map>

#include "platform/qt/mqtt_link.h"
#include "support/broker.h"

namespace kelpie::test {
namespace {

using namespace std::literals;
using enum LinkState;
using States = std::vector<std::pair<LinkState, std::string>>;
const States kUp{{Connecting, "connecting"}, {Connected, ""}};

struct Peer : ShareListener {
  States states;
  std::map<std::string, std::string> messages;  // the latest payload per topic
  int retainedArrivals = 0;
  std::vector<std::string> refusedWrites;
  std::string goodbye;  // published at the first message, just before stop()
  MqttLink link;

  Peer() { link.setListener(this); }
  void join(const Broker& b, BrokerUser u, const std::string& id, bool will = false) {
    link.start({"127.0.0.1", b.port(), false, "", u.name, u.password, id},
               will ? "kelpie/net/" + id : "", "gone");
    link.subscribe("kelpie/net/#");
  }
  void linkChanged(LinkState s, const std::string& d) override { states.emplace_back(s, d); }
  void messageArrived(const std::string& t, const std::string& p, bool r) override {
    messages[t] = p;
    retainedArrivals += r;
    if (goodbye.empty()) return;
    link.publish(goodbye, "bye", true);
    link.stop();
  }
  void writeRefused(const std::string& t) override { refusedWrites.push_back(t); }
  void subscribeRefused(const std::string&) override {}  // Mosquitto 2.0 grants every filter
};

bool waitFor(const auto& done) { return QTest::qWaitFor(done, 30000); }
bool reaches(const Peer& p, LinkState s) {
  return waitFor([&] { return !p.states.empty() && p.states.back().first == s; });
}

TEST(ShareNet, RetainedMessagesTheWillALateJoinABrokerBackEmptyAndOneThatNeverAnswers) {
  if (!Broker::missing().empty()) GTEST_SKIP() << Broker::missing();
  Broker broker;
  ASSERT_TRUE(broker.start()) << broker.error();
  Peer a, b, late, stopper, p;
  a.join(broker, kLogger1, "a", true);
  ASSERT_TRUE(reaches(a, Connected));
  int aSocket = -1;  // this process's only connection to the broker so far
  for (int fd = 0; fd < 1024; ++fd) {
    sockaddr_in peer{};
    socklen_t len = sizeof peer;
    getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &len);
    if (peer.sin_family == AF_INET && ntohs(peer.sin_port) == broker.port()) aSocket = fd;
  }
  b.join(broker, kLogger2, "b");
  ASSERT_TRUE(reaches(b, Connected));
  std::map<std::string, std::string> all;  // many: more are on their way when one arrives
  for (int i = 0; i < 50; ++i) {
    const std::string topic = "kelpie/net/" + std::to_string(i);
    (i % 2 ? b : a).link.publish(topic, all[topic] = "from " + topic, true);
  }
  ASSERT_TRUE(waitFor([&] { return a.messages == all && b.messages == all; }));
  EXPECT_EQ(b.retainedArrivals, 0);  // live, not from the broker's store

  shutdown(aSocket, SHUT_RDWR);  // as if the computer fell off the network
  all["kelpie/net/a"] = "gone";
  // b gets the will; a comes back on its own, subscribed again.
  ASSERT_TRUE(waitFor([&] { return a.messages == all && b.messages == all; }));
  EXPECT_EQ(a.states, (States{kUp[0], kUp[1], {Connecting, "connection lost, retrying"}, kUp[1]}));

  // The listener may read, not write; it gets the whole net at once, the will included.
  late.join(broker, kListener, "late");
  ASSERT_TRUE(waitFor([&] { return late.messages == all; }));
  EXPECT_EQ(late.retainedArrivals, 51);
  late.link.publish("kelpie/net/late", "no", true);
  ASSERT_TRUE(waitFor([&] { return late.refusedWrites == std::vector{"kelpie/net/late"s}; }));
  EXPECT_EQ(late.states, kUp);

  // Stopped at the first of 51: no call after stop(), no will, but the goodbye just before it.
  stopper.goodbye = "kelpie/net/s";
  stopper.join(broker, kLogger2, "s", true);
  ASSERT_TRUE(
      waitFor([&] { return broker.log().find("Client s disconnected") != std::string::npos; }));
  b.link.publish("kelpie/net/b", "b", true);
  ASSERT_TRUE(waitFor(
      [&] { return b.messages.count("kelpie/net/b") && b.messages.count("kelpie/net/s"); }));
  EXPECT_EQ(stopper.messages.size(), 1u);
  EXPECT_EQ(b.messages.at("kelpie/net/s"), "bye") << broker.log();

  // Killed and back empty: the window publishes all it holds on every connection.
  broker.kill();
  ASSERT_TRUE(reaches(b, Connecting));
  ASSERT_TRUE(broker.start()) << broker.error();
  ASSERT_TRUE(reaches(b, Connected));
  b.link.publish("kelpie/net/b", "again", true);
  ASSERT_TRUE(waitFor([&] { return b.messages["kelpie/net/b"] == "again"; }));

  // A broker that never answers (the kernel still accepts) holds nothing up.
  broker.freeze();
  auto t = std::chrono::steady_clock::now();
  p.join(broker, kLogger1, "p", true);
  p.link.publish("kelpie/net/p", "x", true);
  EXPECT_LT(std::chrono::steady_clock::now() - t, 100ms);
  ASSERT_TRUE(reaches(p, Connecting));
  t = std::chrono::steady_clock::now();
  p.link.stop();
  EXPECT_LT(std::chrono::steady_clock::now() - t, 100ms);
  EXPECT_EQ(p.states, States{kUp[0]});
}

TEST(ShareNet, RefusalsSayWhyTlsChecksTheBrokerAndABrokerBackWithItsStore) {
  if (!Broker::missing().empty()) GTEST_SKIP() << Broker::missing();
  Broker broker(true, true);
  ASSERT_TRUE(broker.start()) << broker.error();
  const int p = broker.port(), t = broker.tlsPort();
  const fs::path dir = broker.folder();
  const std::string ours = dir / "ca.crt", other = dir / "other-ca.crt", none = dir / "none.crt",
                    u = kLogger1.name, pw = kLogger1.password;
  const std::pair<ShareLogin, std::pair<LinkState, std::string>> rows[] = {
      {{"127.0.0.1", p, false, "", u, "no", "1"}, {BadLogin, "wrong user name or password"}},
      {{"127.0.0.1", p, false, "", u, pw, ""}, {NotAllowed, "not allowed"}},
      {{"localhost", t, true, ours, u, pw, "3"}, {Connected, ""}},
      {{"localhost", t, true, other, u, pw, "4"}, {Untrusted, "certificate not trusted"}},
      {{"localhost", t, true, none, u, pw, "5"}, {Untrusted, "cannot read the CA file"}}};
  std::vector<Peer> peers(std::size(rows));
  for (size_t i = 0; i < peers.size(); ++i) {  // one by one: libmosquitto's TLS set-up is racy
    peers[i].link.start(rows[i].first, "", "");
    ASSERT_TRUE(waitFor([&] { return peers[i].states.size() == 2; })) << "row " << i + 1;
  }
  QTest::qWait(1500);  // the first retry would come after 1 s
  for (size_t i = 0; i < peers.size(); ++i)
    EXPECT_EQ(peers[i].states, (States{kUp[0], rows[i].second})) << "row " << i + 1;

  // Killed and back with what it had written to disk: the TLS link comes back on its own.
  Peer& a = peers[2];
  a.link.subscribe("kelpie/net/#");
  a.link.publish("kelpie/net/a", "from a", true);
  std::string db;
  ASSERT_TRUE(
      waitFor([&] { return readBytes(dir / "mosquitto.db", db) && db.find("from a") != db.npos; }));
  broker.kill();
  ASSERT_TRUE(reaches(a, Connecting));
  ASSERT_TRUE(broker.start()) << broker.error();
  ASSERT_TRUE(waitFor([&] { return a.retainedArrivals == 1; }));  // from the broker's store
}

}  // namespace
}  // namespace kelpie::test

// OpenSSL's per-thread random state of a link's ended thread, which LeakSanitizer may catch.
extern "C" const char* __lsan_default_suppressions() { return "leak:libcrypto.so\n"; }

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
