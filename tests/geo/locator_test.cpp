// Maidenhead locators, beam heading and distance, and the grids of stations in ADIF files.
#include "geo/locator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>

#include "geo/adif.h"
#include "reports/adif_batch.h"
#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

TEST(Locator, CentresRoundingHeadingsDistancesAndInvalidGrids) {
  for (const auto& [grid, lon, lat] : {std::tuple{"JJ00", 1.0, 0.5}, {"JJ", 10.0, 5.0}}) {
    const auto p = decodeLocator(grid);
    ASSERT_TRUE(p.has_value()) << grid;
    EXPECT_DOUBLE_EQ(p->lon, lon);
    EXPECT_DOUBLE_EQ(p->lat, lat);
  }
  EXPECT_FALSE(beamPath({NAN, 0}, {1, 0.5}).has_value());
  EXPECT_STREQ(kCalcErrorMessage, "Calculation error, check grid!");
  const std::pair<double, int16_t> distances[] = {
      {0.5, 0},         {0.5000000000000001, 1}, {1.5, 2},           {-1.5, -2}, {32767.4, 32767},
      {32767.5, 32767}, {-32768.5, -32768},      {-32769.0, -32768}, {NAN, 0}};
  for (const auto& [value, want] : distances) EXPECT_EQ(distanceToInt16(value), want) << value;
  // Each row: net control, station, unit, then the grid text and distance.
  const std::tuple<const char*, const char*, const char*, std::string> rows[] = {
      {"FN20XA", "JO01", "Miles", "JO01  50\xB0 3549"},
      {"FN20XA", "JO01", "miles", "JO01  50\xB0 5711"},  // miles only for exactly "Miles"
      {"FN20XA", "JO01", "Miles ", "JO01  50\xB0 5711"},
      {"AA00AA", "RR99XX", "kM", "RR99XX  360\xB0 20000"},
      {"RR99XX", "AA00AA", "kM", "AA00AA  180\xB0 20000"},
      {"JJ00", "AI09", "kM", "AI09  0\xB0 20004"},  // past 20003.5 km the heading is 0
      {"FN20XA", "FN20XA", "kM", "FN20XA  0\xB0 0"},
      {"FN20XA", "jo01", "kM", "jo01  50\xB0 5711"}};
  for (const auto& [from, to, unit, want] : rows) {
    std::string grid = to;
    double distance = 0;
    EXPECT_EQ(calcBeamHeading(grid, distance, from, unit), BeamStatus::Ok) << to;
    EXPECT_EQ(grid + " " + std::to_string(distanceToInt16(distance)), want);
  }
  for (const char* bad : {"", "F", "FN2", "FN20X", "FN20XAA", "FN20XA <", "JO01 ", "SO01", "@O01",
                          "JO:1", "JO/1", "JO01YA", "JO01@A", "FN20XA "}) {
    std::string grid = bad;
    double distance = 1.25;
    EXPECT_EQ(calcBeamHeading(grid, distance, "FN20XA", "kM"), BeamStatus::InvalidLocator) << bad;
    EXPECT_EQ(calcBeamHeading(grid, distance, bad, "kM"), BeamStatus::InvalidLocator) << bad;
    EXPECT_EQ(grid + std::to_string(distance), std::string(bad) + "1.250000");
  }
}

