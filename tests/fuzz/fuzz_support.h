// Shared pieces of Kelpie's fuzz targets: a check that stops the run with a message (libFuzzer
// keeps the input that broke it), readers over the fuzz input, and the folder the rigs use.
// Each target is one source file, so the one-time set-up below is defined here.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// A broken invariant is a finding, like a crash: abort so the fuzzer saves the input.
#define KELPIE_FUZZ_CHECK(cond) ((cond) ? (void)0 : ::kelpie::fuzz::fail(#cond, __FILE__, __LINE__))

namespace kelpie::fuzz {

[[noreturn]] inline void fail(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
  std::fflush(stderr);
  std::abort();
}

// The rigs write their files with fsync; on a memory file system that costs nothing, so the
// fuzzers run many times faster there. An explicit TMPDIR is left alone.
inline void preferMemoryTempFolder() {
  if (std::getenv("TMPDIR") == nullptr && ::access("/dev/shm", W_OK | X_OK) == 0)
    ::setenv("TMPDIR", "/dev/shm", 0);
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
  std::string call;
  std::string file;
};
inline CallAndFile splitFirstLine(std::string_view in) {
  const size_t end = in.find_first_of("\r\n");
  if (end == std::string_view::npos) return {std::string(in), {}};
  size_t rest = end + 1;
  if (in[end] == '\r' && rest < in.size() && in[rest] == '\n') ++rest;
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

}  // namespace kelpie::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  kelpie::fuzz::preferMemoryTempFolder();
  return 0;
}
