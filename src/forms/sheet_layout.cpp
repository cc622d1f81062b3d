#include "forms/sheet_layout.h"

#include <algorithm>

#include "data/text.h"

namespace kelpie {

namespace {

constexpr double kFrame = 1.0;  // the form's outer frame and the edges of its parts
constexpr double kRule = 0.5;   // the lines inside a part

double baseline(double top, double size) { return top + size * 0.95; }

struct Pen {
  SheetPage& page;
  void line(double x1, double y1, double x2, double y2, double w = kRule) {
    page.lines.push_back({x1, y1, x2, y2, w});
  }
  // Lines of text from top down, each a line height below the one before.
  void text(double x, double top, const std::vector<std::string>& lines, double size, bool bold) {
    for (const std::string& l : lines) {
      page.texts.push_back({x, baseline(top, size), l, size, bold});
      top += lineHeight(size);
    }
  }
};

// A block's label, and its value wrapped to the block's width.
struct LaidBlock {
  double x = 0, w = 0;
  std::vector<std::string> label, value;
};

struct LaidStrip {
  std::vector<LaidBlock> blocks;
  double height = 0;
};

std::string pageText(size_t page, size_t pages) {
  return "Page " + toDec(static_cast<long long>(page)) + " of " +
         toDec(static_cast<long long>(pages));
}

LaidStrip layStrip(const Strip& strip, double x0, double width, const TextMeasure& measure) {
  LaidStrip s;
  double x = x0;
  size_t lines = 1;
  size_t labelLines = 1;
  for (const Block& b : strip) {
    LaidBlock lb{x, width * b.share, {}, {}};
    const double inner = lb.w - 2 * kPad;
    lb.label = wrapText(b.label, inner, kLabelSize, true, measure);
    // The page's number is filled in per page: one line, as wide as it will ever be.
    if (!b.pageNumber) lb.value = wrapText(b.value, inner, kTextSize, false, measure);
    lines = std::max(lines, lb.value.size());
    labelLines = std::max(labelLines, lb.label.size());
    x += lb.w;
    s.blocks.push_back(std::move(lb));
  }
  s.height = 2 * kPad + static_cast<double>(labelLines) * lineHeight(kLabelSize) +
             static_cast<double>(lines) * lineHeight(kTextSize);
  return s;
}

void drawStrip(Pen& pen, const LaidStrip& s, const Strip& strip, double top, double x1,
               const std::string& page) {
  pen.line(s.blocks.front().x, top, x1, top, kFrame);
  for (size_t i = 0; i < s.blocks.size(); ++i) {
    const LaidBlock& b = s.blocks[i];
    if (i > 0) pen.line(b.x, top, b.x, top + s.height);
    pen.text(b.x + kPad, top + kPad, b.label, kLabelSize, true);
    const double valueTop =
        top + kPad + static_cast<double>(b.label.size()) * lineHeight(kLabelSize);
    pen.text(b.x + kPad, valueTop, strip[i].pageNumber ? std::vector<std::string>{page} : b.value,
             kTextSize, false);
  }
}

struct LaidTable {
  std::vector<double> xs;  // column edges, left to right (one more than the columns)
  std::vector<std::vector<std::string>> heads;
  size_t groupLines = 0;  // 1 when some columns stand under a group head
  double titleHeight = 0, headHeight = 0;
  std::vector<std::vector<std::vector<std::string>>> cells;  // row, column, lines
  std::vector<double> rowHeights;
};

LaidTable layTable(const Table& t, double x0, double width, const TextMeasure& measure) {
  LaidTable lt;
  double x = x0;
  lt.xs.push_back(x);
  for (const Column& c : t.columns) {
    x += width * c.share;
    lt.xs.push_back(x);
    if (!c.group.empty()) lt.groupLines = 1;
  }
  lt.xs.back() = x0 + width;  // no gap left by shares that round
  size_t headLines = 1;
  for (size_t c = 0; c < t.columns.size(); ++c) {
    const Column& col = t.columns[c];
    lt.heads.push_back(
        wrapText(col.head, lt.xs[c + 1] - lt.xs[c] - 2 * kPad, kLabelSize, true, measure));
    headLines =
        std::max(headLines, lt.heads.back().size() + (col.group.empty() ? 0 : lt.groupLines));
  }
  lt.titleHeight = 2 * kPad + lineHeight(kLabelSize);
  lt.headHeight =
      lt.titleHeight + 2 * kPad + static_cast<double>(headLines) * lineHeight(kLabelSize);
  // A table with nothing in it still shows one empty row under its heads.
  const std::vector<std::vector<std::string>> none{std::vector<std::string>(t.columns.size())};
  for (const auto& row : t.rows.empty() ? none : t.rows) {
    std::vector<std::vector<std::string>> cells;
    size_t lines = 1;
    for (size_t c = 0; c < t.columns.size(); ++c) {
      cells.push_back(wrapText(c < row.size() ? row[c] : std::string(),
                               lt.xs[c + 1] - lt.xs[c] - 2 * kPad, kTextSize, false, measure));
      lines = std::max(lines, cells.back().size());
    }
    lt.cells.push_back(std::move(cells));
    lt.rowHeights.push_back(2 * kPad + static_cast<double>(lines) * lineHeight(kTextSize));
  }
  return lt;
}

void drawHead(Pen& pen, const Table& t, const LaidTable& lt, double top) {
  const double x0 = lt.xs.front(), x1 = lt.xs.back();
  pen.line(x0, top, x1, top, kFrame);
  pen.text(x0 + kPad, top + kPad, {t.title}, kLabelSize, true);
  const double headTop = top + lt.titleHeight;
  pen.line(x0, headTop, x1, headTop);
  const double groupBottom = headTop + kPad + lineHeight(kLabelSize);
  for (size_t c = 0; c < t.columns.size(); ++c) {
    const std::string& group = t.columns[c].group;
    double textTop = headTop + kPad;
    if (!group.empty()) {
      // The group's name over its first column, a line under it across all of them.
      if (c == 0 || t.columns[c - 1].group != group)
        pen.text(lt.xs[c] + kPad, textTop, {group}, kLabelSize, true);
      pen.line(lt.xs[c], groupBottom, lt.xs[c + 1], groupBottom);
      textTop = groupBottom + kPad;
    }
    pen.text(lt.xs[c] + kPad, textTop, lt.heads[c], kLabelSize, true);
  }
}

// The column lines of a table from top to bottom, the group heads' inner edges left out.
void drawColumns(Pen& pen, const Table& t, const LaidTable& lt, double headTop, double bottom) {
  for (size_t c = 1; c < t.columns.size(); ++c) {
    const bool inGroup =
        !t.columns[c].group.empty() && t.columns[c].group == t.columns[c - 1].group;
    const double from = inGroup ? headTop + kPad + lineHeight(kLabelSize) : headTop;
    pen.line(lt.xs[c], from, lt.xs[c], bottom);
  }
}

}  // namespace

std::vector<std::string> wrapText(const std::string& raw, double width, double size, bool bold,
                                  const TextMeasure& measure) {
  std::vector<std::string> lines;
  std::string line;
  // Tabs and line breaks in a station's text are spaces here: only the layout breaks lines.
  std::string text = raw;
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  auto fits = [&](const std::string& s) { return measure(s, size, bold) <= width; };
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == ' ') {
      ++i;
      continue;
    }
    const size_t end = std::min(text.find(' ', i), text.size());
    std::string word = text.substr(i, end - i);
    i = end;
    if (!line.empty()) {
      if (fits(line + ' ' + word)) {
        line += ' ' + word;
        continue;
      }
      lines.push_back(std::move(line));
      line.clear();
    }
    // A word too long for a line is cut where the line is full (a character at least).
    while (!fits(word)) {
      size_t n = 1;
      while (n + 1 < word.size() && fits(word.substr(0, n + 1))) ++n;
      if (n >= word.size()) break;
      lines.push_back(word.substr(0, n));
      word.erase(0, n);
    }
    line = std::move(word);
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

std::vector<std::vector<RowRef>> paginate(const std::vector<std::vector<double>>& rowHeights,
                                          const std::vector<double>& headHeights, double area) {
  std::vector<std::vector<RowRef>> pages(1);
  double y = 0;
  for (size_t t = 0; t < rowHeights.size(); ++t) {
    for (size_t r = 0; r < rowHeights[t].size(); ++r) {
      const bool head = r == 0 || pages.back().empty();
      double need = rowHeights[t][r] + (head ? headHeights[t] : 0);
      if (!pages.back().empty() && y + need > area) {
        pages.emplace_back();
        y = 0;
        need = rowHeights[t][r] + headHeights[t];
      }
      pages.back().push_back({t, r});
      y += need;
    }
  }
  return pages;
}

Sheet layoutForm(const FormLayout& form, double width, double height, const TextMeasure& measure) {
  Sheet sheet;
  sheet.title = form.name;
  sheet.width = width;
  sheet.height = height;
  const double x0 = kMargin, x1 = width - kMargin, inner = x1 - x0;

  std::vector<LaidStrip> top, bottom;
  for (const Strip& s : form.top) top.push_back(layStrip(s, x0, inner, measure));
  for (const Strip& s : form.bottom) bottom.push_back(layStrip(s, x0, inner, measure));
  const double frameTop = kMargin + lineHeight(kTitleSize) + kPad;
  double tablesTop = frameTop, tablesBottom = height - kMargin;
  for (const LaidStrip& s : top) tablesTop += s.height;
  for (const LaidStrip& s : bottom) tablesBottom -= s.height;

  std::vector<LaidTable> tables;
  std::vector<std::vector<double>> rowHeights;
  std::vector<double> headHeights;
  for (const Table& t : form.tables) {
    tables.push_back(layTable(t, x0, inner, measure));
    rowHeights.push_back(tables.back().rowHeights);
    headHeights.push_back(tables.back().headHeight);
  }
  const auto pages = paginate(rowHeights, headHeights, tablesBottom - tablesTop);

  const double titleWidth = measure(form.title, kTitleSize, true);
  for (size_t p = 0; p < pages.size(); ++p) {
    SheetPage& page = sheet.pages.emplace_back();
    Pen pen{page};
    const std::string number = pageText(p + 1, pages.size());
    pen.text(x0 + (inner - titleWidth) / 2, kMargin, {form.title}, kTitleSize, true);
    double y = frameTop;
    for (size_t i = 0; i < top.size(); ++i) {
      drawStrip(pen, top[i], form.top[i], y, x1, number);
      y += top[i].height;
    }
    y = tablesTop;
    size_t open = SIZE_MAX;  // the table being drawn on this page
    double openTop = 0;
    for (const RowRef& ref : pages[p]) {
      const Table& t = form.tables[ref.table];
      const LaidTable& lt = tables[ref.table];
      if (ref.table != open) {
        if (open != SIZE_MAX)
          drawColumns(pen, form.tables[open], tables[open], openTop + tables[open].titleHeight, y);
        open = ref.table;
        openTop = y;
        drawHead(pen, t, lt, y);
        y += lt.headHeight;
        pen.line(x0, y, x1, y);
      }
      const auto& cells = lt.cells[ref.row];
      for (size_t c = 0; c < cells.size(); ++c)
        pen.text(lt.xs[c] + kPad, y + kPad, cells[c], kTextSize, false);
      y += lt.rowHeights[ref.row];
      pen.line(x0, y, x1, y);
    }
    // The last table's columns run down to the blocks below, as on the printed form.
    if (open != SIZE_MAX)
      drawColumns(pen, form.tables[open], tables[open], openTop + tables[open].titleHeight,
                  tablesBottom);
    y = tablesBottom;
    for (size_t i = 0; i < bottom.size(); ++i) {
      drawStrip(pen, bottom[i], form.bottom[i], y, x1, number);
      y += bottom[i].height;
    }
    // The frame round the blocks and tables.
    pen.line(x0, frameTop, x1, frameTop, kFrame);
    pen.line(x0, y, x1, y, kFrame);
    pen.line(x0, frameTop, x0, y, kFrame);
    pen.line(x1, frameTop, x1, y, kFrame);
  }
  return sheet;
}

}  // namespace kelpie
