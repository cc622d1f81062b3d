// Damaged, odd and missing data files: Kelpie reads what it can, tells the operator where that
// helps, goes on with the net, and never loses what a file held.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "data/checkin_log.h"
#include "data/roster.h"
#include "geo/locator.h"
#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

const Lines kHeader{
    "222 MHz", "W1NC", "1/2/2020", "initial check-in date", "last check-in date", "old call sign"};

Lines concat(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// ---- the roster ------------------------------------------------------------------------------

// A line-form roster whose fields begin with a double quote or hold commas is still the
// current form: reading it as the old quoted form would shift every later field.
TEST(DamagedRoster, QuotesAndCommasInFieldsDoNotMakeItTheOldForm) {
  Rig rig;
  rig.writeSettings();
  const Lines stations{
      "K1ABC", "\"BUD\" SMITH", "ALBANY, NY", "1/1/2021", "2/2/2022", "-", "\"N2XYZ",
      "AL",    "\"TROY\"",      "1/1/2021",   "2/2/2022", "-"};
  rig.write("NETCONT.ROL", concat(kHeader, stations));
  ASSERT_TRUE(rig.start());
  EXPECT_TRUE(rig.dialogs.messages().empty());
  ASSERT_EQ(rig.session.roster.count(), 3);
  EXPECT_EQ(rig.session.roster.row(2).name, "\"BUD\" SMITH");
  EXPECT_EQ(rig.session.roster.row(3).callSign, "\"N2XYZ");
  rig.enter("\"n2xyz");  // found in the roster: no first-time check-in
  EXPECT_EQ(rig.session.checkIns.field(1, 4), "1/1/2021");
  rig.session.mExit_Click();
  Lines expected = concat(kHeader, stations);
  expected[6 + 6 + 4] = "12/5/2026";  // the latest check-in of "N2XYZ
  EXPECT_EQ(rig.read("NETCONT.ROL"), joinCrLf(expected));
  EXPECT_FALSE(rig.exists("NETCONT.ROL.bad"));
}

}  // namespace
}  // namespace kelpie::test
