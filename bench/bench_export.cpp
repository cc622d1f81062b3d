// How long Tools > "Export check-ins..." takes on a stored net of 1,000 check-ins with its
// times file, in either format: the whole command (read the log and the times, build the file,
// write it atomically with its flush to the disk), and the building of the text alone.
//
//   bench_export [runs=15]
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_support.h"
#include "data/checkin_log.h"
#include "data/checkin_times.h"
#include "net/session.h"
#include "reports/export.h"
#include "reports_gen.h"

namespace {
namespace fs = std::filesystem;
using namespace kelpie;
using bench::medianMs;

// The save dialog answers with a fixed file; its replacement is confirmed.
struct ExportDialogs : bench::QuietDialogs {
  std::string target;
  SaveChoice chooseSaveFile(const std::string&, const std::string&,
                            const std::vector<std::string>&) override {
    return {target, 0};
  }
  Answer messageBox(const std::string&, const std::string&, Buttons b, Answer d) override {
    return b == Buttons::YesNo ? Answer::Yes : d;
  }
};
}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::stoi(argv[1]) : 15;
  const fs::path root =
      fs::temp_directory_path() / ("kelpie-bench-export-" + std::to_string(::getpid()));
  fs::remove_all(root);
  fs::create_directories(root);

  // A net of 1,000 check-ins: first-time stations with grid text, in-and-out ones, and times.
  bench::ReportsGenerator gen(20261205);
  std::vector<LogRecord> records;
  std::vector<CheckInTime> times;
  for (int i = 0; i < 1000; ++i) {
    const std::string call = gen.callsign() + std::to_string(i);
    records.push_back({call, i % 4 ? "Pat" : "J\xFCrgen, \"Jo\"",
                       i % 2 ? "Springfield  FN42AB  123\xB0" : "Springfield"});
    char t[32];
    std::snprintf(t, sizeof t, "2026-12-06T0%d:%02d:%02dZ", i / 3600, i / 60 % 60, i % 60);
    times.push_back({call, i % 10 ? t : "", i % 7 == 0});
  }
  writeLinesAtomic(root / "120526F.ILE", logLines(records));
  writeLinesAtomic(root / "120526F.TIM", timeLines(times));

  bench::Seams seams;
  ExportDialogs dialogs;
  Platform platform{dialogs, seams.clock, seams.events, seams.launcher, seams.printer, seams.help};
  Session s(platform, root);
  s.logFolder = root;
  s.todayLogName = "120526F.ILE";
  s.settings.netBand = "222 MHz";
  dialogs.chosen = (root / "120526F.ILE").string();

  bool ok = true;
  dialogs.target = (root / "net.csv").string();
  ok &= bench::report("export to CSV, 1,000 check-ins (whole command)",
                      medianMs(runs, [&] { mExport_Click(s); }), 50);
  dialogs.target = (root / "net.adi").string();
  ok &= bench::report("export to ADIF, 1,000 check-ins (whole command)",
                      medianMs(runs, [&] { mExport_Click(s); }), 50);

  const ExportNet net = exportNet("120526F.ILE", {2026, 12, 5}, "222 MHz", records,
                                  matchTimes(
                                      [&] {
                                        std::vector<std::string> calls;
                                        for (const auto& r : records) calls.push_back(r.callSign);
                                        return calls;
                                      }(),
                                      times),
                                  s.roster, true);
  std::size_t bytes = 0;
  const double csv = medianMs(runs, [&] { bytes = exportCsv(net, seams.clock).size(); });
  std::printf("  (CSV text alone: %.3f ms, %zu bytes)\n", csv, bytes);
  const double adif = medianMs(runs, [&] {
    bytes = exportAdif(net, {{2026, 12, 6}, 1, 2, 3}, "2.1").size();
  });
  std::printf("  (ADIF text alone: %.3f ms, %zu bytes)\n", adif, bytes);

  fs::remove_all(root);
  return ok ? 0 : 1;
}
