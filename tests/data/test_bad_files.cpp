// Damaged, odd and missing data files: Kelpie reads what it can, tells the operator where that
// helps, goes on with the net, and never loses what a file held.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <map>
#include <tuple>

#include "data/checkin_log.h"
#include "data/roster.h"
#include "geo/locator.h"
#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

const Lines kHeader{
    "222 MHz", "W1NC", "1/2/2020", "initial check-in date", "last check-in date", "old call sign"};

Lines concat(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<ShownBox> boxesTitled(const FakeDialogs& d, const std::string& title) {
  std::vector<ShownBox> r;
  for (const auto& b : d.messages())
    if (b.title == title) r.push_back(b);
  return r;
}

bool mentions(const ShownBox& b, const std::string& text) {
  return b.text.find(text) != std::string::npos;
}

// The ways a file can stand where Kelpie wants to read it and still not be readable.
enum class Unreadable { SymlinkLoop, Folder, NoPermission };

// Makes name in the rig's folder unreadable. A file without permissions is unreadable only to
// an ordinary user: run what follows through asOrdinaryUser.
void makeUnreadable(Rig& rig, const std::string& name, Unreadable how) {
  const fs::path p = rig.folder / name;
  std::error_code ec;
  switch (how) {
    case Unreadable::SymlinkLoop:
      fs::remove(p, ec);
      fs::create_symlink(name, p);  // a link to itself: ELOOP for every open
      break;
    case Unreadable::Folder:
      fs::remove(p, ec);
      fs::create_directory(p);
      break;
    case Unreadable::NoPermission:
      ::chmod(p.c_str(), 0);
      break;
  }
}

// Runs body as an ordinary user, since root reads a file of any mode: as root, in a forked
// child that hands the rig's folder to user nobody and gives up root; else right here. The
// child's failures are printed there and make its exit status non-zero.
void asOrdinaryUser(Rig& rig, const std::function<void()>& body) {
  if (::geteuid() != 0) {
    body();
    return;
  }
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
  EXPECT_NE(WEXITSTATUS(status), 3) << "could not become user nobody";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the part run as user nobody failed (see above)";
}

// What stands at the path now, for comparing before and after: kind and bytes.
std::string standing(const fs::path& p) {
  std::error_code ec;
  const auto st = fs::symlink_status(p, ec);
  if (st.type() == fs::file_type::symlink) return "symlink to " + fs::read_symlink(p, ec).string();
  if (st.type() == fs::file_type::directory) return "folder";
  if (st.type() == fs::file_type::not_found) return "nothing";
  ::chmod(p.c_str(), 0644);
  std::string bytes;
  readBytes(p, bytes);
  return "file: " + bytes;
}

// ---- the roster ------------------------------------------------------------------------------

// A line-form roster whose fields begin with a double quote or hold commas is still the
// current form: reading it as the old quoted form would shift every later field.
TEST(DamagedRoster, QuotesAndCommasInFieldsDoNotMakeItTheOldForm) {
  Rig rig;
  rig.writeSettings();
  const Lines stations{
      "K1ABC", "\"BUD\" SMITH", "ALBANY, NY", "1/1/2021", "2/2/2022", "-", "\"N2XYZ",
      "AL",    "\"TROY\"",      "1/1/2021",   "2/2/2022", "-"};
  rig.write("NETCONT.ROL", concat(kHeader, stations));
  ASSERT_TRUE(rig.start());
  EXPECT_TRUE(rig.dialogs.messages().empty());
  ASSERT_EQ(rig.session.roster.count(), 3);
  EXPECT_EQ(rig.session.roster.row(2).name, "\"BUD\" SMITH");
  EXPECT_EQ(rig.session.roster.row(3).callSign, "\"N2XYZ");
  rig.enter("\"n2xyz");  // found in the roster: no first-time check-in
  EXPECT_EQ(rig.session.checkIns.field(1, 4), "1/1/2021");
  rig.session.mExit_Click();
  Lines expected = concat(kHeader, stations);
  expected[6 + 6 + 4] = "12/5/2026";  // the latest check-in of "N2XYZ
  EXPECT_EQ(rig.read("NETCONT.ROL"), joinCrLf(expected));
  EXPECT_FALSE(rig.exists("NETCONT.ROL.bad"));
}

struct CutRosterRow {
  const char* name;
  std::string bytes;
  std::function<void(Rig&)> rewrite;
};
void PrintTo(const CutRosterRow& r, std::ostream* os) { *os << r.name; }
class CutRoster : public ::testing::TestWithParam<CutRosterRow> {};

const Lines kK1abc{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", "-"};

TEST_P(CutRoster, IsReadToItsLastWholeRecordAndKeptBeforeTheRewrite) {
  Rig rig;
  rig.writeSettings();
  rig.writeBytes("NETCONT.ROL", GetParam().bytes);
  ASSERT_TRUE(rig.session.Form_Load());
  const auto told = boxesTitled(rig.dialogs, " Check NETCONT.ROL");
  ASSERT_EQ(told.size(), 1u);
  EXPECT_TRUE(mentions(told[0], pathText(rig.folder / "NETCONT.ROL") + " ends inside a record"));
  EXPECT_TRUE(mentions(told[0], pathText(rig.folder / "NETCONT.ROL.bad")));
  ASSERT_EQ(rig.session.roster.count(), 2);
  EXPECT_EQ(rig.session.roster.row(2).name, "BOB");

  GetParam().rewrite(rig);
  EXPECT_EQ(rig.read("NETCONT.ROL.bad"), GetParam().bytes);
  const RosterParse now = parseRoster(splitLines(rig.read("NETCONT.ROL")));
  EXPECT_FALSE(now.quoted || now.incomplete);
  ASSERT_GE(now.roster.count(), 2);
  EXPECT_EQ(rosterLines(now.roster).at(6), "K1ABC");
  EXPECT_EQ(now.roster.row(2).qth, "FN20");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CutRoster,
    ::testing::Values(
        CutRosterRow{"LineFormRewrittenAtExit", joinCrLf(concat(kHeader, kK1abc)) + "N2XYZ\r\nAl",
                     [](Rig& r) {
                       r.enter("W3NEW");
                       r.session.mExit_Click();
                     }},
        CutRosterRow{"LineFormRewrittenByARosterEdit",
                     joinCrLf(concat(kHeader, kK1abc)) + "N2XYZ\r\n",
                     [](Rig& r) { r.session.saveNCFileAfterEdit(); }},
        CutRosterRow{"OldFormConvertedAtStart",
                     "\"222 MHz\",\"W1NC\",\"1/2/2020\",\"initial check-in date\",\"last check-in "
                     "date\",\"old call sign\"\r\n\"K1ABC\",\"BOB\",\"FN20\",\"1/1/2021\",\"2/2/"
                     "2022\",\"-\"\r\n\"N2XYZ\",\"Al\"\r\n",
                     [](Rig&) {}}),
    [](const auto& info) { return std::string(info.param.name); });

// A roster cut inside its header has no record to take the header from; the stations of the
// day must not become the header at exit (they would never be found again).
TEST(DamagedRoster, CutInsideTheHeaderGetsAFreshHeaderAtExit) {
  Rig rig;
  rig.writeSettings();
  const std::string cut = "222 MHz\r\nW1NC\r\n1/2/2020\r\n";
  rig.writeBytes("NETCONT.ROL", cut);
  ASSERT_TRUE(rig.session.Form_Load());
  EXPECT_EQ(boxesTitled(rig.dialogs, " Check NETCONT.ROL").size(), 1u);
  rig.enter("K1ABC");
  rig.session.mExit_Click();
  EXPECT_EQ(rig.read("NETCONT.ROL.bad"), cut);
  EXPECT_EQ(rig.read("NETCONT.ROL"),
            joinCrLf({"222 MHz", "W1NC", "12/5/2026", "initial check-in date", "last check-in date",
                      "old call sign", "K1ABC", "-", "-", "12/5/2026", "12/5/2026", "-"}));
}

void PrintTo(Unreadable u, std::ostream* os) {
  *os << (u == Unreadable::SymlinkLoop ? "SymlinkLoop"
          : u == Unreadable::Folder    ? "Folder"
                                       : "NoPermission");
}
class UnreadableRoster : public ::testing::TestWithParam<Unreadable> {};

TEST_P(UnreadableRoster, IsToldAndNeverReplaced) {
  Rig rig;
  rig.writeSettings();
  rig.writeRoster({kK1abc});
  makeUnreadable(rig, "NETCONT.ROL", GetParam());
  const fs::path roster = rig.folder / "NETCONT.ROL";
  const std::string before = standing(roster);
  if (GetParam() == Unreadable::NoPermission) ::chmod(roster.c_str(), 0);

  asOrdinaryUser(rig, [&] {
    ASSERT_TRUE(rig.session.Form_Load());
    const auto told = boxesTitled(rig.dialogs, " Check NETCONT.ROL");
    ASSERT_EQ(told.size(), 1u);
    EXPECT_TRUE(mentions(told[0], pathText(roster) + " cannot be read"));
    rig.enter("N2XYZ");
    EXPECT_EQ(rig.session.checkIns.count, 1);
    rig.session.mExit_Click();

    const auto notSaved = boxesTitled(rig.dialogs, " File not saved");
    ASSERT_EQ(notSaved.size(), 1u);
    EXPECT_TRUE(mentions(notSaved[0], pathText(roster)));
    EXPECT_TRUE(mentions(notSaved[0], "still in memory"));
    EXPECT_EQ(standing(roster), before);
    EXPECT_FALSE(rig.exists("NETCONT.ROL.bad"));
    // The rest of the day's work is saved as usual.
    EXPECT_EQ(rig.read("120526F.ILE"), "N2XYZ\r\n\r\n\r\n");
  });
}

INSTANTIATE_TEST_SUITE_P(Kinds, UnreadableRoster,
                         ::testing::Values(Unreadable::SymlinkLoop, Unreadable::Folder,
                                           Unreadable::NoPermission),
                         [](const auto& info) {
                           switch (info.param) {
                             case Unreadable::SymlinkLoop:
                               return "SymlinkLoop";
                             case Unreadable::Folder:
                               return "Folder";
                             case Unreadable::NoPermission:
                               return "NoPermission";
                           }
                           return "";
                         });

struct CutLogRow {
  const char* name;
  Lines lines;  // today's log as found, cut inside its last record
};
void PrintTo(const CutLogRow& r, std::ostream* os) { *os << r.name; }
class CutLog : public ::testing::TestWithParam<CutLogRow> {};

// The re-start keeps the fields of the cut record that were read; the next save completes the
// record with empty fields, so every line of the old file is still there, in its place.
TEST_P(CutLog, ReloadKeepsTheFieldsReadSoFarAndTheSaveLosesNoLine) {
  Rig rig;
  rig.writeRoster({});
  rig.writeSettings();
  const Lines& cut = GetParam().lines;
  rig.write("120526F.ILE", cut);
  rig.dialogs.messageAnswers = {Answer::OK};  // re-start the existing log
  ASSERT_TRUE(rig.session.Form_Load());
  const int records = static_cast<int>((cut.size() + 2) / 3);
  ASSERT_EQ(rig.session.checkIns.count, records);
  for (size_t i = 0; i < cut.size(); ++i)
    EXPECT_EQ(rig.session.checkIns.field(static_cast<int>(i / 3 + 1), static_cast<int>(i % 3 + 1)),
              cut[i]);
  rig.enter("W3NEW");
  Lines expected = cut;
  expected.resize(static_cast<size_t>(records) * 3);
  expected.insert(expected.end(), {"W3NEW", "", ""});
  EXPECT_EQ(rig.read("120526F.ILE"), joinCrLf(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CutLog,
    ::testing::Values(CutLogRow{"CallsignOnly", {"K1ABC", "BOB", "FN20", "N2XYZ"}},
                      CutLogRow{"CallsignAndName", {"K1ABC", "BOB", "FN20", "N2XYZ", "AL"}},
                      CutLogRow{"OneFieldInAll", {"K1ABC"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Blank lines after the last record of today's log are no check-in of their own.
TEST(DamagedLog, BlankLinesAfterTheLastRecordAddNoCheckIn) {
  for (const std::string tail : {"\r\n", "\r\n\r\n", "\n"}) {
    Rig rig;
    rig.writeRoster({});
    rig.writeSettings();
    rig.writeBytes("120526F.ILE", "K1ABC\r\nBOB\r\nFN20\r\n" + tail);
    rig.dialogs.messageAnswers = {Answer::OK};
    ASSERT_TRUE(rig.session.Form_Load());
    EXPECT_EQ(rig.session.checkIns.count, 1) << "tail of " << tail.size() << " bytes";
    EXPECT_EQ(rig.session.view.lines.size(), 1u);
    EXPECT_EQ(rig.session.view.label2, "Enter Call # 2");
    rig.session.mExit_Click();
    EXPECT_EQ(parseRoster(splitLines(rig.read("NETCONT.ROL"))).roster.count(), 2);
  }
}

// ---- the station files -----------------------------------------------------------------------

std::string gridText(std::string grid) {
  double d = 0;
  calcBeamHeading(grid, d, "FN20XA", "Miles");
  return grid;
}

// A rig started over the given station files, with no roster stations.
struct Net {
  Net(const std::map<std::string, std::string>& files) {
    rig.writeRoster({});
    rig.writeSettings();
    for (const auto& [name, bytes] : files) rig.writeBytes(name, bytes);
    started = rig.session.Form_Load();
  }
  const CheckInRow& row(int i) { return rig.session.checkIns.row(i); }
  Rig rig;
  bool started = false;
};

struct ShortClubRow {
  const char* name;
  std::string club;  // BURROW.DAT
  std::string wantName, wantQth;
};
void PrintTo(const ShortClubRow& r, std::ostream* os) { *os << r.name; }
class ShortClubRecord : public ::testing::TestWithParam<ShortClubRow> {};

TEST_P(ShortClubRecord, ChecksTheStationInWithTheFieldsItHas) {
  Net net({{"BURROW.DAT", GetParam().club}});
  ASSERT_TRUE(net.started);
  net.rig.enter("N9X");
  ASSERT_EQ(net.rig.session.checkIns.count, 1);
  EXPECT_EQ(net.row(1).f[1], "N9X");
  EXPECT_EQ(net.row(1).f[2], GetParam().wantName);
  EXPECT_EQ(net.row(1).f[3], GetParam().wantQth + "  ");
  EXPECT_EQ(net.rig.session.view.lines.at(0), "1    N9X   " + GetParam().wantName + "   " +
                                                  GetParam().wantQth +
                                                  "    First time check-in   12/5/2026");
  EXPECT_EQ(net.rig.read("120526F.ILE"),
            "N9X\r\n" + GetParam().wantName + "\r\n" + GetParam().wantQth + "  \r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ShortClubRecord,
    ::testing::Values(
        ShortClubRow{"LinesCallsignOnly", "W2CLB\r\nCARL\r\nALBANY\r\nN9X\r\n", "", ""},
        ShortClubRow{"LinesWithoutQth", "W2CLB\r\nCARL\r\nALBANY\r\nN9X\r\nNED", "NED", ""},
        ShortClubRow{"QuotedWithoutQth", "\"W2CLB\",\"CARL\",\"ALBANY\"\r\n\"N9X\",\"NED\"\r\n",
                     "NED", ""},
        ShortClubRow{"QuotedCallsignOnly", "\"W2CLB\",\"CARL\",\"ALBANY\"\r\n\"N9X\"", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct NameListRow {
  const char* name;
  std::string names;  // ck2list.dat
  std::string want;
};
void PrintTo(const NameListRow& r, std::ostream* os) { *os << r.name; }
class ShortNameLine : public ::testing::TestWithParam<NameListRow> {};

TEST_P(ShortNameLine, GivesAnEmptyNameOrIsPassedOver) {
  Net net({{"ck2list.dat", GetParam().names}});
  ASSERT_TRUE(net.started);
  net.rig.enter("K1AB");
  ASSERT_EQ(net.rig.session.checkIns.count, 1);
  EXPECT_EQ(net.row(1).f[2], GetParam().want);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ShortNameLine,
    ::testing::Values(
        NameListRow{"MatchingShortLineGivesEmptyName", "N9\r\nK1AB\r\nK1AB   BOB", ""},
        NameListRow{"ShorterLinesArePassedOver", "\r\nK\r\nK1A\r\nK1AB   BOB", "BOB"},
        NameListRow{"SpacesOnlyTrimmed", std::string("K1AB\0\0\0X\r\nK1AB   BOB", 20), "BOB"},
        NameListRow{"LastLineWithoutLineEnd", "K1A   X\r\nK1AB", ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct AdifRow {
  const char* name;
  Lines adif;
  std::string wantGrid;  // the grid square the lookup should take, or empty
};
void PrintTo(const AdifRow& r, std::ostream* os) { *os << r.name; }
class AdifLength : public ::testing::TestWithParam<AdifRow> {};

TEST_P(AdifLength, ThatIsNoDigitPassesTheLineOver) {
  Net net({{"vhf4k.adi", joinCrLf(GetParam().adif)}});
  ASSERT_TRUE(net.started);
  net.rig.enter("K1AB");
  ASSERT_EQ(net.rig.session.checkIns.count, 1);
  const std::string want = GetParam().wantGrid.empty() ? "" : gridText(GetParam().wantGrid);
  EXPECT_EQ(net.row(1).f[6], want);
  EXPECT_EQ(net.row(1).f[3], want);
  EXPECT_TRUE(net.rig.dialogs.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AdifLength,
    ::testing::Values(AdifRow{"Letter",
                              {"<CALL:4>K1AB, <GRIDSQUARE:X>FN31",
                               "<CALL:4>K1AB, <GRIDSQUARE:4>FN32"},
                              "FN32"},
                      AdifRow{"Nul",
                              {std::string("<CALL:4>K1AB, <GRIDSQUARE:\0>FN31", 32),
                               "<CALL:4>K1AB, <GRIDSQUARE:4>FN32"},
                              "FN32"},
                      AdifRow{"TagCutAtTheLineEnd",
                              {"<CALL:4>K1AB, <GRIDSQUARE:", "<CALL:4>K1AB, <GRIDSQUARE:4>FN32"},
                              "FN32"},
                      AdifRow{"NoUsableLine",
                              {"<CALL:4>K1AB, <GRIDSQUARE:->FN31", "<CALL:4>K1AB, <GRIDSQUARE:"},
                              ""}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- very long lines, very many lines, every byte value --------------------------------------

constexpr size_t kMegabyte = size_t{1} << 20;

// A megabyte of text with a few odd bytes in it, so a cut or a change anywhere shows.
std::string megabyte(char fill) {
  std::string s(kMegabyte, fill);
  s[0] = '<';
  s[kMegabyte / 2] = '\xB0';
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
  ASSERT_EQ(rig.session.checkIns.count, 1);
  EXPECT_EQ(rig.session.checkIns.field(1, 2), name);
  EXPECT_EQ(rig.read("120526F.ILE"), "K1ABC\r\n" + name + "\r\n" + qth + "\r\n");
  rig.session.mExit_Click();
  EXPECT_EQ(rig.read("NETCONT.ROL"),
            joinCrLf(concat(kHeader, {"K1ABC", name, qth, "1/1/2021", "12/5/2026", "-"})));
}

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

TEST(HugeLines, SettingsValueOfAMegabyteIsKept) {
  Rig rig;
  rig.writeRoster({});
  NetSettings s;
  s.netBand = megabyte('b');
  s.netControlGrid = "FN20XA";
  rig.write("Kelpie_Control.ini", settingsFileLines(s));
  ASSERT_TRUE(rig.start());
  EXPECT_EQ(rig.session.settings.netBand, s.netBand);
  rig.session.mExit_Click();
  EXPECT_NE(rig.read("Kelpie_Control.ini").find("[Band for this Net]\r\n" + s.netBand + "\r\n"),
            std::string::npos);
}

TEST(HugeLines, TodaysLogRecordOfAMegabyteIsReloadedAndSavedWhole) {
  Rig rig;
  rig.writeRoster({});
  rig.writeSettings();
  const Lines log{"K1ABC", megabyte('n'), megabyte('q')};
  rig.write("120526F.ILE", log);
  rig.dialogs.messageAnswers = {Answer::OK};
  ASSERT_TRUE(rig.session.Form_Load());
  rig.enter("N2XYZ");
  EXPECT_EQ(rig.read("120526F.ILE"), joinCrLf(concat(log, {"N2XYZ", "", ""})));
}

constexpr int kMillion = 1000000;

TEST(MillionLines, RosterIsReadWholeAndItsLastStationFound) {
  Rig rig;
  rig.writeSettings();
  const int stations = kMillion / 6;
  std::string roster = joinCrLf(kHeader);
  for (int i = 0; i < stations; ++i)
    roster += "K" + toDec(i) + "\r\nN\r\nQ\r\n1/1/2021\r\n2/2/2022\r\n-\r\n";
  rig.writeBytes("NETCONT.ROL", roster);
  ASSERT_TRUE(rig.start());
  ASSERT_EQ(rig.session.roster.count(), stations + 1);
  const std::string last = "K" + toDec(stations - 1);
  rig.enter(last);
  EXPECT_EQ(rig.session.checkIns.field(1, 4), "1/1/2021");  // found in the roster
  rig.session.mExit_Click();
  const size_t dates = roster.rfind("2/2/2022");
  roster.replace(dates, 8, "12/5/2026");
  EXPECT_EQ(rig.read("NETCONT.ROL"), roster);
}

TEST(MillionLines, StationFilesFindTheirLastLine) {
  std::string club, names, adif;
  for (int i = 0; i < kMillion / 3; ++i) club += "W" + toDec(i) + "\r\nN\r\nQ\r\n";
  club += "K1AB\r\nCARL\r\nALBANY NY\r\n";
  for (int i = 0; i < kMillion; ++i) names += "W" + toDec(i) + " x\r\n";
  names += "K1AB   ALICE\r\n";
  for (int i = 0; i < kMillion; ++i) adif += "<CALL:4>W" + toDec(i) + ", <GRIDSQUARE:2>AA\r\n";
  adif += "<CALL:4>K1AB, <GRIDSQUARE:4>FN32\r\n";
  Net net({{"BURROW.DAT", club}, {"ck2list.dat", names}, {"vhf4k.adi", adif}});
  ASSERT_TRUE(net.started);
  net.rig.enter("K1AB");
  ASSERT_EQ(net.rig.session.checkIns.count, 1);
  EXPECT_EQ(net.row(1).f[2], "ALICE");
  EXPECT_EQ(net.row(1).f[3], "ALBANY NY  " + gridText("FN32"));
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

TEST(EveryByte, RosterFieldsSurviveStartAndExitByteForByte) {
  Rig rig;
  rig.writeSettings();
  // Starts with "K1" so that it is no old-form line; every byte after.
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

TEST(EveryByte, StationFilesGiveTheirBytesUnchangedToTheLogAndTheRoster) {
  const std::string clubQth = everyByte(7), listName = everyByte(100);
  Net net({{"BURROW.DAT", joinCrLf({"K1AB", everyByte(3), clubQth})},
           {"ck2list.dat", joinCrLf({everyByte(9), "K1AB   " + listName})}});
  ASSERT_TRUE(net.started);
  net.rig.enter("K1AB");
  ASSERT_EQ(net.rig.session.checkIns.count, 1);
  EXPECT_EQ(net.row(1).f[2], listName);
  EXPECT_EQ(net.row(1).f[3], clubQth + "  ");
  EXPECT_EQ(net.rig.read("120526F.ILE"), joinCrLf({"K1AB", listName, clubQth + "  "}));
  net.rig.session.mExit_Click();
  const RosterParse roster = parseRoster(splitLines(net.rig.read("NETCONT.ROL")));
  ASSERT_EQ(roster.roster.count(), 2);
  EXPECT_EQ(roster.roster.row(2).name, listName);
  EXPECT_EQ(roster.roster.row(2).qth, clubQth + "  ");
}

TEST(EveryByte, TodaysLogIsReloadedAndSavedByteForByte) {
  Rig rig;
  rig.writeRoster({});
  rig.writeSettings();
  const Lines log{everyByte(0), everyByte(50), everyByte(150), std::string(3, '\0'), "", ""};
  rig.write("120526F.ILE", log);
  rig.dialogs.messageAnswers = {Answer::OK};
  ASSERT_TRUE(rig.session.Form_Load());
  ASSERT_EQ(rig.session.checkIns.count, 2);
  rig.session.saveLogFile();
  EXPECT_EQ(rig.read("120526F.ILE"), joinCrLf(log));
}

// ---- files that are missing, unreadable, or a folder ---------------------------------------

enum class Unusable { Missing, Folder, SymlinkLoop, NoPermission };

struct StationFileRow {
  const char* file;
  std::string wantName, wantQth;  // what the check-in gets from the files still usable
};

void PrintTo(const StationFileRow& r, std::ostream* os) { *os << r.file; }
void PrintTo(Unusable u, std::ostream* os) {
  static const char* const kinds[] = {"Missing", "Folder", "SymlinkLoop", "NoPermission"};
  *os << kinds[static_cast<int>(u)];
}

std::string unusableName(
    const ::testing::TestParamInfo<std::tuple<StationFileRow, Unusable>>& info) {
  static const char* const kinds[] = {"Missing", "Folder", "SymlinkLoop", "NoPermission"};
  const std::string file = std::get<0>(info.param).file;
  return file.substr(0, file.find('.')) + "_" + kinds[static_cast<int>(std::get<1>(info.param))];
}

class UnusableStationFile : public ::testing::TestWithParam<std::tuple<StationFileRow, Unusable>> {
};

// The station files go bad while the net runs (the files are read afresh at every check-in):
// the lookup goes on with what it still has.
TEST_P(UnusableStationFile, LookupGoesOnWithoutIt) {
  const auto& [row, how] = GetParam();
  Net net({{"BURROW.DAT", "W2CLB\r\nCARL\r\nALBANY NY\r\n"},
           {"ck2list.dat", "W2CLB  CARLOS\r\n"},
           {"vhf4k.adi", "<CALL:5>W2CLB, <GRIDSQUARE:4>FN32 <EOR>\r\n"}});
  ASSERT_TRUE(net.started);
  switch (how) {
    case Unusable::Missing:
      fs::remove(net.rig.folder / row.file);
      break;
    case Unusable::Folder:
      makeUnreadable(net.rig, row.file, Unreadable::Folder);
      break;
    case Unusable::SymlinkLoop:
      makeUnreadable(net.rig, row.file, Unreadable::SymlinkLoop);
      break;
    case Unusable::NoPermission:
      makeUnreadable(net.rig, row.file, Unreadable::NoPermission);
      break;
  }
  asOrdinaryUser(net.rig, [&] {
    net.rig.enter("W2CLB");
    ASSERT_EQ(net.rig.session.checkIns.count, 1);
    EXPECT_EQ(net.row(1).f[1], "W2CLB");
    EXPECT_EQ(net.row(1).f[2], row.wantName);
    EXPECT_EQ(net.row(1).f[3], row.wantQth);
    EXPECT_EQ(net.row(1).f[4], "  First time check-in");
    EXPECT_TRUE(net.rig.dialogs.messages().empty());
    EXPECT_EQ(net.rig.read("120526F.ILE"),
              "W2CLB\r\n" + row.wantName + "\r\n" + row.wantQth + "\r\n");
  });
}

INSTANTIATE_TEST_SUITE_P(
    Files, UnusableStationFile,
    ::testing::Combine(::testing::Values(StationFileRow{"BURROW.DAT", "CARLOS", gridText("FN32")},
                                         StationFileRow{"ck2list.dat", "CARL",
                                                        "ALBANY NY  " + gridText("FN32")},
                                         StationFileRow{"vhf4k.adi", "CARLOS", "ALBANY NY  "}),
                       ::testing::Values(Unusable::Missing, Unusable::Folder, Unusable::SymlinkLoop,
                                         Unusable::NoPermission)),
    unusableName);

// A settings file that cannot be read: the start says so and keeps it aside, so the settings
// written at exit do not replace what it holds.
TEST(UnusableSettings, FileThatCannotBeReadIsKeptAsideAndTold) {
  Rig rig;
  rig.writeRoster({});
  rig.writeSettings("FN31PR");
  const std::string before = rig.read("Kelpie_Control.ini");
  makeUnreadable(rig, "Kelpie_Control.ini", Unreadable::NoPermission);
  asOrdinaryUser(rig, [&] {
    rig.dialogs.inputAnswers = {"fn20xa"};
    ASSERT_TRUE(rig.session.Form_Load());
    const auto told = boxesTitled(rig.dialogs, " Check Kelpie_Control.ini");
    ASSERT_EQ(told.size(), 1u);
    EXPECT_TRUE(mentions(told[0], pathText(rig.folder / "Kelpie_Control.ini") + " cannot be read"));
    EXPECT_TRUE(mentions(told[0], pathText(rig.folder / "Kelpie_Control.ini.bad")));
    rig.session.mExit_Click();
    EXPECT_TRUE(boxesTitled(rig.dialogs, " File not saved").empty());
    EXPECT_NE(rig.read("Kelpie_Control.ini").find("FN20XA"), std::string::npos);
    ::chmod((rig.folder / "Kelpie_Control.ini.bad").c_str(), 0644);
    EXPECT_EQ(rig.read("Kelpie_Control.ini.bad"), before);
  });
}

// A folder named like the settings file: the start asks for the grid, as for a first run, and
// the save at exit is reported instead of lost silently.
TEST(UnusableSettings, FolderInItsPlaceIsAskedAroundAndReportedAtExit) {
  Rig rig;
  rig.writeRoster({});
  fs::create_directory(rig.folder / "Kelpie_Control.ini");
  rig.dialogs.inputAnswers = {"fn20xa"};
  ASSERT_TRUE(rig.session.Form_Load());
  EXPECT_EQ(rig.session.settings.netControlGrid, "FN20XA");
  rig.enter("K1ABC");
  EXPECT_EQ(rig.read("120526F.ILE"), "K1ABC\r\n\r\n\r\n");
  rig.session.mExit_Click();
  const auto told = boxesTitled(rig.dialogs, " File not saved");
  ASSERT_EQ(told.size(), 1u);
  EXPECT_TRUE(mentions(told[0], pathText(rig.folder / "Kelpie_Control.ini")));
  EXPECT_TRUE(fs::is_directory(rig.folder / "Kelpie_Control.ini"));
  EXPECT_NE(rig.read("NETCONT.ROL").find("K1ABC\r\n"), std::string::npos);
}

// ---- today's log -----------------------------------------------------------------------------

// A name whose status cannot even be asked for (here a link to itself) must not stop the
// start-up; the first save puts a real log in its place.
TEST(UnreadableLog, TodaysLogThatCannotBeLookedAtDoesNotStopTheStart) {
  Rig rig;
  rig.writeSettings();
  rig.writeRoster({});
  makeUnreadable(rig, "120526F.ILE", Unreadable::SymlinkLoop);
  bool started = false;
  EXPECT_NO_THROW(started = rig.session.Form_Load());
  ASSERT_TRUE(started);
  rig.enter("K1ABC");
  EXPECT_EQ(rig.read("120526F.ILE"), "K1ABC\r\n\r\n\r\n");
}

// A log of today that cannot be read must not be replaced by the first save of the restarted
// net: that would lose the check-ins of the run that was interrupted.
TEST(UnreadableLog, TodaysLogThatCannotBeReadIsKeptAsideAndTold) {
  Rig rig;
  rig.writeSettings();
  rig.writeRoster({});
  const std::string earlier = joinCrLf({"K1ABC", "BOB", "FN20", "N2XYZ", "AL", "FN31"});
  rig.writeBytes("120526F.ILE", earlier);
  makeUnreadable(rig, "120526F.ILE", Unreadable::NoPermission);
  asOrdinaryUser(rig, [&] {
    rig.dialogs.messageAnswers = {Answer::OK};  // re-start the existing log
    ASSERT_TRUE(rig.session.Form_Load());
    const auto told = boxesTitled(rig.dialogs, " Log file");
    ASSERT_EQ(told.size(), 1u);
    EXPECT_TRUE(mentions(told[0], pathText(rig.folder / "120526F.ILE") + " cannot be read"));
    EXPECT_TRUE(mentions(told[0], pathText(rig.folder / "120526F.ILE.bad")));
    rig.enter("W3NEW");
    EXPECT_EQ(rig.read("120526F.ILE"), "W3NEW\r\n\r\n\r\n");
    ::chmod((rig.folder / "120526F.ILE.bad").c_str(), 0644);
    EXPECT_EQ(rig.read("120526F.ILE.bad"), earlier);
  });
}

// A folder named like today's log: Kelpie says it cannot create the log, asks no re-start
// question about it, and keeps the check-ins in memory with a message at every save.
TEST(UnusableLog, FolderInItsPlaceKeepsTheCheckInsInMemory) {
  Rig rig;
  rig.writeSettings();
  rig.writeRoster({});
  fs::create_directory(rig.folder / "120526F.ILE");
  ASSERT_TRUE(rig.session.Form_Load());
  const auto cannot = boxesTitled(rig.dialogs, " Log file");
  ASSERT_EQ(cannot.size(), 1u);
  EXPECT_TRUE(mentions(cannot[0], pathText(rig.folder / "120526F.ILE")));
  EXPECT_TRUE(boxesTitled(rig.dialogs, " Re-start with 120526F.ILE").empty());
  rig.enter("K1ABC");
  rig.enter("N2XYZ");
  EXPECT_EQ(rig.session.checkIns.count, 2);
  const auto notSaved = boxesTitled(rig.dialogs, " File not saved");
  ASSERT_EQ(notSaved.size(), 2u);
  EXPECT_TRUE(mentions(notSaved[1], pathText(rig.folder / "120526F.ILE")));
  EXPECT_TRUE(mentions(notSaved[1], "still in memory"));
  // The day's stations still reach the roster.
  rig.session.mExit_Click();
  const RosterParse roster = parseRoster(splitLines(rig.read("NETCONT.ROL")));
  ASSERT_EQ(roster.roster.count(), 3);
  EXPECT_EQ(roster.roster.row(3).callSign, "N2XYZ");
}

}  // namespace
}  // namespace kelpie::test
