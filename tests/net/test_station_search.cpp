#include <gtest/gtest.h>

#include <array>
#include <sstream>

#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

std::string sp(size_t n) { return std::string(n, ' '); }

void writeStations(Rig& rig) {
  rig.writeRoster({{"KA0SSY", "SAM", "DENVER", "1/1/2020", "11/28/2026"},
                   {"N2SYA", "NED", "TROY", "1/1/2020", "10/3/2026"},
                   {"WKA0SY", "", "", "1/1/2020", "11/30/2026"},
                   {"DL1SYZ", "DAN", "BONN", "1/1/2020", "1/9/2025"}});
  rig.write("BURROW.DAT", {"KA0SSY", "CLUB SAM", "AURORA", "W9SYX", "CARL", "", "W2AB", "A", "B"});
  rig.write("ck2list.dat", {"W9SYX  CARLOS", "K5SYN  NINA", "WKA0SY WILMA"});
}

TEST(StationSearch, PatternsAnyCharAnyRunAnywhereAnchoredAndCase) {
  // The pattern typed, then the stations found in their order.
  std::istringstream rows(
      "?SY WKA0SY KA0SSY N2SYA DL1SYZ W9SYX K5SYN|?KA*Y KA0SSY|?*SY WKA0SY KA0SSY|"
      "?ka0s?y KA0SSY|?A0?S KA0SSY|?W* WKA0SY W9SYX W2AB|?Q");
  Rig rig;
  writeStations(rig);
  ASSERT_TRUE(rig.start());
  for (std::string row; std::getline(rows, row, '|');) {
    const std::string typed = row.substr(0, row.find(' '));
    rig.enter(typed);
    std::string got = typed;
    for (const std::string& c : rig.session.searchCalls) got += " " + c;
    EXPECT_EQ(got, row);
    EXPECT_EQ(rig.session.view.label3, "Enter # to check in, <Esc> to return");
  }
  EXPECT_EQ(rig.session.view.lines,
            Lines{"No station in the roster, club list or name list fits Q"});
  rig.dialogs.inputAnswers.push_back("ka*y");  // the menu command asks for the pattern
  rig.session.mFindCall_Click();
  EXPECT_EQ(rig.session.searchCalls, Lines{"KA0SSY"});
}

TEST(StationSearch, LinesMergeTheFilesMarkTodaysStationsAndPickByNumber) {
  Rig rig;
  writeStations(rig);
  ASSERT_TRUE(rig.start());
  rig.enterAll({"N2SYA", "?SY"});
  const Lines want{"1.        WKA0SY    WILMA        " + sp(22) + "11/30/2026",
                   "2.        KA0SSY    SAM          DENVER" + sp(16) + "11/28/2026",
                   "3.   (in) N2SYA     NED          TROY" + sp(18) + "10/3/2026",
                   "4.        DL1SYZ    DAN          BONN" + sp(18) + "1/9/2025",
                   "5.        W9SYX     CARL         " + sp(22) + "club list",
                   "6.        K5SYN     NINA         " + sp(22) + "name list"};
  EXPECT_EQ(rig.session.view.lines, want);
  rig.session.view.selected = 2;
  EXPECT_FALSE(rig.session.CheckIns_MouseDown(2));  // no popup edit on a match
  const std::string logBefore = rig.read("120526F.ILE");
  rig.enterAll({"7", "0"});  // out of range: nothing happens
  EXPECT_EQ(rig.session.view.lines, want);
  EXPECT_EQ(rig.read("120526F.ILE"), logBefore);
  // The ordinary check-in of the callsign; one beginning with "D" is checked in too.
  rig.enterAll({"6", "?SY", "4"});
  EXPECT_EQ(rig.read("120526F.ILE"), logBefore + "K5SYN\r\nNINA\r\n\r\nDL1SYZ\r\nDAN\r\nBONN\r\n");
  rig.session.updateCheckIns();
  const Lines shown = rig.session.view.lines;
  const std::string log = rig.read("120526F.ILE"), hint = rig.session.view.label3;
  rig.enter("?SY");
  rig.session.Form_KeyDown(kKeyEsc, 0);  // Esc: back without a change
  EXPECT_EQ(rig.session.view.lines, shown);
  EXPECT_EQ(rig.session.view.label3, hint);
  EXPECT_EQ(rig.read("120526F.ILE"), log);
}

TEST(StationSearch, RegularsHalfOfTheLastEightJoinedAcrossCallChanges) {
  // The nets, newest first a day apart back from 11/28; today's check-ins; the regulars shown.
  const std::array<const char*, 3> rows[] = {
      {"K1A K2B K3C K4D|K1A K2B K3C K4D|K1A K2B K4D|K1A K4D K1A|K4D|K4D|K4D|K4D|K2B K3C", "K4D",
       "K1A 4 of last 8  11/28/2026|"},  // half of 8; the 9th net and today's stations left out
      {"K5E|K6F K5E|K6F K8H", "", "K5E 2 of last 3  11/28/2026|K6F 2 of last 3  11/27/2026|"},
      {"N7NEW|N7NEW K7OLD|K7OLD|K7OLD", "", "N7NEW 4 of last 4  11/28/2026|"},  // joined
      {"K7OLD|N7NEW", "K7OLD", ""},  // heard tonight under the former call
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row[0]);
    Rig rig;
    rig.writeRoster({{"N7NEW", "NEWT", "X", "1/1/2020", "1/1/2020", "K7OLD"}});
    ASSERT_TRUE(rig.start());
    std::istringstream nets(row[0]), today(row[1]);
    std::string net, call;
    for (int n = 28; std::getline(nets, net, '|'); --n) {
      Lines log;
      std::istringstream calls(net);
      while (calls >> call) log.insert(log.end(), {call, "NM", "QTH"});
      rig.write("11" + std::to_string(n) + "26F.ILE", log);
    }
    while (today >> call) rig.enter(call);
    rig.enter("?");
    std::string got;
    for (size_t i = 0; i < rig.session.searchCalls.size(); ++i) {
      const std::string& line = rig.session.view.lines[i];
      got += rig.session.searchCalls[i] + " " + line.substr(line.find(" of ") - 1) + "|";
    }
    EXPECT_EQ(got, row[2]);
  }
}

}  // namespace
}  // namespace kelpie::test
