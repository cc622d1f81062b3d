// Included once by each fuzz target, which defines kelpie::fuzz::run. With KELPIE_FUZZ_REPLAY
// (no libFuzzer) it brings a main running each input named once (a folder: each of its files).
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "support/fake_platform.h"

// A broken check stops the run like a crash, so libFuzzer keeps the input.
#define FUZZ_CHECK(cond)                                                                   \
  ((cond) ? (void)0                                                                        \
          : (std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond), \
             std::abort()))

namespace kelpie::fuzz {

void run(std::string_view in);

// The input up to its first line end names a station; the rest is the contents of a file.
inline std::pair<std::string, std::string> splitFirstLine(std::string_view in) {
  const size_t end = std::min(in.find_first_of("\r\n"), in.size());
  const size_t rest = std::min(end + (in.substr(end, 2) == "\r\n" ? 2 : 1), in.size());
  return {std::string(in.substr(0, end)), std::string(in.substr(rest))};
}

}  // namespace kelpie::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kelpie::fuzz::run({reinterpret_cast<const char*>(data), size});
  return 0;
}

#ifdef KELPIE_FUZZ_REPLAY
int main(int argc, char** argv) {
  namespace fs = kelpie::fs;
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i)
    if (!fs::is_directory(argv[i]))
      inputs.emplace_back(argv[i]);
    else
      for (const auto& e : fs::directory_iterator(argv[i])) inputs.push_back(e.path());
  std::sort(inputs.begin(), inputs.end());
  for (std::string s; const auto& p : inputs) {
    if (!kelpie::readBytes(p, s)) return std::fprintf(stderr, "cannot read %s\n", p.c_str()), 2;
    kelpie::fuzz::run(s);
  }
  std::printf("replayed %zu inputs\n", inputs.size());
  return inputs.empty() ? 2 : 0;
}
#endif
