// Small stand-ins for the platform seams and a timer, shared by the benchmarks.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "data/settings.h"
#include "data/text.h"
#include "platform/seams.h"

namespace kelpie::bench {

struct QuietDialogs : Dialogs {
  std::string chosen;  // the log the chooser answers with
  Answer messageBox(const std::string&, const std::string&, Buttons, Answer d) override {
    return d;
  }
  std::string input = "FN20XA";  // the only question a prepared folder asks: the grid square
  std::string inputBox(const std::string&, const std::string&, const std::string&) override {
    return input;
  }
  std::string chooseLogFile(const std::string&, const std::string&) override { return chosen; }
};
struct FixedClock : Clock {
  Date today() override { return {2026, 12, 5}; }
  DateTime nowUtc() override { return {{2026, 12, 6}, 1, 30, 0}; }
  DateTime localTime(const DateTime& utc) override { return utc; }
};
struct NoEvents : Events {
  void doEvents() override {}
};
struct NoLauncher : Launcher {
  bool startDetached(const std::string&, const std::vector<std::string>&) override { return true; }
  bool openDocument(const std::string&) override { return true; }
};
struct NoPrinter : Printer {
  void setFont(const std::string&, int, bool, bool, bool) override {}
  void printLine(const std::string&) override {}
  std::string endDoc(bool& ok) override {
    ok = true;
    return {};
  }
};
struct NoHelp : HelpViewer {
  void showHelp(int) override {}
};

struct Seams {
  QuietDialogs dialogs;
  FixedClock clock;
  NoEvents events;
  NoLauncher launcher;
  NoPrinter printer;
  NoHelp help;
  Platform platform{dialogs, clock, events, launcher, printer, help};
};

inline double msSince(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

inline double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// The median time of runs calls of f, after one call that warms the page cache and allocator.
template <class F>
double medianMs(int runs, F&& f) {
  f();
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    ms.push_back(msSince(t0));
  }
  return median(ms);
}

inline std::filesystem::path benchFolder(const std::string& name) {
  auto p = std::filesystem::temp_directory_path() / ("kelpie-bench-" + name);
  std::filesystem::remove_all(p);
  std::filesystem::create_directories(p);
  return p;
}

// Prints one figure against its target; true when it is within it.
inline bool report(const char* what, double ms, double limitMs) {
  std::printf("%-58s %9.3f ms  (target < %g ms) %s\n", what, ms, limitMs,
              ms < limitMs ? "ok" : "OVER");
  return ms < limitMs;
}

// The stations of the bench rosters: K0R100000, K1R100001, ...
inline std::string benchCall(int i) {
  return "K" + std::to_string(i % 10) + "R" + std::to_string(100000 + i);
}

// The settings of net control W1NC on 222 MHz at FN20XA, the folder its own log folder.
inline void writeBenchSettings(const std::filesystem::path& dir) {
  NetSettings s;
  s.logFolder = dir.string();
  s.netControlCall = "W1NC";
  s.netBand = "222 MHz";
  s.netControlGrid = "FN20XA";
  writeLinesAtomic(dir / "Kelpie_Control.ini", settingsFileLines(s));
}

// A roster of the given stations (benchCall(i), each last heard 2/2/2024) and the settings.
inline void writeBenchFolder(const std::filesystem::path& dir, int stations) {
  Lines roster{"222 MHz",      "W1NC", "1/2/2020", "initial check-in date", "last check-in date",
               "old call sign"};
  for (int i = 0; i < stations; ++i)
    roster.insert(roster.end(), {benchCall(i), "NAME" + std::to_string(i), "SOMEWHERE FN20",
                                 "1/1/2020", "2/2/2024", "-"});
  writeLinesAtomic(dir / "NETCONT.ROL", roster);
  writeBenchSettings(dir);
}

// A club list and a name list of 10,000 stations each, none of them in the roster.
inline void writeBenchStationLists(const std::filesystem::path& dir) {
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
}

}  // namespace kelpie::bench
