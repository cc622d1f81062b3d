// Kelpie's net-time figures: start-up with a large roster, the fold at exit, one check-in in
// the worst case, a roster station, and the redraw of a full list in the real widget.
#include <QApplication>
#include <cstdlib>

#include "adif_gen.h"
#include "app/main_window.h"
#include "bench_support.h"
#include "bench_window.h"
#include "data/settings.h"
#include "net/session.h"
#include "platform/qt/qt_platform.h"

using namespace kelpie;
using namespace kelpie::bench;

namespace {

std::string call(int i) { return benchCall(i); }

void writeFolder(const fs::path& dir, bool bigFiles) {
  writeBenchFolder(dir, 10000);
  if (!bigFiles) return;
  writeBenchStationLists(dir);
  AdifGenerator gen(7);
  gen.write((dir / "vhf4k.adi").string(), 50u << 20);
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  std::printf("Kelpie net benchmarks (offscreen, Release)\n");

  // Start-up to an idle window with a 10,000-station roster.
  {
    const fs::path dir = benchFolder("startup");
    writeFolder(dir, false);
    std::vector<double> runs;
    for (int r = 0; r < 7; ++r) {
      fs::remove(dir / "120526F.ILE");
      const auto t0 = std::chrono::steady_clock::now();
      Windowed w(dir);
      w.session.Form_Load();
      w.window.render();
      w.window.show();
      QApplication::processEvents();
      runs.push_back(msSince(t0));
    }
    report("start-up to idle window, 10,000-station roster (median)", median(runs), 150);
  }

  // The fold and rewrite at exit: 10,000 stations, 100 check-ins (half known, half new).
  {
    const fs::path dir = benchFolder("fold");
    writeFolder(dir, false);
    std::vector<double> runs;
    for (int r = 0; r < 7; ++r) {
      Seams seams;
      Session session(seams.platform, dir);
      session.Form_Load();
      for (int k = 1; k <= 100; ++k) {
        CheckInRow& row = session.checkIns.row(k);
        row.f[1] = k % 2 ? call(k * 97) : "N" + std::to_string(k % 10) + "NEW" + std::to_string(k);
        row.f[2] = "EDITED";
        row.f[3] = "QTH";
      }
      session.checkIns.count = 100;
      const auto t0 = std::chrono::steady_clock::now();
      session.saveNetControlFile();
      runs.push_back(msSince(t0));
      writeFolder(dir, false);
    }
    report("roster fold and rewrite at exit, 10,000 + 100 (median)", median(runs), 20);
  }

  // Check-ins with the large station files.
  {
    const fs::path dir = benchFolder("checkin");
    writeFolder(dir, true);
    Seams seams;
    Session session(seams.platform, dir);
    session.Form_Load();
    std::vector<double> firstTime, known;
    for (int i = 0; i < 25; ++i) {
      session.view.entryText = "N" + std::to_string(i % 10) + "ZZ" + std::to_string(100 + i);
      int key = kKeyEnter;
      const auto t0 = std::chrono::steady_clock::now();
      session.CallSignInput_KeyPress(key);
      firstTime.push_back(msSince(t0));
    }
    for (int i = 0; i < 25; ++i) {
      session.view.entryText = call(9999 - i);  // near the end of the roster
      int key = kKeyEnter;
      const auto t0 = std::chrono::steady_clock::now();
      session.CallSignInput_KeyPress(key);
      known.push_back(msSince(t0));
    }
    report("first-time check-in, Enter to line and log (median)", median(firstTime), 16);
    report("roster station check-in, Enter to line and log (median)", median(known), 2);
  }

  // A traffic net's commands against a mark, with 1,000 check-ins held: Enter to the list
  // redrawn and (for the commands) the log, times and side file written. The entry line's
  // commands take a check-in number of one or two digits, so they act on check-in 99; the work
  // (every line rebuilt, every file rewritten whole) is the same for any of the 1,000.
  {
    const fs::path dir = benchFolder("traffic");
    writeFolder(dir, false);
    Seams seams;
    Session session(seams.platform, dir);
    session.Form_Load();
    for (int k = 1; k <= 1000; ++k) {
      CheckInRow& row = session.checkIns.row(k);
      row.f[1] = call(k), row.f[2] = "NAME", row.f[3] = "QTH";
      row.timeIn = "2026-12-06T01:30:00Z";
    }
    session.checkIns.count = 1000;
    session.saveLogFile();
    session.updateCheckIns();
    auto enter = [&](const char* text, const char* answer) {
      return [&session, &seams, text, answer] {
        seams.dialogs.input = answer;
        session.view.entryText = text;
        int key = kKeyEnter;
        session.CallSignInput_KeyPress(key);
      };
    };
    const double mark = medianMs(25, enter("99", ""));
    report("mark of check-in 99 of 1,000 (median)", mark, 16);
    report("T# listing, Enter to log and side file (median)",
           medianMs(25, enter("T99", "2 P Boston")), mark + 2);
    report("P# pass, Enter to log and side file (median)", medianMs(25, enter("P99", "W2XYZ")),
           mark + 2);
    report("R# remark, Enter to log and side file (median)", medianMs(25, enter("R99", "Mobile")),
           mark + 2);
  }

  // Redrawing 1,000 lines in the real list widget.
  {
    const fs::path dir = benchFolder("redraw");
    writeFolder(dir, false);
    Windowed w(dir);
    Session& session = w.session;
    MainWindow& window = w.window;
    session.Form_Load();
    for (int k = 1; k <= 1000; ++k) session.checkIns.row(k).f[1] = call(k);
    session.checkIns.count = 1000;
    window.show();
    QApplication::processEvents();
    std::vector<double> runs;
    for (int r = 0; r < 15; ++r) {
      const auto t0 = std::chrono::steady_clock::now();
      session.updateAck(1 + r);  // every line is rebuilt and the list redrawn
      window.render();
      window.repaint();
      runs.push_back(msSince(t0));
    }
    report("redraw of a 1,000-line list in the widget (median)", median(runs), 10);
  }
  return 0;
}
