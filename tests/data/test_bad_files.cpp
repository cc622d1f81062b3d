// Damaged, odd and unusable data files: Kelpie reads what it can, tells the operator where that
// helps, goes on with the net, and never loses what a file held.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

const std::string kHeader =
    "222 MHz\r\nW1NC\r\n1/2/2020\r\ninitial check-in date\r\nlast check-in date\r\nold call "
    "sign\r\n";
const std::string kK1abc = "K1ABC\r\nBOB\r\nFN20\r\n1/1/2021\r\n2/2/2022\r\n-\r\n";
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
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    constexpr uid_t kNobody = 65534;
    ::lchown(rig.folder.path().c_str(), kNobody, kNobody);
    for (const auto& e : fs::directory_iterator(rig.folder.path()))
      ::lchown(e.path().c_str(), kNobody, kNobody);
    if (::setgroups(0, nullptr) != 0 || ::setresgid(kNobody, kNobody, kNobody) != 0 ||
        ::setresuid(kNobody, kNobody, kNobody) != 0)
      ::_exit(3);
    body();
    ::_exit(::testing::Test::HasFailure() ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "as user nobody: " << status;
}

// A roster cut short is read to its last whole record, told, kept as .bad, and written whole
// at exit; cut inside its header, it gets a fresh header (the day's stations must not become
// it). Fields that open with a quote or hold commas, NUL bytes, every byte value do not make
// a roster in the current form the old one: they stay byte for byte.
TEST(DamagedRoster, IsReadToItsLastWholeRecordKeptAsideAndWrittenWhole) {
  std::string every;
  for (int c = 1; c < 256; ++c)
    if (c != '\r' && c != '\n') every += char(c);
  const std::string odd =
      joinCrLf({"\"K1\",\"X\"", "\"Bud\" Smith, Jr", every, ",", "x", std::string("\0-\0", 3)});
  const std::string oldForm =
      "\"222 MHz\",\"W1NC\",\"1/2/2020\",\"initial check-in date\",\"last check-in date\",\"old "
      "call sign\"\r\n\"K1ABC\",\"BOB\",\"FN20\",\"1/1/2021\",\"2/2/2022\",\"-\"\r\n\"N2XYZ\"\r\n";
  const std::pair<std::string, std::string> rows[] = {
      {kHeader + odd + "N2XYZ\r\nAl", kHeader + odd + "W3NEW" + kNew},
      {oldForm, kHeader + kK1abc + "W3NEW" + kNew},
      {"222 MHz\r\nW1NC\r\n1/2/2020\r\n",
       "222 MHz\r\nW1NC\r\n12/5/2026\r\ninitial check-in "
       "date\r\nlast check-in date\r\nold call sign\r\nW3NEW" +
           kNew}};
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
    EXPECT_EQ(rig.read("NETCONT.ROL.bad"), bytes);
    EXPECT_EQ(rig.read("NETCONT.ROL"), atExit);
  }
}

// A file that cannot be read (or a roster that is a folder) is told at start and what it holds
// is never lost: settings and today's log are kept aside as .bad, so the first save does not
// replace them (the check-ins of an interrupted run, say); the roster is never replaced, and
// each save of it says so.
TEST(UnreadableFile, IsToldAndWhatItHoldsIsNeverLost) {
  struct Row {
    std::string file, title;
    bool folder;
  };
  const Row rows[] = {{"NETCONT.ROL", " Check NETCONT.ROL", true},
                      {"NETCONT.ROL", " Check NETCONT.ROL", false},
                      {"Kelpie_Control.ini", " Check Kelpie_Control.ini", false},
                      {"120526F.ILE", " Log file", false}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.file + (r.folder ? " folder" : ""));
    Rig rig;
    rig.writeBytes("NETCONT.ROL", kHeader + kK1abc);
    rig.writeSettings("FN31PR");
    rig.write("120526F.ILE", {"K1ABC", "BOB", "FN20"});
    const fs::path path = rig.folder / r.file, bad = rig.folder / (r.file + ".bad");
    const bool roster = r.file[0] == 'N';
    if (r.folder) fs::remove(path), fs::create_directory(path);
    const std::string before = r.folder ? "folder" : rig.read(r.file),
                      log = rig.read("120526F.ILE");
    ::chmod(path.c_str(), 0);
    asOrdinaryUser(rig, [&] {
      rig.dialogs.inputAnswers = {"fn20xa"};      // the grid, if the settings are lost
      rig.dialogs.messageAnswers = {Answer::OK};  // re-start the existing log
      ASSERT_TRUE(rig.session.Form_Load());
      const std::string box = told(rig, r.title);
      EXPECT_MENTIONS(box, pathText(path) + " cannot be read");
      EXPECT_MENTIONS(box, pathText(bad));
      rig.enter("W3NEW");
      rig.session.mExit_Click();
      const std::string notSaved = told(rig, " File not saved", roster);
      EXPECT_EQ(notSaved.find(pathText(path)) == std::string::npos, !roster) << notSaved;
      EXPECT_EQ(rig.exists("NETCONT.ROL.bad"), false);
      EXPECT_EQ(rig.read("120526F.ILE"), (r.file[0] == '1' ? "" : log) + "W3NEW\r\n\r\n\r\n");
    });
    const fs::path kept = roster ? path : bad;
    ::chmod(kept.c_str(), 0755);
    EXPECT_EQ(fs::is_directory(kept) ? "folder" : rig.read(kept.filename()), before);
  }
}

