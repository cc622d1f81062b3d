// The broker client against a real Mosquitto on 127.0.0.1: retained messages, late joins, the
// will, a broker that dies and comes back, refused logins, TLS, and a window that never waits.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <algorithm>
#include <functional>
#include <map>

#include "platform/qt/mqtt_link.h"
#include "support/broker.h"

namespace kelpie::test {
namespace {

#define START_BROKER(broker)                                                 \
  if (const auto why = Broker::missing(); !why.empty()) GTEST_SKIP() << why; \
  ASSERT_TRUE((broker).start()) << (broker).error()

using States = std::vector<std::pair<LinkState, std::string>>;

struct Peer : ShareListener {
  States states;
  std::map<std::string, std::string> messages;  // the latest payload per topic
  std::map<std::string, bool> retained;
  int arrivals = 0;
  std::vector<std::string> refusedWrites;
  std::function<void()> onMessage;
  MqttLink link;

  Peer() { link.setListener(this); }
  LinkState state() const { return states.empty() ? LinkState::Off : states.back().first; }
  void linkChanged(LinkState s, const std::string& d) override { states.emplace_back(s, d); }
  void messageArrived(const std::string& t, const std::string& p, bool r) override {
    messages[t] = p;
    retained[t] = r;
    ++arrivals;
    if (onMessage) onMessage();
  }
  void writeRefused(const std::string& t) override { refusedWrites.push_back(t); }
  void subscribeRefused(const std::string&) override {}  // Mosquitto 2.0 grants every filter
};

// TLS goes to localhost, the only name on the broker's certificate.
ShareLogin login(const Broker& b, BrokerUser u, const std::string& id, bool tls = false) {
  return {tls ? "localhost" : "127.0.0.1",
          tls ? b.tlsPort() : b.port(),
          tls,
          tls ? b.caFile().string() : "",
          u.name,
          u.password,
          id};
}
bool waitFor(std::function<bool()> done) { return QTest::qWaitFor(done, 30000); }
bool connected(std::vector<const Peer*> peers) {
  return waitFor([=] {
    return std::all_of(peers.begin(), peers.end(),
                       [](const Peer* p) { return p->state() == LinkState::Connected; });
  });
}
// This process's only TCP connection to the port, or -1.
int socketTo(int port) {
  int found = -1, count = 0;
  for (int fd = 0; fd < 1024; ++fd) {
    sockaddr_in peer{};
    socklen_t len = sizeof peer;
    if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &len) == 0 &&
        peer.sin_family == AF_INET && ntohs(peer.sin_port) == port)
      found = fd, ++count;
  }
  return count == 1 ? found : -1;
}

TEST(ShareNet, RetainedMessagesTheWillAndALateJoin) {
  Broker broker;
  START_BROKER(broker);
  Peer a, b, late, stopper;
  a.link.start(login(broker, kLogger1, "a"), "kelpie/net/a", "gone");
  a.link.subscribe("kelpie/net/#");
  ASSERT_TRUE(connected({&a}));
  const int aSocket = socketTo(broker.port());
  ASSERT_GE(aSocket, 0);
  b.link.start(login(broker, kLogger2, "b"), "", "");
  b.link.subscribe("kelpie/net/#");
  ASSERT_TRUE(connected({&b}));
  std::map<std::string, std::string> all;  // many: more are on their way when one arrives
  for (int i = 0; i < 50; ++i) {
    const std::string topic = "kelpie/net/" + std::to_string(i);
    (i % 2 ? b : a).link.publish(topic, "from " + topic, true);
    all[topic] = "from " + topic;
  }
  ASSERT_TRUE(waitFor([&] { return a.messages == all && b.messages == all; }));
  EXPECT_FALSE(b.retained["kelpie/net/0"]);  // live, not from the broker's store

  shutdown(aSocket, SHUT_RDWR);  // as if the computer fell off the network
  all["kelpie/net/a"] = "gone";
  ASSERT_TRUE(waitFor([&] { return b.messages == all; }));
  ASSERT_TRUE(waitFor([&] { return a.messages == all; }));  // back on its own, subscribed again
  EXPECT_EQ(a.states, (States{{LinkState::Connecting, "connecting"},
                              {LinkState::Connected, ""},
                              {LinkState::Connecting, "connection lost, retrying"},
                              {LinkState::Connected, ""}}));

  // The listener may read, not write; it gets the whole net at once, the will included.
  late.link.start(login(broker, kListener, "late"), "", "");
  late.link.subscribe("kelpie/net/#");
  ASSERT_TRUE(waitFor([&] { return late.messages == all; }));
  EXPECT_EQ(std::count_if(late.retained.begin(), late.retained.end(),
                          [](const auto& r) { return r.second; }),
            51);
  late.link.publish("kelpie/net/late", "no", true);
  ASSERT_TRUE(waitFor([&] { return !late.refusedWrites.empty(); }));
  EXPECT_EQ(late.refusedWrites, std::vector<std::string>{"kelpie/net/late"});
  EXPECT_EQ(late.states,
            (States{{LinkState::Connecting, "connecting"}, {LinkState::Connected, ""}}));

  stopper.onMessage = [&] { stopper.link.stop(); };  // no listener call after stop()
  stopper.link.start(login(broker, kLogger2, "stopper"), "", "");
  stopper.link.subscribe("kelpie/net/#");
  ASSERT_TRUE(waitFor([&] { return stopper.arrivals > 0; }));
  QTest::qWait(300);  // the other 50 were on their way
  EXPECT_EQ(stopper.arrivals, 1);

  // Stopping is no loss: the broker drops the will.
  a.link.publish("kelpie/net/a", "here", true);
  ASSERT_TRUE(waitFor([&] { return b.messages["kelpie/net/a"] == "here"; }));
  a.link.stop();
  ASSERT_TRUE(
      waitFor([&] { return broker.log().find("Client a disconnected") != std::string::npos; }));
  b.link.publish("kelpie/net/b", "b", true);
  ASSERT_TRUE(waitFor([&] { return b.messages.count("kelpie/net/b"); }));
  EXPECT_EQ(b.messages["kelpie/net/a"], "here");
}

