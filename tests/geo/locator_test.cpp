#include "geo/locator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>

namespace kelpie {
namespace {

auto rowName = [](const auto& info) { return std::string(info.param.name); };

struct CentreRow {
  const char* name;
  const char* grid;
  double lon, lat;
};

class DecodeCentre : public ::testing::TestWithParam<CentreRow> {};

TEST_P(DecodeCentre, GivesTheCentreOfItsArea) {
  const auto p = decodeLocator(GetParam().grid);
  ASSERT_TRUE(p.has_value());
  EXPECT_DOUBLE_EQ(p->lon, GetParam().lon);
  EXPECT_DOUBLE_EQ(p->lat, GetParam().lat);
}

INSTANTIATE_TEST_SUITE_P(
    Locators, DecodeCentre,
    ::testing::Values(CentreRow{"Square_JJ00", "JJ00", 1.0, 0.5},
                      CentreRow{"Field_JJ", "JJ", 10.0, 5.0},
                      CentreRow{"Subsquare_AA00AA", "AA00AA", -180.0 + 1.0 / 24, -90.0 + 1.0 / 48},
                      CentreRow{"Subsquare_RR99XX", "RR99XX", 180.0 - 1.0 / 24, 90.0 - 1.0 / 48}),
    rowName);

struct BeamRow {
  const char* name;
  const char* netControl;
  const char* station;
  const char* unit;
  const char* gridText;  // nullptr: an invalid locator, and both arguments are left alone
  int16_t distance;      // as the callers hold it
};

class BeamExample : public ::testing::TestWithParam<BeamRow> {};

TEST_P(BeamExample, GivesHeadingAndDistance) {
  const auto& row = GetParam();
  std::string grid = row.station;
  double distance = 123.25;
  const BeamStatus status = calcBeamHeading(grid, distance, row.netControl, row.unit);
  if (row.gridText == nullptr) {
    EXPECT_EQ(status, BeamStatus::InvalidLocator);
    EXPECT_EQ(grid, row.station);
    EXPECT_EQ(distance, 123.25);
    return;
  }
  EXPECT_EQ(status, BeamStatus::Ok);
  EXPECT_EQ(grid, row.gridText);
  EXPECT_EQ(distanceToInt16(distance), row.distance);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, BeamExample,
    ::testing::Values(
        BeamRow{"FN20XA_to_JO01_km", "FN20XA", "JO01", "kM", "JO01  50\xB0", 5711},
        BeamRow{"FN20XA_to_JO01_miles", "FN20XA", "JO01", "Miles", "JO01  50\xB0", 3549},
        // Miles only for exactly "Miles".
        BeamRow{"LowerMilesIsKm", "FN20XA", "JO01", "miles", "JO01  50\xB0", 5711},
        BeamRow{"MilesWithSpaceIsKm", "FN20XA", "JO01", "Miles ", "JO01  50\xB0", 5711},
        BeamRow{"FN20XA_to_EM12_west", "FN20XA", "EM12", "kM", "EM12  255\xB0", 2217},
        BeamRow{"JJ00_to_JJ90_east", "JJ00", "JJ90", "kM", "JJ90  90\xB0", 2004},
        BeamRow{"AA00AA_to_RR99XX", "AA00AA", "RR99XX", "kM", "RR99XX  360\xB0", 20000},
        BeamRow{"RR99XX_to_AA00AA", "RR99XX", "AA00AA", "kM", "AA00AA  180\xB0", 20000},
        // Beyond 20003.5 km the heading is given up as 0.
        BeamRow{"JJ00_to_AI09_antipode", "JJ00", "AI09", "kM", "AI09  0\xB0", 20004},
        BeamRow{"SameSubsquare", "FN20XA", "FN20XA", "kM", "FN20XA  0\xB0", 0},
        BeamRow{"LowerCaseStationKept", "FN20XA", "jo01", "kM", "jo01  50\xB0", 5711},
        BeamRow{"Empty", "FN20XA", "", "kM", nullptr, 0},
        BeamRow{"FiveChars", "FN20XA", "FN20X", "kM", nullptr, 0},
        BeamRow{"SevenChars", "FN20XA", "FN20XAA", "kM", nullptr, 0},
        BeamRow{"EightChars", "FN20XA", "FN20XA <", "kM", nullptr, 0},
        BeamRow{"TrailingSpace", "FN20XA", "JO01 ", "kM", nullptr, 0},
        BeamRow{"FieldPastR", "FN20XA", "SO01", "kM", nullptr, 0},
        BeamRow{"FieldBeforeA", "FN20XA", "@O01", "kM", nullptr, 0},
        BeamRow{"SquarePast9", "FN20XA", "JO:1", "kM", nullptr, 0},
        BeamRow{"SubsquarePastX", "FN20XA", "JO01YA", "kM", nullptr, 0},
        BeamRow{"SubsquareBeforeA", "FN20XA", "JO01@A", "kM", nullptr, 0},
        BeamRow{"NetControlTrailingSpace", "FN20XA ", "JO01", "kM", nullptr, 0}),
    rowName);

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(BeamPath, NonFinitePointsAreACalculationError) {
  EXPECT_FALSE(beamPath({kNaN, 0}, {1, 0.5}).has_value());
  EXPECT_FALSE(beamPath({0, 0}, {1, -kInf}).has_value());
  EXPECT_STREQ(kCalcErrorMessage, "Calculation error, check grid!");
}

struct RoundRow {
  const char* name;
  double value;
  int16_t expected;
};

class DistanceToInt16 : public ::testing::TestWithParam<RoundRow> {};

TEST_P(DistanceToInt16, RoundsHalfToEvenAndClamps) {
  EXPECT_EQ(distanceToInt16(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rounding, DistanceToInt16,
                         ::testing::Values(RoundRow{"HalfToEvenZero", 0.5, 0},
                                           RoundRow{"JustOverHalf", 0.5000000000000001, 1},
                                           RoundRow{"OneAndHalfUp", 1.5, 2},
                                           RoundRow{"MinusOneAndHalf", -1.5, -2},
                                           RoundRow{"TopJustUnder", 32767.4, 32767},
                                           RoundRow{"OverTopClamped", 32767.5, 32767},
                                           RoundRow{"BottomHalfToEven", -32768.5, -32768},
                                           RoundRow{"UnderBottomClamped", -32769.0, -32768},
                                           RoundRow{"NaNIsZero", kNaN, 0}),
                         rowName);

// Random subsquare pairs: the heading is the initial great-circle bearing (atan2 form) rounded
// to whole degrees, and the distance lies between the ellipsoid's smallest and largest radius
// of curvature times the central angle.
TEST(BeamProperty, HeadingIsTheInitialBearingAndDistanceWithinTheEllipsoidRadii) {
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
    const std::string label = grid[0] + " -> " + grid[1];
    double km = 0;
    ASSERT_EQ(calcBeamHeading(grid[1], km, grid[0], "kM"), BeamStatus::Ok) << label;
    ASSERT_EQ(grid[1].substr(6, 2) + grid[1].back(), "  \xB0") << label;
    const int heading = std::stoi(grid[1].substr(8));
    double bearing =
        std::atan2(std::sin(dl) * std::cos(p2),
                   std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl)) /
        kRad;
    if (bearing < 0) bearing += 360;
    const double diff = std::fabs(heading - bearing);
    EXPECT_LE(std::min(diff, 360 - diff), 0.5 + 1e-6) << label;
    EXPECT_GE(km, central * (b * b / a) - 1e-6) << label;
    EXPECT_LE(km, central * (a * a / b) + 1e-6) << label;
    ++checked;
  }
  EXPECT_GT(checked, 2000);
}

}  // namespace
}  // namespace kelpie
