// Shared-net figures against a real Mosquitto on 127.0.0.1: a check-in from one window to the
// other's list and log, a window joining a net of 1,000 check-ins, 20 windows through a broker
// restarted empty, and a keystroke while the broker never answers.
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <memory>
#include <random>

#include "bench_support.h"
#include "bench_window.h"
#include "platform/qt/mqtt_link.h"
#include "share/share_net.h"

using namespace kelpie;
using namespace kelpie::bench;

namespace {

// A TCP socket on 127.0.0.1 at a free port, listening when asked (the kernel then accepts
// connections that nobody ever answers); the port through port.
int loopbackSocket(bool listening, int& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t n = sizeof a;
  ::bind(fd, reinterpret_cast<sockaddr*>(&a), n);
  if (listening) ::listen(fd, 8);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &n);
  port = ntohs(a.sin_port);
  return fd;
}

int freePort() {
  int port = 0;
  ::close(loopbackSocket(false, port));
  return port;
}

// A broker of its own, anonymous, without persistence: a restart brings it back empty.
struct Mosquitto {
  fs::path dir = benchFolder("share-broker");
  int port = freePort();
  pid_t pid = -1;
  Mosquitto() {
    // KELPIE_BENCH_BROKER_LINES: more configuration (bench_web.sh adds a websockets listener
    // for the page's listeners).
    const char* more = std::getenv("KELPIE_BENCH_BROKER_LINES");
    writeBytesAtomic(dir / "m.conf", "listener " + std::to_string(port) +
                                         " 127.0.0.1\nallow_anonymous true\npersistence false\n"
                                         "log_dest none\n" +
                                         (::getuid() == 0 ? "user root\n" : "") +
                                         (more ? std::string(more) + "\n" : ""));
    start();
  }
  ~Mosquitto() { stop(); }
  void start() {
    pid = ::fork();
    if (pid == 0) {
      ::execlp("mosquitto", "mosquitto", "-c", (dir / "m.conf").c_str(),
               static_cast<char*>(nullptr));
      ::_exit(127);
    }
    for (int i = 0; i < 200; ++i) {
      const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
      sockaddr_in a{};
      a.sin_family = AF_INET;
      a.sin_port = htons(static_cast<uint16_t>(port));
      a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
      const bool up = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
      ::close(fd);
      if (up) return;
      ::usleep(20000);
    }
    std::fprintf(stderr, "mosquitto did not start\n");
    std::exit(1);
  }
  void stop() {
    if (pid <= 0) return;
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    pid = -1;
  }
};

share::ShareSettings settingsFor(int port, const std::string& op) {
  share::ShareSettings s;
  s.host = "127.0.0.1";
  s.port = port;
  s.tls = false;
  s.operatorCall = op;
  s.net = "bench net";
  return s;
}

// Runs the event loop until done() or the limit; the time it took in ms, or -1.
template <class F>
double waitFor(F&& done, double limitMs = 10000) {
  const auto t0 = std::chrono::steady_clock::now();
  while (!done()) {
    if (msSince(t0) > limitMs) return -1;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
  }
  return msSince(t0);
}

double percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  return v[static_cast<size_t>(p * static_cast<double>(v.size() - 1))];
}

std::unique_ptr<Windowed> sharedWindow(const std::string& name, int port, int stations) {
  const fs::path dir = benchFolder("share-" + name);
  writeBenchFolder(dir, stations);
  auto w = std::make_unique<Windowed>(dir);
  w->session.Form_Load();
  w->window.show();
  w->window.startSharing(settingsFor(port, name));
  return w;
}

void checkIn(Windowed& w, const std::string& call) {
  w.window.run([&] {
    w.session.view.entryText = call;
    int key = kKeyEnter;
    w.session.CallSignInput_KeyPress(key);
  });
}

bool shared(Windowed& w) { return startsWith(w.session.view.shareStatus, "Shared:"); }

