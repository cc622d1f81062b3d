// The calls are taken over for the whole test program (its own definitions come before the C
// library's); each passes on to the next definition unless a FailNext is armed for it. A failed
// close still closes, as Linux does.
#include "support/syscall_faults.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <mutex>

namespace kelpie::test {
namespace {
std::mutex guard;
bool armed = false, firedFlag = false;
SysOp armedOp;
std::string armedName;

std::string baseName(const std::string& path) { return path.substr(path.rfind('/') + 1); }
std::string fdName(int fd) {
  char link[64], target[4096];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t n = ::readlink(link, target, sizeof target - 1);
  return n > 0 ? baseName(std::string(target, static_cast<size_t>(n))) : std::string();
}
}  // namespace

// Whether this call is the one to fail (errno set); it fires once. The temporary is
// ".NAME.XXXXXX"; the rename's target is NAME itself.
bool failHere(SysOp op, const std::string& name) {
  std::lock_guard<std::mutex> lock(guard);
  if (!armed || op != armedOp ||
      !(op == SysOp::Rename ? name == armedName : name.rfind("." + armedName + ".", 0) == 0))
    return false;
  armed = false, firedFlag = true, errno = EIO;
  return true;
}
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

using kelpie::test::failHere, kelpie::test::fdName, kelpie::test::SysOp;
#define NEXT(name, type) static const auto real = reinterpret_cast<type>(::dlsym(RTLD_NEXT, name))

extern "C" {
ssize_t write(int fd, const void* buf, size_t count) {
  NEXT("write", ssize_t(*)(int, const void*, size_t));
  return fd > 2 && failHere(SysOp::Write, fdName(fd)) ? -1 : real(fd, buf, count);
}
int fsync(int fd) {
  NEXT("fsync", int (*)(int));
  return failHere(SysOp::Fsync, fdName(fd)) ? -1 : real(fd);
}
int close(int fd) {
  NEXT("close", int (*)(int));
  const bool fail = fd > 2 && failHere(SysOp::Close, fdName(fd));
  const int r = real(fd);
  if (fail) errno = EIO;
  return fail ? -1 : r;
}
int rename(const char* from, const char* to) {
  NEXT("rename", int (*)(const char*, const char*));
  return failHere(SysOp::Rename, kelpie::test::baseName(to)) ? -1 : real(from, to);
}
}
