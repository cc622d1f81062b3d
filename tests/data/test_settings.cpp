#include <gtest/gtest.h>

#include "data/settings.h"

namespace kelpie {
namespace {

NetSettings read(const Lines& lines) {
  NetSettings s;
  s.netControlCall = "PRIOR";
  s.logFolder = "/prior";
  resetSettingsDefaults(s);
  applySettingsLines(lines, s);
  return s;
}

TEST(SettingsFile, WrittenLayoutIsTheTwentyThreeLinesExactly) {
  NetSettings s;
  s.logFolder = "/home/op/logs";
  s.netControlCall = "W1NC";
  s.netBand = "222 MHz";
  s.netControlGrid = "FN20XA";
  const std::string bytes = joinCrLf(settingsFileLines(s));
  EXPECT_EQ(bytes,
            "// KelpieW Marten Net Control for Windows\r\n"
            "// Kelpie v2.1 settings, written by Kelpie for Linux\r\n"
            "[Path to check-in log files]\r\n/home/op/logs\r\n"
            "[Net Control`s Call]\r\nW1NC\r\n"
            "[Band for this Net]\r\n222 MHz\r\n"
            "// To change between Acknowledge and Comments\r\n"
            "[Use the <Enter> key + shortcuts]\r\nNo\r\n"
            "// Miles or kM in file write function\r\n"
            "[Use Miles or kM]\r\nMiles\r\n"
            "// Path ex: C:\\Program Files\\Internet Exploror\\iexplore\r\n"
            "[Path to web browser]\r\n\r\n"
            "// To mark Acknowledge and Comments\r\n"
            "[Use the <Enter> key + shortcuts to mark]\r\nYes\r\n"
            "// Calculate beam heading from ADIF data\r\n"
            "[NetControl 6-digit Grid]\r\nFN20XA\r\n");
}

TEST(SettingsFile, RoundTripKeepsEveryValue) {
  NetSettings s;
  s.logFolder = "C:\\Net";
  s.netControlCall = "k1abc";
  s.netBand = "50 MHz";
  s.distanceUnit = "kM";
  s.distanceKm = true;
  s.browserPath = "/usr/bin/firefox";
  s.netControlGrid = "fn31";
  s.enterModes = true;
  s.spaceBarModes = false;
  const NetSettings r = read(settingsFileLines(s));
  EXPECT_EQ(r.logFolder, s.logFolder);
  EXPECT_EQ(r.netControlCall, "k1abc");  // stored as written, no case change
  EXPECT_EQ(r.netBand, s.netBand);
  EXPECT_EQ(r.distanceUnit, "kM");
  EXPECT_TRUE(r.distanceKm);
  EXPECT_EQ(r.browserPath, s.browserPath);
  EXPECT_EQ(r.netControlGrid, "fn31");
  EXPECT_TRUE(r.enterModes);
  EXPECT_FALSE(r.spaceBarModes);
}

struct KeyRow {
  const char* name;
  Lines lines;
  std::string call;
  std::string unit;
  bool km;
  bool enter;
  bool space;
};

class SettingsKeys : public ::testing::TestWithParam<KeyRow> {};

TEST_P(SettingsKeys, AreReadByTheirRules) {
  const KeyRow& row = GetParam();
  const NetSettings s = read(row.lines);
  EXPECT_EQ(s.netControlCall, row.call);
  EXPECT_EQ(s.distanceUnit, row.unit);
  EXPECT_EQ(s.distanceKm, row.km);
  EXPECT_EQ(s.enterModes, row.enter);
  EXPECT_EQ(s.spaceBarModes, row.space);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SettingsKeys,
    ::testing::Values(
        KeyRow{"CapitalKey", {"[NET CONTROL`S CALL]", "N1XX"}, "N1XX", "Miles", false, false, true},
        KeyRow{"LeadingSpace",
               {" [Net Control`s Call]", "N1XX"},
               "PRIOR",
               "Miles",
               false,
               false,
               true},
        KeyRow{"TrailingSpace",
               {"[Net Control`s Call] ", "N1XX"},
               "PRIOR",
               "Miles",
               false,
               false,
               true},
        KeyRow{"ApostropheIsNotTheGrave",
               {"[Net Control's Call]", "N1XX"},
               "PRIOR",
               "Miles",
               false,
               false,
               true},
        KeyRow{"LowerKm", {"[Use Miles or kM]", "km"}, "PRIOR", "km", false, false, true},
        KeyRow{"ExactKm", {"[Use Miles or kM]", "kM"}, "PRIOR", "kM", true, false, true},
        KeyRow{"EnterYesCapitals",
               {"[Use the <Enter> key + shortcuts]", "YES"},
               "PRIOR",
               "Miles",
               false,
               true,
               true},
        KeyRow{"EnterOther",
               {"[Use the <Enter> key + shortcuts]", "Y"},
               "PRIOR",
               "Miles",
               false,
               false,
               true},
        KeyRow{"MarkEmpty",
               {"[Use the <Enter> key + shortcuts to mark]", ""},
               "PRIOR",
               "Miles",
               false,
               false,
               false},
        KeyRow{"MarkYesAnyCase",
               {"[Use the <Enter> key + shortcuts to mark]", "yEs"},
               "PRIOR",
               "Miles",
               false,
               false,
               true},
        KeyRow{"KeyOnLastLine", {"[Net Control`s Call]"}, "PRIOR", "Miles", false, false, true},
        KeyRow{"KeyTwiceLastWins",
               {"[Net Control`s Call]", "N1XX", "// c", "[Net Control`s Call]", "N2YY"},
               "N2YY",
               "Miles",
               false,
               false,
               true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsFile, ValueLineIsNotTakenAsAKey) {
  // The value line after a key is consumed even when it looks like a key itself.
  const NetSettings s = read({"[Band for this Net]", "[Net Control`s Call]", "N9ZZ"});
  EXPECT_EQ(s.netBand, "[Net Control`s Call]");
  EXPECT_EQ(s.netControlCall, "PRIOR");
}

}  // namespace
}  // namespace kelpie
