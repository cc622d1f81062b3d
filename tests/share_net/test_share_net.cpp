// The broker client against a real Mosquitto on 127.0.0.1: retained messages, late joins, a
// broker that dies and comes back, refused logins, TLS, the will, and a window that never waits.
#include <arpa/inet.h>
#include <dirent.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <algorithm>
#include <functional>
#include <map>
#include <set>

#include "platform/qt/mqtt_link.h"
#include "support/broker.h"

namespace kelpie::test {
namespace {

constexpr int kBoundMs = 30000;  // generous: the machine may be busy compiling

#define START_BROKER(broker)                                                 \
  if (const auto why = Broker::missing(); !why.empty()) GTEST_SKIP() << why; \
  ASSERT_TRUE((broker).start()) << (broker).error()

struct Peer : ShareListener {
  std::vector<std::pair<LinkState, std::string>> states;
  std::map<std::string, std::string> messages;  // the latest payload per topic
  std::map<std::string, bool> retained;
  int arrivals = 0;
  std::vector<std::string> refusedWrites;
  std::function<void()> onMessage;
  bool tls = false;
  MqttLink link;

  Peer() { link.setListener(this); }
  void start(const Broker& b, BrokerUser u, const std::string& id, const std::string& will = {}) {
    link.start({"127.0.0.1", tls ? b.tlsPort() : b.port(), tls, tls ? b.caFile() : "", u.name,
                u.password, id},
               will, "gone");
  }
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

bool waitFor(std::function<bool()> done) { return QTest::qWaitFor(done, kBoundMs); }
bool connected(std::vector<const Peer*> peers) {
  return waitFor([=] {
    return std::all_of(peers.begin(), peers.end(),
                       [](const Peer* p) { return p->state() == LinkState::Connected; });
  });
}

TEST(ShareNet, RetainedMessagesReachEveryLinkAndALateJoin) {
  Broker broker;
  START_BROKER(broker);
  Peer a, b;
  a.start(broker, kLogger1, "a");
  b.start(broker, kLogger2, "b");
  a.link.subscribe("kelpie/net/#");
  b.link.subscribe("kelpie/net/#");
  ASSERT_TRUE(connected({&a, &b}));
  a.link.publish("kelpie/net/a", "from a", true);
  b.link.publish("kelpie/net/b", "from b", true);
  const std::map<std::string, std::string> both{{"kelpie/net/a", "from a"},
                                                {"kelpie/net/b", "from b"}};
  ASSERT_TRUE(waitFor([&] { return a.messages == both && b.messages == both; }));
  EXPECT_FALSE(b.retained["kelpie/net/a"]);  // live, not from the broker's store

  // The listener may read, not write; it gets the whole net at once.
  Peer late;
  late.start(broker, kListener, "late");
  late.link.subscribe("kelpie/net/#");
  ASSERT_TRUE(waitFor([&] { return late.messages == both; }));
  EXPECT_TRUE(late.retained["kelpie/net/a"] && late.retained["kelpie/net/b"]);
  late.link.publish("kelpie/net/late", "no", true);
  ASSERT_TRUE(waitFor([&] { return !late.refusedWrites.empty(); }));
  EXPECT_EQ(late.refusedWrites, std::vector<std::string>{"kelpie/net/late"});
  EXPECT_EQ(late.states, (decltype(late.states){{LinkState::Connecting, "connecting"},
                                                {LinkState::Connected, ""}}));
}

class BrokerBack : public testing::TestWithParam<bool> {};

TEST_P(BrokerBack, TheLinksReconnectOnTheirOwnAndTheNetIsBack) {
  const bool persistence = GetParam();
  // The persistent broker is also reached over TLS: that connection comes back as well.
  Broker broker({.persistence = persistence, .tls = persistence});
  START_BROKER(broker);
  Peer a, b;
  a.tls = b.tls = persistence;
  a.start(broker, kLogger1, "a");
  b.start(broker, kLogger2, "b");
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
  EXPECT_TRUE(b.retained["kelpie/net/a"] == persistence);
}

INSTANTIATE_TEST_SUITE_P(Persistence, BrokerBack, testing::Bool());

struct Refusal {
  const char* name;
  BrokerUser user;
  const char* id;  // empty: the broker's configuration refuses it
  int ca;  // 0 no TLS, 1 the broker's CA, 2 an unknown CA, 3 a CA file that is not there, 4 the
           // broker's CA on a certificate for another host, 5 the system's CAs
  LinkState state;
  const char* detail;
};

class Refused : public testing::TestWithParam<Refusal> {};

TEST_P(Refused, SaysWhyAndDoesNotRetry) {
  const Refusal& row = GetParam();
  Broker broker({.tls = row.ca != 0, .foreignName = row.ca == 4});
  START_BROKER(broker);
  Peer p;
  const std::filesystem::path ca[] = {
      "", broker.caFile(), broker.otherCaFile(), broker.folder() / "none.crt", broker.caFile(), ""};
  p.link.start({"127.0.0.1", row.ca ? broker.tlsPort() : broker.port(), row.ca != 0, ca[row.ca],
                row.user.name, row.user.password, row.id},
               "", "");
  ASSERT_TRUE(
      waitFor([&] { return p.state() != LinkState::Connecting && p.state() != LinkState::Off; }));
  EXPECT_EQ(p.states.back(), std::make_pair(row.state, std::string(row.detail)));
  if (row.state == LinkState::Connected) return;
  QTest::qWait(1500);  // the first retry would come after 1 s
  EXPECT_EQ(p.states.size(), 2u);
}

constexpr const char* kBadLogin = "wrong user name or password";
INSTANTIATE_TEST_SUITE_P(
    Rows, Refused,
    testing::Values(
        Refusal{"WrongPassword", {"logger1", "nope"}, "p", 0, LinkState::BadLogin, kBadLogin},
        Refusal{"UnknownUser", {"nobody", "nope"}, "p", 0, LinkState::BadLogin, kBadLogin},
        Refusal{"NoClientId", kLogger1, "", 0, LinkState::NotAllowed, "not allowed"},
        Refusal{"TheBrokersCa", kLogger1, "p", 1, LinkState::Connected, ""},
        Refusal{"UnknownCa", kLogger1, "p", 2, LinkState::Untrusted, "certificate not trusted"},
        Refusal{"NameNotOnCertificate", kLogger1, "p", 4, LinkState::Untrusted,
                "certificate not trusted"},
        Refusal{"SystemCas", kLogger1, "p", 5, LinkState::Untrusted, "certificate not trusted"},
        Refusal{"MissingCaFile", kLogger1, "p", 3, LinkState::Untrusted,
                "cannot read the CA file"}),
    [](const auto& info) { return std::string(info.param.name); });

// This process's TCP connections to a port.
std::set<int> socketsTo(int port) {
  std::set<int> found;
  DIR* d = opendir("/proc/self/fd");
  while (dirent* e = readdir(d)) {
    const int fd = atoi(e->d_name);
    sockaddr_in peer{};
    socklen_t len = sizeof peer;
    if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &len) == 0 &&
        peer.sin_family == AF_INET && ntohs(peer.sin_port) == port)
      found.insert(fd);
  }
  closedir(d);
  return found;
}

TEST(ShareNet, TheWillIsPublishedWhenTheConnectionDrops) {
  Broker broker;
  START_BROKER(broker);
  Peer a, b;
  b.start(broker, kLogger2, "b");
  b.link.subscribe("kelpie/net/here/#");
  ASSERT_TRUE(connected({&b}));
  const auto before = socketsTo(broker.port());
  a.start(broker, kLogger1, "a", "kelpie/net/here/a");
  ASSERT_TRUE(connected({&a}));
  a.link.publish("kelpie/net/here/a", "here", true);
  ASSERT_TRUE(waitFor([&] { return b.messages["kelpie/net/here/a"] == "here"; }));
  auto mine = socketsTo(broker.port());
  for (int fd : before) mine.erase(fd);
  ASSERT_EQ(mine.size(), 1u);
  shutdown(*mine.begin(), SHUT_RDWR);  // as if the computer fell off the network
  ASSERT_TRUE(waitFor([&] { return b.messages["kelpie/net/here/a"] == "gone"; }));
  Peer late;  // the will stays for those who come later
  late.start(broker, kListener, "late");
  late.link.subscribe("kelpie/net/here/a");
  ASSERT_TRUE(waitFor([&] { return late.messages["kelpie/net/here/a"] == "gone"; }));
  ASSERT_TRUE(waitFor([&] { return a.states.size() == 4; }));  // and back on its own
  EXPECT_EQ(a.states[2],
            std::make_pair(LinkState::Connecting, std::string("connection lost, retrying")));
  EXPECT_EQ(a.state(), LinkState::Connected);

  // Stopping is no loss: the broker drops the will.
  a.link.publish("kelpie/net/here/a", "here", true);
  ASSERT_TRUE(waitFor([&] { return b.messages["kelpie/net/here/a"] == "here"; }));
  a.link.stop();
  ASSERT_TRUE(
      waitFor([&] { return broker.log().find("Client a disconnected") != std::string::npos; }));
  b.link.publish("kelpie/net/here/b", "here", true);
  ASSERT_TRUE(waitFor([&] { return b.messages.count("kelpie/net/here/b"); }));
  EXPECT_EQ(b.messages["kelpie/net/here/a"], "here");
}

TEST(ShareNet, NoListenerCallAfterStop) {
  Broker broker;
  START_BROKER(broker);
  Peer a, b;
  a.start(broker, kLogger1, "a");
  ASSERT_TRUE(connected({&a}));
  for (int i = 0; i < 50; ++i) a.link.publish("kelpie/net/" + std::to_string(i), "x", true);
  a.link.subscribe("kelpie/net/#");
  ASSERT_TRUE(waitFor([&] { return a.arrivals >= 50; }));
  b.onMessage = [&] { b.link.stop(); };
  b.start(broker, kLogger2, "b");
  b.link.subscribe("kelpie/net/#");
  ASSERT_TRUE(waitFor([&] { return b.arrivals > 0; }));
  QTest::qWait(300);  // the other 49 were on their way
  EXPECT_EQ(b.arrivals, 1);
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
