// Small stand-ins for the platform seams and a timer, shared by the benchmarks.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/seams.h"

namespace kelpie::bench {

struct QuietDialogs : Dialogs {
  std::string chosen;  // the log the chooser answers with
  Answer messageBox(const std::string&, const std::string&, Buttons, Answer d) override {
    return d;
  }
  std::string inputBox(const std::string&, const std::string&, const std::string&) override {
    return "FN20XA";  // the only question a prepared folder asks: the grid square
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

inline std::filesystem::path benchFolder(const std::string& name) {
  auto p = std::filesystem::temp_directory_path() / ("kelpie-bench-" + name);
  std::filesystem::remove_all(p);
  std::filesystem::create_directories(p);
  return p;
}

inline void report(const char* what, double ms, double limitMs) {
  std::printf("%-58s %9.3f ms  (target < %g ms) %s\n", what, ms, limitMs,
              ms < limitMs ? "ok" : "OVER");
}

}  // namespace kelpie::bench
