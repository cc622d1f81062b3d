// Grid insertion from vhf4k.adi and opening the ADIF file.
#include <gtest/gtest.h>

#include "geo/adif.h"
#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

const char* const kLog = "120526F.ILE";  // the fake clock's 12/5/2026

struct GridRig : Rig {
  std::string grid;  // the grid text of K9NEW as the lookup gives it

  GridRig() {
    writeRoster({{"K1ABC", "JOHN", "FN42", "1/5/2020", "11/28/2026", "-"},
                 {"K9NEW", "SUE", "", "2/2/2022", "11/28/2026", "-"}});
    start();
    enter("K1ABC");
    enter("K9NEW");
    enter("W7NOG");  // first time, no grid yet
    session.updateCheckIns();
    write("vhf4k.adi",
          {"<CALL:5>K1ABC,<BAND:4>1.25m <EOR>", "<CALL:5>K9NEW,<GRIDSQUARE:6>FN31PR <EOR>",
           "<CALL:5>W7NOG,<GRIDSQUARE:4>DN31 <EOR>"});
    grid = getADIFGrid(folder / "vhf4k.adi", "K9NEW", "FN20XA", "Miles").gridText;
  }
  void pick(int index) {
    session.selectLine(index);
    ASSERT_TRUE(session.CheckIns_MouseDown(2));
  }
};

TEST(GridInsert, FixtureGridTextHasGridAndHeading) {
  GridRig rig;
  EXPECT_EQ(rig.grid.substr(0, 8), "FN31PR  ");
  EXPECT_EQ(rig.grid.back(), '\xb0');
}

TEST(GridInsert, TwiceOnACheckInAppendsTwiceAndSavesTheLog) {
  GridRig rig;
  rig.pick(1);
  rig.session.mnuPopUpInsertGrid_Click();
  EXPECT_EQ(rig.session.checkIns.field(2, 3), "  " + rig.grid);
  EXPECT_EQ(rig.session.view.lines.at(1),
            "2    K9NEW   SUE     " + rig.grid + "   2/2/2022   11/28/2026");
  rig.pick(1);
  rig.session.mnuPopUpInsertGrid_Click();
  EXPECT_EQ(rig.session.checkIns.field(2, 3), "  " + rig.grid + "  " + rig.grid);
  EXPECT_EQ(rig.read(kLog), "K1ABC\r\nJOHN\r\nFN42\r\nK9NEW\r\nSUE\r\n  " + rig.grid + "  " +
                                rig.grid + "\r\nW7NOG\r\n\r\n\r\n");
  EXPECT_TRUE(rig.dialogs.messages().empty());
  // The roster keeps its QTH until the net is closed.
  EXPECT_EQ(rig.session.roster.row(3).qth, "");
}

TEST(GridInsert, EmptyQthOfAFirstTimeStationStartsWithTwoSpaces) {
  GridRig rig;
  const std::string w7 = getADIFGrid(rig.folder / "vhf4k.adi", "W7NOG", "FN20XA", "Miles").gridText;
  ASSERT_EQ(w7.substr(0, 6), "DN31  ");
  rig.pick(2);
  rig.session.mnuPopUpInsertGrid_Click();
  EXPECT_EQ(rig.session.checkIns.field(3, 3), "  " + w7);
  EXPECT_EQ(rig.read(kLog),
            "K1ABC\r\nJOHN\r\nFN42\r\nK9NEW\r\nSUE\r\n\r\nW7NOG\r\n\r\n  " + w7 + "\r\n");
}

