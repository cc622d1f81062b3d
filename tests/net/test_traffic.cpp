// A traffic net's commands: "T#", "P#", "R#", "V#", the popup's tactical call and relay, the
// side file they are kept in, and the forms of the entry line that keep their old meaning.
#include <gtest/gtest.h>

#include "net/spoken.h"
#include "net/traffic.h"
#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

// A started net with K10X, K11X, K12X, each a minute after the last.
struct TrafficNet : Rig {
  TrafficNet() {
    EXPECT_TRUE(start());
    for (const char* call : {"K10X", "K11X", "K12X"}) enter(call), ++clock.utc.minute;
  }
  void popup(int line, void (Session::*command)(), const std::string& answer) {
    session.selectLine(line), session.CheckIns_MouseDown(2);
    dialogs.inputAnswers = {answer};
    (session.*command)();
  }
  // The list's lines past the check-in's own text, what was said last, the hint and each box.
  std::string seen() {
    std::string s;
    for (const std::string& line : session.view.lines)
      s +=
          (line.find("   <") == std::string::npos ? "-" : line.substr(line.find("   <") + 3)) + "|";
    s += session.view.entryText + "\n" + session.view.spoken + "\n" + session.view.label3 + "\n";
    for (const ShownBox& b : dialogs.shown)
      s += b.title + " / " + b.text + " / " + b.defaultText + "\n";
    dialogs.shown.clear();
    return s;
  }
};

// Each block of net/traffic_entries: a line of the entries typed and the input boxes' answers
// ("== " entries, a tab, answers; ";" between), then what they came to.
TEST(TrafficNet, EntriesAndAnswersToTheirEffects) {
  const std::string want = golden("net/traffic_entries");
  std::string got;
  for (const std::string& row : splitLines(want)) {
    if (!row.starts_with("== ")) continue;
    const auto items = [](const std::string& list) {  // "" none, "a;" a and an empty one
      Lines out;
      size_t from = 0;
      for (size_t at; (at = list.find(';', from)) != std::string::npos; from = at + 1)
        out.push_back(list.substr(from, at - from));
      if (!list.empty()) out.push_back(list.substr(from));
      return out;
    };
    const size_t tab = row.find('\t');
    TrafficNet net;
    net.dialogs.shown.clear();
    for (const std::string& a : items(row.substr(tab + 1))) net.dialogs.inputAnswers.push_back(a);
    net.dialogs.messageAnswers = {Answer::OK};
    got += row + "\n";
    for (const std::string& t : items(row.substr(3, tab - 3))) net.enter(t);
    got += net.seen();
    for (int i = 1; i <= net.session.checkIns.count; ++i)
      got += net.session.checkIns.field(i, 1) + " ";
    got += "\n";
  }
  EXPECT_EQ(got, want);
}

TEST(TrafficNet, TacticalCallsAndRelaysFromThePopup) {
  TrafficNet net;
  Session& s = net.session;
  net.dialogs.shown.clear();
  std::string got;
  for (const std::string& answer : Lines{"?EOC", "AB1", "N 1 X", std::string(41, 'E'), "ABC1",
                                         std::string(40, 'E'), "eoc", "A1B", "E 1", "shelter 1"}) {
    net.popup(1, &Session::mnuPopUpTactical_Click, answer);
    got += net.seen();
  }
  net.popup(0, &Session::mnuPopUpTactical_Click, "Shelter 1");  // another's: refused
  net.popup(2, &Session::mnuPopUpRelay_Click, "k11x");
  got += net.seen();
  net.enter("SHELTER1");  // a tactical call typed stands for its station
  got += std::to_string(s.view.selected) + net.seen();
  net.enter("eoc");  // no longer anyone's: refused as a callsign as before
  got += net.seen();
  EXPECT_EQ(got, golden("net/traffic_tactical"));
  EXPECT_EQ(s.checkIns.count, 3);
}

