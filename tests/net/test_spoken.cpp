// What a screen reader is given to say after each kind of command, and how often.
#include <gtest/gtest.h>

#include "net/spoken.h"
#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

struct Heard : Rig {
  Heard() {
    writeRoster({{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", "-"},
                 {"N2XYZ", "AL", "BOSTON  FN42  45\xB0", "3/3/2023", "4/4/2024", "-"}});
    write("BURROW.DAT", {"W2CLB", "CARL", "ALBANY NY"});
    write("ck2list.dat", {"W2CLB  CARLOS", "K1AAA  ANN", "K1BBB  BEN", "K1CCC  CID"});
    write("vhf4k.adi",
          {"<CALL:5>W2CLB, <GRIDSQUARE:4>FN32 <EOR>", "<CALL:5>N5GRD, <GRIDSQUARE:4>FN20"});
    EXPECT_TRUE(start());
  }
};

// Each row: the entries typed first, the last one ("*read" Tools > Read the net so far,
// "*roster" Edit > Net Control file, "*change" the callsign change of K1ABC to W9NEW), the answers
// of its message boxes, then what is to be said after it and how many texts it gave to be said.
TEST(Spoken, EachKindOfResult) {
  // clang-format off
  const std::tuple<Lines, std::string, std::deque<Answer>, std::string, int> rows[] = {
      {{}, "k1abc", {}, "1, K1ABC, BOB, FN20", 1},
      {{}, "N2XYZ", {}, "1, N2XYZ, AL, BOSTON FN42 45 degrees", 1},
      {{"K1ABC"}, "w2clb-", {}, "2, W2CLB, in and out, CARLOS, ALBANY NY, first time, grid FN32, heading 17 degrees", 1},
      {{}, "N8NON", {}, "1, N8NON, first time", 1},
      {{}, "N5GRD", {}, "1, N5GRD, first time, grid FN20, heading 304 degrees", 1},
      {{}, "abcd", {}, "", 0},  // the box says it
      {{"K1ABC", "N2XYZ"}, "D1", {}, "Deleted 1, K1ABC", 1},
      {{"K1ABC", "N2XYZ"}, "D3", {}, "No check-in 3", 1},
      {{"K1ABC", "N2XYZ"}, "0", {}, "No check-in 0", 1},
      {{"K1ABC", "N2XYZ"}, "DL", {Answer::OK}, "Deleted 2, N2XYZ", 1},
      {{"K1ABC", "N2XYZ"}, "DL", {Answer::Cancel}, "Nothing deleted", 1},
      {{}, "DL", {}, "No check-in to delete", 1},
      {{"K1ABC", "N2XYZ"}, "2", {}, "2, N2XYZ, acknowledged", 1},
      {{"K1ABC", "N2XYZ", "C"}, "2", {}, "2, N2XYZ, comments", 1},
      {{"K1ABC", "1"}, "C1", {}, "1, K1ABC, acknowledgement cleared", 1},
      {{"K1ABC", "C", "1"}, "C1", {}, "1, K1ABC, comments cleared", 1},
      {{"K1ABC"}, "C", {}, "Enter # to mark for Comments", 1},
      {{"K1ABC"}, "?*2*", {}, "2 stations found. 1. N2XYZ AL BOSTON FN42 45 degrees 4/4/2024. 2. W2CLB CARL ALBANY NY club list", 1},
      {{"K1ABC"}, "?K1*", {}, "4 stations found. 1. checked in K1ABC BOB FN20 2/2/2022. 2. K1AAA ANN name list. 3. K1BBB BEN name list. And 1 more", 1},
      {{}, "?Q*", {}, "No station in the roster, club list or name list fits Q*", 1},
      {{}, "?*B*", {}, "3 stations found. 1. K1ABC BOB FN20 2/2/2022. 2. W2CLB CARL ALBANY NY club list. 3. K1BBB BEN name list", 1},
      {{"?*2*"}, "2", {}, "1, W2CLB, CARLOS, ALBANY NY, first time, grid FN32, heading 17 degrees", 1},
      {{"?*2*"}, "3", {}, "No station 3", 1},
      {{}, "*read", {}, "No check-ins yet", 1},
      {{}, "*roster", {}, "The roster, 2 stations. Hit Escape when done editing", 1},
      {{"K1ABC"}, "*read", {}, "1 check-in. It is 1, K1ABC, BOB, FN20", 1},
      {{"K1ABC", "N2XYZ-", "N8NON", "W2CLB"}, "*read", {}, "4 check-ins. The last, newest first: 4, W2CLB, CARLOS, ALBANY NY, first time, grid FN32, heading 17 degrees; 3, N8NON, first time; 2, N2XYZ, in and out, AL, BOSTON FN42 45 degrees", 1},
      {{"K1ABC"}, "*change", {}, "K1ABC the old call, BOB, FN20, 1/1/2021, 2/2/2022, changed to this:, W9NEW the new call, BOB, FN20, 1/1/2021, 2/2/2022, K1ABC the old call", 1},
  };
  // clang-format on

  for (const auto& [before, last, answers, said, times] : rows) {
    SCOPED_TRACE(last);
    Heard rig;
    rig.enterAll(before);
    rig.dialogs.messageAnswers = answers;
    const MainView& v = rig.session.view;
    const int requests = v.spokenRequests;
    if (last == "*read") {
      mReadNet_Click(rig.session);
    } else if (last == "*roster") {
      rig.session.mEditNetControl_Click();
    } else if (last == "*change") {
      rig.dialogs.inputAnswers = {"k1abc", "w9new"};
      rig.session.mUpdateToNewCall_Click();
    } else {
      rig.enter(last);
    }
    EXPECT_EQ(v.spokenRequests - requests, times);
    EXPECT_EQ(v.spoken, said);
  }
}

TEST(Spoken, ListLinesInWords) {
  EXPECT_EQ(spokenListLine("12  <Ack> in&out  K1ABC   BOB", 11, 12),
            "12 of 12, 12 acknowledged in and out K1ABC BOB");
  EXPECT_EQ(spokenListLine("  Enter Call or Call- for in&&out  ", 0, 1),
            "1 of 1, Enter Call or Call- for in and out");
}

}  // namespace
}  // namespace kelpie::test
