// Damaged, odd and missing data files: Kelpie reads what it can, tells the operator where that
// helps, goes on with the net, and never loses what a file held. Files of any bytes read alone
// are also covered by the fuzz targets' own checks (tests/fuzz).
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <map>

#include "data/roster.h"
#include "geo/locator.h"
#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

const Lines kHeader{
    "222 MHz", "W1NC", "1/2/2020", "initial check-in date", "last check-in date", "old call sign"};
const Lines kK1abc{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", "-"};

Lines concat(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The texts of the boxes shown under title, one after the other.
std::string told(const Rig& rig, const std::string& title, size_t want = 1) {
  std::string r;
  size_t n = 0;
  for (const auto& b : rig.dialogs.messages())
    if (b.title == title) r += b.text + "\n", ++n;
  EXPECT_EQ(n, want) << title;
  return r;
}
#define EXPECT_MENTIONS(text, part) EXPECT_NE((text).find(part), std::string::npos) << (text)

std::string gridText(std::string grid) {
  double d = 0;
  calcBeamHeading(grid, d, "FN20XA", "Miles");
  return grid;
}

// The ways a file can fail to be there for reading.
enum class Unusable { Missing, Folder, NoPermission, SymlinkLoop };
const char* const kUnusable[] = {"Missing", "Folder", "NoPermission", "SymlinkLoop"};

// A file without permissions is unreadable only to an ordinary user: run what follows through
// asOrdinaryUser.
void makeUnusable(Rig& rig, const std::string& name, Unusable how) {
  const fs::path p = rig.folder / name;
  std::error_code ec;
  if (how == Unusable::NoPermission) ::chmod(p.c_str(), 0);
  if (how == Unusable::NoPermission) return;
  fs::remove(p, ec);
  if (how == Unusable::Folder) fs::create_directory(p);
  if (how == Unusable::SymlinkLoop) fs::create_symlink(name, p);  // ELOOP for every open
}

// Runs body as an ordinary user, since root reads a file of any mode: as root, in a forked
// child that hands the rig's folder to user nobody and gives up root; else right here.
void asOrdinaryUser(Rig& rig, const std::function<void()>& body) {
  if (::geteuid() != 0) return body();
  constexpr uid_t kNobody = 65534;
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    ::lchown(rig.folder.path().c_str(), kNobody, kNobody);
    for (const auto& e : fs::recursive_directory_iterator(rig.folder.path()))
      ::lchown(e.path().c_str(), kNobody, kNobody);
    if (::setgroups(0, nullptr) != 0 || ::setresgid(kNobody, kNobody, kNobody) != 0 ||
        ::setresuid(kNobody, kNobody, kNobody) != 0)
      ::_exit(3);
    body();
    ::_exit(::testing::Test::HasFailure() ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status)) << "the part run as user nobody ended by a signal";
  EXPECT_EQ(WEXITSTATUS(status), 0)
      << "the part run as user nobody failed (3: could not become it)";
}

// What stands at the path now, for comparing before and after: kind and bytes.
std::string standing(const fs::path& p) {
  std::error_code ec;
  if (fs::is_symlink(p, ec)) return "symlink to " + fs::read_symlink(p, ec).string();
  if (fs::is_directory(p, ec)) return "folder";
  ::chmod(p.c_str(), 0644);
  std::string bytes;
  return readBytes(p, bytes) ? "file: " + bytes : "nothing";
}

// A rig started over the given station files, with no roster stations.
struct Net {
  explicit Net(const std::map<std::string, std::string>& files) {
    rig.writeRoster({});
    rig.writeSettings();
    for (const auto& [name, bytes] : files) rig.writeBytes(name, bytes);
    started = rig.session.Form_Load();
  }
  const CheckInRow& row(int i) { return rig.session.checkIns.row(i); }
  Rig rig;
  bool started = false;
};

template <class Row>
std::string rowName(const ::testing::TestParamInfo<Row>& info) {
  return info.param.name;
}

// ---- files cut short ---------------------------------------------------------------------

struct CutRosterRow {
  const char* name;
  std::string bytes;
};
class CutRoster : public ::testing::TestWithParam<CutRosterRow> {};

TEST_P(CutRoster, IsReadToItsLastWholeRecordAndKeptBeforeTheRewrite) {
  Rig rig;
  rig.writeSettings();
  rig.writeBytes("NETCONT.ROL", GetParam().bytes);
  ASSERT_TRUE(rig.session.Form_Load());
  const std::string box = told(rig, " Check NETCONT.ROL");
  EXPECT_MENTIONS(box, pathText(rig.folder / "NETCONT.ROL") + " ends inside a record");
  EXPECT_MENTIONS(box, pathText(rig.folder / "NETCONT.ROL.bad"));
  ASSERT_EQ(rig.session.roster.count(), 2);
  rig.enter("W3NEW");
  rig.session.mExit_Click();
  EXPECT_EQ(rig.read("NETCONT.ROL.bad"), GetParam().bytes);
  EXPECT_EQ(rig.read("NETCONT.ROL"),
            joinCrLf(concat(concat(kHeader, kK1abc),
                            {"W3NEW", "-", "-", "12/5/2026", "12/5/2026", "-"})));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CutRoster,
    ::testing::Values(CutRosterRow{"LineForm", joinCrLf(concat(kHeader, kK1abc)) + "N2XYZ\r\nAl"},
                      CutRosterRow{"OldForm",
                                   "\"222 MHz\",\"W1NC\",\"1/2/2020\",\"initial check-in "
                                   "date\",\"last check-in date\",\"old call sign\"\r\n"
                                   "\"K1ABC\",\"BOB\",\"FN20\",\"1/1/2021\",\"2/2/2022\",\"-\""
                                   "\r\n\"N2XYZ\",\"Al\"\r\n"}),
    rowName<CutRosterRow>);

// Cut inside its header, the roster has no record to take the header from; the stations of
// the day must not become the header at exit (they would never be found again).
TEST(DamagedRoster, CutInsideTheHeaderGetsAFreshHeaderAtExit) {
  Rig rig;
  rig.writeSettings();
  const std::string cut = "222 MHz\r\nW1NC\r\n1/2/2020\r\n";
  rig.writeBytes("NETCONT.ROL", cut);
  ASSERT_TRUE(rig.session.Form_Load());
  told(rig, " Check NETCONT.ROL");
  rig.enter("K1ABC");
  rig.session.mExit_Click();
  EXPECT_EQ(rig.read("NETCONT.ROL.bad"), cut);
  EXPECT_EQ(rig.read("NETCONT.ROL"),
            joinCrLf({"222 MHz", "W1NC", "12/5/2026", "initial check-in date", "last check-in date",
                      "old call sign", "K1ABC", "-", "-", "12/5/2026", "12/5/2026", "-"}));
}

// The re-start keeps the fields of the cut record that were read; the next save completes the
// record with empty fields, so every line of the old file is still there, in its place.
TEST(DamagedLog, CutRecordKeepsItsFieldsAndTheSaveLosesNoLine) {
  Rig rig;
  rig.writeRoster({});
  rig.writeSettings();
  rig.write("120526F.ILE", {"K1ABC", "BOB", "FN20", "N2XYZ", "AL"});
  rig.dialogs.messageAnswers = {Answer::OK};  // re-start the existing log
  ASSERT_TRUE(rig.session.Form_Load());
  ASSERT_EQ(rig.session.checkIns.count, 2);
  EXPECT_EQ(rig.session.checkIns.field(2, 2), "AL");
  rig.enter("W3NEW");
  EXPECT_EQ(rig.read("120526F.ILE"),
            joinCrLf({"K1ABC", "BOB", "FN20", "N2XYZ", "AL", "", "W3NEW", "", ""}));
}

// ---- short or odd station file records ---------------------------------------------------

struct StationRow {
  const char* name;
  const char* file;
  std::string bytes;
  std::string call, wantName, wantQth;  // the QTH with the grid text the lookup adds
};
class ShortStationRecord : public ::testing::TestWithParam<StationRow> {};

TEST_P(ShortStationRecord, ChecksTheStationInWithTheFieldsItHas) {
  const StationRow& r = GetParam();
  Net net({{r.file, r.bytes}});
  ASSERT_TRUE(net.started);
  net.rig.enter(r.call);
  ASSERT_EQ(net.rig.session.checkIns.count, 1);
  EXPECT_EQ(net.row(1).f[1], r.call);
  EXPECT_EQ(net.row(1).f[2], r.wantName);
  EXPECT_EQ(net.row(1).f[3], r.wantQth);
  EXPECT_TRUE(net.rig.dialogs.messages().empty());
  EXPECT_EQ(net.rig.read("120526F.ILE"), joinCrLf({r.call, r.wantName, r.wantQth}));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ShortStationRecord,
    ::testing::Values(
        StationRow{"ClubLinesWithoutQth", "BURROW.DAT", "W2CLB\r\nCARL\r\nALBANY\r\nN9X\r\nNED",
                   "N9X", "NED", "  "},
        StationRow{"ClubQuotedCallsignOnly", "BURROW.DAT",
                   "\"W2CLB\",\"CARL\",\"ALBANY\"\r\n\"N9X\"", "N9X", "", "  "},
        // Lines shorter than seven characters: passed over, or an empty name when they match.
        StationRow{"NameLineShorterThanSeven", "ck2list.dat", "\r\nK\r\nK1A\r\nK1AB\r\nK1AB   BOB",
                   "K1AB", "", ""},
        // ADIF lengths that are no digit, or cut at the line end, pass their line over.
        StationRow{"AdifLengthALetter", "vhf4k.adi",
                   "<CALL:4>K1AB, <GRIDSQUARE:X>FN31\r\n<CALL:4>K1AB, <GRIDSQUARE:4>FN32", "K1AB",
                   "", gridText("FN32")},
        StationRow{"AdifTagCutAtTheLineEnd", "vhf4k.adi",
                   "<CALL:4>K1AB, <GRIDSQUARE:\r\n<CALL:4>K1AB, <GRIDSQUARE:-9>FN31", "K1AB", "",
                   ""}),
    rowName<StationRow>);

// ---- very long lines, very many lines, every byte value ----------------------------------

// A megabyte of text with a few odd bytes in it, so a cut or a change anywhere shows.
std::string megabyte(char fill) {
  std::string s(size_t{1} << 20, fill);
  s.front() = '<';
  s[s.size() / 2] = '\xB0';
  s.back() = '>';
  return s;
}

TEST(HugeLines, RosterFieldsOfAMegabyteAreCheckedInAndWrittenBackWhole) {
  Rig rig;
  rig.writeSettings();
  const std::string name = megabyte('n'), qth = megabyte('q');
  rig.writeRoster({{"K1ABC", name, qth, "1/1/2021", "2/2/2022", "-"}});
  ASSERT_TRUE(rig.start());
  rig.enter("K1ABC");
  EXPECT_EQ(rig.read("120526F.ILE"), "K1ABC\r\n" + name + "\r\n" + qth + "\r\n");
  rig.session.mExit_Click();
  EXPECT_EQ(rig.read("NETCONT.ROL"),
            joinCrLf(concat(kHeader, {"K1ABC", name, qth, "1/1/2021", "12/5/2026", "-"})));
}

// The station files are read in blocks, not by whole lines.
TEST(HugeLines, StationFileLinesOfAMegabyteAreReadWhole) {
  const std::string junk = megabyte('j'), clubName = megabyte('c'), listName = megabyte('l');
  Net net({{"BURROW.DAT", joinCrLf({junk, junk, junk, "W2CLB", clubName, "ALBANY NY"})},
           {"ck2list.dat", joinCrLf({junk, "N9NAM  " + listName})},
           {"vhf4k.adi", joinCrLf({"<GRIDSQUARE:4>AA00 " + junk,
                                   "<CALL:5>N9NAM, " + junk + "<GRIDSQUARE:4>FN32"})}});
  ASSERT_TRUE(net.started);
  net.rig.enter("W2CLB");
  net.rig.enter("N9NAM");
  ASSERT_EQ(net.rig.session.checkIns.count, 2);
  EXPECT_EQ(net.row(1).f[2], clubName);
  EXPECT_EQ(net.row(2).f[2], listName);
  EXPECT_EQ(net.row(2).f[6], gridText("FN32"));
}

// Counts past any 16-bit limit, and a reader that slows with the length would time out.
TEST(MillionLines, RosterIsReadWholeAndItsLastStationFound) {
  Rig rig;
  rig.writeSettings();
  const int stations = 1000000 / 6;
  std::string roster = joinCrLf(kHeader);
  for (int i = 0; i < stations; ++i)
    roster += "K" + toDec(i) + "\r\nN\r\nQ\r\n1/1/2021\r\n2/2/2022\r\n-\r\n";
  rig.writeBytes("NETCONT.ROL", roster);
  ASSERT_TRUE(rig.start());
  ASSERT_EQ(rig.session.roster.count(), stations + 1);
  rig.enter("K" + toDec(stations - 1));
  EXPECT_EQ(rig.session.checkIns.field(1, 4), "1/1/2021");  // found in the roster
}

// Every byte value but the two line ends, in several orders.
std::string everyByte(int rotate) {
  std::string s;
  for (int i = 0; i < 256; ++i) {
    const char c = static_cast<char>((i + rotate) % 256);
    if (c != '\r' && c != '\n') s += c;
  }
  return s;
}

// Fields that begin with a quote or a comma, NUL bytes, every byte: still the current form.
TEST(EveryByte, RosterFieldsSurviveStartAndExitByteForByte) {
  Rig rig;
  rig.writeSettings();
  const Lines odd{"K1" + everyByte(0), everyByte(34), everyByte(44),
                  everyByte(200),      everyByte(1),  std::string("\0-\0", 3)};
  rig.write("NETCONT.ROL", concat(kHeader, odd));
  ASSERT_TRUE(rig.start());
  EXPECT_TRUE(rig.dialogs.messages().empty());
  ASSERT_EQ(rig.session.roster.count(), 2);
  rig.enter("N2XYZ");  // so that the exit rewrites the roster
  rig.session.mExit_Click();
  EXPECT_EQ(
      rig.read("NETCONT.ROL"),
      joinCrLf(concat(concat(kHeader, odd), {"N2XYZ", "-", "-", "12/5/2026", "12/5/2026", "-"})));
}

// ---- files that are missing, unreadable, or a folder -------------------------------------

class UnusableRoster : public ::testing::TestWithParam<Unusable> {};

TEST_P(UnusableRoster, IsToldAndNeverReplaced) {
  Rig rig;
  rig.writeSettings();
  rig.writeRoster({kK1abc});
  makeUnusable(rig, "NETCONT.ROL", GetParam());
  const fs::path roster = rig.folder / "NETCONT.ROL";
  const std::string before = standing(roster);
  if (GetParam() == Unusable::NoPermission) ::chmod(roster.c_str(), 0);
  asOrdinaryUser(rig, [&] {
    ASSERT_TRUE(rig.session.Form_Load());
    EXPECT_MENTIONS(told(rig, " Check NETCONT.ROL"), pathText(roster) + " cannot be read");
    rig.enter("N2XYZ");
    rig.session.mExit_Click();
    const std::string notSaved = told(rig, " File not saved");
    EXPECT_MENTIONS(notSaved, pathText(roster));
    EXPECT_MENTIONS(notSaved, "still in memory");
    EXPECT_EQ(standing(roster), before);
    EXPECT_FALSE(rig.exists("NETCONT.ROL.bad"));
    EXPECT_EQ(rig.read("120526F.ILE"), "N2XYZ\r\n\r\n\r\n");  // the rest is saved as usual
  });
}

INSTANTIATE_TEST_SUITE_P(Kinds, UnusableRoster,
                         ::testing::Values(Unusable::Folder, Unusable::NoPermission),
                         [](const auto& info) { return kUnusable[static_cast<int>(info.param)]; });

// The station files go bad while the net runs (they are read afresh at every check-in): the
// lookup goes on with what it still has.
struct StationFileRow {
  const char* file;
  std::string wantName, wantQth;  // what the check-in gets from the files still usable
};
class UnusableStationFile : public ::testing::TestWithParam<std::tuple<StationFileRow, Unusable>> {
};

TEST_P(UnusableStationFile, LookupGoesOnWithoutIt) {
  const auto& [row, how] = GetParam();
  Net net({{"BURROW.DAT", "W2CLB\r\nCARL\r\nALBANY NY\r\n"},
           {"ck2list.dat", "W2CLB  CARLOS\r\n"},
           {"vhf4k.adi", "<CALL:5>W2CLB, <GRIDSQUARE:4>FN32 <EOR>\r\n"}});
  ASSERT_TRUE(net.started);
  makeUnusable(net.rig, row.file, how);
  asOrdinaryUser(net.rig, [&] {
    net.rig.enter("W2CLB");
    ASSERT_EQ(net.rig.session.checkIns.count, 1);
    EXPECT_EQ(net.row(1).f[4], "  First time check-in");
    EXPECT_TRUE(net.rig.dialogs.messages().empty());
    EXPECT_EQ(net.rig.read("120526F.ILE"), joinCrLf({"W2CLB", row.wantName, row.wantQth}));
  });
}

INSTANTIATE_TEST_SUITE_P(
    Files, UnusableStationFile,
    ::testing::Combine(
        ::testing::Values(StationFileRow{"BURROW.DAT", "CARLOS", gridText("FN32")},
                          StationFileRow{"ck2list.dat", "CARL", "ALBANY NY  " + gridText("FN32")},
                          StationFileRow{"vhf4k.adi", "CARLOS", "ALBANY NY  "}),
        ::testing::Values(Unusable::Missing, Unusable::Folder, Unusable::NoPermission)),
    [](const auto& info) {
      const std::string file = std::get<0>(info.param).file;
      return file.substr(0, file.find('.')) + "_" + kUnusable[int(std::get<1>(info.param))];
    });

// Settings or today's log that cannot be read are kept aside and told, so the first save does
// not replace what they hold (the check-ins of an interrupted run, say).
struct AsideRow {
  const char* name;
  const char* file;
  const char* title;
};
class UnreadableFile : public ::testing::TestWithParam<AsideRow> {};

TEST_P(UnreadableFile, IsKeptAsideAndTold) {
  const std::string file = GetParam().file;
  Rig rig;
  rig.writeRoster({});
  rig.writeSettings("FN31PR");
  rig.write("120526F.ILE", {"K1ABC", "BOB", "FN20"});
  const std::string before = rig.read(file), beforeLog = rig.read("120526F.ILE");
  makeUnusable(rig, file, Unusable::NoPermission);
  asOrdinaryUser(rig, [&] {
    rig.dialogs.inputAnswers = {"fn20xa"};      // the grid, if the settings are lost
    rig.dialogs.messageAnswers = {Answer::OK};  // re-start the existing log
    ASSERT_TRUE(rig.session.Form_Load());
    const std::string box = told(rig, GetParam().title);
    EXPECT_MENTIONS(box, pathText(rig.folder / file) + " cannot be read");
    EXPECT_MENTIONS(box, pathText(rig.folder / (file + ".bad")));
    rig.enter("W3NEW");
    rig.session.mExit_Click();
    told(rig, " File not saved", 0);
    EXPECT_EQ(rig.read("120526F.ILE"),
              (file == "120526F.ILE" ? "" : beforeLog) + "W3NEW\r\n\r\n\r\n");
    ::chmod((rig.folder / (file + ".bad")).c_str(), 0644);
    EXPECT_EQ(rig.read(file + ".bad"), before);
  });
}

INSTANTIATE_TEST_SUITE_P(Rows, UnreadableFile,
                         ::testing::Values(AsideRow{"Settings", "Kelpie_Control.ini",
                                                    " Check Kelpie_Control.ini"},
                                           AsideRow{"TodaysLog", "120526F.ILE", " Log file"}),
                         rowName<AsideRow>);

// A folder named like the settings file or today's log: the net runs on, the check-ins stay in
// memory, and every save of it says so instead of failing silently.
class FolderInPlace : public ::testing::TestWithParam<const char*> {};

TEST_P(FolderInPlace, NetRunsOnAndEverySaveOfItIsReported) {
  const std::string file = GetParam();
  Rig rig;
  rig.writeRoster({});
  rig.writeSettings();
  fs::remove(rig.folder / file);
  fs::create_directory(rig.folder / file);
  rig.dialogs.inputAnswers = {"fn20xa"};  // asked for, as at a first run, with no settings
  ASSERT_TRUE(rig.session.Form_Load());
  told(rig, " Re-start with 120526F.ILE", 0);
  rig.enter("K1ABC");
  rig.enter("N2XYZ");
  rig.session.mExit_Click();
  EXPECT_EQ(rig.session.checkIns.count, 2);
  const std::string notSaved = told(rig, " File not saved", file == "120526F.ILE" ? 2 : 1);
  EXPECT_MENTIONS(notSaved, pathText(rig.folder / file));
  EXPECT_MENTIONS(notSaved, "still in memory");
  EXPECT_TRUE(fs::is_directory(rig.folder / file));
  EXPECT_NE(rig.read("NETCONT.ROL").find("K1ABC\r\n-\r\n-\r\n12/5/2026\r\n12/5/2026\r\n-\r\nN2XYZ"),
            std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Files, FolderInPlace,
                         ::testing::Values("Kelpie_Control.ini", "120526F.ILE"),
                         [](const auto& info) {
                           return std::string(info.param).substr(0, 7) == "Kelpie_" ? "Settings"
                                                                                    : "TodaysLog";
                         });

// A name whose status cannot even be asked for (a link to itself) must not stop the start-up;
// the first save puts a real log in its place.
TEST(UnreadableLog, TodaysLogThatCannotBeLookedAtDoesNotStopTheStart) {
  Rig rig;
  rig.writeSettings();
  rig.writeRoster({});
  makeUnusable(rig, "120526F.ILE", Unusable::SymlinkLoop);
  bool started = false;
  EXPECT_NO_THROW(started = rig.session.Form_Load());
  ASSERT_TRUE(started);
  rig.enter("K1ABC");
  EXPECT_EQ(rig.read("120526F.ILE"), "K1ABC\r\n\r\n\r\n");
}

}  // namespace
}  // namespace kelpie::test
