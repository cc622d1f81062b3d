// Fuzzes the entry line with random key sequences over a running net. Bytes are keys typed
// into the entry line (Enter, Space and Esc among them); a few byte values stand for the
// operator's other moves: answering a box, switching the Options items, clicking a mode
// button. After every key today's log on disk holds exactly today's check-ins, and at the end
// the roster Kelpie writes reads back as the roster it holds, with every station of the day.
#include <algorithm>

#include "data/checkin_log.h"
#include "data/roster.h"
#include "fuzz_support.h"
#include "support/fake_platform.h"

using namespace kelpie;

namespace {
constexpr uint8_t kAnswer = 0xF5;   // the next byte answers the next message box
constexpr uint8_t kOptions = 0xF6;  // the next byte picks the Options items
constexpr uint8_t kMode = 0xF7;     // the next byte clicks Ack or Comment

void pressKey(Session& s, int code) {
  s.Form_KeyDown(code, 0);
  int key = code;
  s.CallSignInput_KeyPress(key);
  // What the entry line keeps of a key; a line edit never holds a line end.
  if (key != 0 && key != '\n' && key != '\r') s.view.entryText += static_cast<char>(key);
}

void checkLogMatchesTable(test::Rig& rig) {
  Session& s = rig.session;
  const LogRead onDisk = readLogLineForm(rig.folder / "120526F.ILE");
  KELPIE_FUZZ_CHECK(onDisk.ok && !onDisk.cutShort);
  KELPIE_FUZZ_CHECK(onDisk.records.size() == static_cast<size_t>(s.checkIns.count));
  for (int i = 1; i <= s.checkIns.count; ++i) {
    const LogRecord& r = onDisk.records[static_cast<size_t>(i - 1)];
    const auto& f = s.checkIns.row(i).f;
    KELPIE_FUZZ_CHECK(r.callSign == f[1] && r.name == f[2] && r.qth == f[3]);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  test::Rig rig;
  rig.writeRoster({{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", "-"},
                   {"N2XYZ", "AL", "Troy, NY", "3/3/2023", "3/4/2023", "W2OLD"},
                   {"D1X", "DEE", "-", "1/1/2021", "1/1/2021", "-"}});
  rig.write("BURROW.DAT", {"W2CLB", "CARL", "ALBANY NY", "KA1\xC9", "\xC9MILE", "QU\xC9"});
  rig.write("ck2list.dat", {"N9NAM  ALICE", "W2CLB  CARLOS"});
  rig.write("vhf4k.adi", {"<CALL:5>W2CLB, <GRIDSQUARE:4>FN32 <EOR>",
                          "<CALL:5>N9NAM, <GRIDSQUARE:6>EM12aa <EOR>"});
  rig.writeSettings();
  if (!rig.session.Form_Load()) return 0;
  Session& s = rig.session;

  fuzz::ByteReader keys(fuzz::asText(data, size));
  int enters = 0;
  while (!keys.empty()) {
    const uint8_t b = keys.next();
    if (b == kAnswer) {
      static constexpr Answer answers[] = {Answer::OK, Answer::Cancel, Answer::Yes, Answer::No};
      rig.dialogs.messageAnswers.push_back(answers[keys.next() % 4]);
    } else if (b == kOptions) {
      const uint8_t o = keys.next();
      (o & 1) ? s.mEnterModes_Click() : s.mACModes_Click();
      (o & 2) ? s.mUseNumberModes_Click() : s.mUseSpaceBarModes_Click();
    } else if (b == kMode) {
      (keys.next() & 1) ? s.selectComment() : s.selectAck();
    } else {
      pressKey(s, b);
      if (b == kKeyEnter) {
        ++enters;
        KELPIE_FUZZ_CHECK(s.view.entryText.empty());
        checkLogMatchesTable(rig);
      }
    }
    KELPIE_FUZZ_CHECK(s.checkIns.count >= 0 && s.checkIns.count <= enters);
    KELPIE_FUZZ_CHECK(s.checkIns.rows.size() > static_cast<size_t>(s.checkIns.count));
    KELPIE_FUZZ_CHECK(s.view.selected >= -1 &&
                      s.view.selected < static_cast<int>(s.view.lines.size()));
  }
  KELPIE_FUZZ_CHECK(rig.dialogs.inputs().empty());
  checkLogMatchesTable(rig);

  // Quit: the roster on disk is the roster held, and holds every station of the day.
  s.mExit_Click();
  const RosterParse onDisk = parseRoster(splitLines(rig.read("NETCONT.ROL")));
  KELPIE_FUZZ_CHECK(!onDisk.quoted && !onDisk.incomplete);
  KELPIE_FUZZ_CHECK(fuzz::sameRows(onDisk.roster, s.roster));
  for (int i = 1; i <= s.checkIns.count; ++i) {
    const std::string& call = s.checkIns.field(i, 1);
    KELPIE_FUZZ_CHECK(std::any_of(onDisk.roster.rows.begin() + 1, onDisk.roster.rows.end(),
                                  [&](const RosterEntry& e) { return e.callSign == call; }));
  }
  return 0;
}
