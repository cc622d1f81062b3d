// Shared pieces of Kelpie's fuzz targets: a check that stops the run with a message (libFuzzer
// keeps the input that broke it), readers over the fuzz input, and the one-time set-up. Each
// target is one source file that includes this once.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "support/fake_platform.h"

// A broken invariant is a finding, like a crash: abort so the fuzzer saves the input.
#define KELPIE_FUZZ_CHECK(cond) ((cond) ? (void)0 : ::kelpie::fuzz::fail(#cond, __FILE__, __LINE__))

namespace kelpie::fuzz {

[[noreturn]] inline void fail(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
  std::abort();
}

// Two rosters (or anything with rows of fields 1 to 6) hold the same text.
template <class R>
bool sameRows(const R& a, const R& b) {
  if (a.rows.size() != b.rows.size()) return false;
  for (size_t r = 0; r < a.rows.size(); ++r)
    for (int f = 1; f <= 6; ++f)
      if (a.rows[r].field(f) != b.rows[r].field(f)) return false;
  return true;
}

inline std::string_view asText(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// The input up to its first line end names a station; the rest is the contents of a file.
struct CallAndFile {
  std::string call, file;
};
inline CallAndFile splitFirstLine(std::string_view in) {
  const size_t end = in.find_first_of("\r\n");
  if (end == std::string_view::npos) return {std::string(in), {}};
  const size_t rest = end + (in.substr(end, 2) == "\r\n" ? 2 : 1);
  return {std::string(in.substr(0, end)), std::string(in.substr(rest))};
}

// Takes bytes off the front of the input one at a time; zero once it is used up.
class ByteReader {
 public:
  explicit ByteReader(std::string_view in) : in_(in) {}
  bool empty() const { return pos_ >= in_.size(); }
  uint8_t next() { return empty() ? 0 : static_cast<uint8_t>(in_[pos_++]); }

 private:
  std::string_view in_;
  size_t pos_ = 0;
};

// A started session over a roster and settings, with the given files written first.
inline bool startRig(test::Rig& rig, const std::vector<std::pair<std::string, std::string>>& files,
                     const std::vector<std::vector<std::string>>& roster = {}) {
  rig.writeRoster(roster);
  rig.writeSettings();
  for (const auto& [name, bytes] : files) rig.writeBytes(name, bytes);
  return rig.session.Form_Load();
}

}  // namespace kelpie::fuzz

// The rigs write their files with fsync; on a memory file system that costs nothing, so the
// fuzzers run many times faster there. An explicit TMPDIR is left alone.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (std::getenv("TMPDIR") == nullptr && ::access("/dev/shm", W_OK | X_OK) == 0)
    ::setenv("TMPDIR", "/dev/shm", 0);
  return 0;
}
