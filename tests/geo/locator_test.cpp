// Maidenhead locators, beam heading and distance.
#include "geo/locator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace kelpie {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(Locator, DecodesToTheCentreOfItsArea) {
  const std::tuple<const char*, double, double> rows[] = {
      {"JJ00", 1.0, 0.5},
      {"JJ", 10.0, 5.0},
      {"AA00AA", -180.0 + 1.0 / 24, -90.0 + 1.0 / 48},
      {"RR99XX", 180.0 - 1.0 / 24, 90.0 - 1.0 / 48}};
  for (const auto& [grid, lon, lat] : rows) {
    const auto p = decodeLocator(grid);
    ASSERT_TRUE(p.has_value()) << grid;
    EXPECT_DOUBLE_EQ(p->lon, lon);
    EXPECT_DOUBLE_EQ(p->lat, lat);
  }
  EXPECT_FALSE(beamPath({kNaN, 0}, {1, 0.5}).has_value());
  EXPECT_STREQ(kCalcErrorMessage, "Calculation error, check grid!");
}

// Each row: net control, station, unit, then the grid text and distance, or "invalid" (and
// both arguments left alone).
TEST(Locator, BeamHeadingAndDistanceExamples) {
  const std::tuple<const char*, const char*, const char*, std::string> rows[] = {
      {"FN20XA", "JO01", "kM", "JO01  50\xB0 5711"},
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

TEST(Locator, DistanceRoundsHalfToEvenAndClampsToSixteenBits) {
  const std::pair<double, int16_t> rows[] = {
      {0.5, 0},         {0.5000000000000001, 1}, {1.5, 2},           {-1.5, -2}, {32767.4, 32767},
      {32767.5, 32767}, {-32768.5, -32768},      {-32769.0, -32768}, {kNaN, 0}};
  for (const auto& [value, want] : rows) EXPECT_EQ(distanceToInt16(value), want) << value;
}

// Random subsquare pairs: the heading is the initial great-circle bearing rounded to whole
// degrees, and the distance lies between the ellipsoid's smallest and largest radius of
// curvature times the central angle.
TEST(Locator, HeadingIsTheInitialBearingAndDistanceWithinTheEllipsoidRadii) {
  constexpr double kRad = 3.14159265358979323846 / 180, a = 6378.14, b = 6356.755;
  std::mt19937 rng(20240601);
  auto pick = [&rng](char first, int n) {
    return static_cast<char>(first + std::uniform_int_distribution<int>(0, n - 1)(rng));
  };
  int checked = 0;
  for (int i = 0; i < 4000; ++i) {
    std::string grid[2];
    for (auto& g : grid)
      g = {pick('A', 18), pick('A', 18), pick('0', 10),
           pick('0', 10), pick('A', 24), pick('A', 24)};
    const LonLat from = *decodeLocator(grid[0]), to = *decodeLocator(grid[1]);
    const double p1 = from.lat * kRad, p2 = to.lat * kRad, dl = (to.lon - from.lon) * kRad;
    const double central =
        std::acos(std::sin(p1) * std::sin(p2) + std::cos(p1) * std::cos(p2) * std::cos(dl));
    // Near the poles, in the same area or near the antipode the bearing is ill-defined.
    if (std::fabs(from.lat) > 80 || std::fabs(to.lat) > 80 || central < 0.001 || central > 3.04)
      continue;
    double km = 0;
    ASSERT_EQ(calcBeamHeading(grid[1], km, grid[0], "kM"), BeamStatus::Ok);
    ASSERT_EQ(grid[1].substr(6, 2) + grid[1].back(), "  \xB0");
    double bearing =
        std::atan2(std::sin(dl) * std::cos(p2),
                   std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl)) /
        kRad;
    const double diff =
        std::fabs(std::stoi(grid[1].substr(8)) - (bearing < 0 ? bearing + 360 : bearing));
    EXPECT_LE(std::min(diff, 360 - diff), 0.5 + 1e-6) << grid[0] << " " << grid[1];
    EXPECT_GE(km, central * (b * b / a) - 1e-6);
    EXPECT_LE(km, central * (a * a / b) + 1e-6);
    ++checked;
  }
  EXPECT_GT(checked, 2000);
}

}  // namespace
}  // namespace kelpie
