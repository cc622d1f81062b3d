#include "geo/adif.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "geo/adif_reader.h"

namespace kelpie {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);
constexpr std::string_view kGridTag = "<gridsquare:";

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Start of the line holding position pos; buf[0] starts a line and [0, clean) has no line end.
std::size_t lineStart(const char* buf, std::size_t clean, std::size_t pos) {
  while (pos > clean) {
    if (isLineEnd(buf[pos - 1])) return pos;
    --pos;
  }
  return 0;
}

std::size_t lineEnd(const char* buf, std::size_t from, std::size_t len) {
  for (std::size_t i = from; i < len; ++i) {
    if (isLineEnd(buf[i])) return i;
  }
  return kNone;
}

// The grid value of one line that carries the station mark, if its grid tag is usable.
std::optional<std::string> gridValueInLine(std::string_view line) {
  if (line.size() < kGridTag.size()) return std::nullopt;
  for (std::size_t p = 0; p + kGridTag.size() <= line.size(); ++p) {
    if (line[p] != '<') continue;
    bool same = true;
    for (std::size_t i = 1; i < kGridTag.size() && same; ++i) {
      same = lower(line[p + i]) == kGridTag[i];
    }
    if (!same) continue;
    // Only the first tag in a line counts; a length that is not one digit spoils the line.
    const std::size_t digit = p + kGridTag.size();
    if (digit >= line.size() || line[digit] < '0' || line[digit] > '9') return std::nullopt;
    const auto n = static_cast<std::size_t>(line[digit] - '0');
    const std::size_t from = digit + 2;  // past the length and the tag's closing character
    if (from >= line.size()) return std::string();
    return std::string(line.substr(from, n));
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> findAdifGridValue(const std::filesystem::path& adifFile,
                                             std::string_view callsign, std::size_t blockSize) {
  if (callsign.empty()) return std::nullopt;
  // A callsign never holds a line end; such a text is in no line and no record.
  if (std::any_of(callsign.begin(), callsign.end(), isLineEnd)) return std::nullopt;
  blockSize = std::max<std::size_t>(blockSize, 1);
  AdifFile file = openAdifFile(adifFile);
  if (!file) return std::nullopt;

  // One search serves both readings: every station mark ">" + callsign + "," starts with
  // ">" + callsign in any letter case, and so does every ADIF 3 CALL value of the station.
  // When the file holds no such text at all, it has no grid for the station.
  std::string needle;
  needle.reserve(callsign.size() + 1);
  needle += '>';
  for (char c : callsign) needle += foldCase(c);
  const std::size_t m = needle.size() + 1;  // the mark with its comma
  bool seen = false;

  // The buffer always begins at the start of a line, so a mark's whole line is at hand
  // however the blocks fall; only the unfinished last line is carried to the next block.
  std::vector<char> buf;
  std::size_t len = 0;
  std::size_t scanFrom = 0;  // where the search for the next mark resumes
  std::size_t clean = 0;     // [0, clean) is known to hold no line end
  std::size_t endFrom = 0;   // a mark at scanFrom waiting for its line end: none before this
  bool eof = false;
  while (!eof) {
    if (buf.size() < len + blockSize) buf.resize(len + blockSize);
    const std::size_t got = std::fread(buf.data() + len, 1, blockSize, file.get());
    if (got < blockSize) {
      if (std::ferror(file.get())) return std::nullopt;
      eof = true;
    }
    len += got;
    const char* data = buf.data();

    for (;;) {
      const char* hit = findFolded(data + scanFrom, data + len, needle);
      if (hit == data + len) {
        if (len >= m) scanFrom = std::max(scanFrom, len - m + 1);
        break;
      }
      const auto h = static_cast<std::size_t>(hit - data);
      seen = true;
      if (h + m > len && !eof) {  // whether the comma follows is in the next block
        scanFrom = h;
        break;
      }
      if (h + m > len || data[h + m - 1] != ',' ||
          std::memcmp(data + h + 1, callsign.data(), callsign.size()) != 0) {
        scanFrom = h + 1;
        continue;
      }
      std::size_t end = lineEnd(data, std::max(h + m, endFrom), len);
      if (end == kNone) {
        if (!eof) {
          scanFrom = h;
          endFrom = len;
          break;
        }
        end = len;
      }
      endFrom = 0;
      const std::size_t start = lineStart(data, clean, h);
      if (auto value = gridValueInLine(std::string_view(data + start, end - start))) {
        return value;
      }
      scanFrom = end;  // the rest of this line cannot change the answer
    }
    if (eof) break;

    // Drop the finished lines; keep the one the search stands in.
    const std::size_t keep = lineStart(data, clean, scanFrom);
    if (keep > 0) {
      std::memmove(buf.data(), data + keep, len - keep);
      len -= keep;
      scanFrom -= keep;
      if (endFrom > 0) endFrom -= keep;
    }
    clean = scanFrom;
  }
  if (!seen || std::fseek(file.get(), 0, SEEK_SET) != 0) return std::nullopt;

  // No line in the old form: the file as ADIF 3 records, the first of the station's with a grid.
  std::optional<std::string> found;
  const bool read = readAdifRecords(file.get(), blockSize, callsign.size(),
                                    [&](std::string_view call, std::string_view grid) {
                                      if (!equalFolded(call, callsign)) return true;
                                      found = std::string(grid);
                                      return false;
                                    });
  return read ? found : std::nullopt;
}

AdifGrid getADIFGrid(const std::filesystem::path& adifFile, const std::string& callsign,
                     const std::string& netControlGrid, const std::string& distanceUnit) {
  AdifGrid result;
  auto value = findAdifGridValue(adifFile, callsign);
  if (!value) return result;
  result.found = true;
  result.gridText = std::move(*value);
  double distance = 0;
  result.status = calcBeamHeading(result.gridText, distance, netControlGrid, distanceUnit);
  if (result.status == BeamStatus::Ok) result.distance = distance;
  return result;
}

}  // namespace kelpie
