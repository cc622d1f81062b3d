// How long the report commands take on a large log folder and a large ADIF file:
// the statistics over 2,000 nets of 40 check-ins, and the text summary of a 200-record net
// whose grids come from a 50 MB vhf4k.adi.
//
//   bench_reports [runs=9]

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "geo/adif.h"
#include "net/session.h"
#include "reports/reports.h"
#include "reports_gen.h"

namespace {

namespace fs = std::filesystem;
using namespace kelpie;
using bench::medianMs;

bool line(const char* what, double ms, double limitMs) {
  std::printf("%-62s %9.2f ms  (target < %g ms) %s\n", what, ms, limitMs,
              ms < limitMs ? "ok" : "OVER");
  return ms < limitMs;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::stoi(argv[1]) : 9;
  const fs::path root =
      fs::temp_directory_path() / ("kelpie-bench-reports-" + std::to_string(::getpid()));
  fs::remove_all(root);
  const fs::path logs = root / "logs";
  const fs::path app = root / "app";
  fs::create_directories(logs);
  fs::create_directories(app);

  bench::Seams seams;
  Platform& platform = seams.platform;

  bench::ReportsGenerator gen(20261205);
  bool ok = true;

  // Statistics: 2,000 nets of 40 check-ins in the log folder.
  {
    gen.writeLogFolder(logs, 2000, 40);
    Session s(platform, app);
    s.logFolder = logs;
    const double all = medianMs(runs, [&] { mMostCheckins_Click(s); });
    std::printf("  answer: %s\n", s.view.lines.at(3).c_str());
    ok &= line("statistics, all time, 2,000 logs x 40 check-ins", all, 100);
    const double year = medianMs(runs, [&] { mMostCheckinsperYear_Click(s); });
    ok &= line("statistics, this year, same folder", year, 100);
  }

  // Summary: a 200-record net, its stations in a 50 MB ADIF file (ten of them absent, so the
  // whole file is read).
  {
    fs::remove_all(logs);
    fs::create_directories(logs);
    std::vector<std::string> stations;
    for (int i = 0; i < 190; ++i) stations.push_back(gen.callsign());
    std::string net;
    for (const auto& c : stations) net += c + "\r\nPat\r\n  Springfield  \r\n";
    for (int i = 0; i < 10; ++i) net += "W" + std::to_string(i) + "ZZZ\r\nPat\r\nNowhere\r\n";
    std::ofstream(logs / "032515F.ILE", std::ios::binary) << net;
    const std::size_t bytes = gen.writeAdif(app / "vhf4k.adi", 50'000'000, stations);
    std::printf("  vhf4k.adi: %zu bytes\n", bytes);

    Session s(platform, app);
    s.logFolder = logs;
    s.settings.netBand = "222 MHz";
    s.settings.netControlGrid = "FN20XA";
    s.settings.distanceUnit = "Miles";
    seams.dialogs.chosen = (logs / "032515F.ILE").string();
    const double summary = medianMs(runs, [&] { mwriteLogFile_Click(s); });
    ok &= line("text summary, 200 records, 50 MB vhf4k.adi", summary, 1000);

    // For comparison: what one lookup of an absent station costs, 200 of which a lookup per
    // record would make.
    const double single =
        medianMs(3, [&] { getADIFGrid(app / "vhf4k.adi", "W0ZZZ", "FN20XA", "Miles"); });
    std::printf("  (one single-station lookup of an absent call: %.2f ms; 200 of them: %.0f ms)\n",
                single, 200 * single);
  }

  fs::remove_all(root);
  return ok ? 0 : 1;
}
