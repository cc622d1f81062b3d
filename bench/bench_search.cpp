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
  Lines club, names;
  for (int i = 0; i < 10000; ++i) {
    club.insert(club.end(), {"W" + std::to_string(i % 10) + "C" + std::to_string(10000 + i),
                             "CLUBBER", "TOWN"});
    std::string n = "N" + std::to_string(i % 10) + "L" + std::to_string(1000 + i);
    n.resize(7, ' ');
    names.push_back(n + "LISTED NAME");
  }
  writeLinesAtomic(dir / "BURROW.DAT", club);
  writeLinesAtomic(dir / "ck2list.dat", names);
  NetSettings s;
  s.logFolder = dir.string();
  s.netControlCall = "W1NC";
  s.netBand = "222 MHz";
  s.netControlGrid = "FN20XA";
  writeLinesAtomic(dir / "Kelpie_Control.ini", settingsFileLines(s));
}

// A session shown in the real main window, over quiet seams.
struct Windowed {
  explicit Windowed(const fs::path& dir) : session(platform, dir), window(session) {
    events.render = [this] { window.render(); };
  }
  Seams seams;
  QtEvents events;
  Platform platform{seams.dialogs, seams.clock, events, seams.launcher, seams.printer, seams.help};
  Session session;
  MainWindow window;
};

// Median time of Enter on the entry line with text typed, to the list drawn; then Esc.
double enterMs(Windowed& w, const std::string& text, int runs, size_t& lines) {
  std::vector<double> ms;
  for (int r = 0; r <= runs; ++r) {
    w.session.view.entryText = text;
    int key = kKeyEnter;
    const auto t0 = std::chrono::steady_clock::now();
    w.session.CallSignInput_KeyPress(key);
    w.window.render();
    w.window.repaint();
    if (r > 0) ms.push_back(msSince(t0));  // the first run warms the page cache
    lines = w.session.view.lines.size();
    w.session.Form_KeyDown(kKeyEsc, 0);
  }
  return median(ms);
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
  Windowed w(dir);
  w.session.Form_Load();
  for (int i = 0; i < 30; ++i) {  // a net well under way
    w.session.view.entryText = rosterCall(i * 7);
    int key = kKeyEnter;
    w.session.CallSignInput_KeyPress(key);
  }
  w.window.show();
  QApplication::processEvents();

  struct Case {
    const char* what;
    const char* typed;
    double limit;
  };
  const Case cases[] = {
      {"search ?R10012 (anywhere), 30,000 stations", "?R10012", 16},
      {"search ?K?R1001?? (any one character)", "?K?R1001??", 16},
      {"search ?*C1000? (anchored, club list)", "?*C1000?", 16},
      {"search ?L10 (anywhere, name list)", "?L10", 16},
      {"search ?K1* (a thousand roster matches)", "?K1*", 16},
      {"search ?Q (no match)", "?Q", 16},
      {"regulars not yet heard, 2,000 stored logs", "?", 16},
  };
  for (const Case& c : cases) {
    size_t lines = 0;
    const double ms = enterMs(w, c.typed, runs, lines);
    const std::string what = std::string(c.what) + " [" + std::to_string(lines) + " lines]";
    report(what.c_str(), ms, c.limit);
  }
  return 0;
}
