// Saves cut short by a kill, a full disk or a folder that turned read-only: every data file on
// disk stays whole (the old content or the new, never a mix or a part), the operator is told
// which file was not saved and that the data is still in memory, and the next save tries again.
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <utility>

#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

using Clock = std::chrono::steady_clock;

const std::vector<std::string> kSavedFiles{"NETCONT.ROL", "Kelpie_Control.ini", "120526F.ILE"};

RosterEntry station(const std::string& call, const std::string& name) {
  return {call, name, "FN20", "1/1/2021", "12/5/2026", "-"};
}

// Puts the session in one of two states that differ in every saved file. State 1 is large (a
// long roster and log), so that a file cut short could never pass for either state. Each state
// is a fixed point of the exit save: its check-ins are roster stations already dated today.
void setState(Session& s, int which) {
  s.settings.netBand = which ? "2 m" : "222 MHz";
  s.settings.browserPath = which ? "/opt/browser/" + std::string(3000, 'b') : "/usr/bin/firefox";
  s.menu("mEnterModes").checked = which == 1;
  s.menu("mUseSpaceBarModes").checked = which == 0;
  const int stations = which ? 3000 : 3;
  const int checkIns = which ? 400 : 2;
  s.roster.rows.assign(1, {"222 MHz", "W1NC", "1/2/2020", "initial check-in date",
                           "last check-in date", "old call sign"});
  for (int i = 0; i < stations; ++i)
    s.roster.rows.push_back(station("K" + toDec(i) + "AB", which ? "NAME " + toDec(i) : "BOB"));
  s.checkIns = {};
  for (int i = 1; i <= checkIns; ++i) {
    const RosterEntry& e = s.roster.row(i + 1);
    s.checkIns.row(i).f = {"", e.callSign, e.name, e.qth, e.initialCheckInDate, e.lastCheckInDate};
    s.checkIns.count = i;
  }
}

// The three saves of a net, through the session's own procedures.
void saveAll(Session& s) {
  s.saveNetControlFile();
  s.writeSettings();
  s.saveLogFile();
}

std::map<std::string, std::string> filesNow(const Rig& rig) {
  std::map<std::string, std::string> r;
  for (const auto& name : kSavedFiles) r[name] = rig.read(name);
  return r;
}

std::set<std::string> folderListing(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename().string());
  return names;
}

