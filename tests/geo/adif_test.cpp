// Grids from ADIF files: the old comma form read line by line first, else the ADIF 3 records,
// in the single lookup and the summary's one-pass lookup alike, at block sizes that put every
// mark, tag and line end across a block boundary.
#include "geo/adif.h"

#include <gtest/gtest.h>

#include <fstream>

#include "reports/adif_batch.h"
#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

const std::string kK1abc = "<CALL:5>K1ABC <GRIDSQUARE:4>EM12 <EOR>\r\n";  // closes some rows

// Each row: the file, and the grid for K1ABC.
using Grid = std::optional<std::string>;
const std::pair<std::string, Grid> kRows[] = {
    {"<call:5>W1ABC <gridsquare:4>FN31 <eor>\r\n<call:5>K1ABC <gridsquare:4>EM87 <mode:3>FT8 "
     "<rst_sent:3>+03 <my_gridsquare:6>CN85QN <eor>\r\n",
     "EM87"},
    {"<band:3>80m <call:5>K1ABC <freq:8>3.575627 <mode:3>FT8\r\n<gridsquare:6>JN45ab <EOR>\r\n",
     "JN45ab"},
    {"<CALL:5>\rK1ABC<EOR>\r<CALL:5>K1ABC\r<GRIDSQUARE:4>\rFN4\r<EOR>", "\rFN4"},
    {"<Call:5>k1aBc <GridSquare:4>fn42 <Eor>\n", "fn42"},
    {"<call:5>K1ABC <gridsquare:0> <eor>\n" + kK1abc, "EM12"},
    {"<MY_GRIDSQUARE:6>CN85QN <CALL:5>K1ABC <EOR>\n", std::nullopt},
    {"<MY_GRIDSQUARE:6>CN85QN <CALL:5>K1ABC <GRIDSQUARE:4>FN42 <EOR>\n", "FN42"},
    {"<CALL:5:S>K1ABC <GRIDSQUARE:4:S>FN42 <EOR>\n", "FN42"},
    {"<CALL:6>WK1ABC <GRIDSQUARE:4>FN31 <EOR>\n<CALL:6>K1ABCD,<GRIDSQUARE:4>FN32 <EOR>\n",
     std::nullopt},
    {"<CALL:5>K1ABC <GRIDSQUARE:4>FN42", "FN42"},
    {"Exported by a log <CALL:5>K1ABC <GRIDSQUARE:4>FN42 <eoh>\r\n" + kK1abc, "EM12"},
    {"Exported <ADIF_VER:5>3.1.4 <PROGRAMID:3>Log\r\n<CALL:5>K1ABC <GRIDSQUARE:4>FN42 <EOR>",
     "FN42"},
    {"<COMMENT:31><CALL:5>K1ABC<GRIDSQUARE:4>FN42 <EOR>", {}},
    {"<CALL:5>K1ABC <GRIDSQUARE:99>FN42 <EOR>\r\n" + kK1abc, "EM12"},
    {"<CALL:5>K1ABC <GRIDSQUARE:99999999999999999999999>FN42 <EOR>\r\n", {}},
    {"<CALL:5>K1ABC <GRIDSQUARE:4 FN42 <EOR>\r\n" + kK1abc, "EM12"},
    {"<CALL:5>K1ABC <GRIDSQUARE:x>FN42 <EOR>\r\n" + kK1abc, "EM12"},
    {"<CALL:5>K1ABC <GRIDSQUARE:4>FN42 <EOR", {}},
    {kK1abc + "<CALL:5>K1ABC,<GRIDSQUARE:4>FN42 <EOR>\r\n", "FN42"},
    {"<CALL:5>K1ABC,<GRIDSQUARE:4:S>FN42 <EOR>\r\n", "S>FN"},
    {"x\r<call:5>K1ABC,<GridSquare:6>FN\r\n" + kK1abc, "FN"},
    {"<CALL:5>K1ABC,<GRIDSQUARE:4>\n" + kK1abc, ""},
    {"<CALL:5>K1ABC,<GRIDSQUARE:X>FN42 <EOR>\r\n" + kK1abc, "EM12"},
};

TEST(AdifLookup, SingleAndSummaryLookupsAtEveryBlockSize) {
  TempFolder folder;
  const fs::path file = folder / "vhf4k.adi";
  for (const auto& [bytes, grid] : kRows) {
    SCOPED_TRACE(bytes);
    ASSERT_TRUE(writeBytesAtomic(file, bytes));
    for (const std::size_t block : {1ul, 3ul, 64ul, kAdifReadBlock}) {
      EXPECT_EQ(findAdifGridValue(file, "K1ABC", block), grid) << "block " << block;
      EXPECT_EQ(findAdifGridValues(file, {"W1AW", "K1ABC", "k1abc", ""}, block),
                (std::vector<Grid>{{}, grid, findAdifGridValue(file, "k1abc", block), {}}))
          << "summary, block " << block;
    }
  }
  EXPECT_EQ(findAdifGridValues(folder / "missing.adi", {"K1ABC"})[0], std::nullopt);
}

// The grid text: the value with its heading, the bare value when it is no locator, nothing
// without a file; the file is read afresh, so the operator's edits during a net are seen.
TEST(AdifLookup, GridTextAndEditsBetweenLookups) {
  TempFolder dir;
  const fs::path file = dir / "vhf4k.adi";
  const std::pair<std::string, std::string> rows[] = {
      {"<CALL:5>K1ABC,<GRIDSQUARE:4>JO01 <EOR>", "JO01  50\xB0 3549"},
      {"<CALL:5>K1ABC,<GRIDSQUARE:4>EM12 <EOR>", "EM12  255\xB0 1378"},  // same size: seen
      {"<CALL:5>K1ABC,<GRIDSQUARE:8>FN20XA <EOR>", "FN20XA < found"},
      {"<CALL:5>K1ABC,<GRIDSQUARE:4>", " found"},
      {"<call:5>k1abc <GRIDSQUARE:4>JO01 <EOR>", "JO01  50\xB0 3549"}};  // as ADIF 3
  for (const auto& [bytes, want] : rows) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;  // in place, as an editor
    const AdifGrid g = getADIFGrid(file, "K1ABC", "FN20XA", "Miles");
    EXPECT_EQ(g.gridText + " " +
                  (g.status == BeamStatus::Ok ? toDec(distanceToInt16(g.distance))
                   : g.found                  ? "found"
                                              : ""),
              want);
  }
  EXPECT_EQ(getADIFGrid(dir / "none.adi", "K1ABC", "FN20XA", "kM").gridText, "");
}

}  // namespace
}  // namespace kelpie::test
