// What an operator gives to share a net (broker, login, net name), the address form of it that
// `kelpie --share URL` takes, and the rules for its defaults (net name, TLS).
#pragma once

#include <string>

namespace kelpie::share {

// What the operator entered to share a net. Texts are UTF-8 (they go to the broker as they are).
struct ShareSettings {
  std::string host;
  int port = 8883;
  bool tls = true;
  std::string caFile;  // empty: the system's certificate authorities
  std::string user;
  std::string password;      // never stored in a file
  std::string operatorCall;  // shown to the other loggers
  std::string net;           // the net's name
  // The listeners' page the club's broker serves; empty: defaultListenersPage(host).
  std::string listenersPage;
};

// The name two windows with the same settings file agree on without typing it:
// "<band> <net callsign> <YYYY-MM-DD>". band and netCall are UTF-8 (the Qt layer converts the
// settings file's bytes); their outer spaces are dropped, and an empty one is left out.
std::string defaultNetName(const std::string& band, const std::string& netCall, int year, int month,
                           int day);

// Where the club's broker serves the listeners' page unless the operator says otherwise:
// "http://<host>:8080/" (an IPv6 address in brackets); empty for an empty host.
std::string defaultListenersPage(const std::string& host);
// The address to hand the listeners of a net: the page with "?net=" and the net's name
// (UTF-8) percent-escaped, every byte but letters, digits and "-._~" written %XX, so a
// space is %20 and "+" stays a plus ("&net=" when the page's address has a query already).
std::string listenersAddress(const std::string& page, const std::string& net);

// True for a host on this computer: "localhost" (any letter case, a final dot allowed), an
// address in 127.0.0.0/8, "::1" or "[::1]" (in any IPv6 spelling, IPv4-mapped ones included).
// Sharing turns TLS on by default for every other host.
bool isLocalHost(const std::string& host);

// Reads mqtt://[USER@]HOST[:PORT]/NET or mqtts://[USER@]HOST[:PORT]/NET (TLS). The port is
// 1883 or 8883 when not given; USER and NET are percent-escaped (a space is %20), HOST is a
// name, an IPv4 address or an IPv6 address in brackets (kept without them). On success sets
// host, port, tls, user (empty when not given) and net, and leaves caFile, password and
// operatorCall as they were. On failure leaves out alone and sets error to what is wrong, in
// words for the operator, followed by the expected form.
bool parseShareUrl(const std::string& url, ShareSettings& out, std::string& error);

// The lines of `kelpie --help` about sharing: the --share option and KELPIE_SHARE_PASSWORD.
extern const char* const kShareUsage;

}  // namespace kelpie::share