// A child keeps saving the two states in turn and is killed at a random moment, over and over.
// After every kill each file must be exactly one state's content.
TEST(KilledWhileSaving, EveryFileIsTheOldOrTheNewContentWhole) {
  Rig rig;
  rig.writeRoster({});
  rig.writeSettings();
  ASSERT_TRUE(rig.start());
  Session& s = rig.session;

  std::map<std::string, std::string> state[2];
  for (int w : {0, 1}) {
    setState(s, w);
    saveAll(s);
    state[w] = filesNow(rig);
  }
  for (const auto& name : kSavedFiles) ASSERT_NE(state[0][name], state[1][name]) << name;
  ASSERT_TRUE(rig.dialogs.messages().empty());

  // How long one round of saves takes here, so the kills fall all over the rounds.
  const auto t0 = Clock::now();
  for (int i = 0; i < 6; ++i) {
    setState(s, i % 2);
    saveAll(s);
  }
  const auto round =
      std::max<Clock::duration>((Clock::now() - t0) / 6, std::chrono::microseconds(200));

  std::mt19937 rng(20261205);
  std::uniform_int_distribution<long> delayUs(
      0, 3 * std::chrono::duration_cast<std::chrono::microseconds>(round).count());
  std::map<std::string, std::set<int>> seen;
  int kills = 0;
  const auto deadline = Clock::now() + std::chrono::seconds(8);
  for (; kills < 200 && Clock::now() < deadline; ++kills) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0) << std::strerror(errno);
    if (pid == 0) {
      ::prctl(PR_SET_PDEATHSIG, SIGKILL);
      for (int i = kills; i < kills + 100000; ++i) {
        setState(s, i % 2);
        saveAll(s);
      }
      ::_exit(0);
    }
    ::usleep(static_cast<useconds_t>(delayUs(rng)));
    ::kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    for (const auto& name : kSavedFiles) {
      const std::string now = rig.read(name);
      const int which = now == state[0][name] ? 0 : now == state[1][name] ? 1 : -1;
      ASSERT_NE(which, -1) << name << " is neither state after kill " << kills << " (" << now.size()
                           << " bytes)";
      seen[name].insert(which);
    }
  }
  EXPECT_GE(kills, 50) << "too few kills within the time";
  // Both states were on disk at some kill, so the kills did fall between and inside saves.
  for (const auto& name : kSavedFiles) EXPECT_EQ(seen[name].size(), 2u) << name;
  // Temporaries a kill left behind are hidden names beside their file, which no reader takes
  // for a data file.
  EXPECT_EQ(listFilesCI(rig.folder.path(), ".ile"), std::vector<std::string>{"120526F.ILE"});
  for (const auto& name : folderListing(rig.folder.path())) {
    if (name == "ck2list.dat" || name == "vhf4k.adi" ||
        std::count(kSavedFiles.begin(), kSavedFiles.end(), name) == 1)
      continue;
    const bool temporary = std::any_of(kSavedFiles.begin(), kSavedFiles.end(), [&](auto& f) {
      return name.size() == f.size() + 8 && name.compare(0, f.size() + 2, "." + f + ".") == 0;
    });
    EXPECT_TRUE(temporary) << name;
  }
}

// ---- saves that fail ---------------------------------------------------------------------

enum class Fault { DiskFull, FileSizeLimit, ReadOnlyFolder };
const char* const kFaultNames[] = {"DiskFull", "FileSizeLimit", "ReadOnlyFolder"};

// Breaks saving in one folder and mends it again. The disk and the read-only folder are a
// small tmpfs mounted over the folder in a mount namespace of this test process alone (as
// root, a folder's permissions do not stop writes); the size limit is RLIMIT_FSIZE with
// SIGXFSZ ignored, so an oversized write fails with EFBIG instead of ending the process.
class SaveFault {
 public:
  SaveFault(const fs::path& folder, Fault fault) : folder_(folder), fault_(fault) {
    if (fault == Fault::FileSizeLimit) return;
    if (::unshare(CLONE_NEWNS) != 0) {
      why_ = std::string("cannot make a private mount namespace (") + std::strerror(errno) +
             "); needs root or CAP_SYS_ADMIN";
      return;
    }
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("kelpie-test", folder.c_str(), "tmpfs", 0, "size=512k") != 0) {
      why_ = std::string("cannot mount a tmpfs (") + std::strerror(errno) + ")";
      return;
    }
    mounted_ = true;
  }
  ~SaveFault() {
    mend();
    if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
  }
  SaveFault(const SaveFault&) = delete;
  SaveFault& operator=(const SaveFault&) = delete;

  // Empty when the fault can be made here, else why not.
  const std::string& why() const { return why_; }

  void breakSaving() {
    broken_ = true;
    if (fault_ == Fault::DiskFull) {
      std::ofstream fill(folder_ / "filler", std::ios::binary);
      const std::string block(4096, 'x');
      while (fill.write(block.data(), static_cast<std::streamsize>(block.size()))) {
      }
    } else if (fault_ == Fault::FileSizeLimit) {
      ::getrlimit(RLIMIT_FSIZE, &oldLimit_);
      ::signal(SIGXFSZ, SIG_IGN);
      const rlimit tiny{16, oldLimit_.rlim_max};
      ::setrlimit(RLIMIT_FSIZE, &tiny);
    } else {
      ::mount(nullptr, folder_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, "size=512k");
    }
  }

  void mend() {
    if (!std::exchange(broken_, false)) return;
    if (fault_ == Fault::DiskFull) {
      fs::remove(folder_ / "filler");
    } else if (fault_ == Fault::FileSizeLimit) {
      ::setrlimit(RLIMIT_FSIZE, &oldLimit_);
      ::signal(SIGXFSZ, SIG_DFL);
    } else {
      ::mount(nullptr, folder_.c_str(), nullptr, MS_REMOUNT, "size=512k");
    }
  }

 private:
  fs::path folder_;
  Fault fault_;
  std::string why_;
  bool mounted_ = false;
  bool broken_ = false;
  rlimit oldLimit_{};
};

