// Damaged, odd and missing data files: Kelpie reads what it can, tells the operator where that
// helps, goes on with the net, and never loses what a file held.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

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

// Makes name in the rig's folder unreadable; false when this machine cannot show that way
// (root reads a file of any mode).
bool makeUnreadable(Rig& rig, const std::string& name, Unreadable how) {
  const fs::path p = rig.folder / name;
  std::error_code ec;
  switch (how) {
    case Unreadable::SymlinkLoop:
      fs::remove(p, ec);
      fs::create_symlink(name, p);  // a link to itself: ELOOP for every open
      return true;
    case Unreadable::Folder:
      fs::remove(p, ec);
      fs::create_directory(p);
      return true;
    case Unreadable::NoPermission:
      if (::geteuid() == 0) return false;
      ::chmod(p.c_str(), 0);
      return true;
  }
  return false;
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

class UnreadableRoster : public ::testing::TestWithParam<Unreadable> {};

TEST_P(UnreadableRoster, IsToldAndNeverReplaced) {
  Rig rig;
  rig.writeSettings();
  rig.writeRoster({kK1abc});
  if (!makeUnreadable(rig, "NETCONT.ROL", GetParam())) GTEST_SKIP() << "root reads any file";
  const fs::path roster = rig.folder / "NETCONT.ROL";
  const std::string before = standing(roster);
  if (GetParam() == Unreadable::NoPermission) ::chmod(roster.c_str(), 0);

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

}  // namespace
}  // namespace kelpie::test
