#include "geo/adif.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace kelpie {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);
constexpr std::string_view kGridTag = "<gridsquare:";

// glibc's memmem is several times faster than std::boyer_moore_horspool_searcher on ADIF
// text, and it is what keeps a lookup on a lifetime log quicker than grep.
const char* findMark(const char* first, const char* last, const std::string& mark) {
#if defined(__GLIBC__) || defined(__APPLE__) || defined(__FreeBSD__)
  const void* hit =
      ::memmem(first, static_cast<std::size_t>(last - first), mark.data(), mark.size());
  return hit != nullptr ? static_cast<const char*>(hit) : last;
#else
  return std::search(first, last, std::boyer_moore_horspool_searcher(mark.begin(), mark.end()));
#endif
}

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

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

std::optional<std::string> findAdifGridValue(const std::filesystem::path& adifFile,
                                             std::string_view callsign, std::size_t blockSize) {
  if (callsign.empty()) return std::nullopt;
  // A mark can never run over a line end, so such a callsign is in no line.
  if (std::any_of(callsign.begin(), callsign.end(), isLineEnd)) return std::nullopt;
  blockSize = std::max<std::size_t>(blockSize, 1);

  // Non-blocking and regular files only: a FIFO or device under the name must not hang Kelpie.
  const int fd = ::open(adifFile.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }
  std::unique_ptr<std::FILE, FileCloser> file(::fdopen(fd, "rb"));
  if (!file) {
    ::close(fd);
    return std::nullopt;
  }
  std::setvbuf(file.get(), nullptr, _IONBF, 0);

  std::string mark;
  mark.reserve(callsign.size() + 2);
  mark += '>';
  mark += callsign;
  mark += ',';
  const std::size_t m = mark.size();

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
      const char* hit = findMark(data + scanFrom, data + len, mark);
      if (hit == data + len) {
        if (len >= m) scanFrom = std::max(scanFrom, len - m + 1);
        break;
      }
      const auto h = static_cast<std::size_t>(hit - data);
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
  return std::nullopt;
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