class FailedSave : public ::testing::TestWithParam<Fault> {};

TEST_P(FailedSave, TellsTheOperatorKeepsTheFilesAndSucceedsOnceMended) {
  Rig rig;
  SaveFault fault(rig.folder.path(), GetParam());
  if (!fault.why().empty()) GTEST_SKIP() << fault.why();
  rig.writeRoster({{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", "-"}});
  rig.writeSettings();
  ASSERT_TRUE(rig.start());
  rig.enter("K1ABC");
  rig.enter("N2XYZ");
  ASSERT_TRUE(rig.dialogs.messages().empty());
  const auto before = filesNow(rig);
  const auto listing = folderListing(rig.folder.path());

  fault.breakSaving();
  rig.enter("W3NEW");  // checked in; saving today's log fails
  rig.session.mDistanceTypekM_Click();
  rig.session.saveNetControlFile();
  rig.session.writeSettings();
  fault.mend();

  const auto told = rig.dialogs.messages();
  ASSERT_EQ(told.size(), 3u);
  const std::vector<std::string> order{"120526F.ILE", "NETCONT.ROL", "Kelpie_Control.ini"};
  for (size_t i = 0; i < told.size(); ++i) {
    EXPECT_EQ(told[i].title, " File not saved");
    EXPECT_NE(told[i].text.find("Kelpie could not write " + pathText(rig.folder / order[i])),
              std::string::npos)
        << told[i].text;
    EXPECT_NE(told[i].text.find("The data is still in memory"), std::string::npos);
  }
  EXPECT_EQ(filesNow(rig), before);                      // nothing on disk damaged
  EXPECT_EQ(folderListing(rig.folder.path()), listing);  // and no temporary left behind
  EXPECT_EQ(rig.session.checkIns.count, 3);
  EXPECT_EQ(rig.session.roster.row(4).callSign, "W3NEW");

  // Space again: the next saves go through with everything held in memory.
  rig.enter("K4NXT");
  rig.session.saveNetControlFile();
  rig.session.writeSettings();
  EXPECT_EQ(rig.dialogs.messages().size(), 3u);
  EXPECT_EQ(rig.read("120526F.ILE"),
            "K1ABC\r\nBOB\r\nFN20\r\nN2XYZ\r\n\r\n\r\nW3NEW\r\n\r\n\r\nK4NXT\r\n\r\n\r\n");
  const std::string roster = rig.read("NETCONT.ROL");
  EXPECT_NE(roster.find("W3NEW\r\n-\r\n-\r\n12/5/2026\r\n12/5/2026\r\n-\r\n"), std::string::npos);
  EXPECT_NE(roster.find("K4NXT\r\n-\r\n-\r\n12/5/2026\r\n12/5/2026\r\n-\r\n"), std::string::npos);
  EXPECT_NE(rig.read("Kelpie_Control.ini").find("[Use Miles or kM]\r\nkM\r\n"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Faults, FailedSave,
                         ::testing::Values(Fault::DiskFull, Fault::FileSizeLimit,
                                           Fault::ReadOnlyFolder),
                         [](const auto& info) {
                           return kFaultNames[static_cast<int>(info.param)];
                         });

}  // namespace
}  // namespace kelpie::test
