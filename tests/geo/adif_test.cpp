#include "geo/adif.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "geo/temp_folder.h"

namespace kelpie {
namespace {

using test::TempFolder;

// ---- The matching rule, over read blocks of many sizes --------------------------------------

struct MatchRow {
  const char* name;
  std::string file;
  std::string callsign;
  std::optional<std::string> value;
};

const MatchRow kMatchRows[] = {
    {"SixCharGrid", "<CALL:5>K1ABC,<GRIDSQUARE:6>FN20XA <EOR>\r\n", "K1ABC", "FN20XA"},
    {"SpaceInsteadOfComma", "<CALL:5>K1ABC <GRIDSQUARE:6>FN20XA <EOR>\r\n", "K1ABC", std::nullopt},
    {"TailOfLongerCall", "<CALL:6>WK1ABC,<GRIDSQUARE:4>FN31 <EOR>\r\n", "K1ABC", std::nullopt},
    {"HeadOfLongerCall", "<CALL:6>K1ABCD,<GRIDSQUARE:4>FN31 <EOR>\r\n", "K1ABC", std::nullopt},
    {"LongerCallThenExact",
     "<CALL:6>K1ABCD,<GRIDSQUARE:4>FN31 <EOR>\r\n<CALL:5>K1ABC,<GRIDSQUARE:4>FN42 <EOR>\r\n",
     "K1ABC", "FN42"},
    {"FirstRecordWithoutTag",
     "<CALL:5>K1ABC,<BAND:2>2M <EOR>\r\n<CALL:5>K1ABC,<GRIDSQUARE:4>FN42 <EOR>\r\n", "K1ABC",
     "FN42"},
    {"FirstQualifyingLineWins",
     "<CALL:5>K1ABC,<GRIDSQUARE:4>FN42 <EOR>\r\n<CALL:5>K1ABC,<GRIDSQUARE:4>EM12 <EOR>\r\n",
     "K1ABC", "FN42"},
    {"OtherStationFirst",
     "<CALL:4>W1AW,<GRIDSQUARE:4>FN31 <EOR>\r\n<CALL:5>K1ABC,<GRIDSQUARE:4>FN42 <EOR>\r\n", "K1ABC",
     "FN42"},
    {"EightDigitLengthTakesEight", "<CALL:5>K1ABC,<GRIDSQUARE:8>FN20XA <EOR>\r\n", "K1ABC",
     "FN20XA <"},
    {"LowerCaseTag", "<call:5>K1ABC,<gridsquare:4>FN42 <eor>\r\n", "K1ABC", "FN42"},
    {"MixedCaseTag", "<CALL:5>K1ABC,<GridSquare:4>FN42 <EOR>\r\n", "K1ABC", "FN42"},
    {"CallsignIsCaseSensitive", "<CALL:5>k1abc,<GRIDSQUARE:4>FN42 <EOR>\r\n", "K1ABC",
     std::nullopt},
    {"NonDigitLengthSkipped",
     "<CALL:5>K1ABC,<GRIDSQUARE:X>FN20 <EOR>\r\n<CALL:5>K1ABC,<GRIDSQUARE:4>EM12 <EOR>\r\n",
     "K1ABC", "EM12"},
    {"TwoDigitLengthTakesTheFirstDigit", "<CALL:5>K1ABC,<GRIDSQUARE:10>FN20XA <EOR>\r\n", "K1ABC",
     ">"},
    {"OnlyTheFirstTagCounts", "<GRIDSQUARE:?>xx <CALL:5>K1ABC,<GRIDSQUARE:4>FN42\r\n", "K1ABC",
     std::nullopt},
    {"TagBeforeMark", "<GRIDSQUARE:4>FN42 <CALL:5>K1ABC,<EOR>\r\n", "K1ABC", "FN42"},
    {"TagOnNextLineDoesNotCount", "<CALL:5>K1ABC,<EOR>\r\n<GRIDSQUARE:4>FN42 <EOR>\r\n", "K1ABC",
     std::nullopt},
    {"TagOnNextLineAfterCR", "<CALL:5>K1ABC,<EOR>\r<GRIDSQUARE:4>FN42 <EOR>\r", "K1ABC",
     std::nullopt},
    {"TagOnNextLineAfterLF", "<CALL:5>K1ABC,<EOR>\n<GRIDSQUARE:4>FN42 <EOR>\n", "K1ABC",
     std::nullopt},
    {"CROnlyLineEnds", "<CALL:4>W1AW,<EOR>\r<CALL:5>K1ABC,<GRIDSQUARE:4>FN42\r<EOR>\r", "K1ABC",
     "FN42"},
    {"LFOnlyLineEnds", "<CALL:4>W1AW,<EOR>\n<CALL:5>K1ABC,<GRIDSQUARE:4>FN42\n<EOR>\n", "K1ABC",
     "FN42"},
    {"NoFinalLineEnd", "<CALL:4>W1AW,<EOR>\r\n<CALL:5>K1ABC,<GRIDSQUARE:4>FN42", "K1ABC", "FN42"},
    {"ValueCutShortAtLineEnd", "<CALL:5>K1ABC,<GRIDSQUARE:6>FN20\r\nXA\r\n", "K1ABC", "FN20"},
    {"ValueCutShortAtEndOfFile", "<CALL:5>K1ABC,<GRIDSQUARE:6>FN2", "K1ABC", "FN2"},
    {"TagWithoutLengthAtLineEnd", "<CALL:5>K1ABC,<GRIDSQUARE:\r\n4>FN42\r\n", "K1ABC",
     std::nullopt},
    {"ZeroLengthIsAnEmptyValue", "<CALL:5>K1ABC,<GRIDSQUARE:0> <EOR>\r\n", "K1ABC", ""},
    {"ClosingCharacterIsNotChecked", "<CALL:5>K1ABC,<GRIDSQUARE:4:FN42 <EOR>\r\n", "K1ABC", "FN42"},
    {"HeaderLinesIgnored",
     "ADIF export <ADIF_VER:5>3.1.4 <EOH>\r\n\r\n<CALL:5>K1ABC,<GRIDSQUARE:4>FN42 <EOR>\r\n",
     "K1ABC", "FN42"},
    {"EmptyCallsign", "<X:0>,<GRIDSQUARE:4>FN42 <EOR>\r\n", "", std::nullopt},
    {"CallsignWithLineEnd", "<CALL:5>K1\r\nABC,<GRIDSQUARE:4>FN42 <EOR>\r\n", "K1\r\nABC",
     std::nullopt},
    {"EmptyFile", "", "K1ABC", std::nullopt},
    {"LongLine",
     std::string(5000, 'x') + "<CALL:5>K1ABC," + std::string(3000, ' ') + "<GRIDSQUARE:4>FN42" +
         std::string(4000, 'y') + "\r\n",
     "K1ABC", "FN42"},
    {"LongLineTagFarBeforeMark",
     "<GRIDSQUARE:4>FN42" + std::string(7000, 'y') + "<CALL:5>K1ABC,\r\n", "K1ABC", "FN42"},
    {"LongLineWithoutTagThenHit",
     "<CALL:5>K1ABC," + std::string(6000, 'z') + ">K1ABC,\r\n<CALL:5>K1ABC,<GRIDSQUARE:4>EM12\r\n",
     "K1ABC", "EM12"},
};

class AdifMatch : public ::testing::TestWithParam<std::tuple<MatchRow, std::size_t>> {};

TEST_P(AdifMatch, FindsTheValueTheRuleGives) {
  const auto& [row, block] = GetParam();
  TempFolder folder;
  const auto file = folder.write("vhf4k.adi", row.file);
  EXPECT_EQ(findAdifGridValue(file, row.callsign, block), row.value);
}

INSTANTIATE_TEST_SUITE_P(Rule, AdifMatch,
                         ::testing::Combine(::testing::ValuesIn(kMatchRows),
                                            ::testing::Values(std::size_t{1}, std::size_t{2},
                                                              std::size_t{3}, std::size_t{7},
                                                              std::size_t{64}, kAdifReadBlock)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + "_block" +
                                  std::to_string(std::get<1>(info.param));
                         });

// ---- Files that are not there ----------------------------------------------------------------

TEST(AdifFile, MissingFileGivesNothing) {
  TempFolder folder;
  const auto result = getADIFGrid(folder.path() / "vhf4k.adi", "K1ABC", "FN20XA", "kM");
  EXPECT_FALSE(result.found);
  EXPECT_EQ(result.gridText, "");
}

TEST(AdifFile, FolderInsteadOfFileGivesNothing) {
  TempFolder folder;
  std::filesystem::create_directory(folder.path() / "vhf4k.adi");
  const auto result = getADIFGrid(folder.path() / "vhf4k.adi", "K1ABC", "FN20XA", "kM");
  EXPECT_FALSE(result.found);
  EXPECT_EQ(result.gridText, "");
}

// The file is read afresh at each lookup, so the operator's edits during a net are seen.
TEST(AdifFile, EditBetweenTwoLookupsIsSeen) {
  TempFolder folder;
  const auto file = folder.write("vhf4k.adi", "<CALL:5>K1ABC,<GRIDSQUARE:4>FN42 <EOR>\r\n");
  EXPECT_EQ(getADIFGrid(file, "K1ABC", "FN20XA", "kM").gridText, "FN42  42\xB0");
  // Same length, so neither the size nor (within its resolution) the time need change.
  folder.write("vhf4k.adi", "<CALL:5>K1ABC,<GRIDSQUARE:4>EM12 <EOR>\r\n");
  EXPECT_EQ(getADIFGrid(file, "K1ABC", "FN20XA", "kM").gridText, "EM12  255\xB0");
  folder.write("vhf4k.adi", "");
  EXPECT_FALSE(getADIFGrid(file, "K1ABC", "FN20XA", "kM").found);
}

// ---- The mark, the tag and the line end falling on the default read block's edge ------------

struct EdgeRow {
  const char* name;
  long shift;  // where the piece starts, relative to the block edge
};

class AdifBlockEdge : public ::testing::TestWithParam<EdgeRow> {};

std::string fillerLine(std::size_t length) {
  std::string line = "<CALL:4>W1AW,<GRIDSQUARE:4>FN31 <COMMENT:0>";
  line.resize(length - 2, 'x');
  return line + "\r\n";
}

TEST_P(AdifBlockEdge, MarkAcrossTheEdge) {
  TempFolder folder;
  const std::string record = "<CALL:5>K1ABC,<GRIDSQUARE:6>JO01AB <EOR>\r\n";
  const auto markAt = kAdifReadBlock + GetParam().shift;  // where ">K1ABC," begins
  const std::string file = fillerLine(markAt - 7) + record;
  ASSERT_EQ(file.find(">K1ABC,"), markAt);
  const auto path = folder.write("vhf4k.adi", file);
  EXPECT_EQ(getADIFGrid(path, "K1ABC", "FN20XA", "kM").gridText, "JO01AB  51\xB0");
}

TEST_P(AdifBlockEdge, TagAcrossTheEdge) {
  TempFolder folder;
  const std::string head = "<CALL:5>K1ABC,<QSO_DATE:8>20240101 ";
  const std::string record = head + "<GRIDSQUARE:4>EM12 <EOR>\r\n";
  const auto tagAt = kAdifReadBlock + GetParam().shift;
  const std::string file = fillerLine(tagAt - head.size()) + record;
  ASSERT_EQ(file.find("<GRIDSQUARE:4>EM12"), tagAt);
  const auto path = folder.write("vhf4k.adi", file);
  EXPECT_EQ(getADIFGrid(path, "K1ABC", "FN20XA", "kM").gridText, "EM12  255\xB0");
}

// A line end split over the edge (CR in one block, LF in the next) must not join lines.
TEST_P(AdifBlockEdge, LineEndAcrossTheEdge) {
  TempFolder folder;
  const auto crAt = kAdifReadBlock + GetParam().shift;
  std::string first = "<CALL:5>K1ABC,<EOR>";
  first.resize(crAt, ' ');
  const std::string file = first + "\r\n<GRIDSQUARE:4>EM12 <EOR>\r\n";
  const auto path = folder.write("vhf4k.adi", file);
  EXPECT_FALSE(getADIFGrid(path, "K1ABC", "FN20XA", "kM").found);
}

INSTANTIATE_TEST_SUITE_P(DefaultBlock, AdifBlockEdge,
                         ::testing::Values(EdgeRow{"WhollyBefore", -8}, EdgeRow{"EndsOnEdge", -7},
                                           EdgeRow{"OneAcross", -6}, EdgeRow{"HalfAcross", -3},
                                           EdgeRow{"LastCharAcross", -1},
                                           EdgeRow{"StartsOnEdge", 0}, EdgeRow{"After", 1}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- What getADIFGrid makes of the value ------------------------------------------------------

struct GridRow {
  const char* name;
  std::string file;
  const char* unit;
  const char* gridText;
  BeamStatus status;
  int16_t distance;
};

class AdifGridText : public ::testing::TestWithParam<GridRow> {};

TEST_P(AdifGridText, IsValueWithHeading) {
  const auto& row = GetParam();
  TempFolder folder;
  const auto file = folder.write("vhf4k.adi", row.file);
  const auto result = getADIFGrid(file, "K1ABC", "FN20XA", row.unit);
  EXPECT_TRUE(result.found);
  EXPECT_EQ(result.gridText, row.gridText);
  EXPECT_EQ(result.status, row.status);
  EXPECT_EQ(distanceToInt16(result.distance), row.distance);
}

INSTANTIATE_TEST_SUITE_P(
    Lookup, AdifGridText,
    ::testing::Values(GridRow{"SquareMiles", "<CALL:5>K1ABC,<GRIDSQUARE:4>JO01 <EOR>\r\n", "Miles",
                              "JO01  50\xB0", BeamStatus::Ok, 3549},
                      GridRow{"LowerCaseValueKept", "<CALL:5>K1ABC,<GRIDSQUARE:4>em12 <EOR>\r\n",
                              "kM", "em12  255\xB0", BeamStatus::Ok, 2217},
                      GridRow{"EightCharsBare", "<CALL:5>K1ABC,<GRIDSQUARE:8>FN20XA <EOR>\r\n",
                              "kM", "FN20XA <", BeamStatus::InvalidLocator, 0},
                      GridRow{"OutOfRangeBare", "<CALL:5>K1ABC,<GRIDSQUARE:4>ZZ99 <EOR>\r\n", "kM",
                              "ZZ99", BeamStatus::InvalidLocator, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AdifLookup, InvalidNetControlGridGivesTheBareValue) {
  TempFolder folder;
  const auto file = folder.write("vhf4k.adi", "<CALL:5>K1ABC,<GRIDSQUARE:4>JO01 <EOR>\r\n");
  const auto result = getADIFGrid(file, "K1ABC", "", "kM");
  EXPECT_TRUE(result.found);
  EXPECT_EQ(result.gridText, "JO01");
  EXPECT_EQ(result.status, BeamStatus::InvalidLocator);
}

// ---- Random files against a plain line-by-line reading of the rule ---------------------------

std::optional<std::string> referenceLookup(const std::string& file, const std::string& call) {
  if (call.empty()) return std::nullopt;
  std::vector<std::string> lines(1);
  for (char c : file) {
    if (c == '\r' || c == '\n') {
      lines.emplace_back();
    } else {
      lines.back() += c;
    }
  }
  for (const auto& line : lines) {
    if (line.find(">" + call + ",") == std::string::npos) continue;
    std::string folded = line;
    for (char& c : folded) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const auto p = folded.find("<GRIDSQUARE:");
    if (p == std::string::npos) continue;
    if (p + 12 >= line.size() || !std::isdigit(static_cast<unsigned char>(line[p + 12]))) {
      continue;
    }
    if (p + 14 >= line.size()) return std::string();
    return line.substr(p + 14, static_cast<std::size_t>(line[p + 12] - '0'));
  }
  return std::nullopt;
}

TEST(AdifProperty, AgreesWithLineByLineReadingForAnyBlockSize) {
  const char* pieces[] = {"<CALL:5>K1ABC,",
                          "<CALL:5>K1ABC ",
                          "<CALL:6>K1ABCD,",
                          ">K1ABC,",
                          "<GRIDSQUARE:4>FN42",
                          "<gridsquare:6>em12ab",
                          "<GRIDSQUARE:X>JJ",
                          "<GRIDSQUARE:",
                          "<CALL:4>W1AW,",
                          "<EOR>",
                          "\r\n",
                          "\r",
                          "\n",
                          " ",
                          "<BAND:2>2M",
                          ","};
  std::mt19937 rng(1234);
  std::uniform_int_distribution<int> piece(0, std::size(pieces) - 1);
  std::uniform_int_distribution<int> count(0, 40);
  const std::size_t blocks[] = {1, 2, 5, 13, 64};
  TempFolder folder;
  for (int round = 0; round < 400; ++round) {
    std::string file;
    for (int i = count(rng); i > 0; --i) file += pieces[piece(rng)];
    const auto path = folder.write("vhf4k.adi", file);
    const auto expected = referenceLookup(file, "K1ABC");
    for (std::size_t block : blocks) {
      ASSERT_EQ(findAdifGridValue(path, "K1ABC", block), expected)
          << "block " << block << " file:\n"
          << file;
    }
  }
}

}  // namespace
}  // namespace kelpie
