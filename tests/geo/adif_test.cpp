#include "geo/adif.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <tuple>

#include "support/fake_platform.h"

namespace kelpie {
namespace {

using test::TempFolder;

// Writes in place (same file, no rename), as an editor saving the log may.
fs::path put(const TempFolder& folder, std::string_view bytes) {
  const fs::path file = folder / "vhf4k.adi";
  std::ofstream(file, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return file;
}

struct MatchRow {
  const char* name;
  std::string file;
  std::optional<std::string> value;
  std::string callsign = "K1ABC";
};

const MatchRow kMatchRows[] = {
    {"SpaceInsteadOfCommaReadAsAdif3", "<CALL:5>K1ABC <GRIDSQUARE:6>FN20XA <EOR>\r\n", "FN20XA"},
    {"TailOfLongerCall", "<CALL:6>WK1ABC,<GRIDSQUARE:4>FN31 <EOR>\r\n", std::nullopt},
    {"HeadOfLongerCall", "<CALL:6>K1ABCD,<GRIDSQUARE:4>FN31 <EOR>\r\n", std::nullopt},
    {"FirstRecordWithoutTag",
     "<CALL:5>K1ABC,<BAND:2>2M <EOR>\r\n<CALL:5>K1ABC,<GRIDSQUARE:4>FN42 <EOR>\r\n", "FN42"},
    {"FirstQualifyingLineWins",
     "<CALL:5>K1ABC,<GRIDSQUARE:4>FN42 <EOR>\r\n<CALL:5>K1ABC,<GRIDSQUARE:4>EM12 <EOR>\r\n",
     "FN42"},
    {"LowerCaseTag", "<call:5>K1ABC,<gridsquare:4>FN42 <eor>\r\n", "FN42"},
    {"LowerCaseCallReadAsAdif3", "<CALL:5>k1abc,<GRIDSQUARE:4>FN42 <EOR>\r\n", "FN42"},
    {"NonDigitLengthSkipped",
     "<CALL:5>K1ABC,<GRIDSQUARE:X>FN20 <EOR>\r\n<CALL:5>K1ABC,<GRIDSQUARE:4>EM12 <EOR>\r\n",
     "EM12"},
    {"OnlyTheFirstTagCounts", "<GRIDSQUARE:?>xx <CALL:5>K1ABC,<GRIDSQUARE:4>FN42\r\n",
     std::nullopt},
    {"TagBeforeMark", "<GRIDSQUARE:4>FN42 <CALL:5>K1ABC,<EOR>\r\n", "FN42"},
    {"TagOnNextLineAfterCR", "<CALL:5>K1ABC,<EOR>\r<GRIDSQUARE:4>FN42 <EOR>\r", std::nullopt},
    {"TagOnNextLineAfterLF", "<CALL:5>K1ABC,<EOR>\n<GRIDSQUARE:4>FN42 <EOR>\n", std::nullopt},
    {"CROnlyLineEnds", "<CALL:4>W1AW,<EOR>\r<CALL:5>K1ABC,<GRIDSQUARE:4>FN42\r<EOR>\r", "FN42"},
    {"ValueCutShortAtLineEnd", "<CALL:5>K1ABC,<GRIDSQUARE:6>FN20\r\nXA\r\n", "FN20"},
    {"ValueCutShortAtEndOfFile", "<CALL:5>K1ABC,<GRIDSQUARE:6>FN2", "FN2"},
    {"TagWithoutLengthAtLineEnd", "<CALL:5>K1ABC,<GRIDSQUARE:\r\n4>FN42\r\n", std::nullopt},
    {"EmptyCallsign", "<X:0>,<GRIDSQUARE:4>FN42 <EOR>\r\n", std::nullopt, ""},
    {"CallsignWithLineEnd", "<CALL:5>K1\r\nABC,<GRIDSQUARE:4>FN42 <EOR>\r\n", std::nullopt,
     "K1\r\nABC"},
    {"LongLineTagFarBeforeMark",
     "<GRIDSQUARE:4>FN42" + std::string(7000, 'y') + "<CALL:5>K1ABC,\r\n", "FN42"},
    {"LongLineWithoutTagThenHit",
     "<CALL:5>K1ABC," + std::string(6000, 'z') + ">K1ABC,\r\n<CALL:5>K1ABC,<GRIDSQUARE:4>EM12\r\n",
     "EM12"},
};

// Every row over read blocks of several sizes, so marks, tags and line ends fall across them.
class AdifMatch : public ::testing::TestWithParam<std::tuple<MatchRow, std::size_t>> {};

TEST_P(AdifMatch, FindsTheValueTheRuleGives) {
  const auto& [row, block] = GetParam();
  TempFolder folder;
  EXPECT_EQ(findAdifGridValue(put(folder, row.file), row.callsign, block), row.value);
}

INSTANTIATE_TEST_SUITE_P(Rule, AdifMatch,
                         ::testing::Combine(::testing::ValuesIn(kMatchRows),
                                            ::testing::Values(std::size_t{1}, std::size_t{3},
                                                              std::size_t{64}, kAdifReadBlock)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + "_block" +
                                  std::to_string(std::get<1>(info.param));
                         });

// The station's mark falling on the default read block's edge.
class AdifBlockEdge : public ::testing::TestWithParam<long> {};

TEST_P(AdifBlockEdge, MarkAcrossTheEdge) {
  TempFolder folder;
  const auto markAt = kAdifReadBlock + GetParam();  // where ">K1ABC," begins
  std::string filler = "<CALL:4>W1AW,<GRIDSQUARE:4>FN31 ";
  filler.resize(markAt - 9, 'x');
  const std::string file = filler + "\r\n<CALL:5>K1ABC,<GRIDSQUARE:6>JO01AB <EOR>\r\n";
  ASSERT_EQ(file.find(">K1ABC,"), markAt);
  EXPECT_EQ(getADIFGrid(put(folder, file), "K1ABC", "FN20XA", "kM").gridText, "JO01AB  51\xB0");
}

// -7: ends on the edge; -6: one character across; -1: the comma across; 0: starts on it.
INSTANTIATE_TEST_SUITE_P(DefaultBlock, AdifBlockEdge, ::testing::Values(-7L, -6L, -1L, 0L),
                         [](const auto& info) { return "Minus" + std::to_string(-info.param); });

TEST(AdifLookup, GridTextIsTheValueWithHeadingOrBareOrNothingWithoutAFile) {
  TempFolder folder;
  auto result = getADIFGrid(put(folder, "<CALL:5>K1ABC,<GRIDSQUARE:4>JO01 <EOR>\r\n"), "K1ABC",
                            "FN20XA", "Miles");
  EXPECT_EQ(result.gridText, "JO01  50\xB0");
  EXPECT_EQ(result.status, BeamStatus::Ok);
  EXPECT_EQ(distanceToInt16(result.distance), 3549);
  // An 8-digit length takes eight characters: no locator, so the bare value.
  result = getADIFGrid(put(folder, "<CALL:5>K1ABC,<GRIDSQUARE:8>FN20XA <EOR>\r\n"), "K1ABC",
                       "FN20XA", "Miles");
  EXPECT_TRUE(result.found);
  EXPECT_EQ(result.gridText, "FN20XA <");
  EXPECT_EQ(result.status, BeamStatus::InvalidLocator);
  result = getADIFGrid(folder / "missing.adi", "K1ABC", "FN20XA", "Miles");
  EXPECT_FALSE(result.found);
  EXPECT_EQ(result.gridText, "");
}

// The file is read afresh at each lookup, so the operator's edits during a net are seen.
TEST(AdifFile, EditBetweenTwoLookupsIsSeen) {
  TempFolder folder;
  const auto file = put(folder, "<CALL:5>K1ABC,<GRIDSQUARE:4>FN42 <EOR>\r\n");
  EXPECT_EQ(getADIFGrid(file, "K1ABC", "FN20XA", "kM").gridText, "FN42  42\xB0");
  // Same length, so neither the size nor (within its resolution) the time need change.
  put(folder, "<CALL:5>K1ABC,<GRIDSQUARE:4>EM12 <EOR>\r\n");
  EXPECT_EQ(getADIFGrid(file, "K1ABC", "FN20XA", "kM").gridText, "EM12  255\xB0");
}

}  // namespace
}  // namespace kelpie
