// The ruled page of a form: a title, strips of numbered blocks above and below, and between
// them tables whose rows wrap within their cells and flow from page to page, the table's title
// and column heads repeated on every page it reaches. Laid out in points for the paper given,
// with the widths of text measured by whoever draws it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/seams.h"

namespace kelpie {

// The width in points of text at size points.
using TextMeasure = std::function<double(const std::string& text, double size, bool bold)>;

// text broken into lines no wider than width: at spaces where it can, inside a word too long
// for a line of its own. Runs of spaces are one break; the lines hold no edge spaces. Empty
// text is no line.
std::vector<std::string> wrapText(const std::string& text, double width, double size, bool bold,
                                  const TextMeasure& measure);

// One numbered block of a strip: its label and what was filled in. share: its part of the
// page's width (a strip's shares add up to 1). A block marked pageNumber shows "Page x of y".
struct Block {
  double share = 1;
  std::string label, value;
  bool pageNumber = false;
};
using Strip = std::vector<Block>;

struct Column {
  double share = 1;   // part of the table's width
  std::string group;  // a head over neighbouring columns ("From"), or ""
  std::string head;
};

struct Table {
  std::string title;  // "5. Communications Log"
  std::vector<Column> columns;
  std::vector<std::vector<std::string>> rows;  // a text per column
};

struct FormLayout {
  std::string title;  // "COMMUNICATIONS LOG (ICS 309)"
  std::string name;   // the document's name
  std::vector<Strip> top, bottom;
  std::vector<Table> tables;
};

// The page's measures, in points.
inline constexpr double kMargin = 36;
inline constexpr double kPad = 2.5;
inline constexpr double kLabelSize = 7;
inline constexpr double kTextSize = 9;
inline constexpr double kTitleSize = 13;
inline double lineHeight(double size) { return size * 1.2; }

struct RowRef {
  size_t table = 0, row = 0;
  bool operator==(const RowRef&) const = default;
};
// The rows that go on each page: a row goes whole on the page it starts on; a table that starts
// or goes on at a page's top takes its head there first (headHeights[t]), and a table starts on
// a page only where its head and first row fit. area: the height between the strips.
std::vector<std::vector<RowRef>> paginate(const std::vector<std::vector<double>>& rowHeights,
                                          const std::vector<double>& headHeights, double area);

Sheet layoutForm(const FormLayout& form, double width, double height, const TextMeasure& measure);

}  // namespace kelpie
