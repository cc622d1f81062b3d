// The layout of one printed line: texts, number items and moves to a character column, turned
// into the physical lines the printer gets. A fixed-pitch font makes the columns line up.
#pragma once

#include <string>
#include <vector>

#include "data/text.h"

namespace kelpie {

struct PrintItem {
  enum class Kind { Text, Number, Column };
  Kind kind = Kind::Text;
  std::string text;
  long long value = 0;  // the number, or the 1-based column
};

inline PrintItem printText(std::string text) { return {PrintItem::Kind::Text, std::move(text), 0}; }
inline PrintItem printNumber(long long n) { return {PrintItem::Kind::Number, {}, n}; }
inline PrintItem printColumn(long long column) { return {PrintItem::Kind::Column, {}, column}; }

// The text of a number item: a space, the digits and a space; a minus sign takes the place of
// the first space.
std::string numberItemText(long long n);

// Lays out one line. Texts follow each other directly. A column item pads with spaces up to
// that column; at the column it adds nothing; past it, the line ends and the next one is padded
// with spaces up to the column. Nothing follows the last item, and no line is left without at
// least the empty text.
Lines layoutLine(const std::vector<PrintItem>& items);

}  // namespace kelpie