class BrokerBack : public testing::TestWithParam<bool> {};

TEST_P(BrokerBack, TheLinksReconnectOnTheirOwnAndTheNetIsBack) {
  const bool persistence = GetParam();  // the persistent broker is also reached over TLS
  Broker broker({.persistence = persistence, .tls = persistence});
  START_BROKER(broker);
  Peer a, b;
  a.link.start(login(broker, kLogger1, "a", persistence), "", "");
  ASSERT_TRUE(connected({&a}));  // one first: see below
  b.link.start(login(broker, kLogger2, "b", persistence), "", "");
  b.link.subscribe("kelpie/net/#");
  ASSERT_TRUE(connected({&a, &b}));
  a.link.publish("kelpie/net/a", "from a", true);
  ASSERT_TRUE(waitFor([&] { return b.arrivals == 1; }));
  std::string db;  // a broker killed keeps what it wrote to disk by then
  ASSERT_TRUE(waitFor([&] {
    return !persistence ||
           (readBytes(broker.folder() / "mosquitto.db", db) && db.find("from a") != db.npos);
  }));
  broker.kill();
  ASSERT_TRUE(waitFor(
      [&] { return a.state() == LinkState::Connecting && b.state() == LinkState::Connecting; }));
  ASSERT_TRUE(broker.start()) << broker.error();
  ASSERT_TRUE(connected({&a, &b}));
  // A broker that kept its store hands the line out again; an empty one gets it from the
  // window, which publishes all it holds on every connection.
  if (!persistence) a.link.publish("kelpie/net/a", "from a", true);
  ASSERT_TRUE(waitFor([&] { return b.arrivals == 2; }));
  EXPECT_EQ(b.retained["kelpie/net/a"], persistence);
}

INSTANTIATE_TEST_SUITE_P(Persistence, BrokerBack, testing::Bool());

TEST(ShareNet, ARefusedLinkSaysWhyAndDoesNotRetry) {
  Broker broker({.tls = true});
  START_BROKER(broker);
  const int p = broker.port(), t = broker.tlsPort();
  const std::string ours = broker.caFile(), other = broker.otherCaFile(),
                    none = broker.folder() / "none.crt", pw = kLogger1.password,
                    untrusted = "certificate not trusted";
  const std::pair<ShareLogin, std::pair<LinkState, std::string>> rows[] = {
      {{"127.0.0.1", p, false, "", "logger1", "nope", "1"},
       {LinkState::BadLogin, "wrong user name or password"}},
      {{"127.0.0.1", p, false, "", "logger1", pw, ""}, {LinkState::NotAllowed, "not allowed"}},
      {{"localhost", t, true, ours, "logger1", pw, "3"}, {LinkState::Connected, ""}},
      {{"localhost", t, true, other, "logger1", pw, "4"}, {LinkState::Untrusted, untrusted}},
      {{"127.0.0.1", t, true, ours, "logger1", pw, "5"}, {LinkState::Untrusted, untrusted}},
      {{"localhost", t, true, "", "logger1", pw, "6"}, {LinkState::Untrusted, untrusted}},
      {{"localhost", t, true, none, "logger1", pw, "7"},
       {LinkState::Untrusted, "cannot read the CA file"}}};
  std::vector<Peer> peers(std::size(rows));
  // libmosquitto sets up TLS on a first connection, and leaks when two race there.
  peers[2].link.start(rows[2].first, "", "");
  ASSERT_TRUE(connected({&peers[2]}));
  for (size_t i = 0; i < peers.size(); ++i)
    if (i != 2) peers[i].link.start(rows[i].first, "", "");
  ASSERT_TRUE(waitFor([&] {
    return std::none_of(peers.begin(), peers.end(),
                        [](const Peer& p) { return p.states.size() < 2; });
  }));
  QTest::qWait(1500);  // the first retry would come after 1 s
  for (size_t i = 0; i < peers.size(); ++i)
    EXPECT_EQ(peers[i].states, (States{{LinkState::Connecting, "connecting"}, rows[i].second}))
        << "row " << i + 1;
}

TEST(ShareNet, AnAddressThatNeverAnswersHoldsNothingUp) {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof at;
  ASSERT_EQ(bind(s, reinterpret_cast<sockaddr*>(&at), len), 0);
  ASSERT_EQ(listen(s, 4), 0);  // the kernel accepts; nobody ever reads
  getsockname(s, reinterpret_cast<sockaddr*>(&at), &len);
  Peer p;
  QElapsedTimer t;
  t.start();
  p.link.start({"127.0.0.1", ntohs(at.sin_port), false, "", "u", "p", "p"}, "kelpie/w", "gone");
  p.link.subscribe("kelpie/#");
  p.link.publish("kelpie/x", "x", true);
  EXPECT_LT(t.elapsed(), 100);
  ASSERT_TRUE(waitFor([&] { return p.state() == LinkState::Connecting; }));
  t.restart();
  p.link.stop();
  EXPECT_LT(t.elapsed(), 100);
  close(s);
}

}  // namespace
}  // namespace kelpie::test

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
