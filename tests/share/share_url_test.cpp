// The share address of `kelpie --share URL`, the default net name and which hosts are local.
#include "share/share_url.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "support/fake_platform.h"

namespace kelpie::share {
namespace {

// What the address gives, as "host|port|tls|user|net", or "!" and what is wrong with it.
std::string parsed(const std::string& url) {
  ShareSettings s;
  std::string error;
  if (!parseShareUrl(url, s, error)) return "!" + error.substr(0, error.find(". Expected mqtt"));
  return s.host + "|" + std::to_string(s.port) + "|" + (s.tls ? "1" : "0") + "|" + s.user + "|" +
         s.net;
}

// Each line of share/urls.txt: an address, a tab, and what it gives.
TEST(ShareUrl, AddressesReadOrRefused) {
  const std::string rows = test::golden("share/urls.txt");
  std::string got;
  for (const std::string& row : splitLines(rows))
    if (const std::string url = row.substr(0, row.find('\t')); !url.empty())
      got += url + "\t" + parsed(url) + "\n";
  EXPECT_EQ(got, rows);
  EXPECT_EQ(parsed(" mqtt://h/my net\n"), "h|1883|0||my net");  // spaces and a newline around
}

TEST(ShareUrl, KeepsWhatTheAddressDoesNotSayAndTellsTheForm) {
  ShareSettings s{"old", 1, false, "/ca.pem", "olduser", "pw", "W1ABC", "old net", "http://p/"};
  std::string error = "stale";
  ASSERT_TRUE(parseShareUrl("mqtts://h/n", s, error));
  EXPECT_EQ(s.caFile + s.password + s.operatorCall + s.user + error,
            "/ca.pempwW1ABC");  // user and error cleared
  EXPECT_FALSE(parseShareUrl("mqtt://x:99999/other", s, error));
  EXPECT_EQ(s.host + std::to_string(s.port) + s.net, "h8883n");  // untouched by a failure
  EXPECT_EQ(error,
            "The port \"99999\" is not a number from 1 to 65535. Expected "
            "mqtt://[USER@]HOST[:PORT]/NET, or mqtts://[USER@]HOST[:PORT]/NET with TLS; NET and "
            "USER percent-escaped (a space is %20).");
}

TEST(ShareUrl, LocalHostsAndDefaultNetName) {
  // clang-format off
  const std::map<std::string, bool> hosts{
      {"localhost", true}, {"LocalHost", true}, {"localhost.", true}, {"localhostx", false},
      {"localhost..", false}, {"127.0.0.1", true}, {"127.255.255.254", true}, {"::2", false},
      {"126.0.0.1", false}, {"128.0.0.1", false}, {"127.0.0", false}, {"::1", true}, {"", false},
      {"[::1]", true}, {"0:0:0:0:0:0:0:1", true}, {"::ffff:127.0.0.1", true}, {"[::1", false},
      {"::ffff:128.0.0.1", false}, {"broker.org", false}, {"10.0.0.1", false}};
  // clang-format on
  for (const auto& [host, local] : hosts) EXPECT_EQ(isLocalHost(host), local) << host;
  EXPECT_EQ(defaultNetName("2 Meters", "W1AW", 2026, 12, 7), "2 Meters W1AW 2026-12-07");
  EXPECT_EQ(defaultNetName(" 6m ", "", 2027, 1, 31), "6m 2027-01-31");
  EXPECT_EQ(defaultNetName("", "\tK1ABC ", 2026, 10, 9), "K1ABC 2026-10-09");
}

TEST(ShareUrl, ListenersAddress) {
  for (const auto& [host, page] : std::map<std::string, std::string>{
           {"pi.club", "http://pi.club:8080/"}, {"::1", "http://[::1]:8080/"}, {"", ""}})
    EXPECT_EQ(defaultListenersPage(host), page) << host;
  for (const auto& [page, net, address] :
       {std::tuple<std::string, std::string, std::string>{
            "http://pi:8080/", "2m W1AW 2026-12-07", "http://pi:8080/?net=2m%20W1AW%202026-12-07"},
        {"https://pi/kelpie/?broker=wss://pi:8081", "a+b/c#d%e&f?g",
         "https://pi/kelpie/"
         "?broker=wss://pi:8081&net=a%2Bb%2Fc%23d%25e%26f%3Fg"},
        {"http://pi/", "Az09-._~ \xC3\xA9\xE2\x82\xAC",
         "http://pi/?net=Az09-._~%20%C3%A9%E2%82%AC"}})
    EXPECT_EQ(listenersAddress(page, net), address) << net;
}

}  // namespace
}  // namespace kelpie::share
