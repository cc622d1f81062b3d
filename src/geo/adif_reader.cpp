#include "geo/adif_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kelpie {

AdifFile openAdifFile(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return nullptr;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  AdifFile file(::fdopen(fd, "rb"));
  if (!file) {
    ::close(fd);
    return nullptr;
  }
  std::setvbuf(file.get(), nullptr, _IONBF, 0);
  return file;
}

bool equalFolded(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (foldCase(a[i]) != foldCase(b[i])) return false;
  }
  return true;
}

namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool matchesFolded(const char* p, std::string_view needle) {
  for (std::size_t i = 0; i < needle.size(); ++i) {
    if (foldCase(p[i]) != needle[i]) return false;
  }
  return true;
}

}  // namespace

// A lookup of a station that is not in the file is one pass of this search over the whole
// file, so it has to keep up with grep. Sixteen places are tried at once on the needle's
// first and last characters; only places where both fit are compared in full.
const char* findFolded(const char* first, const char* last, std::string_view needle) {
  const std::size_t k = needle.size();
  if (k == 0) return first;
  if (static_cast<std::size_t>(last - first) < k) return last;
  const char* p = first;
#if defined(__SSE2__)
  // A letter matches in either case once bit 0x20 is set in the text; other characters must
  // match exactly.
  const __m128i caseA = _mm_set1_epi8(isLetter(needle[0]) ? 0x20 : 0);
  const __m128i caseB = _mm_set1_epi8(isLetter(needle[k - 1]) ? 0x20 : 0);
  const __m128i a = _mm_set1_epi8(needle[0]);
  const __m128i b = _mm_set1_epi8(needle[k - 1]);
  for (; static_cast<std::size_t>(last - p) >= 16 + k - 1; p += 16) {
    const __m128i x = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), caseA);
    const __m128i y =
        _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + k - 1)), caseB);
    auto mask = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(x, a), _mm_cmpeq_epi8(y, b))));
    while (mask != 0) {
      const int i = __builtin_ctz(mask);
      if (matchesFolded(p + i, needle)) return p + i;
      mask &= mask - 1;
    }
  }
#endif
  for (; static_cast<std::size_t>(last - p) >= k; ++p) {
    if (foldCase(*p) == needle[0] && matchesFolded(p, needle)) return p;
  }
  return last;
}

namespace {

enum class TagRead { Ok, Bad, Unfinished };

struct Tag {
  std::string_view name;
  std::uint64_t length = 0;
  std::size_t end = 0;  // just past the '>'
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The next '<' from pos, or len. The next tag is mostly a character or two away, nearer than
// a call of memchr pays off.
std::size_t nextTag(const char* data, std::size_t pos, std::size_t len) {
  for (const std::size_t near = std::min(len, pos + 8); pos < near; ++pos) {
    if (data[pos] == '<') return pos;
  }
  const void* hit = std::memchr(data + pos, '<', len - pos);
  return hit == nullptr ? len : static_cast<std::size_t>(static_cast<const char*>(hit) - data);
}

// The tag whose '<' is at data[p].
TagRead readTag(const char* data, std::size_t p, std::size_t len, Tag& tag) {
  std::size_t i = p + 1;
  while (i < len && data[i] != ':' && data[i] != '<' && data[i] != '>') ++i;
  if (i == len) return TagRead::Unfinished;
  if (data[i] == '<') return TagRead::Bad;
  tag.name = std::string_view(data + p + 1, i - p - 1);
  tag.length = 0;
  if (data[i] == ':') {
    const std::size_t digits = ++i;
    constexpr std::uint64_t kHuge = std::uint64_t{1} << 62;  // past the end of any file
    for (; i < len && isDigit(data[i]); ++i) {
      const auto digit = static_cast<std::uint64_t>(data[i] - '0');
      tag.length = tag.length >= kHuge / 10 ? kHuge : tag.length * 10 + digit;
    }
    if (i == len) return TagRead::Unfinished;
    if (i == digits) return TagRead::Bad;
    if (data[i] == ':') {
      while (i < len && data[i] != '<' && data[i] != '>') ++i;
      if (i == len) return TagRead::Unfinished;
    }
    if (data[i] != '>') return TagRead::Bad;
  }
  tag.end = i + 1;
  return TagRead::Ok;
}

class RecordParser {
 public:
  RecordParser(std::uint64_t fileSize, std::size_t maxCall, const AdifRecordSink& onRecord)
      : fileSize_(fileSize), maxCall_(maxCall), onRecord_(onRecord) {}

  bool stopped() const { return stopped_; }