TEST(GridInsert, RosterViewAppendsToTheRosterAndWritesItAtOnce) {
  GridRig rig;
  rig.session.mEditNetControl_Click();
  rig.pick(1);
  rig.session.mnuPopUpInsertGrid_Click();
  rig.pick(1);
  rig.session.mnuPopUpInsertGrid_Click();
  const std::string qth = "  " + rig.grid + "  " + rig.grid;
  EXPECT_EQ(rig.session.roster.row(3).qth, qth);
  EXPECT_EQ(rig.read("NETCONT.ROL"),
            "222 MHz\r\nW1NC\r\n1/2/2020\r\ninitial check-in date\r\nlast check-in date\r\n"
            "old call sign\r\nK1ABC\r\nJOHN\r\nFN42\r\n1/5/2020\r\n11/28/2026\r\n-\r\n"
            "K9NEW\r\nSUE\r\n" +
                qth + "\r\n2/2/2022\r\n11/28/2026\r\n-\r\n");
  EXPECT_TRUE(rig.session.rosterEditMode);
  EXPECT_EQ(rig.session.view.lines.at(1), "K9NEW     SUE          " + qth);
  EXPECT_EQ(rig.session.view.selected, 1);
  // Today's check-in of the station is left alone.
  EXPECT_EQ(rig.session.checkIns.field(2, 3), "");
}

struct NothingCase {
  const char* name;
  bool rosterView;
  bool viewOnly;
  int selectedCheckIn;
};

class GridNothing : public ::testing::TestWithParam<NothingCase> {};

TEST_P(GridNothing, ChangesAndWritesNothing) {
  const NothingCase& c = GetParam();
  GridRig rig;
  if (c.rosterView) rig.session.mEditNetControl_Click();
  rig.session.viewOnlyLog = c.viewOnly;
  rig.session.selectedCheckIn = c.selectedCheckIn;
  const std::vector<std::string> lines = rig.session.view.lines;
  std::filesystem::remove(rig.folder / kLog);
  std::filesystem::remove(rig.folder / "NETCONT.ROL");
  rig.session.mnuPopUpInsertGrid_Click();
  EXPECT_TRUE(rig.dialogs.shown.empty());
  EXPECT_EQ(rig.session.view.lines, lines);
  EXPECT_FALSE(rig.exists(kLog));
  EXPECT_FALSE(rig.exists("NETCONT.ROL"));
  for (int i = 1; i <= 3; ++i)
    EXPECT_EQ(rig.session.checkIns.field(i, 3).find('\xb0'), std::string::npos);
  for (int r = 2; r <= 3; ++r)
    EXPECT_EQ(rig.session.roster.row(r).qth.find('\xb0'), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Cases, GridNothing,
                         ::testing::Values(NothingCase{"NoGridInAdif", false, false, 1},
                                           NothingCase{"NoGridInAdifRoster", true, false, 1},
                                           NothingCase{"PastCheckIns", false, false, 4},
                                           NothingCase{"PastRoster", true, false, 3},
                                           NothingCase{"Zero", false, false, 0},
                                           NothingCase{"PastLogShown", false, true, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EditAdif, OpensTheFileInTheProgramFolderWithTheDesktopApplication) {
  Rig rig;
  rig.start();
  std::filesystem::remove(rig.folder / "vhf4k.adi");
  rig.write("VHF4K.ADI", {"<CALL:5>K9NEW,<GRIDSQUARE:6>FN31PR <EOR>"});
  const std::string before = rig.read("VHF4K.ADI");
  auto files = [&] {
    return std::distance(std::filesystem::directory_iterator(rig.folder.path()),
                         std::filesystem::directory_iterator());
  };
  const auto count = files();
  rig.launcher.openSucceeds = false;  // no application for it: nothing is said
  rig.session.mEditADIF_Click();
  EXPECT_EQ(rig.launcher.opened, std::vector<std::string>{pathText(rig.folder / "VHF4K.ADI")});
  EXPECT_TRUE(rig.launcher.started.empty());
  EXPECT_TRUE(rig.dialogs.shown.empty());
  EXPECT_EQ(rig.read("VHF4K.ADI"), before);
  EXPECT_EQ(files(), count);  // no copy of the file was made
}

}  // namespace
}  // namespace kelpie::test