// A folder named like the settings file or today's log: the net runs on, the check-ins stay in
// memory, and every save of it says so.
TEST(FolderInPlace, NetRunsOnAndEverySaveOfItIsReported) {
  for (const std::string file : {"Kelpie_Control.ini", "120526F.ILE"}) {
    Rig rig;
    rig.writeRoster({});
    fs::create_directory(rig.folder / file);
    rig.dialogs.inputAnswers = {"fn20xa"};  // asked for, as at a first run, with no settings
    ASSERT_TRUE(rig.session.Form_Load());
    told(rig, " Re-start with 120526F.ILE", 0);
    rig.enterAll({"K1ABC", "N2XYZ"});
    rig.session.mExit_Click();
    const std::string notSaved = told(rig, " File not saved", file[0] == '1' ? 2 : 1);
    EXPECT_MENTIONS(notSaved, pathText(rig.folder / file));
    EXPECT_MENTIONS(notSaved, "still in memory");
    EXPECT_EQ(rig.read("NETCONT.ROL"), kHeader + "K1ABC" + kNew + "N2XYZ" + kNew);
  }
}

// A name whose status cannot be asked for (a link to itself) or that cannot be created (a link
// into a missing folder) must not stop the start-up; it is told, and the first save puts a
// real log in its place.
TEST(UnusableLog, TodaysLogThatCannotBeCreatedIsToldAndTheFirstSaveMakesIt) {
  for (const char* target : {"120526F.ILE", "missing/120526F.ILE"}) {
    Rig rig;
    fs::create_symlink(target, rig.folder / "120526F.ILE");
    bool started = false;
    EXPECT_NO_THROW(started = rig.start());
    ASSERT_TRUE(started);
    EXPECT_MENTIONS(told(rig, " Log file"), "Kelpie cannot create today's log");
    rig.enter("K1ABC");
    EXPECT_EQ(rig.read("120526F.ILE"), "K1ABC\r\n\r\n\r\n");
  }
}

// A re-started log: a cut record keeps the fields read, blank lines after the last record make
// no check-in, and the next save completes the record so no line of the old file is lost.
TEST(DamagedLog, CutRecordKeepsItsFieldsAndBlankLinesAtTheEndAreNoCheckIn) {
  for (const auto& [bytes, after] :
       {std::pair{"K1ABC\r\nBOB\r\nFN20\r\nN2XYZ\r\nAL\r\n", "N2XYZ\r\nAL\r\n\r\n"},
        std::pair{"K1ABC\r\nBOB\r\nFN20\r\n\r\n\r\n", ""}}) {
    Rig rig;
    rig.writeBytes("120526F.ILE", bytes);
    rig.dialogs.messageAnswers = {Answer::OK};
    ASSERT_TRUE(rig.start());
    rig.enter("W3NEW");
    EXPECT_EQ(rig.read("120526F.ILE"),
              "K1ABC\r\nBOB\r\nFN20\r\n" + std::string(after) + "W3NEW\r\n\r\n\r\n");
  }
}

}  // namespace
}  // namespace kelpie::test