// One window of the 20: a session and its link, no widgets.
struct Logger {
  Seams seams;
  MqttLink link;
  Session session;
  std::vector<std::pair<double, std::string>> plan;  // when (ms) and what to check in
  Logger(const fs::path& dir) : session(seams.platform, dir) {}
};

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  std::printf("Kelpie shared-net benchmarks (Mosquitto on 127.0.0.1, offscreen, Release)\n");
  Mosquitto broker;
  // KELPIE_BENCH_READY_FILE: the figures wait (at most a minute) for this file, which
  // bench_web.sh's listeners write once they are all connected to the broker.
  if (const char* ready = std::getenv("KELPIE_BENCH_READY_FILE")) {
    for (int i = 0; i < 600 && !fs::exists(ready); ++i) ::usleep(100000);
    std::printf("  %s\n", fs::exists(ready) ? "with the listeners connected" : "LISTENERS MISSING");
  }

  // A check-in typed on one window, until it is in the other window's list and log.
  {
    auto a = sharedWindow("a", broker.port, 1000);
    auto b = sharedWindow("b", broker.port, 1000);
    waitFor([&] { return shared(*a) && shared(*b); });
    std::vector<double> runs;
    for (int i = 0; i < 200; ++i) {
      const auto t0 = std::chrono::steady_clock::now();
      checkIn(*a, benchCall(i));
      if (waitFor([&] { return b->session.checkIns.count == i + 1; }) < 0) break;
      runs.push_back(msSince(t0));
    }
    const bool same =
        readLines(a->session.todayLogPath()).lines == readLines(b->session.todayLogPath()).lines;
    if (runs.size() < 200 || !same) std::printf("  LOST: %zu of 200 arrived\n", runs.size());
    report("check-in to the other window's list and log (median)", median(runs), 20);
    report("check-in to the other window's list and log (99th pct)", percentile(runs, 0.99), 100);

    // A window joining the net of 1,000 check-ins.
    for (int i = 200; i < 1000; ++i) checkIn(*a, benchCall(i));
    waitFor([&] { return b->session.checkIns.count == 1000; });
    const auto t0 = std::chrono::steady_clock::now();
    auto c = sharedWindow("c", broker.port, 1000);
    const double joined = waitFor([&] { return c->session.checkIns.count == 1000; });
    const double total = joined < 0 ? -1 : msSince(t0);
    report("a window joining a net of 1,000: list and log written", total, 500);
  }

  // 20 windows, 50 check-ins each at random moments over 10 s, the broker restarted empty.
  {
    std::mt19937 rnd(20);
    std::vector<std::unique_ptr<Logger>> loggers;
    for (int k = 0; k < 20; ++k) {
      const fs::path dir = benchFolder("share-20-" + std::to_string(k));
      writeBenchFolder(dir, 1000);
      auto l = std::make_unique<Logger>(dir);
      l->session.Form_Load();
      l->session.startSharing(l->link, settingsFor(broker.port, "L" + std::to_string(k)));
      for (int j = 0; j < 50; ++j)
        l->plan.emplace_back(std::uniform_real_distribution<double>(0, 10000)(rnd),
                             benchCall(k * 50 + j));
      std::sort(l->plan.begin(), l->plan.end());
      loggers.push_back(std::move(l));
    }
    auto settle = [&] {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
      for (auto& l : loggers) l->session.applyShared();
    };
    waitFor([&] {
      settle();
      for (auto& l : loggers)
        if (!startsWith(l->session.view.shareStatus, "Shared:")) return false;
      return true;
    });
    const auto t0 = std::chrono::steady_clock::now();
    bool restarted = false;
    size_t done = 0;
    while (done < 1000) {
      const double now = msSince(t0);
      if (!restarted && now > 5000) {
        broker.stop();
        broker.start();
        restarted = true;
      }
      for (auto& l : loggers) {
        while (!l->plan.empty() && l->plan.front().first <= now) {
          l->session.view.entryText = l->plan.front().second;
          int key = kKeyEnter;
          l->session.CallSignInput_KeyPress(key);
          l->session.syncShare();
          l->plan.erase(l->plan.begin());
          ++done;
        }
      }
      settle();
    }
    const double agreed = waitFor([&] {
      settle();
      const Lines first = readLines(loggers[0]->session.todayLogPath()).lines;
      if (first.size() != 3000) return false;
      for (auto& l : loggers)
        if (readLines(l->session.todayLogPath()).lines != first) return false;
      return true;
    });
    report("20 windows, broker restarted empty: logs identical after", agreed, 3000);
    for (auto& l : loggers) l->session.stopSharing();
  }

  // A keystroke while the broker accepts the connection and never answers.
  {
    int port = 0;
    const int fd = loopbackSocket(true, port);
    auto w = sharedWindow("silent", port, 1000);
    for (int i = 0; i < 1000; ++i) checkIn(*w, benchCall(i));  // a full net held
    w->window.activateWindow();
    QApplication::processEvents();
    auto* entry = w->window.findChild<QLineEdit*>("CallSignInput");
    std::vector<double> runs;
    const QString typed = "K1ABCDEFGH";
    for (int r = 0; r < 3; ++r) {
      for (const QChar c : typed) {
        const auto k = static_cast<Qt::Key>(c.toUpper().unicode());
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier, QString(c));
        const auto t0 = std::chrono::steady_clock::now();
        QCoreApplication::sendEvent(entry, &press);
        QCoreApplication::sendEvent(entry, &release);
        runs.push_back(msSince(t0));
        QCoreApplication::processEvents();
      }
      if (entry->text() != typed)
        std::printf("  LOST KEYS: the entry line holds %s\n", qPrintable(entry->text()));
      entry->clear();
    }
    report("a keystroke, 1,000 check-ins, broker never answering (slowest of 30)",
           *std::max_element(runs.begin(), runs.end()), 16);
    ::close(fd);
  }
  return 0;
}
