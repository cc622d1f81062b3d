#include "geo/locator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>

namespace kelpie {
namespace {

// ---- Decoding -------------------------------------------------------------------------------

struct CentreRow {
  const char* name;
  const char* grid;
  double lon;
  double lat;
};

class DecodeCentre : public ::testing::TestWithParam<CentreRow> {};

TEST_P(DecodeCentre, GivesTheCentreOfItsArea) {
  const auto& row = GetParam();
  const auto p = decodeLocator(row.grid);
  ASSERT_TRUE(p.has_value());
  EXPECT_DOUBLE_EQ(p->lon, row.lon);
  EXPECT_DOUBLE_EQ(p->lat, row.lat);
}

INSTANTIATE_TEST_SUITE_P(
    Locators, DecodeCentre,
    ::testing::Values(CentreRow{"Square_JJ00", "JJ00", 1.0, 0.5},
                      CentreRow{"Field_JJ", "JJ", 10.0, 5.0},
                      CentreRow{"Subsquare_AA00AA", "AA00AA", -180.0 + 1.0 / 24, -90.0 + 1.0 / 48},
                      CentreRow{"Subsquare_RR99XX", "RR99XX", 180.0 - 1.0 / 24, 90.0 - 1.0 / 48},
                      CentreRow{"Subsquare_FN20XA", "FN20XA", -76.0 + 23.5 / 12, 40.0 + 0.5 / 24},
                      CentreRow{"LowerCase_fn20xa", "fn20xa", -76.0 + 23.5 / 12, 40.0 + 0.5 / 24},
                      CentreRow{"MixedCase_Fn20Xa", "Fn20Xa", -76.0 + 23.5 / 12, 40.0 + 0.5 / 24},
                      CentreRow{"Square_JO01", "JO01", 1.0, 51.5},
                      CentreRow{"Field_RR", "RR", 170.0, 85.0}),
    [](const auto& info) { return std::string(info.param.name); });

struct InvalidRow {
  const char* name;
  std::string grid;
};

class DecodeInvalid : public ::testing::TestWithParam<InvalidRow> {};

TEST_P(DecodeInvalid, IsRejected) { EXPECT_FALSE(decodeLocator(GetParam().grid).has_value()); }

INSTANTIATE_TEST_SUITE_P(
    Locators, DecodeInvalid,
    ::testing::Values(
        InvalidRow{"Empty", ""}, InvalidRow{"OneChar", "J"}, InvalidRow{"ThreeChars", "JJ0"},
        InvalidRow{"FiveChars", "JJ00X"}, InvalidRow{"SevenChars", "JJ00XAA"},
        InvalidRow{"EightChars", "JJ00XA00"}, InvalidRow{"TrailingSpace", "JJ00 "},
        InvalidRow{"TrailingSpaceAfterSubsquare", "FN20XA "}, InvalidRow{"LeadingSpace", " JJ0"},
        InvalidRow{"FieldLonS", "SA"}, InvalidRow{"FieldLatS", "AS"},
        InvalidRow{"FieldBeforeA", "@A"}, InvalidRow{"FieldDigit", "1A00"},
        InvalidRow{"SquareLonLetter", "JJA0"}, InvalidRow{"SquareLatLetter", "JJ0A"},
        InvalidRow{"SquareColon", "JJ:0"}, InvalidRow{"SubsquareLonY", "JJ00YA"},
        InvalidRow{"SubsquareLatY", "JJ00AY"}, InvalidRow{"SubsquareLowerY", "jj00ay"},
        InvalidRow{"SubsquareDigit", "JJ00A0"}, InvalidRow{"SubsquareBeforeA", "JJ00@A"},
        InvalidRow{"AccentedLetter",
                   "\xE0"
                   "A"},
        InvalidRow{"NulByte", std::string("J\0", 2)}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Heading and distance -------------------------------------------------------------------

struct BeamRow {
  const char* name;
  const char* netControl;
  const char* station;
  const char* unit;
  const char* gridText;
  int16_t distance;  // as the callers hold it
};

class BeamExample : public ::testing::TestWithParam<BeamRow> {};

TEST_P(BeamExample, GivesHeadingAndDistance) {
  const auto& row = GetParam();
  std::string grid = row.station;
  double distance = -1;
  EXPECT_EQ(calcBeamHeading(grid, distance, row.netControl, row.unit), BeamStatus::Ok);
  EXPECT_EQ(grid, row.gridText);
  EXPECT_EQ(distanceToInt16(distance), row.distance);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, BeamExample,
    ::testing::Values(
        BeamRow{"FN20XA_to_JO01_km", "FN20XA", "JO01", "kM", "JO01  50\xB0", 5711},
        BeamRow{"FN20XA_to_JO01_miles", "FN20XA", "JO01", "Miles", "JO01  50\xB0", 3549},
        BeamRow{"FN20XA_to_EM12", "FN20XA", "EM12", "kM", "EM12  255\xB0", 2217},
        BeamRow{"JJ00_to_JJ90_east", "JJ00", "JJ90", "kM", "JJ90  90\xB0", 2004},
        BeamRow{"AA00AA_to_RR99XX_nearlyAntipodal", "AA00AA", "RR99XX", "kM", "RR99XX  360\xB0",
                20000},
        BeamRow{"RR99XX_to_AA00AA_backwards", "RR99XX", "AA00AA", "kM", "AA00AA  180\xB0", 20000},
        // Beyond 20003.5 km the heading is given up as 0.
        BeamRow{"JJ00_to_AI09_exactAntipode", "JJ00", "AI09", "kM", "AI09  0\xB0", 20004},
        BeamRow{"SameSubsquare", "FN20XA", "FN20XA", "kM", "FN20XA  0\xB0", 0},
        BeamRow{"SameSubsquareMiles", "FN20XA", "FN20XA", "Miles", "FN20XA  0\xB0", 0},
        BeamRow{"NextSubsquareNorth", "FN20XA", "FN20XB", "kM", "FN20XB  0\xB0", 5},
        BeamRow{"LowerCaseKeptAsTyped", "FN20XA", "fn20xa", "kM", "fn20xa  0\xB0", 0},
        BeamRow{"LowerCaseStationKept", "FN20XA", "jo01", "kM", "jo01  50\xB0", 5711},
        BeamRow{"LowerCaseNetControl", "fn20xa", "JO01", "kM", "JO01  50\xB0", 5711},
        BeamRow{"FieldOnly", "JJ00", "JJ", "kM", "JJ  63\xB0", 1117}),
    [](const auto& info) { return std::string(info.param.name); });

struct UnitRow {
  const char* name;
  const char* unit;
  bool miles;
};

class DistanceUnit : public ::testing::TestWithParam<UnitRow> {};

// Miles come from the kilometres rounded to a whole number, and only for exactly "Miles".
TEST_P(DistanceUnit, MilesOnlyForTheExactWord) {
  const auto& row = GetParam();
  const char* stations[] = {"JO01", "EM12", "JJ90", "RR99XX", "FN20XB", "QE37PK"};
  for (const char* station : stations) {
    std::string kmGrid = station;
    double km = 0;
    ASSERT_EQ(calcBeamHeading(kmGrid, km, "FN20XA", "kM"), BeamStatus::Ok);
    std::string grid = station;
    double distance = 0;
    ASSERT_EQ(calcBeamHeading(grid, distance, "FN20XA", row.unit), BeamStatus::Ok);
    EXPECT_EQ(grid, kmGrid) << station;
    const double expected = row.miles ? 0.62138 * std::floor(km + 0.5) : km;
    EXPECT_EQ(distance, expected) << station;
  }
}

INSTANTIATE_TEST_SUITE_P(Units, DistanceUnit,
                         ::testing::Values(UnitRow{"Miles", "Miles", true},
                                           UnitRow{"LowerMiles", "miles", false},
                                           UnitRow{"UpperMiles", "MILES", false},
                                           UnitRow{"MilesWithSpace", "Miles ", false},
                                           UnitRow{"Kilometres", "kM", false},
                                           UnitRow{"Empty", "", false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct UnchangedRow {
  const char* name;
  const char* netControl;
  const char* station;
};

class InvalidLocatorLeavesArguments : public ::testing::TestWithParam<UnchangedRow> {};

TEST_P(InvalidLocatorLeavesArguments, Unchanged) {
  const auto& row = GetParam();
  std::string grid = row.station;
  double distance = 123.25;
  EXPECT_EQ(calcBeamHeading(grid, distance, row.netControl, "Miles"), BeamStatus::InvalidLocator);
  EXPECT_EQ(grid, row.station);
  EXPECT_EQ(distance, 123.25);
}

INSTANTIATE_TEST_SUITE_P(Locators, InvalidLocatorLeavesArguments,
                         ::testing::Values(UnchangedRow{"StationFiveChars", "FN20XA", "FN20X"},
                                           UnchangedRow{"StationSevenChars", "FN20XA", "FN20XAA"},
                                           UnchangedRow{"StationEightChars", "FN20XA", "FN20XA <"},
                                           UnchangedRow{"StationTrailingSpace", "FN20XA", "JO01 "},
                                           UnchangedRow{"StationFieldOutOfRange", "FN20XA", "SO01"},
                                           UnchangedRow{"StationSquareLetter", "FN20XA", "JOA1"},
                                           UnchangedRow{"StationSubsquareY", "FN20XA", "JO01YA"},
                                           UnchangedRow{"StationEmpty", "FN20XA", ""},
                                           UnchangedRow{"NetControlEmpty", "", "JO01"},
                                           UnchangedRow{"NetControlTrailingSpace", "FN20XA ",
                                                        "JO01"},
                                           UnchangedRow{"NetControlFiveChars", "FN20X", "JO01"},
                                           UnchangedRow{"NetControlOutOfRange", "FZ20", "JO01"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct NonFiniteRow {
  const char* name;
  LonLat netControl;
  LonLat station;
};

class NonFinitePath : public ::testing::TestWithParam<NonFiniteRow> {};

TEST_P(NonFinitePath, IsACalculationError) {
  EXPECT_FALSE(beamPath(GetParam().netControl, GetParam().station).has_value());
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(Arithmetic, NonFinitePath,
                         ::testing::Values(NonFiniteRow{"NaNLongitude", {kNaN, 0}, {1, 0.5}},
                                           NonFiniteRow{"NaNLatitude", {1, 0.5}, {0, kNaN}},
                                           NonFiniteRow{"InfiniteLongitude", {kInf, 0}, {1, 1}},
                                           NonFiniteRow{"InfiniteLatitude", {0, 0}, {1, -kInf}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CalcErrorMessage, IsTheOperatorsText) {
  EXPECT_STREQ(kCalcErrorMessage, "Calculation error, check grid!");
}

// ---- The callers' 16-bit distance -----------------------------------------------------------

struct RoundRow {
  const char* name;
  double value;
  int16_t expected;
};

class DistanceToInt16 : public ::testing::TestWithParam<RoundRow> {};

TEST_P(DistanceToInt16, RoundsHalfToEvenAndClamps) {
  EXPECT_EQ(distanceToInt16(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rounding, DistanceToInt16,
    ::testing::Values(
        RoundRow{"Zero", 0.0, 0}, RoundRow{"JustUnderHalf", 0.49999999999999994, 0},
        RoundRow{"HalfToEvenZero", 0.5, 0}, RoundRow{"JustOverHalf", 0.5000000000000001, 1},
        RoundRow{"OneAndHalfUp", 1.5, 2}, RoundRow{"TwoAndHalfDown", 2.5, 2},
        RoundRow{"MinusHalf", -0.5, 0}, RoundRow{"MinusOneAndHalf", -1.5, -2},
        RoundRow{"MinusTwoAndHalf", -2.5, -2}, RoundRow{"MinusJustOverHalf", -0.51, -1},
        RoundRow{"MilesToJO01", 0.62138 * 5711, 3549}, RoundRow{"Kilometres", 5710.8007, 5711},
        RoundRow{"TopHalfDown", 32766.5, 32766}, RoundRow{"Top", 32767.4, 32767},
        RoundRow{"OverTopClamped", 32767.5, 32767}, RoundRow{"FarOverTop", 1e9, 32767},
        RoundRow{"BottomHalfToEven", -32768.5, -32768},
        RoundRow{"UnderBottomClamped", -32769.0, -32768}, RoundRow{"FarUnderBottom", -1e9, -32768},
        RoundRow{"PlusInfinity", kInf, 32767}, RoundRow{"MinusInfinity", -kInf, -32768},
        RoundRow{"NaNIsZero", kNaN, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Properties over many locator pairs ------------------------------------------------------

struct RandomLocator {
  std::string text;
  double lon;  // degrees, worked out here from the indices, not through decodeLocator
  double lat;
};

RandomLocator randomLocator(std::mt19937& rng) {
  auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  const int fLon = pick(18), fLat = pick(18), sLon = pick(10), sLat = pick(10);
  const int uLon = pick(24), uLat = pick(24);
  RandomLocator r;
  r.text = {static_cast<char>('A' + fLon), static_cast<char>('A' + fLat),
            static_cast<char>('0' + sLon), static_cast<char>('0' + sLat),
            static_cast<char>('A' + uLon), static_cast<char>('A' + uLat)};
  r.lon = -180.0 + 20.0 * fLon + 2.0 * sLon + (uLon + 0.5) * (2.0 / 24);
  r.lat = -90.0 + 10.0 * fLat + 1.0 * sLat + (uLat + 0.5) * (1.0 / 24);
  return r;
}

int headingOf(const std::string& gridText, std::size_t locatorLength) {
  // "<locator>  <heading>\xB0"
  EXPECT_EQ(gridText.substr(locatorLength, 2), "  ");
  EXPECT_EQ(gridText.back(), '\xB0');
  return std::stoi(gridText.substr(locatorLength + 2));
}

// The heading is the initial great-circle bearing rounded to whole degrees, checked against
// the atan2 form of the bearing; the distance lies between the smallest and the largest
// radius of curvature of the ellipsoid times the central angle (haversine form).
TEST(BeamProperty, HeadingIsInitialBearingAndDistanceIsWithinEllipsoidRadii) {
  constexpr double kPi = 3.14159265358979323846;
  constexpr double kRad = kPi / 180;
  constexpr double a = 6378.14, b = 6356.755;
  std::mt19937 rng(20240601);
  int checked = 0;
  for (int i = 0; i < 20000; ++i) {
    const auto from = randomLocator(rng);
    const auto to = randomLocator(rng);
    if (std::fabs(from.lat) > 80 || std::fabs(to.lat) > 80) continue;
    const double p1 = from.lat * kRad, p2 = to.lat * kRad, dl = (to.lon - from.lon) * kRad;
    const double h = std::pow(std::sin((p2 - p1) / 2), 2) +
                     std::cos(p1) * std::cos(p2) * std::pow(std::sin(dl / 2), 2);
    const double central = 2 * std::asin(std::sqrt(h));
    if (central < 0.001 || central > kPi - 0.1) continue;  // same area, or near the antipode

    std::string grid = to.text;
    double km = 0;
    ASSERT_EQ(calcBeamHeading(grid, km, from.text, "kM"), BeamStatus::Ok) << from.text << to.text;
    const int heading = headingOf(grid, 6);
    ASSERT_GE(heading, 0);
    ASSERT_LE(heading, 360);

    double bearing =
        std::atan2(std::sin(dl) * std::cos(p2),
                   std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl)) /
        kRad;
    if (bearing < 0) bearing += 360;
    double diff = std::fabs(heading - bearing);
    diff = std::min(diff, 360 - diff);
    EXPECT_LE(diff, 0.5 + 1e-6) << from.text << " -> " << to.text << " heading " << heading
                                << " bearing " << bearing;

    EXPECT_GE(km, central * (b * b / a) - 1e-6) << from.text << " -> " << to.text;
    EXPECT_LE(km, central * (a * a / b) + 1e-6) << from.text << " -> " << to.text;
    ++checked;
  }
  EXPECT_GT(checked, 10000);
}

}  // namespace
}  // namespace kelpie
