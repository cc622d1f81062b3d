#include "data/quoted.h"

namespace kelpie {

bool isQuotedForm(const Lines& lines) {
  for (const auto& l : lines)
    if (!l.empty() && l[0] == '"') return true;
  return false;
}

void checkFileFormat(const fs::path& path_File, bool& isDOSFile) {
  const ReadResult r = readLines(path_File);
  if (r.ok && isQuotedForm(r.lines)) isDOSFile = true;
}

std::vector<std::string> quotedValues(const Lines& lines) {
  std::vector<std::string> out;
  for (const std::string& line : lines) {
    if (trimSpaces(line).empty()) continue;
    size_t i = 0;
    const size_t n = line.size();
    for (;;) {
      while (i < n && (line[i] == ' ' || line[i] == '\t')) ++i;
      std::string value;
      if (i < n && line[i] == '"') {
        ++i;
        while (i < n) {
          if (line[i] == '"') {
            if (i + 1 < n && line[i + 1] == '"') {
              value += '"';
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          value += line[i++];
        }
        // Anything between the closing quote and the next comma is dropped.
        while (i < n && line[i] != ',') ++i;
      } else {
        const size_t start = i;
        while (i < n && line[i] != ',') ++i;
        value = trimSpaces(line.substr(start, i - start));
        while (!value.empty() && value.back() == '\t') value.pop_back();
      }
      out.push_back(std::move(value));
      if (i >= n) break;
      ++i;  // past the comma
      if (i >= n) {
        out.emplace_back();  // a trailing comma ends with an empty value
        break;
      }
    }
  }
  return out;
}

}  // namespace kelpie
