// Saves cut short by a kill or a refused write: every data file stays whole, old or new, never a
// mix or a part; the operator is told which file was not saved, and the next save tries again.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <random>
#include <set>

#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

const std::vector<std::string> kSaved{"NETCONT.ROL", "Kelpie_Control.ini", "120526F.ILE",
                                      "120526F.TIM"};

// Saves one of two states that differ in every file; state 1 is large, so a file cut short passes
// for neither. Each is a fixed point of the exit save (check-ins of stations dated today).
void saveState(Session& s, int which) {
  s.settings.netBand = which ? "2 m" : "222 MHz";
  s.settings.browserPath = std::string(which ? 3000 : 1, 'b');
  s.roster.rows.resize(1);
  for (int i = 0; i < (which ? 3000 : 3); ++i)
    s.roster.rows.push_back(
        {"K" + toDec(i) + "AB", "N" + toDec(which), "Q", "1/1/2021", "12/5/2026", "-"});
  s.checkIns = {};
  for (int i = 1; i <= (which ? 400 : 2); ++i) {
    const RosterEntry& e = s.roster.row(i + 1);
    s.checkIns.row(i).f = {"", e.callSign, e.name, e.qth, e.initialCheckInDate, e.lastCheckInDate};
    s.checkIns.count = i;
  }
  s.saveNetControlFile(), s.writeSettings(), s.saveLogFile();
}

std::map<std::string, std::string> files(const Rig& rig) {
  std::map<std::string, std::string> r;
  for (const auto& e : fs::directory_iterator(rig.folder.path()))
    r[e.path().filename()] = rig.read(e.path().filename());
  return r;
}

// A child saving the two states in turn is killed at a random moment, then, for each state, one
// that saved it and waits: every file is one state's content, whole, and each state is seen.
TEST(KilledWhileSaving, EveryFileIsTheOldOrTheNewContentWhole) {
  Rig rig;
  ASSERT_TRUE(rig.start());
  std::map<std::string, std::string> state[2];
  const auto t0 = std::chrono::steady_clock::now();
  for (int w : {0, 1, 0, 1}) saveState(rig.session, w), state[w] = files(rig);
  const long roundUs =
      std::max<long>(200, (std::chrono::steady_clock::now() - t0) / std::chrono::microseconds(4));
  for (const auto& name : kSaved) ASSERT_NE(state[0][name], state[1][name]) << name;
  ASSERT_TRUE(rig.dialogs.shown.empty());
  std::mt19937 rng(20261205);
  std::map<std::string, std::set<int>> seen;
  for (int kill = 0; kill < 42; ++kill) {
    const int waitFor = kill < 40 ? -1 : kill - 40;  // the last two: a known state
    int pipeFd[2];
    char done = 0;
    ASSERT_EQ(::pipe(pipeFd), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      ::prctl(PR_SET_PDEATHSIG, SIGKILL);
      for (int i = kill;; ++i) {
        saveState(rig.session, waitFor < 0 ? i % 2 : waitFor);
        if (waitFor >= 0 && ::write(pipeFd[1], "x", 1) == 1) ::pause();
      }
    }
    if (waitFor >= 0)
      ASSERT_EQ(::read(pipeFd[0], &done, 1), 1);
    else
      ::usleep(std::uniform_int_distribution<long>(0, 3 * roundUs)(rng));
    ::kill(pid, SIGKILL);
    ASSERT_EQ(::waitpid(pid, nullptr, 0), pid);
    ::close(pipeFd[0]), ::close(pipeFd[1]);
    for (const auto& name : kSaved) {
      const std::string now = rig.read(name);
      const int which = now == state[0][name] ? 0 : now == state[1][name] ? 1 : -1;
      ASSERT_NE(which, -1) << name << " is neither state after kill " << kill;
      EXPECT_TRUE(waitFor < 0 || which == waitFor) << name;
      seen[name].insert(which);
    }
  }
  for (const auto& name : kSaved) EXPECT_EQ(seen[name].size(), 2u) << name;
  // Temporaries a kill left behind are hidden names beside their file, ".NAME.XXXXXX".
  for (const auto& [name, bytes] : files(rig))
    EXPECT_TRUE(state[0].count(name) || std::any_of(kSaved.begin(), kSaved.end(),
                                                    [&](auto& f) {
                                                      return name.size() == f.size() + 8 &&
                                                             name.starts_with("." + f + ".");
                                                    }))
        << name;
}

// A write refused (RLIMIT_FSIZE, SIGXFSZ ignored: EFBIG, as on a full disk), then allowed again.
TEST(FailedSave, TellsTheOperatorKeepsTheFilesAndSucceedsOnceMended) {
  Rig rig;
  ASSERT_TRUE(rig.start());
  rig.enterAll({"K1ABC", "N2XYZ"});
  const auto before = files(rig);
  rlimit limit{};
  ::getrlimit(RLIMIT_FSIZE, &limit);
  const rlimit tiny{16, limit.rlim_max};
  ::signal(SIGXFSZ, SIG_IGN), ::setrlimit(RLIMIT_FSIZE, &tiny);
  rig.enter("W3NEW");  // checked in; saving today's log fails
  rig.session.mDistanceTypekM_Click();
  rig.session.saveNetControlFile();
  rig.session.writeSettings();
  ::setrlimit(RLIMIT_FSIZE, &limit), ::signal(SIGXFSZ, SIG_DFL);
  const auto told = rig.dialogs.messages();
  ASSERT_EQ(told.size(), 3u);
  for (size_t i = 0; i < 3; ++i)  // today's log, the roster, the settings
    EXPECT_EQ(
        told[i].title + told[i].text.substr(0, told[i].text.find(" (")),
        " File not savedKelpie could not write " + pathText(rig.folder / kSaved[(i + 2) % 3]));
  EXPECT_EQ(files(rig), before);  // nothing on disk damaged, no temporary left behind
  rig.enter("K4NXT");             // the next saves go through with everything in memory
  rig.session.saveNetControlFile();
  rig.session.writeSettings();
  EXPECT_EQ(rig.dialogs.messages().size(), 3u);
  EXPECT_EQ(rig.read("120526F.ILE"),
            before.at("120526F.ILE") + "W3NEW\r\n\r\n\r\nK4NXT\r\n\r\n\r\n");
  EXPECT_NE(rig.read("Kelpie_Control.ini").find("[Use Miles or kM]\r\nkM\r\n"), std::string::npos);
}

}  // namespace
}  // namespace kelpie::test
