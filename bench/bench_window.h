// A session in Kelpie's real main window over the quiet seams, for the benchmarks that time
// what the operator sees drawn.
#pragma once

#include "app/main_window.h"
#include "bench_support.h"
#include "net/session.h"
#include "platform/qt/qt_platform.h"

namespace kelpie::bench {

struct Windowed {
  explicit Windowed(const std::filesystem::path& dir) : session(platform, dir), window(session) {
    events.render = [this] { window.render(); };
  }
  Seams seams;
  QtEvents events;
  Platform platform{seams.dialogs, seams.clock, events, seams.launcher, seams.printer, seams.help};
  Session session;
  MainWindow window;
};

}  // namespace kelpie::bench
