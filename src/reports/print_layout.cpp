#include "reports/print_layout.h"

namespace kelpie {

std::string numberItemText(long long n) {
  if (n < 0) {
    // Written out from the unsigned magnitude so the smallest value has its digits too.
    const unsigned long long magnitude = 0ULL - static_cast<unsigned long long>(n);
    return "-" + std::to_string(magnitude) + " ";
  }
  return " " + std::to_string(n) + " ";
}

Lines layoutLine(const std::vector<PrintItem>& items) {
  Lines out;
  std::string line;
  for (const PrintItem& item : items) {
    switch (item.kind) {
      case PrintItem::Kind::Text:
        line += item.text;
        break;
      case PrintItem::Kind::Number:
        line += numberItemText(item.value);
        break;
      case PrintItem::Kind::Column: {
        const size_t column = item.value < 1 ? 1 : static_cast<size_t>(item.value);
        const size_t position = line.size() + 1;
        if (position > column) {
          out.push_back(std::move(line));
          line.assign(column - 1, ' ');
        } else if (position < column) {
          line.append(column - position, ' ');
        }
        break;
      }
    }
  }
  out.push_back(std::move(line));
  return out;
}

}  // namespace kelpie
