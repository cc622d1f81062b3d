#include "share/share_url.h"

#include <arpa/inet.h>

#include <cstdio>
#include <cstring>
#include <string_view>

namespace kelpie::share {

const char* const kShareUsage =
    "  --share URL\n"
    "             share the net with other loggers through an MQTT broker from the\n"
    "             start. URL is mqtt://[USER@]HOST[:PORT]/NET, or mqtts://... with\n"
    "             TLS (ports 1883 and 8883 unless given; NET and USER\n"
    "             percent-escaped, a space is %20), for example\n"
    "             mqtts://w1abc@broker.example.org/2m%20W1AW%202026-12-07\n"
    "             The password comes from the environment variable\n"
    "             KELPIE_SHARE_PASSWORD, else from the desktop keyring, else Kelpie\n"
    "             asks for it; it never goes in the URL.\n";

namespace {

constexpr const char* kExpected =
    ". Expected mqtt://[USER@]HOST[:PORT]/NET, or mqtts://[USER@]HOST[:PORT]/NET with TLS; NET "
    "and USER percent-escaped (a space is %20).";

std::string trimmed(std::string_view s) {
  const size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string_view::npos) return {};
  return std::string(s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1));
}

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char c = s[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    size_t n = 0;
    char32_t cp = 0, min = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      n = 1, cp = c & 0x1F, min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
      n = 2, cp = c & 0x0F, min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
      n = 3, cp = c & 0x07, min = 0x10000;
    } else {
      return false;
    }
    if (s.size() - i <= n) return false;
    for (size_t k = 1; k <= n; ++k) {
      const auto t = static_cast<unsigned char>(s[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (t & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += n + 1;
  }
  return true;
}

// One percent-escaped part of the address (the user name or the net name). A raw "?" or "#"
// would start a query or fragment elsewhere, so here it must be escaped too.
bool decodePart(std::string_view raw, const char* what, std::string& out, std::string& problem) {
  out.clear();
  for (size_t i = 0; i < raw.size(); ++i) {
    const char c = raw[i];
    if (c == '%') {
      const int hi = i + 2 < raw.size() ? hexValue(raw[i + 1]) : -1;
      const int lo = hi >= 0 ? hexValue(raw[i + 2]) : -1;
      if (lo < 0) {
        problem = std::string("The ") + what + " holds \"" + std::string(raw.substr(i, 3)) +
                  "\", which is not % and two hexadecimal digits";
        return false;
      }
      out += static_cast<char>(hi * 16 + lo);
      i += 2;
    } else if (c == '/' || c == '?' || c == '#') {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned>(c));
      problem = std::string("The ") + what + " holds \"" + c + "\"; write it as " + escaped;
      return false;
    } else {
      out += c;
    }
  }
  for (const char c : out) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) {
      char code[8];
      std::snprintf(code, sizeof code, "%%%02X", static_cast<unsigned>(u));
      problem = std::string("The ") + what + " holds a control character (" + code + ")";
      return false;
    }
  }
  if (!isUtf8(out)) {
    problem = std::string("The ") + what + " is not UTF-8 text";
    return false;
  }
  return true;
}

bool isHostNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_';
}

}  // namespace

std::string defaultNetName(const std::string& band, const std::string& netCall, int year, int month,
                           int day) {
  char date[32];
  std::snprintf(date, sizeof date, "%04d-%02d-%02d", year, month, day);
  std::string name;
  for (const std::string& part : {trimmed(band), trimmed(netCall)})
    if (!part.empty()) name += part + " ";
  return name + date;
}

