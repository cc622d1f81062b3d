// The station lookup: the roster, the club list, the name list and the ADIF grid, and the line
// each kind of station gets.
#include <gtest/gtest.h>

#include <array>

#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

const std::string kDeg = "\xB0";

struct Lookup : Rig {
  Lookup() {
    writeRoster({{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", "-"},
                 {"k1low", "LOW", "X", "1/1/2021", "2/2/2022", "-"}},
                "K1HDR");  // a header whose first line reads like a callsign
    write("BURROW.DAT", {"W2CLB", "CARL", "ALBANY NY", "W2NOG", "NED", "TROY", "N9X"});
    write("ck2list.dat", {"N9NAM  ALICE", "W2CLB  CARLOS", "SE7EN77", "K7LONGGRANT", "N2", "K1AB"});
    write("vhf4k.adi", {"<CALL:5>W2CLB, <GRIDSQUARE:4>FN32 <EOR>",
                        "<CALL:5>N5GRD, <GRIDSQUARE:X>FN31 <CALL:5>N5GRD, <GRIDSQUARE:6>EM12aa",
                        "<CALL:5>N5GRD, <GRIDSQUARE:6>FN20"});
    EXPECT_TRUE(start());
  }
};

// Each row: typed, the line added to the list, then the check-in's name, QTH and fields 4 to 6;
// a station found nowhere when both are left empty.
TEST(Lookup, EachKindOfStationGetsItsLineAndFields) {
  const std::string first = "First time check-in   12/5/2026",
                    firstF = "  First time check-in|12/5/2026|", fn32 = "FN32  17" + kDeg,
                    fn20 = "FN20  304" + kDeg;
  std::vector<std::array<std::string, 3>> rows = {
      {"K1ABC", "1    K1ABC   BOB   FN20  1/1/2021   2/2/2022", "BOB|FN20|1/1/2021|2/2/2022|"},
      {"K1ABC-", "1 in&out K1ABC   BOB   FN20   1/1/2021   2/2/2022",
       "BOB|FN20|1/1/2021|2/2/2022|"},
      {"W2CLB", "1    W2CLB   CARLOS   ALBANY NY  " + fn32 + "     " + first,
       "CARLOS|ALBANY NY  " + fn32 + "|" + firstF + fn32},
      {"W2NOG-", "1 in&out W2NOG   NED   TROY    " + first, "NED|TROY  |" + firstF},
      {"N9X", "1    N9X          " + first, "|  |" + firstF},
      {"N9NAM", "", "ALICE||" + firstF},
      {"N8NON-", "1 in&out N8NON     " + first, ""},
      // Only a line's first grid tag counts, and one whose length is no digit passes it over.
      {"N5GRD", "1    N5GRD      " + fn20 + "     " + first, "|" + fn20 + "|" + firstF + fn20},
      {"k1low", "1    K1LOW    " + first},
      {"K7LONGG", "", "RANT||" + firstF}};
  for (const char* call : {"K1HDR", "SE7EN77", "N2X", "K1AB"}) rows.push_back({call, "", ""});
  for (const auto& [typed, line, fields] : rows) {
    SCOPED_TRACE(typed);
    Lookup rig;
    rig.enter(typed);
    const auto& f = rig.session.checkIns.row(1).f;
    EXPECT_EQ(rig.session.view.lines.at(0), line.empty() ? "1    " + typed + "    " + first : line);
    EXPECT_EQ(f[2] + "|" + f[3] + "|" + f[4] + "|" + f[5] + "|" + f[6],
              fields.empty() ? "||" + firstF : fields);
    EXPECT_TRUE(rig.dialogs.shown.empty());
  }
}

TEST(Lookup, RedrawnLinesAndTheDuplicateRefused) {
  Lookup rig;
  rig.enterAll({"K1ABC-", "N9NAM", "n9nam", "K1ABC"});
  rig.session.updateCheckIns();
  EXPECT_EQ(
      rig.session.view.lines,
      (std::vector<std::string>{"1   in&out  K1ABC   BOB   FN20   1/1/2021   2/2/2022",
                                "2    N9NAM   ALICE        First time check-in   12/5/2026"}));
  EXPECT_EQ(rig.dialogs.boxes(),
            "N9NAM in list... / N9NAM already checked-in.\n"
            "K1ABC in list... / K1ABC already checked-in.\n");
  EXPECT_EQ(rig.read("120526F.ILE"), "K1ABC\r\nBOB\r\nFN20\r\nN9NAM\r\nALICE\r\n\r\n");
  // In the roster view, the duplicate's roster lines are selected: the later one stays.
  rig.session.view.lines = {"K1ABC     BOB          FN20", "K1ABCD    DAN          X",
                            "N2XYZ     AL           Y"};
  rig.session.entryText = "K1ABC";
  std::string result;
  rig.session.getStationInfo(result);
  EXPECT_EQ(result + std::to_string(rig.session.view.selected), "1");
}

// The files are read afresh at every check-in, created empty when missing, in either form.
TEST(Lookup, StationFilesAreReadAfreshInEitherForm) {
  Lookup rig;
  rig.write("BURROW.DAT", {"\"W4QQQ\",\"QUINN, JR\",\"ATLANTA\"", "\"N9X\""});
  rig.write("ck2list.dat", {"N6NEW  FRESH"});
  rig.writeRoster({{"N5ROS", "ROSS", "Q", "1/1/2020", "1/1/2020", "-"}});
  rig.enterAll({"W4QQQ", "N9X", "N6NEW", "N5ROS"});
  EXPECT_EQ(rig.read("120526F.ILE"),
            "W4QQQ\r\nQUINN, JR\r\nATLANTA  \r\nN9X\r\n\r\n  \r\nN6NEW\r\nFRESH\r\n\r\n"
            "N5ROS\r\nROSS\r\nQ\r\n");
  std::filesystem::remove(rig.folder / "BURROW.DAT");
  std::filesystem::remove(rig.folder / "ck2list.dat");
  rig.enter("N1ZZZ");
  EXPECT_EQ(rig.session.checkIns.count, 5);
  EXPECT_TRUE(rig.exists("BURROW.DAT"));
}

}  // namespace
}  // namespace kelpie::test
