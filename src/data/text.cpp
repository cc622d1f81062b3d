#include "data/text.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>

#include "data/flusher.h"

namespace kelpie {

Lines splitLines(std::string_view data) {
  Lines out;
  size_t start = 0;
  const size_t n = data.size();
  size_t i = 0;
  while (i < n) {
    const char c = data[i];
    if (c == '\r' || c == '\n') {
      out.emplace_back(data.substr(start, i - start));
      if (c == '\r' && i + 1 < n && data[i + 1] == '\n') ++i;
      ++i;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < n) out.emplace_back(data.substr(start));
  return out;
}

void prefault(void* data, size_t bytes) {
#ifdef MADV_POPULATE_WRITE
  static const uintptr_t page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
  if (bytes < 16 * page) return;  // small blocks come from memory already in use
  const uintptr_t from = reinterpret_cast<uintptr_t>(data) & ~(page - 1);
  const uintptr_t to = reinterpret_cast<uintptr_t>(data) + bytes;
  ::madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
#else
  (void)data;
  (void)bytes;
#endif
}

bool readBytes(const fs::path& path, std::string& out, std::string* error) {
  out.clear();
  std::error_code ec;
  if (fs::is_directory(path, ec)) {
    if (error) *error = "is a folder";
    return false;
  }
  // Non-blocking, so that a FIFO or device under a data file's name cannot hang Kelpie.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    if (error) *error = std::strerror(errno);
    return false;
  }
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    if (error) *error = "not a regular file";
    ::close(fd);
    return false;
  }
  // Straight into the string, sized from the file's length and grown should the file grow.
  size_t have = 0;
  out.reserve(static_cast<size_t>(st.st_size) + 1);
  prefault(out.data(), out.capacity());
  out.resize(static_cast<size_t>(st.st_size) + 1);
  for (;;) {
    if (have == out.size()) out.resize(2 * have);
    const ssize_t got = ::read(fd, out.data() + have, out.size() - have);
    if (got < 0) {
      if (errno == EINTR) continue;
      if (error) *error = std::strerror(errno);
      ::close(fd);
      out.clear();
      return false;
    }
    if (got == 0) break;
    have += static_cast<size_t>(got);
  }
  out.resize(have);
  ::close(fd);
  return true;
}

ReadResult readLines(const fs::path& path) {
  ReadResult r;
  std::string data;
  r.ok = readBytes(path, data, &r.error);
  if (r.ok) r.lines = splitLines(data);
  return r;
}

std::string joinCrLf(const Lines& lines) {
  size_t total = 0;
  for (const auto& l : lines) total += l.size() + 2;
  std::string s;
  s.reserve(total);
  for (const auto& l : lines) {
    s += l;
    s += "\r\n";
  }
  return s;
}

bool writeBytesAtomic(const fs::path& path, std::string_view bytes, std::string* error) {
  auto fail = [&](const std::string& what) {
    if (error) *error = what;
    return false;
  };
  const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
  std::string tmpl = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) return fail(std::strerror(errno));
  const std::string tmp(name.data());
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0) {
      if (errno == EINTR) continue;
      const std::string why = std::strerror(errno);
      ::close(fd);
      ::unlink(tmp.c_str());
      return fail(why);
    }
    done += static_cast<size_t>(put);
  }
  // Keep the permissions an existing file had; new files get the usual 0644 (less umask).
  struct stat st;
  if (::stat(path.c_str(), &st) == 0) {
    ::fchmod(fd, st.st_mode & 07777);
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
  }
  // The new content is on the disk before it takes the old file's name, so a crash or a power
  // cut leaves the old file or the new one, whole, on any file system.
  // A descriptor is closed once only: after a failed close it may already belong to a file
  // another thread (the broker's link) has opened.
  if (::fsync(fd) != 0) {
    const std::string why = std::strerror(errno);
    ::close(fd);
    ::unlink(tmp.c_str());
    return fail(why);
  }
  if (::close(fd) != 0) {
    const std::string why = std::strerror(errno);
    ::unlink(tmp.c_str());
    return fail(why);
  }
  if (::rename(tmp.c_str(), path.c_str()) != 0) {
    const std::string why = std::strerror(errno);
    ::unlink(tmp.c_str());
    return fail(why);
  }
  flushFolderInBackground(folder);
  return true;
}

bool writeLinesAtomic(const fs::path& path, const Lines& lines, std::string* error) {
  return writeBytesAtomic(path, joinCrLf(lines), error);
}

fs::path findFileCI(const fs::path& folder, const std::string& name) {
  std::error_code ec;
  const fs::path exact = folder / name;
  if (fs::exists(exact, ec)) return exact;
  const std::string want = lower1252(name);
  fs::directory_iterator it(folder, ec), end;
  std::vector<std::string> matches;
  for (; !ec && it != end; it.increment(ec)) {
    const std::string n = it->path().filename().string();
    if (lower1252(n) == want) matches.push_back(n);
  }
  if (matches.empty()) return exact;
  std::sort(matches.begin(), matches.end());
  return folder / matches.front();
}

