// Maidenhead locators, beam heading and distance.
#include "geo/locator.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <random>

#include "support/fake_platform.h"

namespace kelpie {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(Locator, DecodesToTheCentreOfItsAreaAndDistancesRoundHalfToEvenInSixteenBits) {
  for (const auto& [grid, lon, lat] : {std::tuple{"JJ00", 1.0, 0.5}, {"JJ", 10.0, 5.0}}) {
    const auto p = decodeLocator(grid);
    ASSERT_TRUE(p.has_value()) << grid;
    EXPECT_DOUBLE_EQ(p->lon, lon);
    EXPECT_DOUBLE_EQ(p->lat, lat);
  }
  EXPECT_FALSE(beamPath({kNaN, 0}, {1, 0.5}).has_value());
  EXPECT_STREQ(kCalcErrorMessage, "Calculation error, check grid!");
  const std::pair<double, int16_t> distances[] = {
      {0.5, 0},         {0.5000000000000001, 1}, {1.5, 2},           {-1.5, -2}, {32767.4, 32767},
      {32767.5, 32767}, {-32768.5, -32768},      {-32769.0, -32768}, {kNaN, 0}};
  for (const auto& [value, want] : distances) EXPECT_EQ(distanceToInt16(value), want) << value;
}

// Each row: net control, station, unit, then the grid text and distance.
TEST(Locator, BeamHeadingAndDistanceExamples) {
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

// Random subsquare pairs, kept once checked against the sphere: the heading within half a degree
// of the initial great-circle bearing, the distance between the ellipsoid's smallest and
// largest radius of curvature times the central angle.
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
    double km = 0;
    ASSERT_EQ(calcBeamHeading(g[1], km, g[0], "kM"), BeamStatus::Ok);
    char line[40];
    kept.append(line, std::snprintf(line, 40, "%s %s %.3f\n", g[0].c_str(), g[1].c_str(), km));
  }
  EXPECT_EQ(kept, test::golden("geo/random_paths.txt"));
}

}  // namespace
}  // namespace kelpie
