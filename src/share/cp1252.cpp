#include "share/cp1252.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace kelpie::share {

namespace {

// The characters of bytes 0x80 to 0x9F; the undefined five stand for themselves.
constexpr char32_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {  // every character of the code page lies below U+10000
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::optional<char> byteOf(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  const char32_t* at = std::find(std::begin(kHigh), std::end(kHigh), c);
  if (at == std::end(kHigh)) return std::nullopt;
  return static_cast<char>(0x80 + (at - std::begin(kHigh)));
}

}  // namespace

std::string utf8From1252(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    appendUtf8(out, c >= 0x80 && c < 0xA0 ? kHigh[c - 0x80] : c);
  }
  return out;
}

std::optional<std::string> cp1252FromUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    size_t more = 0;
    char32_t c = lead;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      more = 1, c = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      more = 2, c = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      more = 3, c = lead & 0x07, least = 0x10000;
    } else if (lead >= 0x80) {
      return std::nullopt;  // a continuation byte alone, or a lead byte of an overlong form
    }
    if (text.size() - i <= more) return std::nullopt;
    for (size_t k = 1; k <= more; ++k) {
      const auto b = static_cast<unsigned char>(text[i + k]);
      if ((b & 0xC0) != 0x80) return std::nullopt;
      c = (c << 6) | (b & 0x3F);
    }
    if (c < least) return std::nullopt;  // overlong: a second spelling of a smaller character
    // Surrogates and characters beyond U+10FFFF are none the code page stores either.
    const std::optional<char> b = byteOf(c);
    if (!b) return std::nullopt;
    out += *b;
    i += more + 1;
  }
  return out;
}

}  // namespace kelpie::share
