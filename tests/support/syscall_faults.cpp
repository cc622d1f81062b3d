// The calls are taken over for the whole test program (its own definitions come before the C
// library's); each passes on to the next definition unless a FailNext is armed for it. A failed
// close still closes, as Linux does.
#include "support/syscall_faults.h"

#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <mutex>

namespace kelpie::test {
namespace {
std::mutex guard;
bool armed = false, firedFlag = false;
SysOp armedOp;
std::string armedName;

// The file an fd or a path names: its last part.
std::string baseName(const std::string& path) { return path.substr(path.rfind('/') + 1); }
std::string fdName(int fd) {
  char link[64], target[4096];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t n = ::readlink(link, target, sizeof target - 1);
  return n > 0 ? baseName(std::string(target, static_cast<size_t>(n))) : std::string();
}

// Whether this call is the one to fail; it fires once.
bool take(SysOp op, const std::string& name) {
  std::lock_guard<std::mutex> lock(guard);
  if (!armed || op != armedOp) return false;
  // The temporary is ".NAME.XXXXXX"; the rename's target is NAME itself.
  const bool hit =
      op == SysOp::Rename ? name == armedName : name.rfind("." + armedName + ".", 0) == 0;
  if (!hit) return false;
  armed = false;
  firedFlag = true;
  return true;
}

template <typename F>
F next(const char* symbol) {
  return reinterpret_cast<F>(::dlsym(RTLD_NEXT, symbol));
}
}  // namespace

FailNext::FailNext(SysOp op, std::string fileName) {
  std::lock_guard<std::mutex> lock(guard);
  armed = true, firedFlag = false, armedOp = op, armedName = std::move(fileName);
}
FailNext::~FailNext() {
  std::lock_guard<std::mutex> lock(guard);
  armed = false;
}
bool FailNext::fired() const {
  std::lock_guard<std::mutex> lock(guard);
  return firedFlag;
}

}  // namespace kelpie::test

using kelpie::test::SysOp;

extern "C" {
ssize_t write(int fd, const void* buf, size_t count) {
  static const auto real = kelpie::test::next<ssize_t (*)(int, const void*, size_t)>("write");
  if (fd > 2 && kelpie::test::take(SysOp::Write, kelpie::test::fdName(fd))) {
    errno = EIO;
    return -1;
  }
  return real(fd, buf, count);
}
int fsync(int fd) {
  static const auto real = kelpie::test::next<int (*)(int)>("fsync");
  if (kelpie::test::take(SysOp::Fsync, kelpie::test::fdName(fd))) {
    errno = EIO;
    return -1;
  }
  return real(fd);
}
int close(int fd) {
  static const auto real = kelpie::test::next<int (*)(int)>("close");
  const bool fail = fd > 2 && kelpie::test::take(SysOp::Close, kelpie::test::fdName(fd));
  const int r = real(fd);
  if (!fail) return r;
  errno = EIO;
  return -1;
}
int rename(const char* from, const char* to) {
  static const auto real = kelpie::test::next<int (*)(const char*, const char*)>("rename");
  if (kelpie::test::take(SysOp::Rename, kelpie::test::baseName(to))) {
    errno = EIO;
    return -1;
  }
  return real(from, to);
}
}
