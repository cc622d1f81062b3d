// Fuzzes the roster reader in both forms, alone and through the start-up that converts the
// old form: whole records are kept byte for byte, what Kelpie writes it reads back the same,
// and a damaged old-form file is kept beside it before it is rewritten.
#include <algorithm>

#include "data/roster.h"
#include "fuzz_support.h"

using namespace kelpie;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string in(fuzz::asText(data, size));
  const Lines lines = splitLines(in);
  const RosterParse p = parseRoster(lines);
  if (!p.quoted) {
    const Lines back = rosterLines(p.roster);
    KELPIE_FUZZ_CHECK(back.size() <= lines.size() &&
                      std::equal(back.begin(), back.end(), lines.begin()));
    KELPIE_FUZZ_CHECK(p.incomplete == std::any_of(lines.begin() + long(back.size()), lines.end(),
                                                  [](const std::string& l) { return !l.empty(); }));
  }
  test::Rig rig;
  rig.writeSettings();
  rig.writeBytes("NETCONT.ROL", in);
  rig.dialogs.inputAnswers = {"222 MHz", "W1NC"};  // the first-run questions of an empty file
  KELPIE_FUZZ_CHECK(rig.session.Form_Load());
  const Roster& held = rig.session.roster;
  const RosterParse onDisk = parseRoster(splitLines(rig.read("NETCONT.ROL")));
  if (p.quoted || in.empty()) {
    const RosterEntry& h = held.row(1);
    KELPIE_FUZZ_CHECK(h.initialCheckInDate == "initial check-in date" &&
                      h.lastCheckInDate == "last check-in date" &&
                      h.oldCallSign == "old call sign");
    KELPIE_FUZZ_CHECK(!onDisk.quoted && !onDisk.incomplete && fuzz::sameRows(onDisk.roster, held));
  } else {
    KELPIE_FUZZ_CHECK(fuzz::sameRows(held, p.roster) && rig.read("NETCONT.ROL") == in);
  }
  if (p.incomplete && p.quoted) KELPIE_FUZZ_CHECK(rig.read("NETCONT.ROL.bad") == in);
  return 0;
}
