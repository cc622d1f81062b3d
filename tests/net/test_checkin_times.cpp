// The times file beside today's log: each time stays with its check-in, whatever happens to it.
#include <gtest/gtest.h>

#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

void edit(Rig& r, int line, void (Session::*command)(), const std::string& answer) {
  r.session.selectLine(line), r.session.CheckIns_MouseDown(2);
  r.dialogs.inputAnswers = {answer};
  (r.session.*command)();
}

// A re-start the same day over the times file given (the one there when empty), one more check-in.
void restart(Rig& r, const std::string& times) {
  if (!times.empty()) r.writeBytes("120526F.TIM", times);
  Session again{r.platform, r.folder.path()};
  ASSERT_TRUE(again.Form_Load());
  again.view.entryText = "W1DDD";
  int key = kKeyEnter;
  again.CallSignInput_KeyPress(key);
  EXPECT_EQ(r.read("120526F.ILE"),
            "W1AAA\r\n\r\n\r\nW1BBB\r\n\r\n\r\nW1CCC\r\n\r\n\r\nW1DDD\r\n\r\n\r\n");
}

TEST(CheckInTimes, EachTimeStaysWithItsCheckIn) {
  const std::string a = "W1AAA\t2026-12-06T01:30:00Z\r\n", b = "\t2026-12-06T01:31:00Z\tin&out\r\n",
                    c = "W1CCC\t2026-12-06T01:32:00Z\r\n", d = "W1DDD\t2026-12-06T01:33:00Z\r\n";
  const std::pair<std::function<void(Rig&)>, std::string> rows[] = {
      {[](Rig& r) { r.enter("D2"); }, a + c},
      {[](Rig& r) { r.enter("DL"); }, a + "W1BBB" + b},
      {[](Rig& r) { edit(r, 0, &Session::mnuPopUpName_Click, "ann"); }, a + "W1BBB" + b + c},
      {[](Rig& r) { edit(r, 1, &Session::mnuPopUpCall_Click, "w1xyz"); }, a + "W1XYZ" + b + c},
      {[](Rig& r) { restart(r, ""); }, a + "W1BBB" + b + c + d},
      {[](Rig& r) {  // out of order, a bad time
         restart(r, "W1CCC\t2026-12-06T09:00:00Z\r\nW1AAA\tx\r\nW1BBB\t2026-01-31T23:59:59Z\r\n");
       },
       "W1AAA\t\r\nW1BBB\t2026-01-31T23:59:59Z\r\nW1CCC\t\r\n" + d},
  };
  for (size_t k = 0; k < std::size(rows); ++k) {
    SCOPED_TRACE(k);
    Rig rig;
    ASSERT_TRUE(rig.start());
    for (const char* call : {"W1AAA", "W1BBB-", "W1CCC"}) rig.enter(call), ++rig.clock.utc.minute;
    rows[k].first(rig);
    EXPECT_EQ(rig.read("120526F.TIM"), rows[k].second);
  }
}

}  // namespace
}  // namespace kelpie::test
