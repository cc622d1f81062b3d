#include "share/journal.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "data/text.h"
#include "share/wire.h"

namespace kelpie::share {

fs::path journalPathFor(const fs::path& logPath) {
  return findFileCI(logPath.parent_path(), logPath.stem().string() + ".SHR");
}

namespace {

// Whether the file is empty or its last byte ends a line.
bool endsWhole(int fd) {
  char last = '\n';
  const off_t size = ::lseek(fd, 0, SEEK_END);
  return size <= 0 || (::pread(fd, &last, 1, size - 1) == 1 && last == '\n');
}

}  // namespace

bool appendJournal(const fs::path& path, const std::vector<Line>& lines, std::string* error) {
  if (lines.empty()) return true;
  auto fail = [&](const char* why) {
    if (error) *error = why;
    return false;
  };
  const int fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return fail(std::strerror(errno));
  std::string bytes = endsWhole(fd) ? "" : "\r\n";
  for (const Line& l : lines) bytes += encode(l) + "\r\n";
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) {
      const char* why = std::strerror(errno);
      ::close(fd);
      return fail(why);
    }
    done += static_cast<size_t>(put);
  }
  if (::fsync(fd) != 0) {
    const char* why = std::strerror(errno);
    ::close(fd);
    return fail(why);
  }
  return ::close(fd) == 0 || fail(std::strerror(errno));
}

std::vector<Line> readJournal(const fs::path& path) {
  std::vector<Line> out;
  std::string bytes;
  if (!readBytes(path, bytes)) return out;
  forEachLine(bytes, [&](std::string_view record) {
    if (std::optional<Line> l = decode(record)) out.push_back(std::move(*l));
    return true;
  });
  return out;
}

}  // namespace kelpie::share
