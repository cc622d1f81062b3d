// Kelpie's start-up against a bare Qt window: the time from starting the process to its main
// window being mapped on an X server (an Xvfb of the benchmark's own, no window manager), with
// a 10,000-station roster, both programs taken in turns in one run; and the roster's read and
// parse with 10,000 and 100,000 stations.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

#include "bench_support.h"
#include "data/roster.h"
#include "data/settings.h"

extern char** environ;

using namespace kelpie;
using namespace kelpie::bench;
using SteadyClock = std::chrono::steady_clock;

namespace {

pid_t spawn(const std::vector<std::string>& args, const std::vector<std::string>& env) {
  std::vector<char*> argv, envp;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
  argv.push_back(nullptr);
  envp.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data()) != 0) {
    std::fprintf(stderr, "cannot start %s\n", argv[0]);
    std::exit(1);
  }
  return pid;
}

void stop(pid_t pid) {
  ::kill(pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
}

// The environment with the given variables set (NAME=value) in place of the inherited ones.
std::vector<std::string> environment(const std::vector<std::string>& set) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string v(*e);
    bool replaced = false;
    for (const auto& s : set) {
      const size_t name = s.find('=') + 1;
      replaced |= v.compare(0, name, s, 0, name) == 0;
    }
    if (!replaced) env.push_back(v);
  }
  env.insert(env.end(), set.begin(), set.end());
  return env;
}

// An Xvfb on a free display; returns its number.
std::string startXvfb(pid_t& pid) {
  int fds[2];
  if (::pipe(fds) != 0) std::exit(1);
  pid = spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x1024x24",
               "-nolisten", "tcp"},
              environment({}));
  ::close(fds[1]);
  std::string number;
  char c;
  while (::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  ::close(fds[0]);
  if (number.empty()) {
    std::fprintf(stderr, "Xvfb did not start\n");
    std::exit(1);
  }
  return ":" + number;
}

// Milliseconds from starting the program to the first top-level window it maps.
double timeToMap(xcb_connection_t* x, const std::vector<std::string>& args,
                 const std::vector<std::string>& env) {
  while (xcb_generic_event_t* e = xcb_poll_for_event(x)) std::free(e);
  const auto t0 = SteadyClock::now();
  const pid_t pid = spawn(args, env);
  double ms = -1;
  pollfd p{xcb_get_file_descriptor(x), POLLIN, 0};
  while (ms < 0 && msSince(t0) < 20000) {
    ::poll(&p, 1, 100);
    while (xcb_generic_event_t* e = xcb_poll_for_event(x)) {
      if ((e->response_type & 0x7f) == XCB_MAP_NOTIFY && ms < 0 &&
          !reinterpret_cast<xcb_map_notify_event_t*>(e)->override_redirect)
        ms = msSince(t0);
      std::free(e);
    }
  }
  stop(pid);
  if (ms < 0) {
    std::fprintf(stderr, "%s showed no window within 20 s\n", args[0].c_str());
    std::exit(1);
  }
  return ms;
}

double readAndParse(const fs::path& dir, int& stations) {
  const auto t0 = SteadyClock::now();
  const RosterParse p = parseRoster(readLines(dir / "NETCONT.ROL").lines);
  const double ms = msSince(t0);
  stations = p.roster.count() - 1;
  return ms;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(5, std::atoi(argv[1])) : 11;
  std::printf("Kelpie start-up benchmarks (Release)\n");

  // The roster's read and parse at the speed of the disk cache.
  for (int stations : {10000, 100000}) {
    const fs::path dir = benchFolder("parse");
    writeBenchFolder(dir, stations);
    std::vector<double> runs;
    int read = 0;
    for (int r = 0; r < 9; ++r) runs.push_back(readAndParse(dir, read));
    const auto kb = fs::file_size(dir / "NETCONT.ROL") / 1024;
    const std::string what = "read and parse the roster, " + std::to_string(read) + " stations, " +
                             std::to_string(kb) + " KB (median)";
    report(what.c_str(), median(runs), stations == 10000 ? 5 : 50);
  }

  // Process start to the main window mapped.
  const fs::path big = benchFolder("startup-10000"), small = benchFolder("startup-3");
  const fs::path config = benchFolder("startup-config");
  fs::permissions(config, fs::perms::owner_all);  // a runtime folder must be private
  writeBenchFolder(big, 10000);
  writeBenchFolder(small, 3);
  pid_t xvfb = -1;
  const std::string display = startXvfb(xvfb);
  xcb_connection_t* x = xcb_connect(display.c_str(), nullptr);
  if (xcb_connection_has_error(x)) {
    std::fprintf(stderr, "cannot connect to %s\n", display.c_str());
    stop(xvfb);
    return 1;
  }
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(x);
  const auto env =
      environment({"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb",
                   "XDG_CONFIG_HOME=" + config.string(), "XDG_RUNTIME_DIR=" + config.string()});
  std::vector<double> bare, label, kelpie10000, kelpie3;
  for (int r = 0; r <= rounds; ++r) {  // round 0 warms the caches and is not counted
    const double b = timeToMap(x, {KELPIE_EMPTY_WINDOW}, env);
    const double l = timeToMap(x, {KELPIE_EMPTY_WINDOW, "--label"}, env);
    const double k = timeToMap(x, {KELPIE_PROGRAM, big.string()}, env);
    const double s = timeToMap(x, {KELPIE_PROGRAM, small.string()}, env);
    if (r == 0) continue;
    bare.push_back(b);
    label.push_back(l);
    kelpie10000.push_back(k);
    kelpie3.push_back(s);
  }
  xcb_disconnect(x);
  stop(xvfb);

  const double mb = median(bare), mk = median(kelpie10000), ms = median(kelpie3);
  std::printf(
      "process start to main window mapped, Xvfb %s without a window manager, "
      "medians of %d:\n",
      display.c_str(), rounds);
  std::printf("  %-52s %9.1f ms\n", "empty QMainWindow", mb);
  std::printf("  %-52s %9.1f ms   (%.2f)\n", "QMainWindow with one line of text", median(label),
              median(label) / mb);
  std::printf("  %-52s %9.1f ms\n", "kelpie, 3-station roster", ms);
  std::printf("  %-52s %9.1f ms\n", "kelpie, 10,000-station roster", mk);
  std::printf("  %-52s %9.2f    (target <= 1.25) %s\n", "ratio kelpie 10,000 / empty window",
              mk / mb, mk / mb <= 1.25 ? "ok" : "OVER");
  return 0;
}
