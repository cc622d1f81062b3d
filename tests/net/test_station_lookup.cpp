#include <gtest/gtest.h>

#include "geo/locator.h"
#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

class Lookup : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.writeRoster({{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", "-"},
                     {"k1low", "LOW", "X", "1/1/2021", "2/2/2022", "-"}},
                    "K1HDR");  // a header whose first line looks like a callsign
    rig.write("BURROW.DAT", {"W2CLB", "CARL", "ALBANY NY", "W2NOG", "NED", "TROY"});
    rig.write("ck2list.dat", {"N9NAM  ALICE", "W2CLB  CARLOS", "SE7EN77", "K7LONGGRANT", "N2"});
    rig.write("vhf4k.adi", {"<CALL:5>W2CLB, <GRIDSQUARE:4>FN32 <EOR>",
                            "<CALL:5>N5GRD, <GRIDSQUARE:6>EM12aa <EOR>"});
    ASSERT_TRUE(rig.start());
  }
  static std::string gridText(std::string grid) {
    double d = 0;
    calcBeamHeading(grid, d, "FN20XA", "Miles");
    return grid;
  }
  std::string line(size_t i) { return rig.session.view.lines.at(i); }
  Rig rig;
};

TEST_F(Lookup, RosterStationLinesAAndAPrime) {
  rig.enter("K1ABC");
  EXPECT_EQ(line(0), "1    K1ABC   BOB   FN20  1/1/2021   2/2/2022");
  EXPECT_EQ(rig.session.checkIns.field(1, 5), "2/2/2022");  // the stored date, not today
  EXPECT_EQ(rig.session.view.label2, "Enter Call # 2");
  Rig other;
  other.writeRoster({{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", "-"}});
  ASSERT_TRUE(other.start());
  other.enter("K1ABC-");
  EXPECT_EQ(other.session.view.lines.at(0), "1 in&out K1ABC   BOB   FN20   1/1/2021   2/2/2022");
  EXPECT_EQ(other.session.checkIns.field(1, 8), "in&out ");
  EXPECT_EQ(other.session.checkIns.field(1, 1), "K1ABC");
  other.session.updateCheckIns();
  EXPECT_EQ(other.session.view.lines.at(0), "1   in&out  K1ABC   BOB   FN20   1/1/2021   2/2/2022");
}

TEST_F(Lookup, HeaderAndLowerCaseRosterRecordsNeverMatch) {
  rig.enter("K1HDR");
  EXPECT_EQ(rig.session.checkIns.field(1, 4), "  First time check-in");
  rig.enter("k1low");
  EXPECT_EQ(rig.session.checkIns.field(2, 1), "K1LOW");
  EXPECT_EQ(rig.session.checkIns.field(2, 4), "  First time check-in");
}

TEST_F(Lookup, ClubStationLinesBAndBPrimeWithGridAndCk2Name) {
  const std::string g = gridText("FN32");
  rig.enter("W2CLB");
  // A grid was found, so the added line B was replaced by a full redraw.
  EXPECT_EQ(line(0),
            "1    W2CLB   CARLOS   ALBANY NY  " + g + "     First time check-in   12/5/2026");
  EXPECT_EQ(rig.session.checkIns.field(1, 3), "ALBANY NY  " + g);
  EXPECT_EQ(rig.session.checkIns.field(1, 6), g);
  rig.enter("W2NOG-");
  EXPECT_EQ(line(1), "2 in&out W2NOG   NED   TROY    First time check-in   12/5/2026");
  EXPECT_EQ(rig.session.checkIns.field(2, 3), "TROY  ");
}

TEST_F(Lookup, StationFoundNowhereLinesCAndCPrime) {
  rig.enter("N9NAM");
  EXPECT_EQ(line(0), "1    N9NAM    First time check-in   12/5/2026");
  EXPECT_EQ(rig.session.checkIns.field(1, 2), "ALICE");  // line unchanged, row has the name
  rig.enter("N8NON-");
  EXPECT_EQ(line(1), "2 in&out N8NON     First time check-in   12/5/2026");
  const std::string g = gridText("EM12aa");
  rig.enter("N5GRD");
  EXPECT_EQ(rig.session.checkIns.field(3, 3), g);
  EXPECT_EQ(g.substr(0, 8), "EM12aa  ");  // the grid as the file wrote it
  EXPECT_EQ(line(2), "3    N5GRD      " + g + "     First time check-in   12/5/2026");
}

TEST_F(Lookup, Ck2ListColumnRules) {
  rig.enter("SE7EN77");
  EXPECT_EQ(rig.session.checkIns.field(1, 2), "");
  rig.enter("K7LONGG");
  EXPECT_EQ(rig.session.checkIns.field(2, 2), "RANT");
  rig.enter("N2X");
  EXPECT_EQ(rig.session.checkIns.field(3, 2), "");
}

TEST_F(Lookup, DuplicateIsRefusedAlsoAfterInAndOut) {
  rig.enter("N9NAM-");
  const std::string log = rig.read("120526F.ILE");
  rig.enter("n9nam");
  const auto box = rig.dialogs.messages().back();
  EXPECT_EQ(box.text, "N9NAM already checked-in.");
  EXPECT_EQ(box.title, "N9NAM in list...");
  EXPECT_EQ(rig.session.checkIns.count, 1);
  EXPECT_EQ(rig.read("120526F.ILE"), log);
}

TEST_F(Lookup, DuplicateSelectsItsRosterViewLines) {
  rig.enter("K1ABC");
  rig.session.view.lines = {"K1ABC     BOB          FN20", "K1ABCD    DAN          X",
                            "N2XYZ     AL           Y"};
  // The lookup itself (the entry line redraws the check-ins before it gets here).
  rig.session.entryText = "K1ABC";
  std::string result;
  rig.session.getStationInfo(result);
  EXPECT_EQ(result, "");
  EXPECT_EQ(rig.session.view.selected, 1);  // the later, longer callsign stays selected
}

TEST_F(Lookup, QuotedClubListIsRead) {
  rig.write("BURROW.DAT", {"\"W4QQQ\",\"QUINN, JR\",\"ATLANTA\""});
  rig.enter("W4QQQ");
  EXPECT_EQ(rig.session.checkIns.field(1, 2), "QUINN, JR");
  EXPECT_EQ(rig.session.checkIns.field(1, 3), "ATLANTA  ");
}

TEST_F(Lookup, FilesEditedBetweenCheckInsAreSeen) {
  rig.enter("N7NEW");
  EXPECT_EQ(rig.session.checkIns.field(1, 2), "");
  rig.write("ck2list.dat", {"N6NEW  FRESH"});
  rig.writeRoster({{"N5ROS", "ROSS", "Q", "1/1/2020", "1/1/2020", "-"}});
  rig.enter("N6NEW");
  rig.enter("N5ROS");
  EXPECT_EQ(rig.session.checkIns.field(2, 2), "FRESH");
  EXPECT_EQ(rig.session.checkIns.field(3, 2), "ROSS");
}

TEST_F(Lookup, MissingStationFilesAreCreatedEmpty) {
  std::filesystem::remove(rig.folder / "BURROW.DAT");
  std::filesystem::remove(rig.folder / "ck2list.dat");
  rig.enter("N1ZZZ");
  EXPECT_EQ(rig.session.checkIns.count, 1);
  EXPECT_TRUE(rig.exists("BURROW.DAT"));
}

}  // namespace
}  // namespace kelpie::test
