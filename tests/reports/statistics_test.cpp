// Check-in statistics over the stored logs: the heading's year, the counting, the merge across
// a callsign change and the choice of the best station.

#include <gtest/gtest.h>

#include "report_fixture.h"
#include "reports/reports.h"

namespace kelpie::test {
namespace {

Lines answer(const std::string& heading, const std::string& line4) {
  return {"", heading, "", line4, "", "", "   <Esc> to resume..."};
}

std::vector<LogRecord> calls(const std::vector<std::string>& callSigns) {
  std::vector<LogRecord> r;
  for (const auto& c : callSigns) r.push_back({c, "Name", "QTH"});
  return r;
}

TEST(Statistics, NoLogsShowsTheStartingYearAndZero) {
  Rig rig;  // not started: the folder holds no log at all
  mMostCheckins_Click(rig.session);
  EXPECT_EQ(rig.session.view.lines,
            answer(" Station with the most check-ins since 2050:", "     0"));
  mMostCheckinsperYear_Click(rig.session);
  EXPECT_EQ(rig.session.view.lines, answer(" Station with the most check-ins in 2026:", "     0"));
}

struct YearRow {
  const char* name;
  std::vector<std::string> logs;
  std::string since;
};

class StatisticsYear : public ::testing::TestWithParam<YearRow> {};

TEST_P(StatisticsYear, HeadingNamesTheEarliestYear) {
  Rig rig;
  for (const auto& name : GetParam().logs) rig.write(name, lineForm(calls({"W1AW"})));
  mMostCheckins_Click(rig.session);
  ASSERT_EQ(rig.session.view.lines.size(), 7u);
  EXPECT_EQ(rig.session.view.lines[1],
            " Station with the most check-ins since 20" + GetParam().since + ":");
  EXPECT_EQ(rig.session.view.lines[3], "  W1AW   " + std::to_string(GetParam().logs.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StatisticsYear,
    ::testing::Values(
        YearRow{"AllOfFiftyAndMoreKeep2050", {"010550F.ILE", "123198F.ILE", "070499F.ILE"}, "50"},
        YearRow{"Year49IsBelow50", {"010550F.ILE", "010549F.ILE"}, "49"},
        YearRow{"SmallestOfSeveral", {"010515F.ILE", "030509F.ILE", "120526F.ILE"}, "09"},
        YearRow{"YearZero", {"010100F.ILE", "010126F.ILE"}, "00"},
        YearRow{"LowerCaseNames", {"031014f.ile", "031015F.Ile"}, "14"},
        // A name without two digits in the year's place counts its check-ins but cannot put
        // letters into the heading.
        YearRow{"StrayNameLeavesTheYear", {"notes.ile", "010520F.ILE"}, "20"},
        YearRow{"ShortNameLeavesTheYear", {"F.ILE", "x.ile", "010520F.ILE"}, "20"}),
    [](const auto& info) { return std::string(info.param.name); });

// Started only where a test needs the roster or the net; logs are written after the start.
class StatisticsTest : public ::testing::Test {
 protected:
  Session& s() { return rig.session; }
  void log(const std::string& name, const std::vector<std::string>& callSigns,
           LogForm form = LogForm::Lines) {
    rig.write(name, inForm(form, calls(callSigns)));
  }
  Lines allTime() {
    mMostCheckins_Click(s());
    return s().view.lines;
  }
  Lines thisYear() {
    mMostCheckinsperYear_Click(s());
    return s().view.lines;
  }
  Rig rig;
};

TEST_F(StatisticsTest, CountsEveryLogInBothForms) {
  log("010126F.ILE", {"W1AW", "K1ZZ"});
  log("020126F.ILE", {"K1ZZ", "W1AW"}, LogForm::Quoted);
  log("030126F.ILE", {"K1ZZ"}, LogForm::Quoted);
  EXPECT_EQ(allTime(), answer(" Station with the most check-ins since 2026:", "  K1ZZ   3"));
}

TEST_F(StatisticsTest, OldAndNewCallAreAddedUnderTheNewCall) {
  rig.writeRoster({{"K1NEW", "Ned", "Here", "1/1/2020", "2/2/2026", "W1OLD"},
                   {"W1AW", "Hiram", "CT", "1/1/2020", "2/2/2026", ""}});
  ASSERT_TRUE(rig.start());
  log("010125F.ILE", {"W1OLD", "W1AW", "W1OLD"});
  log("010126F.ILE", {"W1AW", "K1NEW", "W1AW", "K1NEW"});
  // W1AW has 3, K1NEW 2 + 2 from W1OLD.
  EXPECT_EQ(allTime(),
            answer(" Station with the most check-ins since 2025:", "  K1NEW (ex: W1OLD)   4"));
}

TEST_F(StatisticsTest, OldCallAloneIsCountedOnItsOwn) {
  rig.writeRoster({{"K1NEW", "Ned", "Here", "1/1/2020", "2/2/2026", "W1OLD"}});
  ASSERT_TRUE(rig.start());
  log("010125F.ILE", {"W1OLD", "W1AW", "W1OLD"});
  EXPECT_EQ(allTime()[3], "  W1OLD   2");
}

TEST_F(StatisticsTest, StationWhoseOldCallIsItsOwnIsNotDoubled) {
  rig.writeRoster({{"K1ZZ", "Zed", "Here", "1/1/2020", "2/2/2026", "K1ZZ"}});
  ASSERT_TRUE(rig.start());
  log("010125F.ILE", {"K1ZZ", "K1ZZ", "W1AW", "W1AW", "W1AW"});
  EXPECT_EQ(allTime()[3], "  W1AW   3");
}

TEST_F(StatisticsTest, TieGoesToTheEarlierFile) {
  log("020126F.ILE", {"W1AW", "W1AW"});
  log("010126F.ILE", {"K1ZZ", "K1ZZ"});
  EXPECT_EQ(allTime()[3], "  K1ZZ   2");
}

TEST_F(StatisticsTest, TieGoesToTheEarlierRecord) {
  log("010126F.ILE", {"W1AW", "K1ZZ", "K1ZZ", "W1AW"});
  EXPECT_EQ(allTime()[3], "  W1AW   2");
}

TEST_F(StatisticsTest, FileOrderIgnoresLetterCase) {
  // "a.ile" sorts before "B.ILE" as the file list shows them, not by byte value.
  log("B.ILE", {"W1AW"});
  log("a.ile", {"K1ZZ"});
  EXPECT_EQ(allTime()[3], "  K1ZZ   1");
}

TEST_F(StatisticsTest, EmptyCallsignCountsForNoStation) {
  log("010126F.ILE", {"", "", "W1AW", ""});
  EXPECT_EQ(allTime()[3], "  W1AW   1");
}

TEST_F(StatisticsTest, LetterCaseMakesDifferentStations) {
  log("010126F.ILE", {"W1AW", "w1aw", "K1ZZ", "W1AW", "w1aw", "K1ZZ", "K1ZZ"});
  EXPECT_EQ(allTime()[3], "  K1ZZ   3");
}

TEST_F(StatisticsTest, ThisYearLeavesOutLastYearsLog) {
  log("123125F.ILE", {"K1ZZ", "K1ZZ", "K1ZZ"});
  log("010126F.ILE", {"W1AW"});
  log("010126X.ILE", {"W1AW"});  // any name whose year's place reads 26
  EXPECT_EQ(thisYear(), answer(" Station with the most check-ins in 2026:", "  W1AW   2"));
  EXPECT_EQ(allTime(), answer(" Station with the most check-ins since 2025:", "  K1ZZ   3"));
}

TEST_F(StatisticsTest, ThisYearFollowsTheClock) {
  rig.clock.date = {2025, 3, 9};
  log("123125F.ILE", {"K1ZZ"});
  log("010126F.ILE", {"W1AW", "W1AW"});
  EXPECT_EQ(thisYear(), answer(" Station with the most check-ins in 2025:", "  K1ZZ   1"));
}

TEST_F(StatisticsTest, LogsWrittenSinceStartUpCount) {
  ASSERT_TRUE(rig.start());
  EXPECT_EQ(allTime()[3], "     0");
  log("010126F.ILE", {"W1AW"});
  EXPECT_EQ(allTime()[3], "  W1AW   1");
}

TEST_F(StatisticsTest, CutShortLastRecordStillNamesItsStation) {
  rig.writeBytes("010126F.ILE", "W1AW\r\nA\r\nB\r\nK1ZZ\r\nC\r\nD\r\nK1ZZ\r\n");
  EXPECT_EQ(allTime()[3], "  K1ZZ   2");
}

TEST_F(StatisticsTest, ManyStationsHaveNoLimit) {
  std::vector<std::string> many;
  for (int i = 0; i < 1500; ++i) many.push_back("K" + std::to_string(i));
  many.push_back("K1400");
  log("010126F.ILE", many);
  EXPECT_EQ(allTime()[3], "  K1400   2");
}

TEST_F(StatisticsTest, LeavesTheNetAlone) {
  ASSERT_TRUE(rig.start());
  rig.enter("W1AW");
  const std::string todayLog = rig.read("120526F.ILE");
  log("130126F.ILE", {"K1ZZ"});  // after today's log in name order: the tie goes to W1AW
  allTime();
  EXPECT_EQ(s().checkIns.count, 1);
  EXPECT_EQ(rig.read("120526F.ILE"), todayLog);
  EXPECT_EQ(s().view.lines[3], "  W1AW   1");  // today's log counts as a stored log
}

}  // namespace
}  // namespace kelpie::test