bool isLocalHost(const std::string& text) {
  std::string host = text;
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']')
    host = host.substr(1, host.size() - 2);
  if (host.size() >= 9 && host.size() <= 10 && startsWithNoCase(host, "localhost"))
    return host.size() == 9 || host.back() == '.';
  unsigned char a[16];
  if (inet_pton(AF_INET, host.c_str(), a) == 1) return a[0] == 127;
  if (inet_pton(AF_INET6, host.c_str(), a) != 1) return false;
  static constexpr unsigned char kLoopback[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
  static constexpr unsigned char kMapped[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
  return std::memcmp(a, kLoopback, 16) == 0 || (std::memcmp(a, kMapped, 12) == 0 && a[12] == 127);
}

bool parseShareUrl(const std::string& url, ShareSettings& out, std::string& error) {
  auto fail = [&](const std::string& what) {
    error = what + kExpected;
    return false;
  };
  const std::string text = trimmed(url);
  bool tls;
  std::string_view rest(text);
  if (startsWithNoCase(rest, "mqtts://")) {
    tls = true, rest.remove_prefix(8);
  } else if (startsWithNoCase(rest, "mqtt://")) {
    tls = false, rest.remove_prefix(7);
  } else {
    return fail("The share address does not start with mqtt:// or mqtts://");
  }
  const size_t slash = rest.find('/');
  std::string_view authority = rest.substr(0, slash);
  const std::string_view path =
      slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);

  ShareSettings got = out;
  got.tls = tls;
  got.port = tls ? 8883 : 1883;
  got.user.clear();
  std::string problem;
  const size_t at = authority.rfind('@');
  if (at != std::string_view::npos) {
    const std::string_view user = authority.substr(0, at);
    if (user.find(':') != std::string_view::npos)
      return fail(
          "The share address holds a password; give it in KELPIE_SHARE_PASSWORD or let Kelpie "
          "ask for it, so that it never shows in the list of running programs");
    if (!decodePart(user, "user name", got.user, problem)) return fail(problem);
    if (got.user.empty()) return fail("The user name before \"@\" is empty");
    authority.remove_prefix(at + 1);
  }

  bool hasPort = false;
  std::string_view port;
  if (!authority.empty() && authority.front() == '[') {
    const size_t close = authority.find(']');
    if (close == std::string_view::npos) return fail("The IPv6 address has no closing \"]\"");
    got.host = std::string(authority.substr(1, close - 1));
    unsigned char a[16];
    if (inet_pton(AF_INET6, got.host.c_str(), a) != 1)
      return fail("\"" + got.host + "\" is not an IPv6 address");
    const std::string_view after = authority.substr(close + 1);
    hasPort = !after.empty();
    if (hasPort && after.front() != ':')
      return fail("The address has \"" + std::string(after) + "\" after the IPv6 address");
    if (hasPort) port = after.substr(1);
  } else {
    const size_t colon = authority.find(':');
    got.host = std::string(authority.substr(0, colon));
    hasPort = colon != std::string_view::npos;
    if (hasPort) port = authority.substr(colon + 1);
    if (port.find(':') != std::string_view::npos)
      return fail("An IPv6 address goes in brackets, as in mqtt://[::1]:1883/NET");
    if (got.host.empty()) return fail("The share address names no broker host");
    for (const char c : got.host)
      if (!isHostNameChar(c)) return fail("\"" + got.host + "\" is not a host name or address");
  }
  if (hasPort) {
    int value = port.empty() || port.size() > 5 ? -1 : 0;
    for (size_t i = 0; value >= 0 && i < port.size(); ++i)
      value = port[i] >= '0' && port[i] <= '9' ? value * 10 + (port[i] - '0') : -1;
    if (value < 1 || value > 65535)
      return fail("The port \"" + std::string(port) + "\" is not a number from 1 to 65535");
    got.port = value;
  }

  if (!decodePart(path, "net name", got.net, problem)) return fail(problem);
  if (got.net.empty()) return fail("The share address names no net after the host");
  out = std::move(got);
  error.clear();
  return true;
}

std::string defaultListenersPage(const std::string& host) {
  if (host.empty()) return {};
  return "http://" + (host.find(':') != std::string::npos ? "[" + host + "]" : host) + ":8080/";
}

std::string listenersAddress(const std::string& page, const std::string& net) {
  std::string out = page + (page.find('?') == std::string::npos ? "?net=" : "&net=");
  for (const char c : net) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
        c == '.' || c == '_' || c == '~') {
      out += c;
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
      out += escaped;
    }
  }
  return out;
}

}  // namespace kelpie::share
