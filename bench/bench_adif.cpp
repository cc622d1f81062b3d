// How long Kelpie's ADIF grid lookup takes on a lifetime log, against `grep -c -F` for the
// same station mark on the same file, both with the file in the page cache; and the text
// summary's one-pass lookup of a 200-record net. Each in the three forms of file: the old one
// with the comma mark, ADIF 3 with one record per line, ADIF 3 with records over two lines.
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
#include "reports/adif_batch.h"

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

// One form of file: prints its figures, returns whether every target and answer held.
bool benchForm(const std::filesystem::path& file, kelpie::bench::AdifForm form, const char* title,
               std::size_t megabytes, int runs) {
  const std::string absent = "W1ZZZ";  // the generator never makes a suffix with Z
  const std::string tail = "N1ZZZ";    // present once, in the very last record
  const auto gen =
      kelpie::bench::AdifGenerator(4242, form).write(file.string(), megabytes * 1000 * 1000, tail);
  std::printf("\n%s: %zu bytes, %zu records\n", title, gen.bytes, gen.records);

  const std::string grepCommand = "grep -c -F '>" + absent + ",' '" + file.string() + "'";
  const std::string grepQuiet = grepCommand + " >/dev/null";
  if (shell(grepQuiet) != 1) {
    std::printf("  the absent station is in the file\n");
    return false;
  }

  int failures = 0;
  auto lookup = [&](const std::string& call, bool present, const std::string& grid) {
    const auto r = kelpie::getADIFGrid(file, call, "FN20XA", "kM");
    if (r.found != present || r.gridText.substr(0, grid.size()) != grid) ++failures;
  };
  // The summary's lookup: 190 stations of the file and ten that are not in it.
  std::vector<std::string> net(gen.calls.begin(), gen.calls.begin() + 190);
  for (int i = 0; i < 10; ++i) net.push_back("W" + std::to_string(i) + "ZZZ");
  auto summary = [&] {
    const auto grids = kelpie::findAdifGridValues(file, net);
    int found = 0;
    for (const auto& g : grids) found += g.has_value() ? 1 : 0;
    if (found < 150 || grids[199].has_value()) ++failures;  // one record in seven has no grid
  };

  const double absentMs = medianMs(runs, [&] { lookup(absent, false, ""); });
  const double tailMs = medianMs(runs, [&] { lookup(tail, true, gen.tailGrid + "  "); });
  const double firstMs = medianMs(runs, [&] { lookup(gen.firstCall, true, ""); });
  const double summaryMs = medianMs(std::max(3, runs / 5), summary);
  const double grepMs = medianMs(runs, [&] { shell(grepQuiet); });

  std::printf("  getADIFGrid, absent %-8s %8.2f ms\n", absent.c_str(), absentMs);
  std::printf("  getADIFGrid, last record %-3s %8.2f ms\n", tail.c_str(), tailMs);
  std::printf("  getADIFGrid, first station %-6s %6.2f ms\n", gen.firstCall.c_str(), firstMs);
  std::printf("  summary lookup, 200 records %7.2f ms (target under 1000)\n", summaryMs);
  std::printf("  %s: %8.2f ms\n", grepCommand.c_str(), grepMs);
  std::printf("  lookup/grep: %.2f %s\n", absentMs / grepMs,
              absentMs <= grepMs ? "(lookup no slower than grep)" : "(LOOKUP SLOWER THAN GREP)");
  if (failures != 0) std::printf("  %d lookups gave an unexpected answer\n", failures);
  return failures == 0 && absentMs <= grepMs && summaryMs < 1000;
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t megabytes = argc > 1 ? std::stoul(argv[1]) : 50;
  const int runs = argc > 2 ? std::stoi(argv[2]) : 15;
  const auto folder =
      std::filesystem::temp_directory_path() / ("kelpie_bench_adif_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const auto file = folder / "vhf4k.adi";
  std::printf("median of %d hot runs (the summary: of %d)\n", runs, std::max(3, runs / 5));
  using kelpie::bench::AdifForm;
  bool ok =
      benchForm(file, AdifForm::CommaMark, "comma mark, one record per line", megabytes, runs);
  ok &= benchForm(file, AdifForm::OneLine, "ADIF 3, one record per line", megabytes, runs);
  ok &= benchForm(file, AdifForm::TwoLines, "ADIF 3, records over two lines", megabytes, runs);
  const double spawnMs =
      medianMs(runs, [&] { shell("grep -c -F '>W1ZZZ,' /dev/null >/dev/null"); });
  std::printf("\n(starting sh and grep on an empty file: %.2f ms)\n", spawnMs);
  std::filesystem::remove_all(folder);
  return ok ? 0 : 1;
}