void removeStaleTemporaries(const fs::path& folder) {
  static const char* const kinds[] = {".rol", ".bu1", ".ini", ".ile",
                                      ".txt", ".bad", ".tim", ".trf"};
  std::error_code ec;
  fs::directory_iterator it(folder, ec), end;
  std::vector<fs::path> stale;
  for (; !ec && it != end; it.increment(ec)) {
    const std::string n = it->path().filename().string();
    // ".NAME.XXXXXX": a temporary that a kill or a power cut left before its rename.
    if (n.size() < 9 || n[0] != '.' || n[n.size() - 7] != '.') continue;
    const std::string base = lower1252(n.substr(1, n.size() - 8));
    for (const char* kind : kinds) {
      const size_t k = std::strlen(kind);
      if (base.size() > k && base.compare(base.size() - k, k, kind) == 0) {
        stale.push_back(it->path());
        break;
      }
    }
  }
  for (const auto& p : stale) fs::remove(p, ec);
}

bool ensureFileExists(const fs::path& path) {
  std::error_code ec;
  if (fs::is_regular_file(path, ec)) return true;
  if (fs::exists(path, ec)) return false;  // a folder or something else stands there
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

bool isEmptyFile(const fs::path& path) {
  std::error_code ec;
  const auto size = fs::file_size(path, ec);
  return !ec && size == 0;
}

std::vector<std::string> listFilesCI(const fs::path& folder, std::string_view ext) {
  std::vector<std::string> names;
  const std::string lext = lower1252(ext);
  std::error_code ec;
  fs::directory_iterator it(folder, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    std::error_code ec2;
    if (!it->is_regular_file(ec2)) continue;
    const std::string n = it->path().filename().string();
    if (n.size() >= lext.size() && lower1252(n.substr(n.size() - lext.size())) == lext)
      names.push_back(n);
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const std::string la = lower1252(a), lb = lower1252(b);
    return la != lb ? la < lb : a < b;
  });
  return names;
}

namespace {
unsigned char upperByte(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
  if (c == 0x9A || c == 0x9C || c == 0x9E) return static_cast<unsigned char>(c - 16);  // š œ ž
  if (c == 0xFF) return 0x9F;                                                          // ÿ
  if (c >= 0xE0 && c != 0xF7) return static_cast<unsigned char>(c - 32);  // à..þ except ÷
  return c;
}
unsigned char lowerByte(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c == 0x8A || c == 0x8C || c == 0x8E) return static_cast<unsigned char>(c + 16);
  if (c == 0x9F) return 0xFF;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  return c;
}
}  // namespace

std::string upper1252(std::string_view s) {
  std::string r(s);
  for (auto& ch : r) ch = static_cast<char>(upperByte(static_cast<unsigned char>(ch)));
  return r;
}

std::string lower1252(std::string_view s) {
  std::string r(s);
  for (auto& ch : r) ch = static_cast<char>(lowerByte(static_cast<unsigned char>(ch)));
  return r;
}

std::string trimSpaces(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] == ' ') ++b;
  while (e > b && s[e - 1] == ' ') --e;
  return std::string(s.substr(b, e - b));
}

bool startsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

namespace {
// Parses the numeric text; returns false when it is not a number.
bool parseNumber(std::string_view s, double& value) {
  size_t i = 0, n = s.size();
  while (i < n && (s[i] == ' ' || s[i] == '\t')) ++i;
  while (n > i && (s[n - 1] == ' ' || s[n - 1] == '\t')) --n;
  if (i == n) return false;
  std::string t(s.substr(i, n - i));
  size_t k = 0;
  if (t[k] == '+' || t[k] == '-') ++k;
  size_t digits = 0;
  while (k < t.size() && t[k] >= '0' && t[k] <= '9') ++k, ++digits;
  if (k < t.size() && t[k] == '.') {
    ++k;
    while (k < t.size() && t[k] >= '0' && t[k] <= '9') ++k, ++digits;
  }
  if (digits == 0) return false;
  if (k < t.size() && (t[k] == 'e' || t[k] == 'E')) {
    ++k;
    if (k < t.size() && (t[k] == '+' || t[k] == '-')) ++k;
    size_t ed = 0;
    while (k < t.size() && t[k] >= '0' && t[k] <= '9') ++k, ++ed;
    if (ed == 0) return false;
  }
  if (k != t.size()) return false;
  value = std::strtod(t.c_str(), nullptr);
  return std::isfinite(value);
}
}  // namespace

bool isNumeric(std::string_view s) {
  double v;
  return parseNumber(s, v);
}

double numericValue(std::string_view s) {
  double v = 0;
  return parseNumber(s, v) ? v : 0;
}

double roundHalfEven(double v) { return std::nearbyint(v); }

std::string dateText(const Date& d) {
  return toDec(d.month) + "/" + toDec(d.day) + "/" + toDec(d.year);
}

std::string logFileName(const Date& d) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d%02d%02dF.ILE", d.month % 100, d.day % 100,
                ((d.year % 100) + 100) % 100);
  return buf;
}

std::string toDec(long long n) { return std::to_string(n); }

std::string pathText(const fs::path& p) { return p.string(); }

}  // namespace kelpie
