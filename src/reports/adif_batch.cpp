#include "reports/adif_batch.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>
#include <unordered_map>

#include "geo/adif_reader.h"

namespace kelpie {

namespace {

constexpr std::string_view kGridTag = "<gridsquare:";

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The grid value of a line when its first grid tag is usable, as the single lookup reads it.
std::optional<std::string_view> gridValueOf(std::string_view line) {
  for (size_t p = line.find('<'); p != std::string_view::npos; p = line.find('<', p + 1)) {
    if (p + kGridTag.size() > line.size()) return std::nullopt;
    bool same = true;
    for (size_t i = 1; i < kGridTag.size() && same; ++i) same = lower(line[p + i]) == kGridTag[i];
    if (!same) continue;
    const size_t digit = p + kGridTag.size();
    if (digit >= line.size() || line[digit] < '0' || line[digit] > '9') return std::nullopt;
    const auto n = static_cast<size_t>(line[digit] - '0');
    const size_t from = digit + 2;
    if (from >= line.size()) return std::string_view();
    return line.substr(from, n);
  }
  return std::nullopt;
}

class BatchLookup {
 public:
  BatchLookup(const std::vector<std::string>& callsigns,
              std::vector<std::optional<std::string>>& answers)
      : answers_(answers) {
    for (size_t i = 0; i < callsigns.size(); ++i) {
      const std::string& c = callsigns[i];
      // An empty callsign, or one with a line end in it, can stand in no line.
      if (c.empty() || c.find_first_of("\r\n") != std::string::npos) continue;
      waiting_[c].push_back(i);
      longest_ = std::max(longest_, c.size());
    }
  }

  bool done() const { return waiting_.empty(); }

  // The stations no line answered, each with the places it takes in the answers.
  std::unordered_map<std::string, std::vector<size_t>> unanswered() && {
    return std::move(waiting_);
  }

  void line(std::string_view line) {
    const auto value = gridValueOf(line);
    if (!value) return;  // a line without a usable tag answers nobody
    for (size_t gt = line.find('>'); gt != std::string_view::npos && !done();
         gt = line.find('>', gt + 1)) {
      // Every comma within reach of the longest callsign closes a possible mark.
      const size_t last = std::min(line.size(), gt + 2 + longest_);
      for (size_t comma = gt + 2; comma < last; ++comma) {
        if (line[comma] != ',') continue;
        const auto it = waiting_.find(std::string(line.substr(gt + 1, comma - gt - 1)));
        if (it == waiting_.end()) continue;
        for (size_t i : it->second) answers_[i] = std::string(*value);
        waiting_.erase(it);
      }
    }
  }

 private:
  std::vector<std::optional<std::string>>& answers_;
  std::unordered_map<std::string, std::vector<size_t>> waiting_;
  size_t longest_ = 0;
};

}  // namespace

std::vector<std::optional<std::string>> findAdifGridValues(
    const fs::path& adifFile, const std::vector<std::string>& callsigns, std::size_t blockSize) {
  std::vector<std::optional<std::string>> answers(callsigns.size());
  BatchLookup lookup(callsigns, answers);
  if (lookup.done()) return answers;

  AdifFile file = openAdifFile(adifFile);
  if (!file) return answers;
  blockSize = std::max<std::size_t>(blockSize, 1);

  // The buffer always starts at the start of a line; the unfinished last line is carried over.
  std::vector<char> buf;
  size_t len = 0;
  bool eof = false;
  bool afterCR = false;  // the previous block ended with a CR, whose LF may open this one
  while (!eof && !lookup.done()) {
    if (buf.size() < len + blockSize) buf.resize(len + blockSize);
    const size_t got = std::fread(buf.data() + len, 1, blockSize, file.get());
    if (got < blockSize) {
      if (std::ferror(file.get())) return std::vector<std::optional<std::string>>(answers.size());
      eof = true;
    }
    const size_t fresh = len;
    len += got;
    const char* data = buf.data();
    size_t start = 0;
    if (afterCR && len > 0) {
      if (data[0] == '\n') start = 1;
      afterCR = false;
    }
    // Only the new bytes can hold the end of the carried line.
    size_t from = std::max(start, fresh);
    while (start < len && !lookup.done()) {
      const char* hit =
          std::find_if(data + from, data + len, [](char c) { return c == '\r' || c == '\n'; });
      const auto end = static_cast<size_t>(hit - data);
      if (end == len && !eof) break;  // the line may go on in the next block
      lookup.line(std::string_view(data + start, end - start));
      if (end == len) {
        start = len;
        break;
      }
      if (data[end] == '\r') {
        if (end + 1 == len) afterCR = true;
        start = end + (end + 1 < len && data[end + 1] == '\n' ? 2 : 1);
      } else {
        start = end + 1;
      }
      from = start;
    }
    if (start >= len) {
      len = 0;
    } else if (start > 0) {
      std::memmove(buf.data(), data + start, len - start);
      len -= start;
    }
  }
  if (lookup.done() || std::fseek(file.get(), 0, SEEK_SET) != 0) return answers;

  // The stations no line answered, from the file read as ADIF 3 records; letter case is
  // folded away on both sides.
  std::unordered_map<std::string, std::vector<size_t>> byFolded;
  size_t longest = 0;
  for (auto& [call, places] : std::move(lookup).unanswered()) {
    std::string folded = call;
    for (char& c : folded) c = foldCase(c);
    longest = std::max(longest, folded.size());
    auto& all = byFolded[folded];
    all.insert(all.end(), places.begin(), places.end());
  }
  std::string folded;
  const bool read = readAdifRecords(file.get(), blockSize, longest,
                                    [&](std::string_view call, std::string_view grid) {
                                      folded.assign(call);
                                      for (char& c : folded) c = foldCase(c);
                                      const auto it = byFolded.find(folded);
                                      if (it == byFolded.end()) return true;
                                      for (size_t i : it->second) answers[i] = std::string(grid);
                                      byFolded.erase(it);
                                      return !byFolded.empty();
                                    });
  if (!read) return std::vector<std::optional<std::string>>(answers.size());
  return answers;
}

}  // namespace kelpie
