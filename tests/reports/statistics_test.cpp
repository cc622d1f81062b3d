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

struct LogFile {
  std::string name;
  std::vector<std::string> calls;
  LogForm form = LogForm::Lines;
};

void writeLogs(const Rig& rig, const std::vector<LogFile>& logs) {
  for (const auto& log : logs) {
    std::vector<LogRecord> records;
    for (const auto& c : log.calls) records.push_back({c, "Name", "QTH"});
    rig.write(log.name, inForm(log.form, records));
  }
}

Lines allTime(Rig& rig) {
  mMostCheckins_Click(rig.session);
  return rig.session.view.lines;
}

struct StatRow {
  const char* name;
  std::vector<LogFile> logs;
  std::string since;  // the heading's year
  std::string best;   // the answer's fourth line
};

class StatisticsAllTime : public ::testing::TestWithParam<StatRow> {};

TEST_P(StatisticsAllTime, NamesTheEarliestYearAndTheBestStation) {
  Rig rig;
  writeLogs(rig, GetParam().logs);
  EXPECT_EQ(allTime(rig),
            answer(" Station with the most check-ins since 20" + GetParam().since + ":",
                   GetParam().best));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StatisticsAllTime,
    ::testing::Values(
        StatRow{"NoLogsAtAll", {}, "50", "     0"},
        StatRow{"AllOfFiftyAndMoreKeep2050",
                {{"010550F.ILE", {"W1AW"}}, {"123198F.ILE", {"W1AW"}}, {"070499F.ILE", {"W1AW"}}},
                "50",
                "  W1AW   3"},
        StatRow{"Year49IsBelow50",
                {{"010550F.ILE", {"W1AW"}}, {"010549F.ILE", {"W1AW"}}},
                "49",
                "  W1AW   2"},
        StatRow{"YearZero", {{"010100F.ILE", {"W1AW"}}}, "00", "  W1AW   1"},
        // A name without two digits in the year's place counts its check-ins but cannot put
        // letters into the heading.
        StatRow{"StrayNameLeavesTheYear",
                {{"notes.ile", {"W1AW"}}, {"010520F.ILE", {"W1AW"}}},
                "20",
                "  W1AW   2"},
        StatRow{"EveryLogInBothForms",
                {{"010126F.ILE", {"W1AW", "K1ZZ"}},
                 {"020126F.ILE", {"K1ZZ", "W1AW"}, LogForm::Quoted},
                 {"030126F.ILE", {"K1ZZ"}, LogForm::Quoted}},
                "26",
                "  K1ZZ   3"},
        // Written in the opposite order, so that the directory's own order cannot decide.
        StatRow{"TieGoesToTheEarlierFile",
                {{"020126F.ILE", {"W1AW", "W1AW"}}, {"010126F.ILE", {"K1ZZ", "K1ZZ"}}},
                "26",
                "  K1ZZ   2"},
        StatRow{"TieGoesToTheEarlierRecord",
                {{"010126F.ILE", {"W1AW", "K1ZZ", "K1ZZ", "W1AW"}}},
                "26",
                "  W1AW   2"},
        StatRow{"FileOrderIgnoresLetterCase",
                {{"B.ILE", {"W1AW"}}, {"a.ile", {"K1ZZ"}}},
                "50",
                "  K1ZZ   1"},
        StatRow{"EmptyCallsignCountsForNoStation",
                {{"010126F.ILE", {"", "", "W1AW", ""}}},
                "26",
                "  W1AW   1"},
        StatRow{"LetterCaseMakesDifferentStations",
                {{"010126F.ILE", {"W1AW", "w1aw", "K1ZZ", "W1AW", "w1aw", "K1ZZ", "K1ZZ"}}},
                "26",
                "  K1ZZ   3"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Statistics, CutShortLastRecordStillNamesItsStation) {
  Rig rig;
  rig.writeBytes("010126F.ILE", "W1AW\r\nA\r\nB\r\nK1ZZ\r\nC\r\nD\r\nK1ZZ\r\n");
  EXPECT_EQ(allTime(rig)[3], "  K1ZZ   2");
}

TEST(Statistics, OldAndNewCallAreAddedUnderTheNewCall) {
  Rig rig;
  rig.writeRoster({{"K1NEW", "Ned", "Here", "1/1/2020", "2/2/2026", "W1OLD"},
                   {"K1ZZ", "Zed", "Here", "1/1/2020", "2/2/2026", "K1ZZ"},
                   {"W1AW", "Hiram", "CT", "1/1/2020", "2/2/2026", ""}});
  ASSERT_TRUE(rig.start());
  writeLogs(rig, {{"010125F.ILE", {"W1OLD", "W1AW", "W1OLD"}},
                  {"010126F.ILE", {"W1AW", "K1NEW", "W1AW", "K1NEW"}}});
  // W1AW has 3, K1NEW 2 + 2 from W1OLD.
  EXPECT_EQ(allTime(rig),
            answer(" Station with the most check-ins since 2025:", "  K1NEW (ex: W1OLD)   4"));
  // A station whose old call is its own is not doubled: K1ZZ's 3 stay 3, below W1AW's 4.
  writeLogs(rig, {{"020126F.ILE", {"K1ZZ", "K1ZZ", "K1ZZ", "W1AW", "W1AW"}}});
  EXPECT_EQ(allTime(rig)[3], "  W1AW   5");
}

TEST(Statistics, ThisYearLeavesOutLastYearsLog) {
  Rig rig;
  writeLogs(rig, {{"123125F.ILE", {"K1ZZ", "K1ZZ", "K1ZZ"}},
                  {"010126F.ILE", {"W1AW"}},
                  {"010126X.ILE", {"W1AW"}}});  // any name whose year's place reads 26
  mMostCheckinsperYear_Click(rig.session);
  EXPECT_EQ(rig.session.view.lines,
            answer(" Station with the most check-ins in 2026:", "  W1AW   2"));
  EXPECT_EQ(allTime(rig), answer(" Station with the most check-ins since 2025:", "  K1ZZ   3"));
}

}  // namespace
}  // namespace kelpie::test
