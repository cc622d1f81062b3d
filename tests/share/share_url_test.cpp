// The share address of `kelpie --share URL`, the default net name and which hosts are local.
#include "share/share_url.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

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

TEST(ShareUrl, AddressesReadOrRefused) {
  const std::string port = "!The port \"", range = "\" is not a number from 1 to 65535";
  const std::string net = "!The net name ", utf8 = "!The net name is not UTF-8 text";
  const std::string noNet = "!The share address names no net after the host";
  const std::string scheme = "!The share address does not start with mqtt:// or mqtts://";
  // clang-format off
  const std::map<std::string, std::string> rows{
      {"mqtt://broker.org/2m%20W1AW%202026-12-07", "broker.org|1883|0||2m W1AW 2026-12-07"},
      {"mqtts://w1abc@broker.example.org/net", "broker.example.org|8883|1|w1abc|net"},
      {"MQTTS://a%40b@h:1/n", "h|1|1|a@b|n"}, {"mqtt://h:65535/n", "h|65535|0||n"},
      {" mqtt://h/my net\n", "h|1883|0||my net"}, {"mqtt://[::1]:1884/n", "::1|1884|0||n"},
      {"mqtt://h_1/a%2Fb%3f%25", "h_1|1883|0||a/b?%"}, {"mqtts://[fe80::1]/n", "fe80::1|8883|1||n"},
      {"mqtt://h/%C3%A9t%C3%A9", "h|1883|0||\xC3\xA9t\xC3\xA9"},
      {"mqtt://h:65536/n", port + "65536" + range}, {"mqtt://h:0/n", port + "0" + range},
      {"mqtt://h:/n", port + range}, {"mqtt://h:08a/n", port + "08a" + range},
      {"mqtt://h:000001/n", port + "000001" + range}, {"mqtt://h/%C3", utf8},
      {"mqtt://::1/n", "!An IPv6 address goes in brackets, as in mqtt://[::1]:1883/NET"},
      {"mqtt://[::1/n", "!The IPv6 address has no closing \"]\""}, {"mqtt://h/", noNet},
      {"mqtt://[::g]/n", "!\"::g\" is not an IPv6 address"}, {"mqtt://h", noNet},
      {"mqtt://[::1]x/n", "!The address has \"x\" after the IPv6 address"},
      {"http://h/n", scheme}, {"mqtt:/h/n", scheme}, {"mqtt://h/%C0%AF", utf8},
      {"mqtt:///n", "!The share address names no broker host"}, {"mqtt://h/%ED%A0%80", utf8},
      {"mqtt://bad host/n", "!\"bad host\" is not a host name or address"},
      {"mqtt://z{/n", "!\"z{\" is not a host name or address"}, {"mqtt://Z9az/n", "Z9az|1883|0||n"},
      {"mqtt://u:pw@h/n", "!The share address holds a password; give it in KELPIE_SHARE_PASSWORD "
                          "or let Kelpie ask for it, so that it never shows in the list of "
                          "running programs"},
      {"mqtt://@h/n", "!The user name before \"@\" is empty"}, {"mqtt://h/%F4%90%80%80", utf8},
      {"mqtt://u%0A@h/n", "!The user name holds a control character (%0A)"},
      {"mqtt://h/a/b", net + "holds \"/\"; write it as %2F"},
      {"mqtt://h/a#b", net + "holds \"#\"; write it as %23"},
      {"mqtt://h/a%0Db", net + "holds a control character (%0D)"},
      {"mqtt://h/a%00", net + "holds a control character (%00)"},
      {"mqtt://h/a%7F", net + "holds a control character (%7F)"},
      {"mqtt://h/a%4", net + "holds \"%4\", which is not % and two hexadecimal digits"},
      {"mqtt://h/%zz1", net + "holds \"%zz\", which is not % and two hexadecimal digits"}};
  // clang-format on
  for (const auto& [url, want] : rows) EXPECT_EQ(parsed(url), want) << url;
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
