#include "share/cp1252.h"

namespace kelpie::share {

namespace {

// Bytes 0x80 to 0x9F in UTF-8; the undefined five stand for the C1 controls of their number.
// The only characters above U+00FF the code page has: a whitelist that also turns away every
// overlong or otherwise malformed form, which matches none of them.
constexpr std::string_view kHigh[] = {
    "\xE2\x82\xAC", "\xC2\x81",     "\xE2\x80\x9A", "\xC6\x92",     "\xE2\x80\x9E", "\xE2\x80\xA6",
    "\xE2\x80\xA0", "\xE2\x80\xA1", "\xCB\x86",     "\xE2\x80\xB0", "\xC5\xA0",     "\xE2\x80\xB9",
    "\xC5\x92",     "\xC2\x8D",     "\xC5\xBD",     "\xC2\x8F",     "\xC2\x90",     "\xE2\x80\x98",
    "\xE2\x80\x99", "\xE2\x80\x9C", "\xE2\x80\x9D", "\xE2\x80\xA2", "\xE2\x80\x93", "\xE2\x80\x94",
    "\xCB\x9C",     "\xE2\x84\xA2", "\xC5\xA1",     "\xE2\x80\xBA", "\xC5\x93",     "\xC2\x9D",
    "\xC5\xBE",     "\xC5\xB8"};

}  // namespace

std::string utf8From1252(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out += ch;
    } else if (c < 0xA0) {
      out += kHigh[c - 0x80];
    } else {  // U+00A0 to U+00FF
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::optional<std::string> cp1252FromUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const auto c = static_cast<unsigned char>(text[0]);
    const auto next = static_cast<unsigned char>(text.substr(1).empty() ? 0 : text[1]);
    if (c < 0x80) {
      out += text[0];
      text.remove_prefix(1);
    } else if ((c == 0xC2 && next >= 0xA0 && next <= 0xBF) ||
               (c == 0xC3 && next >= 0x80 && next <= 0xBF)) {
      out += static_cast<char>(((c & 0x03) << 6) | (next & 0x3F));
      text.remove_prefix(2);
    } else {
      const std::string_view* high = kHigh;
      while (high != std::end(kHigh) && !text.starts_with(*high)) ++high;
      if (high == std::end(kHigh)) return std::nullopt;
      out += static_cast<char>(0x80 + (high - kHigh));
      text.remove_prefix(high->size());
    }
  }
  return out;
}

}  // namespace kelpie::share
