// What a screen reader is given to say after each kind of command, and how often.
#include <gtest/gtest.h>

#include <sstream>

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

// Each line of net/spoken.txt: the entries typed first ("-" none), the last one ("*read" Tools >
// Read the net so far, "*roster" Edit > Net Control file, "*change" the callsign change of K1ABC
// to W9NEW), the answers of its message boxes, then what is to be said after it and how many
// texts it gave to be said.
TEST(Spoken, EachKindOfResult) {
  const std::string rows = golden("net/spoken.txt");
  std::string got;
  for (const std::string& row : splitLines(rows)) {
    std::istringstream fields(row);
    std::string before, last, answers, word;
    if (!std::getline(fields, before, '\t') || !std::getline(fields, last, '\t') ||
        !std::getline(fields, answers, '\t'))
      continue;
    Heard rig;
    for (std::istringstream typed(before); typed >> word;)
      if (word != "-") rig.enter(word);
    for (std::istringstream said(answers); said >> word;)
      if (word != "-")
        rig.dialogs.messageAnswers.push_back(word == "OK" ? Answer::OK : Answer::Cancel);
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
    got += before + "\t" + last + "\t" + answers + "\t" + v.spoken + "\t" +
           toDec(v.spokenRequests - requests) + "\n";
  }
  EXPECT_EQ(got, rows);
  EXPECT_EQ(spokenListLine("12  <Ack> in&out  K1ABC   BOB", 11, 12),
            "12 of 12, 12 acknowledged in and out K1ABC BOB");
  EXPECT_EQ(spokenListLine("  Enter Call or Call- for in&&out  ", 0, 1),
            "1 of 1, Enter Call or Call- for in and out");
}

}  // namespace
}  // namespace kelpie::test
