// How long Kelpie's ADIF grid lookup takes on a lifetime log, against `grep -c -F` for the
// same station mark on the same file, both with the file in the page cache.
//
//   bench_adif [megabytes=50] [runs=15]

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "adif_gen.h"
#include "geo/adif.h"

namespace {

using Clock = std::chrono::steady_clock;

template <typename F>
double medianMs(int runs, F&& f) {
  f();  // warm-up: page cache, allocator, program start-up paths
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    const auto t0 = Clock::now();
    f();
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
  }
  std::sort(ms.begin(), ms.end());
  return ms[ms.size() / 2];
}

int shell(const std::string& command) {
  const int rc = std::system(command.c_str());
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t megabytes = argc > 1 ? std::stoul(argv[1]) : 50;
  const int runs = argc > 2 ? std::stoi(argv[2]) : 15;
  const std::string absent = "W1ZZZ";  // the generator never makes a suffix with Z
  const std::string tail = "N1ZZZ";    // present once, in the very last record

  const auto folder =
      std::filesystem::temp_directory_path() / ("kelpie_bench_adif_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const auto file = folder / "vhf4k.adi";
  const auto gen =
      kelpie::bench::AdifGenerator(4242).write(file.string(), megabytes * 1000 * 1000, tail);
  std::printf("file %s: %zu bytes, %zu records\n", file.c_str(), gen.bytes, gen.records);

  const std::string grepCommand = "grep -c -F '>" + absent + ",' '" + file.string() + "'";
  const std::string grepQuiet = grepCommand + " >/dev/null";
  std::printf("grep count check: ");
  std::fflush(stdout);
  if (shell(grepCommand) != 1) {
    std::printf("the absent station is in the file\n");
    return 1;
  }

  int failures = 0;
  auto lookup = [&](const std::string& call, const std::string& expected) {
    const auto r = kelpie::getADIFGrid(file, call, "FN20XA", "kM");
    if (r.gridText.substr(0, expected.size()) != expected) ++failures;
  };

  const double absentMs = medianMs(runs, [&] { lookup(absent, ""); });
  const double tailMs = medianMs(runs, [&] { lookup(tail, gen.tailGrid); });
  const double firstMs = medianMs(runs, [&] { lookup(gen.firstCall, ""); });
  const double grepMs = medianMs(runs, [&] { shell(grepQuiet); });
  const double spawnMs =
      medianMs(runs, [&] { shell("grep -c -F '>W1ZZZ,' /dev/null >/dev/null"); });

  std::printf("median of %d hot runs:\n", runs);
  std::printf("  getADIFGrid, absent %-8s %8.2f ms\n", absent.c_str(), absentMs);
  std::printf("  getADIFGrid, last record %-3s %8.2f ms\n", tail.c_str(), tailMs);
  std::printf("  getADIFGrid, first station %-6s %6.3f ms\n", gen.firstCall.c_str(), firstMs);
  std::printf("  %s: %8.2f ms\n", grepCommand.c_str(), grepMs);
  std::printf("  (of which starting sh and grep on an empty file: %.2f ms)\n", spawnMs);
  std::printf("lookup/grep: %.2f %s\n", absentMs / grepMs,
              absentMs <= grepMs ? "(lookup no slower than grep)" : "(LOOKUP SLOWER THAN GREP)");

  std::filesystem::remove_all(folder);
  if (failures != 0) std::printf("%d lookups gave an unexpected grid text\n", failures);
  return failures == 0 && absentMs <= grepMs ? 0 : 1;
}
