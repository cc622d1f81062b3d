// Kelpie's data files: formats and text helpers; damaged or unusable files read as far as they
// go, told, and never lost; saves cut short by a kill or a refused write.
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <map>
#include <random>
#include <set>

#include "data/checkin_times.h"
#include "data/flusher.h"
#include "data/quoted.h"
#include "data/settings.h"
#include "support/fake_platform.h"
#include "support/syscall_faults.h"

namespace kelpie::test {
namespace {

TEST(TextFiles, HelpersWritesLookUpsTemporariesQuotedFormAndFifos) {
  EXPECT_EQ(splitLines(std::string_view("a\r\nb\nc\rd\r\n\r\nx\r\r\n\n").substr(0, 16)),
            (Lines{"a", "b", "c", "d", "", "x", ""}));  // never a byte past the view's end
  EXPECT_EQ(upper1252("k1abc/p \xE9\xF6\xFF\x9A\xF7|") + lower1252("ABC\xC9|") +
                trimSpaces(" a b ") + trimSpaces(std::string_view("    ").substr(0, 2)),
            "K1ABC/P \xC9\xD6\x9F\x8A\xF7|abc\xE9|a b");
  EXPECT_EQ(dateText({2027, 1, 15}) + logFileName({2009, 3, 7}), "1/15/2027030709F.ILE");
  for (const auto& [text, value] :
       {std::pair{"105", 105}, {"2.5", 2}, {"1.5", 2}, {"1.0", 1}, {"-3", -3}, {" 7 ", 7}}) {
    EXPECT_TRUE(isNumeric(text)) << text;
    EXPECT_EQ(roundHalfEven(numericValue(text)), value) << text;
  }
  for (const char* text : {"", "L", "1AB", ".", "-", "1e"}) EXPECT_FALSE(isNumeric(text)) << text;
  EXPECT_EQ(quotedValues({"\"K1ABC\",\"Bob, Jr\",\"FN20\"", "  W2X , Al ,\"say \"\"hi\"\"\"",
                          "\"A\"", "\"B\",", ""}),
            (std::vector<std::string>{"K1ABC", "Bob, Jr", "FN20", "W2X", "Al", "say \"hi\"", "A",
                                      "B", ""}));
  TempFolder t;
  ASSERT_TRUE(writeLinesAtomic(t / "netcont.rol", {"one", "", "\xB0"}));
  std::string bytes, error;
  EXPECT_TRUE(readBytes(t / "netcont.rol", bytes) && bytes == "one\r\n\r\n\xB0\r\n");
  EXPECT_EQ(findFileCI(t.path(), "NETCONT.ROL").filename(), "netcont.rol");
  EXPECT_EQ(findFileCI(t.path(), "BURROW.DAT").filename(), "BURROW.DAT");
  for (const char* n :
       {"b.ILE", "A.ile", "c.Ile", "ile", ".NETCONT.ROL.a1B2c3", ".notes.doc.abcdef"})
    writeLinesAtomic(t / n, {});
  EXPECT_EQ(listFilesCI(t.path(), ".ile"), (std::vector<std::string>{"A.ile", "b.ILE", "c.Ile"}));
  removeStaleTemporaries(t.path());
  EXPECT_FALSE(fs::exists(t / ".NETCONT.ROL.a1B2c3"));
  EXPECT_TRUE(fs::exists(t / ".notes.doc.abcdef"));
  writeLinesAtomic(t / "q.dat", {"plain", "\"quoted\""});
  writeLinesAtomic(t / "p.dat", {"plain", " \"late\""});
  bool flag = false;  // set at a line opening with a quote, and never set back to no
  std::string flags;
  for (const char* f : {"p.dat", "q.dat", "p.dat"})
    checkFileFormat(t / f, flag), flags += "01"[flag];
  EXPECT_EQ(flags, "011");
  waitForFlushes();  // the folder flushes queued by the writes end (Kelpie waits at exit)
  ASSERT_EQ(::mkfifo((t / "vhf4k.adi").c_str(), 0644), 0);
  EXPECT_FALSE(readBytes(t / "vhf4k.adi", bytes, &error));
  EXPECT_EQ(error, "not a regular file");  // a FIFO would block every reader for good
}

TEST(SettingsFile, WrittenLayoutAndTheKeyRules) {
  NetSettings s;
  s.logFolder = "/logs";
  s.netControlGrid = "FN20XA";
  EXPECT_EQ(joinCrLf(settingsFileLines(s)), golden("data/settings.ini"));
  // Each line of data/settings_keys.txt: the lines read ("|" between; the value line after a key is
  // taken even when it looks like a key itself), then call, unit, and the kM mark, Enter and
  // Space options.
  const std::string rows = golden("data/settings_keys.txt");
  std::string got;
  for (const std::string& row : splitLines(rows)) {
    if (row.empty()) continue;
    Lines lines{""};  // "a|" is a and an empty line
    for (const char c : row.substr(0, row.find('\t')))
      c == '|' ? lines.emplace_back() : lines.back() += c;
    s.netControlCall = "P", s.distanceKm = s.enterModes = true, s.spaceBarModes = false;
    resetSettingsDefaults(s);
    applySettingsLines(lines, s);
    got += row.substr(0, row.find('\t')) + "\t" + s.netControlCall + " " + s.distanceUnit + " " +
           toDec(s.distanceKm) + toDec(s.enterModes) + toDec(s.spaceBarModes) + "\n";
  }
  EXPECT_EQ(got, rows);
}

const std::string kHeader = joinCrLf({"222 MHz", "W1NC", "1/2/2020", "initial check-in date",
                                      "last check-in date", "old call sign"});
const std::string kNew = "\r\n-\r\n-\r\n12/5/2026\r\n12/5/2026\r\n-\r\n";  // after a callsign

// The texts of the boxes shown under title, which must have come up want times.
std::string told(const Rig& rig, const std::string& title, size_t want = 1) {
  std::string r;
  size_t n = 0;
  for (const auto& b : rig.dialogs.messages())
    if (b.title == title) r += b.text + "\n", ++n;
  EXPECT_EQ(n, want) << title << ": " << r;
  return r;
}
#define EXPECT_MENTIONS(text, part) EXPECT_NE((text).find(part), std::string::npos) << (text)

// Runs body as an ordinary user, since root reads a file of any mode: as root, in a forked
// child that hands the folder to user nobody and gives up root; else right here.
void asOrdinaryUser(Rig& rig, const std::function<void()>& body) {
  if (::geteuid() != 0) return body();
  const pid_t pid = ::fork();
  if (pid == 0) {
    constexpr uid_t kNobody = 65534;
    ::lchown(rig.folder.path().c_str(), kNobody, kNobody);
    for (const auto& e : fs::directory_iterator(rig.folder.path()))
      ::lchown(e.path().c_str(), kNobody, kNobody);
    if (::setgroups(0, nullptr) == 0 && ::setresgid(kNobody, kNobody, kNobody) == 0 &&
        ::setresuid(kNobody, kNobody, kNobody) == 0)
      body();
    ::_exit(::geteuid() != kNobody || ::testing::Test::HasFailure());
  }
  int status = -1;
  ::waitpid(pid, &status, 0);
  EXPECT_EQ(status, 0) << "as user nobody";
}

// Against the C library's calendar: a moment moved by minutes either way, its text read back.
TEST(CheckInTimeText, MinutesMoveAcrossDaysMonthsAndYearsAsTheCalendarDoes) {
  const auto civil = [](long long seconds) {
    std::tm t{};
    const auto at = static_cast<time_t>(seconds);
    gmtime_r(&at, &t);
    return isoTimeText(
        {{t.tm_year + 1900, t.tm_mon + 1, t.tm_mday}, t.tm_hour, t.tm_min, t.tm_sec});
  };
  std::mt19937_64 rng(7);
  for (int i = 0; i < 4000; ++i) {
    const long long at = static_cast<long long>(rng() % 15'000'000'000) - 5'000'000'000,
                    minutes = static_cast<long long>(rng() % 2'000'000) - 1'000'000;
    const std::optional<DateTime> t = parseIsoTime(civil(at));
    ASSERT_TRUE(t) << civil(at);
    EXPECT_EQ(isoTimeText(addMinutes(*t, minutes)), civil(at + 60 * minutes)) << civil(at);
  }
  std::string leap;  // 29 February of the leap years only, the rule's centuries too
  for (const char* y : {"2000", "2020", "2024", "1900", "2100", "2023"})
    leap += parseIsoTime(std::string(y) + "-02-29T12:00:00Z") ? 'y' : 'n';
  EXPECT_EQ(leap, "yyynnn");
  // The last day of each month of 2023 and the day after it; each field of the time at its end.
  std::string days;
  for (const char* d :
       {"01-31T",          "01-32T",         "03-31T", "03-32T",          "04-30T",
        "04-31T",          "05-31T",         "05-32T", "06-30T",          "06-31T",
        "07-31T",          "07-32T",         "08-31T", "08-32T",          "09-30T",
        "09-31T",          "10-31T",         "10-32T", "11-30T",          "11-31T",
        "12-31T",          "12-32T",         "13-01T", "12-31T23:59:59Z", "12-31T24:00:00Z",
        "12-31T23:60:00Z", "12-31T23:59:60Z"})
    days += parseIsoTime("2023-" + std::string(d) + (d[6] ? "" : "12:00:00Z")) ? 'y' : 'n';
  EXPECT_EQ(days, "ynynynynynynynynynynynnynnn");
}

// A roster cut short (or inside its header, which is then made afresh) is told, kept as .bad and
// written whole at exit. Only a quote opening a line of a file without the header makes the old
// quoted form; quotes, commas, any byte in a field do not.
TEST(DamagedRoster, IsReadToItsLastWholeRecordKeptAsideAndWrittenWhole) {
  std::string every;
  for (int c = 1; c < 256; ++c) every += c == '\r' || c == '\n' ? "" : std::string(1, char(c));
  const std::string odd =
      joinCrLf({"\"K1\",\"X\"", "\"Bud\" Smith, Jr", every, ",", "x", std::string("\0-\0", 3)});
  const std::pair<std::string, std::string> rows[] = {
      {kHeader + odd + "N2XYZ\r\nAl", kHeader + odd + "W3NEW" + kNew},
      {"222 MHz\r\nW1NC\r\n1/2/2020\r\n",
       "222 MHz\r\nW1NC\r\n12/5/2026" + kHeader.substr(23) + "W3NEW" + kNew}};
  for (const auto& [text, quoted] : {std::pair{"\"2m\"" + kHeader.substr(7), false},
                                     {"K1\r\nBud \"X\"", false},
                                     {"K1\r\n\"Bud\"", true}})
    EXPECT_EQ(parseRosterText(text).quoted, quoted) << text;
  for (const auto& [bytes, atExit] : rows) {
    Rig rig;
    rig.writeSettings();
    rig.writeBytes("NETCONT.ROL", bytes);
    ASSERT_TRUE(rig.session.Form_Load());
    const std::string box = told(rig, " Check NETCONT.ROL");
    EXPECT_MENTIONS(box, pathText(rig.folder / "NETCONT.ROL") + " ends inside a record");
    EXPECT_MENTIONS(box, pathText(rig.folder / "NETCONT.ROL.bad"));
    rig.enter("W3NEW");
    rig.session.mExit_Click();
    EXPECT_EQ(rig.read("NETCONT.ROL.bad") + "|" + rig.read("NETCONT.ROL"), bytes + "|" + atExit);
  }
}

// A file that cannot be read is told and never lost: settings and log are kept as .bad, the roster
// is not replaced and each save says so. A folder named like the settings or the log: the net
// runs on, each save of it is told, and the log is not offered for re-start.
TEST(UnreadableFile, IsToldAndWhatItHoldsIsNeverLost) {
  for (const std::string r : {"NETCONT.ROL/", "NETCONT.ROL", "Kelpie_Control.ini", "120526F.ILE"}) {
    SCOPED_TRACE(r);
    Rig rig;
    rig.writeRoster({{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022"}});
    rig.writeSettings("FN31PR");
    rig.write("120526F.ILE", {"K1ABC", "BOB", "FN20"});
    const std::string file = r.substr(0, r.find('/')), log = rig.read("120526F.ILE");
    const fs::path path = rig.folder / file, bad = rig.folder / (file + ".bad");
    const bool roster = file[0] == 'N', folder = file != r;
    if (folder) fs::remove(path), fs::create_directory(path);
    const std::string before = folder ? "folder" : rig.read(file);
    ::chmod(path.c_str(), 0);
    asOrdinaryUser(rig, [&] {
      rig.dialogs.inputAnswers = {"fn20xa"};  // the grid, if the settings are lost
      ASSERT_TRUE(rig.session.Form_Load());
      const std::string box = told(rig, file[0] == '1' ? " Log file" : " Check " + file);
      EXPECT_MENTIONS(box, pathText(path) + " cannot be read");
      EXPECT_MENTIONS(box, pathText(bad));
      rig.enter("W3NEW");
      rig.session.mExit_Click();
      const std::string notSaved = told(rig, " File not saved", roster);
      EXPECT_EQ(notSaved.find(pathText(path)) == std::string::npos, !roster) << notSaved;
      EXPECT_EQ(rig.exists("NETCONT.ROL.bad"), false);
      EXPECT_EQ(rig.read("120526F.ILE"), (file[0] == '1' ? "" : log) + "W3NEW\r\n\r\n\r\n");
    });
    const fs::path kept = roster ? path : bad;
    ::chmod(kept.c_str(), 0755);
    EXPECT_EQ(fs::is_directory(kept) ? "folder" : rig.read(kept.filename()), before);
  }
  for (const std::string file : {"Kelpie_Control.ini", "120526F.ILE"}) {
    Rig rig;
    rig.writeRoster({});
    fs::create_directory(rig.folder / file);
    rig.dialogs.inputAnswers = {"fn20xa"};  // asked for, as at a first run, with no settings
    ASSERT_TRUE(rig.session.Form_Load());
    told(rig, " Re-start with 120526F.ILE", 0);
    told(rig, " Log file", file[0] == '1');  // a folder where today's log would be is told
    rig.enterAll({"K1ABC", "N2XYZ"});
    rig.session.mExit_Click();
    const std::string notSaved = told(rig, " File not saved", file[0] == '1' ? 2 : 1);
    EXPECT_MENTIONS(notSaved, pathText(rig.folder / file));
    EXPECT_MENTIONS(notSaved, "still in memory");
    EXPECT_EQ(rig.read("NETCONT.ROL"), kHeader + "K1ABC" + kNew + "N2XYZ" + kNew);
  }
}

// Today's log (or a link's target), then the log after a check-in: a cut record is completed, blank
// lines at the end are no check-in; a link to itself or nowhere is told and saved over.
TEST(TodaysLog, CutBlankOrUnusableLogsAndTheFirstSave) {
  const std::pair<std::string, std::string> rows[] = {
      {"K1ABC\r\nBOB\r\nFN20\r\nN2XYZ\r\nAL\r\n", "K1ABC\r\nBOB\r\nFN20\r\nN2XYZ\r\nAL\r\n\r\n"},
      {"K1ABC\r\nBOB\r\nFN20\r\n\r\n\r\n", "K1ABC\r\nBOB\r\nFN20\r\n"},
      {"120526F.ILE", ""},
      {"missing/120526F.ILE", ""}};
  for (const auto& [bytes, log] : rows) {
    Rig rig;
    const bool link = bytes.ends_with("F.ILE");
    link ? fs::create_symlink(bytes, rig.folder / "120526F.ILE")
         : rig.writeBytes("120526F.ILE", bytes);
    EXPECT_NO_THROW(EXPECT_TRUE(rig.start()));
    EXPECT_EQ(told(rig, " Log file", link).find("cannot create today's log") != std::string::npos,
              link);
    rig.enter("W3NEW");
    EXPECT_EQ(rig.read("120526F.ILE"), log + "W3NEW\r\n\r\n\r\n");
  }
}

// Saves cut short by a kill or a refused write leave every file whole, old or new, never a mix.
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
    EXPECT_TRUE(state[0].count(name) ||
                (name.size() > 8 && name[0] == '.' && name[name.size() - 7] == '.' &&
                 std::count(kSaved.begin(), kSaved.end(), name.substr(1, name.size() - 8))))
        << name;
}

// Every system call of a save made to fail in turn (a full disk, a failing drive), for each file a
// traffic net writes: the failure is told in Kelpie's words, and once the next saves went through
// every file holds what a net without the failure wrote, with no temporary left behind.
TEST(FailedSave, EachFailedSystemCallIsToldAndTheNextSaveWritesEverything) {
  const auto net = [](Rig& rig, const std::function<void()>& saves) {
    EXPECT_TRUE(rig.start());
    rig.dialogs.inputAnswers = {"2 P Boston", "Mobile"};
    rig.enterAll({"K10X", "K11X", "K12X", "T1", "R2"});
    rig.session.mDistanceTypekM_Click();
    saves();  // the log and the side file both change, then the roster and the settings
    rig.enter("K13X");
    rig.session.saveNetControlFile();
    rig.session.writeSettings();
  };
  const auto save = [](Rig& rig) {
    rig.enter("D1");
    rig.session.saveNetControlFile();
    rig.session.writeSettings();
  };
  Rig clean;
  net(clean, [&] { save(clean); });
  for (const std::string file :
       {"120526F.ILE", "120526F.TIM", "120526F.TRF", "NETCONT.ROL", "Kelpie_Control.ini"}) {
    for (const SysOp op : {SysOp::Write, SysOp::Fsync, SysOp::Close, SysOp::Rename}) {
      SCOPED_TRACE(file + " " + toDec(static_cast<int>(op)));
      Rig rig;
      net(rig, [&] {
        rig.dialogs.shown.clear();
        const std::string before = rig.exists(file) ? rig.read(file) : "";
        const FailNext fault(op, file);
        save(rig);
        EXPECT_TRUE(fault.fired());
        EXPECT_EQ(rig.exists(file) ? rig.read(file) : "", before);  // the old file kept whole
        EXPECT_EQ(rig.dialogs.boxes(), " File not saved / Kelpie could not write " +
                                           pathText(rig.folder / file) +
                                           " (Input/output error).\r\n\r\nThe data is still in "
                                           "memory; Kelpie tries again at the next save.\n");
      });
      auto want = files(clean), got = files(rig);
      EXPECT_NE(got["Kelpie_Control.ini"].find("[Use Miles or kM]\r\nkM\r\n"), std::string::npos);
      want.erase("Kelpie_Control.ini"), got.erase("Kelpie_Control.ini");  // it names its folder
      EXPECT_EQ(got, want);
    }
  }
}

}  // namespace
}  // namespace kelpie::test
