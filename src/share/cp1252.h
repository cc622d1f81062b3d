// Windows-1252 (the log's code page) to UTF-8 (the wire's) and back, for the shared net.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelpie::share {

// Every byte as its character; the five bytes Windows-1252 leaves undefined become the C1
// control characters of the same number, as Windows itself maps them.
std::string utf8From1252(std::string_view text);
// Nothing when text is not well-formed UTF-8 (overlong forms, surrogates, cut short, ...) or
// holds a character Windows-1252 cannot store.
std::optional<std::string> cp1252FromUtf8(std::string_view text);

}  // namespace kelpie::share
