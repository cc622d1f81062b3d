// Grids from ADIF 3 files as today's logging programs write them, in the single lookup and in
// the summary's one-pass lookup alike, with the old comma form still read first.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "geo/adif.h"
#include "reports/adif_batch.h"
#include "support/fake_platform.h"

namespace kelpie {
namespace {

struct Row {
  const char* name;
  std::string file;
  std::optional<std::string> grid;  // for K1ABC
};

const std::string kK1abc = "<CALL:5>K1ABC <GRIDSQUARE:4>EM12 <EOR>\r\n";  // closes some rows

const Row kRows[] = {
    {"OneRecordPerLine",
     "<call:5>W1ABC <gridsquare:4>FN31 <eor>\r\n<call:5>K1ABC <gridsquare:4>EM87 <mode:3>FT8 "
     "<rst_sent:3>+03 <my_gridsquare:6>CN85QN <eor>\r\n",
     "EM87"},
    {"RecordOverTwoLines",
     "<band:3>80m <call:5>K1ABC <freq:8>3.575627 <mode:3>FT8\r\n<gridsquare:6>JN45ab <EOR>\r\n",
     "JN45ab"},
    {"CrOnlyLineEnds", "<CALL:5>\rK1ABC<EOR>\r<CALL:5>K1ABC\r<GRIDSQUARE:4>\rFN4\r<EOR>", "\rFN4"},
    {"MixedCaseNamesAndCall", "<Call:5>k1aBc <GridSquare:4>fn42 <Eor>\n", "fn42"},
    {"GridsquareZeroThenLaterRecord", "<call:5>K1ABC <gridsquare:0> <eor>\n" + kK1abc, "EM12"},
    {"OnlyMyGridsquare", "<MY_GRIDSQUARE:6>CN85QN <CALL:5>K1ABC <EOR>\n", std::nullopt},
    {"MyGridsquareBeforeGridsquare",
     "<MY_GRIDSQUARE:6>CN85QN <CALL:5>K1ABC <GRIDSQUARE:4>FN42 <EOR>\n", "FN42"},
    {"TypedFields", "<CALL:5:S>K1ABC <GRIDSQUARE:4:S>FN42 <EOR>\n", "FN42"},
    {"HeadAndTailOfOtherCalls",
     "<CALL:6>WK1ABC <GRIDSQUARE:4>FN31 <EOR>\n<CALL:6>K1ABCD <GRIDSQUARE:4>FN32 <EOR>\n",
     std::nullopt},
    {"NoEorAtEndOfFile", "<CALL:5>K1ABC <GRIDSQUARE:4>FN42", "FN42"},
    {"HeaderWithEohNeverGives",
     "Exported by a log <CALL:5>K1ABC <GRIDSQUARE:4>FN42 <eoh>\r\n" + kK1abc, "EM12"},
    {"HeaderWithoutEohJoinsFirstRecord",
     "Exported <ADIF_VER:5>3.1.4 <PROGRAMID:3>Log\r\n<CALL:5>K1ABC <GRIDSQUARE:4>FN42 <EOR>",
     "FN42"},
    {"FieldsInsideAValueAreText", "<COMMENT:31><CALL:5>K1ABC<GRIDSQUARE:4>FN42 <EOR>", {}},
    {"LengthPastEndOfFile", "<CALL:5>K1ABC <GRIDSQUARE:99>FN42 <EOR>\r\n" + kK1abc, "EM12"},
    {"HugeLength", "<CALL:5>K1ABC <GRIDSQUARE:99999999999999999999999>FN42 <EOR>\r\n", {}},
    {"MissingCloseBracket", "<CALL:5>K1ABC <GRIDSQUARE:4 FN42 <EOR>\r\n" + kK1abc, "EM12"},
    {"LengthNoNumber", "<CALL:5>K1ABC <GRIDSQUARE:x>FN42 <EOR>\r\n" + kK1abc, "EM12"},
    {"UnfinishedTagAtEnd", "<CALL:5>K1ABC <GRIDSQUARE:4>FN42 <EOR", {}},
    {"OldCommaFormWinsThoughLater", kK1abc + "<CALL:5>K1ABC,<GRIDSQUARE:4>FN42 <EOR>\r\n", "FN42"},
    {"OldFormKeepsItsByteRule", "<CALL:5>K1ABC,<GRIDSQUARE:4:S>FN42 <EOR>\r\n", "S>FN"},
};

TEST(Adif3, SingleAndSummaryLookupsAtEveryBlockSize) {
  test::TempFolder folder;
  const fs::path file = folder / "vhf4k.adi";
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(writeBytesAtomic(file, row.file));
    for (const std::size_t block :
         {std::size_t{1}, std::size_t{3}, std::size_t{64}, std::size_t{1} << 20}) {
      EXPECT_EQ(findAdifGridValue(file, "K1ABC", block), row.grid) << "block " << block;
      const auto batch = findAdifGridValues(file, {"W1AW", "K1ABC", "k1abc"}, block);
      EXPECT_EQ(batch[1], row.grid) << "summary, block " << block;
      EXPECT_EQ(batch[0], std::nullopt);
      EXPECT_EQ(batch[2], findAdifGridValue(file, "k1abc", block));
    }
  }
}

TEST(Adif3, GridTextCarriesTheHeading) {
  test::TempFolder folder;
  ASSERT_TRUE(writeBytesAtomic(folder / "vhf4k.adi", "<call:5>k1abc <gridsquare:4>JO01 <eor>"));
  EXPECT_EQ(getADIFGrid(folder / "vhf4k.adi", "K1ABC", "FN20XA", "Miles").gridText, "JO01  50\xB0");
}

}  // namespace
}  // namespace kelpie
