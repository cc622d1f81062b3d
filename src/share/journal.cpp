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
  // One write, so the records reach the file whole or, on a full disk, as a torn tail that
  // the next append closes off and the reader skips. Once fsync has them, they are kept.
  errno = ENOSPC;  // what a short write means; it sets none
  const bool kept = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) &&
                    ::fsync(fd) == 0;
  const std::string why = kept ? "" : std::strerror(errno);
  ::close(fd);
  return kept || fail(why.c_str());
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