TEST(TrafficNet, SideFileWrittenReadBackAndQuitAsksAboutUnpassedTraffic) {
  TrafficNet net;
  Session& s = net.session;
  EXPECT_FALSE(net.exists("120526F.TRF"));  // a net without facts leaves no side file
  net.dialogs.messageAnswers = {Answer::OK};
  EXPECT_TRUE(s.Form_Unload());
  EXPECT_EQ(net.dialogs.boxes().find("Traffic"), std::string::npos);
  net.dialogs.inputAnswers = {"2 P Boston", "k1abc", "Needs a ride\x85", "1 r W2XYZ"};
  net.enterAll({"T1", "P1", "R3", "T3"});
  net.dialogs.inputAnswers = {"w9zz"};
  net.enter("V2");
  const std::string side = net.read("120526F.TRF");
  EXPECT_EQ(side, golden("net/traffic_side_file"));
  const std::string log = net.read("120526F.ILE");
  EXPECT_EQ(log, "K10X\r\n\r\n\r\nK11X\r\n\r\n\r\nK12X\r\n\r\n\r\n");  // the log keeps its form

  net.dialogs.shown.clear();
  net.dialogs.messageAnswers = {Answer::No, Answer::Yes, Answer::OK};
  EXPECT_FALSE(s.Form_Unload());
  EXPECT_TRUE(s.Form_Unload());
  EXPECT_EQ(net.dialogs.boxes(),
            " Traffic not passed / 1 station with traffic not yet passed: K12X.\r\n\r\nQuit Kelpie "
            "all the same?\n Traffic not passed / 1 station with traffic not yet passed: K12X."
            "\r\n\r\nQuit Kelpie all the same?\n Quit software... /  Click <OK> to quit Kelpie."
            "\r\n\r\nOtherwise - <Space> or <Enter> as default.\n");

  // A re-start the same day gives every check-in its facts back, and writes the same file.
  Session again{net.platform, net.folder.path()};
  ASSERT_TRUE(again.Form_Load());
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(again.checkIns.row(i).facts, s.checkIns.row(i).facts);
  again.view.entryText = "D2";
  int key = kKeyEnter;
  again.CallSignInput_KeyPress(key);
  EXPECT_EQ(net.read("120526F.TRF"),
            side.substr(0, side.find("K11X")) + side.substr(side.find("K12X")));
  mReadNet_Click(again);
  EXPECT_EQ(again.view.spoken,
            "2 check-ins. The last, newest first: 2, K12X, 1 routine traffic for W2XYZ, remark: "
            "Needs a ride\x85; 1, K10X, 2 priority traffic for Boston, passed to K1ABC. 1 station "
            "with traffic not yet passed");
}

TEST(TrafficNet, SideFileLinesThatAreNoneAreLeftOut) {
  const Lines lines = {
      "K1A\t2\tP\tBoston\t2026-12-06T01:30:00Z\t\t\t\t\t\t\t\t",
      "K1B\t0\t\t\t\t\t\tEOC\t2026-12-06T01:31:00Z\t\t\t\t",
      "K1C\t0\tP\t\t\t\t\t\t\t\t\t\t",                      // a precedence without traffic
      "K1D\t100\tP\t\t\t\t\t\t\t\t\t\t",                    // too many
      "K1E\t1\tX\t\t\t\t\t\t\t\t\t\t",                      // no precedence
      "K1F\t1\tR\t\t2026-13-01T00:00:00Z\t\t\t\t\t\t\t\t",  // no time
      "K1G\t1\tR\t\t\t\t\t\t\t\t\t",                        // a field short
      "\t1\tR\t\t\t\t\t\t\t\t\t\t",                         // no callsign
  };
  const std::vector<FactsRow> rows = parseFactsLines(lines);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(factsLines(rows), Lines(lines.begin(), lines.begin() + 2));
  TempFolder dir;
  writeLinesAtomic(dir / "120526F.trf", {lines[1], lines[0], "K1A\t1\tE\t\t\t\t\t\t\t\t\t\t"});
  const std::vector<CheckInFacts> got =
      readFactsFor(dir / "120526F.ILE", {"K1A", "K1X", "K1B", "K1A"});
  EXPECT_EQ(got[0].count, 2);
  EXPECT_TRUE(got[1].empty());
  EXPECT_EQ(got[2].tactical, "EOC");
  EXPECT_EQ(got[3].precedence, 'E');
  EXPECT_TRUE(readFactsFor(dir / "010126F.ILE", {"K1A"})[0].empty());
}

}  // namespace
}  // namespace kelpie::test
