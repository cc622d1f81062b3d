// How long the ICS forms take on a stored net of 1,000 check-ins with 300 traffic events (150
// listings, each passed) and a few tactical posts and remarks: "Save PDF" of each form as the
// dialog runs it (read the log, its times and its side file, lay the pages out, write the PDF
// and rename it into place), and the 309's CSV.
//
//   bench_forms [runs=7]
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_support.h"
#include "data/checkin_facts.h"
#include "data/checkin_log.h"
#include "data/checkin_times.h"
#include "forms/form_commands.h"
#include "net/session.h"
#include "platform/qt/qt_form_printer.h"

namespace {
namespace fs = std::filesystem;
using namespace kelpie;
using bench::medianMs;

// Replacing the form of the run before is always allowed.
struct YesDialogs : bench::QuietDialogs {
  Answer messageBox(const std::string&, const std::string&, Buttons b, Answer d) override {
    return b == Buttons::YesNo ? Answer::Yes : d;
  }
};

std::string utc(int second) {
  char t[32];
  std::snprintf(t, sizeof t, "2026-12-06T%02d:%02d:%02dZ", second / 3600, second / 60 % 60,
                second % 60);
  return t;
}
}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  const int runs = argc > 1 ? std::stoi(argv[1]) : 7;
  const fs::path root =
      fs::temp_directory_path() / ("kelpie-bench-forms-" + std::to_string(::getpid()));
  fs::remove_all(root);
  fs::create_directories(root);

  std::vector<LogRecord> records;
  std::vector<CheckInTime> times;
  std::vector<FactsRow> facts;
  for (int i = 0; i < 1000; ++i) {
    const std::string call = "W" + std::to_string(i) + "ABC";
    records.push_back({call, "Pat", "Springfield"});
    times.push_back({call, utc(i * 12), i % 9 == 0});
    CheckInFacts f;
    if (i % 20 % 7 == 3) {  // 3, 10 and 17 of every 20: 150 listings
      f.count = 1 + i % 3;
      f.precedence = kPrecedences[static_cast<size_t>(i / 20) % 4];
      f.dest = "Springfield Emergency Operations Center, desk 4";
      f.listedAt = utc(i * 12 + 5);
      f.passedTo = "N3PASS";
      f.passedAt = utc(i * 12 + 600);
    }
    if (i % 50 == 7) f.tactical = "SHELTER " + std::to_string(i), f.tacticalAt = utc(i * 12 + 30);
    if (i % 40 == 11)
      f.remark = "Power out on the east side, generator running", f.remarkAt = utc(i * 12 + 90);
    if (!f.empty()) facts.push_back({call, f});
  }
  writeLinesAtomic(root / "120526F.ILE", logLines(records));
  writeLinesAtomic(root / "120526F.TIM", timeLines(times));
  writeLinesAtomic(factsPathFor(root / "120526F.ILE"), factsLines(facts));

  bench::Seams seams;
  YesDialogs dialogs;
  Platform platform{dialogs, seams.clock, seams.events, seams.launcher, seams.printer, seams.help};
  Session s(platform, root);
  s.logFolder = root;
  s.todayLogName = "120726F.ILE";
  QtFormPrinter printer;
  printer.setPaper(QPageSize::Letter);

  auto job = [&](IcsForm form) {
    FormJob j{form, {}, {}};
    readPastNet(s, root / "120526F.ILE", j.net);
    const Period p = periodOf(netEvents(j.net, s.ui.clock));
    j.header = {"Winter Storm", "26-014",
                p.from,         p.to,
                "2m net",       "Pat Doe",
                "W1NC",         "Lee Roy",
                "KC1LOG",       "Net Control Operator",
                "ARES Unit 4",  {{2026, 12, 6}, 4, 0, 0}};
    return j;
  };
  FormJob probe = job(IcsForm::Log309);
  size_t traffic = 0;
  for (const NetEvent& e : netEvents(probe.net, s.ui.clock))
    traffic += e.kind == EventKind::Listing || e.kind == EventKind::Pass;
  const Sheet sheet = formSheet(probe, s.ui.clock, printer);
  std::printf("%zu check-ins, %zu traffic events, the 309 on %zu pages\n",
              probe.net.checkIns.size(), traffic, sheet.pages.size());

  bool ok = true;
  ok &= bench::report("ICS 309 Save PDF (read the log, lay out, write)",
                      medianMs(runs, [&] { saveFormPdf(s, printer, job(IcsForm::Log309)); }), 1000);
  ok &= bench::report("ICS 214 Save PDF (read the log, lay out, write)",
                      medianMs(runs, [&] { saveFormPdf(s, printer, job(IcsForm::Activity214)); }),
                      500);
  ok &= bench::report("ICS 309 Save CSV",
                      medianMs(runs, [&] { saveFormCsv(s, job(IcsForm::Log309)); }), 100);
  ok &= bench::report("ICS 309 pages laid out only",
                      medianMs(runs, [&] { formSheet(probe, s.ui.clock, printer); }), 1000);
  std::printf("PDF sizes: 309 %lld bytes, 214 %lld bytes\n",
              static_cast<long long>(fs::file_size(root / "120526F ICS-309.pdf")),
              static_cast<long long>(fs::file_size(root / "120526F ICS-214.pdf")));
  fs::remove_all(root);
  return ok ? 0 : 1;
}
