// The station lookup: the roster, the club list, the name list and the ADIF grid, and the line
// each kind of station gets.
#include <gtest/gtest.h>

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

// Each row: typed, the line added to the list, then the check-in's name, QTH and fields 4 to 6.
TEST(Lookup, EachKindOfStationGetsItsLineAndFields) {
  const std::vector<std::string> rows[] = {
      {"K1ABC", "1    K1ABC   BOB   FN20  1/1/2021   2/2/2022", "BOB|FN20|1/1/2021|2/2/2022|"},
      {"K1ABC-", "1 in&out K1ABC   BOB   FN20   1/1/2021   2/2/2022",
       "BOB|FN20|1/1/2021|2/2/2022|"},
      {"W2CLB",
       "1    W2CLB   CARLOS   ALBANY NY  FN32  17" + kDeg + "     First time check-in   12/5/2026",
       "CARLOS|ALBANY NY  FN32  17" + kDeg + "|  First time check-in|12/5/2026|FN32  17" + kDeg},
      {"W2NOG-", "1 in&out W2NOG   NED   TROY    First time check-in   12/5/2026",
       "NED|TROY  |  First time check-in|12/5/2026|"},
      {"N9X", "1    N9X          First time check-in   12/5/2026",
       "|  |  First time check-in|12/5/2026|"},
      {"N9NAM", "1    N9NAM    First time check-in   12/5/2026",
       "ALICE||  First time check-in|12/5/2026|"},
      {"N8NON-", "1 in&out N8NON     First time check-in   12/5/2026",
       "||  First time check-in|12/5/2026|"},
      // Only a line's first grid tag counts, and one whose length is no digit passes it over.
      {"N5GRD", "1    N5GRD      FN20  304" + kDeg + "     First time check-in   12/5/2026",
       "|FN20  304" + kDeg + "|  First time check-in|12/5/2026|FN20  304" + kDeg},
      {"K1HDR", "1    K1HDR    First time check-in   12/5/2026",
       "||  First time check-in|12/5/2026|"},
      {"k1low", "1    K1LOW    First time check-in   12/5/2026",
       "||  First time check-in|12/5/2026|"},
      {"SE7EN77", "1    SE7EN77    First time check-in   12/5/2026",
       "||  First time check-in|12/5/2026|"},
      {"K7LONGG", "1    K7LONGG    First time check-in   12/5/2026",
       "RANT||  First time check-in|12/5/2026|"},
      {"N2X", "1    N2X    First time check-in   12/5/2026", "||  First time check-in|12/5/2026|"},
      {"K1AB", "1    K1AB    First time check-in   12/5/2026",
       "||  First time check-in|12/5/2026|"}};
  for (const auto& row : rows) {
    Lookup rig;
    rig.enter(row[0]);
    const auto& f = rig.session.checkIns.row(1).f;
    EXPECT_EQ(rig.session.view.lines.at(0), row[1]);
    EXPECT_EQ(f[2] + "|" + f[3] + "|" + f[4] + "|" + f[5] + "|" + f[6], row[2]) << row[0];
    EXPECT_EQ(rig.session.view.label2, "Enter Call # 2");
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