  // Reads data[0, len), which continues where the last call left off. Returns how much of it
  // is done with; the rest (an unfinished tag) must be passed again at the start of the next
  // call, with more after it. At the end of the file the last record is finished.
  std::size_t feed(const char* data, std::size_t len, bool eof) {
    std::size_t pos = 0;
    while (pos < len && !stopped_) {
      if (state_ == State::Value) {
        const auto take = static_cast<std::size_t>(std::min<std::uint64_t>(rest_, len - pos));
        if (field_ == Field::Call && call_.size() <= maxCall_) {
          call_.append(data + pos, std::min(take, maxCall_ + 1 - call_.size()));
        } else if (field_ == Field::Grid) {
          grid_.append(data + pos, take);
        }
        pos += take;
        rest_ -= take;
        if (rest_ == 0) endField();
        continue;
      }
      const std::size_t p = nextTag(data, pos, len);
      if (p == len) {
        pos = len;
        break;
      }
      if (state_ == State::Skip) {
        if (p + 5 > len && !eof) return done(p);
        pos = p + 1;
        if (p + 5 <= len && data[p + 4] == '>') {
          const std::string_view name(data + p + 1, 3);
          if (equalFolded(name, "eor") || equalFolded(name, "eoh")) {
            pos = p + 5;
            startRecord();
          }
        }
        continue;
      }
      Tag tag;
      const TagRead read = readTag(data, p, len, tag);
      if (read == TagRead::Unfinished && !eof) return done(p);
      const std::uint64_t at = base_ + tag.end;
      if (read != TagRead::Ok || tag.length > (fileSize_ > at ? fileSize_ - at : 0)) {
        spoil();
        pos = p + 1;
        continue;
      }
      pos = tag.end;
      beginField(tag);
      // Most values are of no interest and lie whole in the block: step over them at once.
      if (state_ == State::Value && field_ == Field::Other && rest_ <= len - pos) {
        pos += static_cast<std::size_t>(rest_);
        state_ = State::Between;
      }
    }
    if (eof && !stopped_) {
      if (state_ == State::Between) endRecord(true);
      startRecord();
    }
    return done(pos);
  }

 private:
  enum class State { Between, Value, Skip };
  enum class Field { Other, Call, Grid, EndOfRecord, EndOfHeader };

  std::size_t done(std::size_t n) {
    base_ += n;
    return n;
  }

  void startRecord() {
    state_ = State::Between;
    hasCall_ = false;
    call_.clear();
    grid_.clear();
  }

  void spoil() {
    state_ = State::Skip;
    hasCall_ = false;
  }

  void beginField(const Tag& tag) {
    field_ = Field::Other;
    const std::size_t n = tag.name.size();
    if (n == 4 && equalFolded(tag.name, "call")) {
      if (!hasCall_) {
        hasCall_ = true;
        field_ = Field::Call;
      }
    } else if (n == 10 && equalFolded(tag.name, "gridsquare")) {
      if (grid_.empty()) field_ = Field::Grid;
    } else if (n == 3 && equalFolded(tag.name, "eor")) {
      field_ = Field::EndOfRecord;
    } else if (n == 3 && equalFolded(tag.name, "eoh")) {
      field_ = Field::EndOfHeader;
    }
    rest_ = tag.length;
    state_ = State::Value;
    if (rest_ == 0) endField();
  }

  void endField() {
    state_ = State::Between;
    if (field_ == Field::EndOfRecord || field_ == Field::EndOfHeader) {
      endRecord(field_ == Field::EndOfRecord);
      startRecord();
    }
  }

  void endRecord(bool counts) {
    if (counts && hasCall_ && !grid_.empty()) stopped_ = !onRecord_(call_, grid_);
  }

  const std::uint64_t fileSize_;
  const std::size_t maxCall_;
  const AdifRecordSink& onRecord_;
  std::uint64_t base_ = 0;  // file offset of data[0]
  State state_ = State::Between;
  Field field_ = Field::Other;
  std::uint64_t rest_ = 0;  // characters of the value still to come
  bool hasCall_ = false;
  std::string call_;
  std::string grid_;
  bool stopped_ = false;
};

}  // namespace

bool readAdifRecords(std::FILE* file, std::size_t blockSize, std::size_t maxCall,
                     const AdifRecordSink& onRecord) {
  struct stat st;
  if (::fstat(::fileno(file), &st) != 0) return false;
  RecordParser parser(static_cast<std::uint64_t>(st.st_size), maxCall, onRecord);
  blockSize = std::max<std::size_t>(blockSize, 1);
  std::vector<char> buf;
  std::size_t len = 0;  // an unfinished tag carried from the last block
  bool eof = false;
  while (!eof && !parser.stopped()) {
    // A long unfinished tag makes the reads grow, so it is not searched again block by block.
    const std::size_t want = std::max(blockSize, len);
    if (buf.size() < len + want) buf.resize(len + want);
    const std::size_t got = std::fread(buf.data() + len, 1, want, file);
    if (got < want) {
      if (std::ferror(file)) return false;
      eof = true;
    }
    len += got;
    const std::size_t used = parser.feed(buf.data(), len, eof);
    std::memmove(buf.data(), buf.data() + used, len - used);
    len -= used;
  }
  return true;
}

}  // namespace kelpie
