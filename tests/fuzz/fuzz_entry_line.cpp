// Fuzzes key sequences on a running net (bytes are keys; 0xF5, 0xF6, 0xF7 answer a box, set the
// Options items, click a mode button; 0xF8 and the bytes up to a zero answer the next input box,
// which is otherwise cancelled): the log and side file on disk and the roster written follow
// the net, and only a traffic net's commands ask anything.
#include "data/roster.h"
#include "fuzz_harness.h"

namespace kelpie::fuzz {

void run(std::string_view in) {
  test::Rig rig;
  rig.writeRoster({{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", "-"},
                   {"N2XYZ", "AL", "Troy, NY", "3/3/2023", "3/4/2023", "W2OLD"},
                   {"D1X", "DEE", "-", "1/1/2021", "1/1/2021", "-"}});
  rig.writeBytes("BURROW.DAT", "W2CLB\r\nCARL\r\nALBANY NY\r\nKA1\xC9\r\n\xC9MILE\r\nQU\xC9\r\n");
  rig.writeBytes("ck2list.dat", "N9NAM  ALICE\r\nW2CLB  CARLOS\r\n");
  rig.writeBytes("vhf4k.adi",
                 "<CALL:5>W2CLB, <GRIDSQUARE:4>FN32 <EOR>\r\n"
                 "<CALL:5>N9NAM, <GRIDSQUARE:6>EM12aa <EOR>\r\n");
  if (!rig.start()) return;
  Session& s = rig.session;
  const auto checkLog = [&] {  // today's log on disk, byte for byte, is the check-ins held
    Lines want;
    for (int i = 1; i <= s.checkIns.count; ++i) {
      const auto& f = s.checkIns.row(i).f;
      want.insert(want.end(), {f[1], f[2], f[3]});
    }
    FUZZ_CHECK(rig.read("120526F.ILE") == joinCrLf(want));
    std::vector<FactsRow> facts;
    for (int i = 1; i <= s.checkIns.count; ++i)
      if (!s.checkIns.row(i).facts.empty())
        facts.push_back({s.checkIns.field(i, 1), s.checkIns.row(i).facts});
    if (!facts.empty() || rig.exists("120526F.TRF"))
      FUZZ_CHECK(rig.read("120526F.TRF") == joinCrLf(factsLines(facts)));
  };
  size_t at = 0;
  const auto next = [&] { return at < in.size() ? static_cast<uint8_t>(in[at++]) : uint8_t{0}; };
  int enters = 0;
  while (at < in.size()) {
    const uint8_t b = next();
    if (b == 0xF5) {  // the next byte answers the next message box
      rig.dialogs.messageAnswers.push_back(Answer(next() % 4));
    } else if (b == 0xF6) {  // the next byte picks the Options items
      const uint8_t o = next();
      (o & 1) ? s.mEnterModes_Click() : s.mACModes_Click();
      (o & 2) ? s.mUseNumberModes_Click() : s.mUseSpaceBarModes_Click();
    } else if (b == 0xF7) {  // the next byte clicks Ack or Comment
      (next() & 1) ? s.selectComment() : s.selectAck();
    } else if (b == 0xF8) {
      std::string answer;
      for (uint8_t c; (c = next()) != 0;) answer += char(c);
      rig.dialogs.inputAnswers.push_back(answer);
    } else {
      if (rig.dialogs.inputAnswers.empty()) rig.dialogs.inputAnswers.push_back("");
      s.Form_KeyDown(b, 0);
      int key = b;
      s.CallSignInput_KeyPress(key);
      // What the entry line keeps of a key; a line edit never holds a line end.
      if (key != 0 && key != '\n' && key != '\r') s.view.entryText += char(key);
      if (b == kKeyEnter) FUZZ_CHECK(s.view.entryText.empty()), checkLog(), ++enters;
    }
    FUZZ_CHECK(s.checkIns.count >= 0 && s.checkIns.count <= enters);
    FUZZ_CHECK(s.view.selected >= -1 && s.view.selected < int(s.view.lines.size()));
  }
  for (const test::ShownBox& box : rig.dialogs.inputs())
    FUZZ_CHECK(box.title == " Traffic" || box.title == " Passed" || box.title == " Remark" ||
               box.title == " Relayed by");
  checkLog();
  s.mExit_Click();  // the roster on disk is the roster held, with every station of the day
  const RosterParse onDisk = parseRoster(splitLines(rig.read("NETCONT.ROL")));
  FUZZ_CHECK(!onDisk.quoted && !onDisk.incomplete &&
             rosterLines(onDisk.roster) == rosterLines(s.roster));
  for (int i = 1; i <= s.checkIns.count; ++i)
    FUZZ_CHECK(
        std::any_of(onDisk.roster.rows.begin() + 1, onDisk.roster.rows.end(),
                    [&](const RosterEntry& e) { return e.callSign == s.checkIns.field(i, 1); }));
}

}  // namespace kelpie::fuzz