// Random subsquare pairs, checked on the sphere and kept to the metre.
TEST(Locator, RandomPathsAsKept) {
  std::mt19937 rng(20240601);
  std::string kept;
  for (int i = 0; i < 200; ++i) {
    std::string g[2];
    for (auto& s : g)
      for (int k = 0; k < 6; ++k) s += char("AA00AA"[k] + rng() % (k < 2 ? 18 : k < 4 ? 10 : 24));
    if (i % 2)  // every other one in the square opposite net control's
      g[1] = std::string{char((g[0][0] - 'A' + 9) % 18 + 'A'), char('R' - g[0][1] + 'A'), g[0][2],
                         char('9' - g[0][3] + '0')} +
             g[1].substr(4);
    const LonLat p = *decodeLocator(g[0]), q = *decodeLocator(g[1]);
    double km = 0;
    ASSERT_EQ(calcBeamHeading(g[1], km, g[0], "kM"), BeamStatus::Ok);
    // On the sphere: the distance within the extreme radii of curvature times the central angle;
    // the heading within half a degree of the initial bearing, where that is well defined.
    const double r = 3.14159265358979323846 / 180, a = 6378.14, b = 6356.755, p1 = p.lat * r,
                 p2 = q.lat * r, dl = (q.lon - p.lon) * r;
    const double c =
        std::acos(std::sin(p1) * std::sin(p2) + std::cos(p1) * std::cos(p2) * std::cos(dl));
    EXPECT_TRUE(km >= c * b * b / a - 1e-6 && km <= c * a * a / b + 1e-6) << g[0] << g[1];
    const double off = std::fmod(
        std::stoi(g[1].substr(8)) + 720 -
            std::atan2(std::sin(dl) * std::cos(p2),
                       std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl)) /
                r,
        360);
    const bool defined = std::fabs(p.lat) < 80 && std::fabs(q.lat) < 80 && c > 0.001 && c < 3.04;
    EXPECT_TRUE(!defined || std::min(off, 360 - off) <= 0.5 + 1e-6) << g[0] << g[1];
    char line[40];
    kept.append(line, std::snprintf(line, 40, "%s %s %.3f\n", g[0].c_str(), g[1].c_str(), km));
  }
  EXPECT_EQ(kept, golden("geo/random_paths.txt"));
}

const std::string kK1abc = "<CALL:5>K1ABC <GRIDSQUARE:4>EM12 <EOR>\r\n";  // closes some rows

// ADIF files and K1ABC's grid: the old comma form first, else the ADIF 3 records, in the single and
// the summary's lookup alike, at block sizes that cut every mark, tag and line end.
using Grid = std::optional<std::string>;
const std::pair<std::string, Grid> kRows[] = {
    {"<call:5>W1ABC <gridsquare:4>FN31 <eor>\r\n<call:5>K1ABC <gridsquare:4>EM87 "
     "<my_gridsquare:6>CN85QN <eor>\r\n",
     "EM87"},
    {"<call:5>K1ABC <freq:8>3.575627 <mode:3>FT8\r\n<gridsquare:6>JN45ab <EOR>\r\n", "JN45ab"},
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
    {"x\r>K1ABC,<GRIDSQUARE:4>FN42\r\n", "FN42"},
    {"<CALL:5>K1ABC,<GRIDSQUARE:4>\n" + kK1abc, ""},
    {"<CALL:5>K1ABC,<GRIDSQUARE:X>FN42 <EOR>\r\n" + kK1abc, "EM12"}};

TEST(AdifLookup, SingleSummaryAndGridTextLookups) {
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
  // The grid text (then found, status and miles): the value with its heading, the bare value when
  // it is no locator, nothing without a file; read afresh, so edits during a net are seen.
  const std::pair<std::string, std::string> rows[] = {
      {"<CALL:5>K1ABC,<GRIDSQUARE:4>JO01 <EOR>", "JO01  50\xB0 10 3549"},
      {"<CALL:5>K1ABC,<GRIDSQUARE:4>EM12 <EOR>", "EM12  255\xB0 10 1378"},  // same size: seen
      {"<CALL:5>K1ABC,<GRIDSQUARE:8>FN20XA <EOR>", "FN20XA < 11 0"},
      {"<CALL:5>K1ABC,<GRIDSQUARE:4>", " 11 0"},
      {"<call:5>k1abc <GRIDSQUARE:4>JO01 <EOR>", "JO01  50\xB0 10 3549"}};  // as ADIF 3
  for (const auto& [bytes, want] : rows) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;  // in place, as an editor
    const AdifGrid g = getADIFGrid(file, "K1ABC", "FN20XA", "Miles");
    EXPECT_EQ(g.gridText + " " + toDec(g.found) + toDec(int(g.status)) + " " +
                  toDec(distanceToInt16(g.distance)),
              want);
  }
  EXPECT_EQ(getADIFGrid(folder / "none.adi", "K1ABC", "FN20XA", "kM").gridText, "");
}

}  // namespace
}  // namespace kelpie::test
