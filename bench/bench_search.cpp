// How fast the operator sees the answer of a station search: a half-heard callsign over a
// 10,000-station roster, a 10,000-record club list and a 10,000-line name list, and the
// regulars not yet heard over a folder of 2,000 stored logs. Each time runs from Enter on the
// entry line to the answer drawn in the real list widget (offscreen).
//
//   bench_search [runs=15]

#include <QApplication>
#include <cstdlib>

#include "app/main_window.h"
#include "bench_support.h"
#include "bench_window.h"
#include "data/settings.h"
#include "net/session.h"
#include "platform/qt/qt_platform.h"
#include "reports_gen.h"

using namespace kelpie;
using namespace kelpie::bench;

namespace {

std::string rosterCall(int i) {
  return "K" + std::to_string(i % 10) + "R" + std::to_string(100000 + i);
}

void writeStationFiles(const fs::path& dir) {
  Lines roster{"222 MHz",      "W1NC", "1/2/2020", "initial check-in date", "last check-in date",
               "old call sign"};
  for (int i = 0; i < 10000; ++i) {
    const std::string last =
        std::to_string(1 + i % 12) + "/" + std::to_string(1 + i % 28) + "/2025";
    for (const std::string& f :
         {rosterCall(i), "NAME" + std::to_string(i), std::string("SOMEWHERE FN20"),
          std::string("1/1/2020"), last, i % 50 ? std::string("-") : "K0OLD" + std::to_string(i)})
      roster.push_back(f);
  }
  writeLinesAtomic(dir / "NETCONT.ROL", roster);
  writeBenchStationLists(dir);
  writeBenchSettings(dir);
}

// Median (and best) time of Enter on the entry line with text typed, to the answer in the view
// state (session) or drawn in the window (with its render); Esc after each run.
std::pair<double, double> enterMs(Session& s, MainWindow* window, const std::string& text, int runs,
                                  size_t& lines) {
  std::vector<double> ms;
  for (int r = 0; r <= runs; ++r) {
    s.view.entryText = text;
    int key = kKeyEnter;
    const auto t0 = std::chrono::steady_clock::now();
    s.CallSignInput_KeyPress(key);
    if (window) {
      window->render();
      window->repaint();
    }
    if (r > 0) ms.push_back(msSince(t0));  // the first run warms the page cache
    lines = s.view.lines.size();
    s.Form_KeyDown(kKeyEsc, 0);
    if (window) window->render();
  }
  return {median(ms), *std::min_element(ms.begin(), ms.end())};
}

// A net well under way: thirty roster stations checked in.
void checkInThirty(Session& s) {
  for (int i = 0; i < 30; ++i) {
    s.view.entryText = rosterCall(i * 7);
    int key = kKeyEnter;
    s.CallSignInput_KeyPress(key);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  QApplication app(argc, argv);
  std::printf("Kelpie station search benchmarks (offscreen, Release)\n");

  const fs::path dir = benchFolder("search");
  writeStationFiles(dir);
  ReportsGenerator(11).writeLogFolder(dir, 2000, 40);
  // The last eight nets: 25 regulars, each heard in six of them, and 20 passers-by.
  for (int n = 0; n < 8; ++n) {
    Lines log;
    for (int k = 0; k < 25; ++k)
      if ((k + n) % 4 != 0) log.insert(log.end(), {rosterCall(1000 + k), "REG", "TOWN"});
    for (int k = 0; k < 20; ++k) log.insert(log.end(), {rosterCall(5000 + 20 * n + k), "P", "Q"});
    static const char* const names[] = {"120426F.ILE", "120326F.ILE", "120226F.ILE", "120126F.ILE",
                                        "113026F.ILE", "112926F.ILE", "112826F.ILE", "112726F.ILE"};
    writeLinesAtomic(dir / names[n], log);
  }
  Seams seams;
  Session core(seams.platform, dir);
  core.Form_Load();
  checkInThirty(core);
  Windowed w(dir);
  w.session.Form_Load();
  checkInThirty(w.session);
  w.window.show();
  QApplication::processEvents();

  struct Case {
    const char* what;
    const char* typed;
  };
  const Case cases[] = {
      {"?R10012 (anywhere), 30,000 stations", "?R10012"},
      {"?K?R1001?? (any one character)", "?K?R1001??"},
      {"?*C1000? (whole callsign, club list)", "?*C1000?"},
      {"?L101 (anywhere, name list)", "?L101"},
      {"?Q (no match)", "?Q"},
      {"?K1* (a thousand roster matches)", "?K1*"},
      {"? regulars not yet heard, 2,000 stored logs", "?"},
  };
  for (const Case& c : cases) {
    size_t lines = 0;
    const auto [coreMs, coreBest] = enterMs(core, nullptr, c.typed, runs, lines);
    const auto [drawnMs, drawnBest] = enterMs(w.session, &w.window, c.typed, runs, lines);
    const std::string what = std::string(c.what) + " [" + std::to_string(lines) + " lines]";
    report(("core  " + what).c_str(), coreMs, 16);
    report(("drawn " + what).c_str(), drawnMs, 16);
    std::printf("%-58s best %.3f ms core, %.3f ms drawn\n", "", coreBest, drawnBest);
  }
  return 0;
}
