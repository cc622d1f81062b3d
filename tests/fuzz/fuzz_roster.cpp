// Fuzzes the roster reader in both forms, alone and through the start-up converting the old form.
#include "data/roster.h"
#include "fuzz_harness.h"

void kelpie::fuzz::run(std::string_view in) {
  const Lines lines = splitLines(in);
  const RosterParse p = parseRoster(lines);
  if (!p.quoted) {
    const Lines back = rosterLines(p.roster);
    FUZZ_CHECK(back.size() <= lines.size() && std::equal(back.begin(), back.end(), lines.begin()));
    FUZZ_CHECK(p.incomplete == std::any_of(lines.begin() + long(back.size()), lines.end(),
                                           [](const std::string& l) { return !l.empty(); }));
  }
  test::Rig rig;
  rig.writeBytes("NETCONT.ROL", std::string(in));
  rig.dialogs.inputAnswers = {"222 MHz", "W1NC"};  // the first-run questions of an empty file
  FUZZ_CHECK(rig.start());
  const Roster& held = rig.session.roster;
  const RosterParse onDisk = parseRoster(splitLines(rig.read("NETCONT.ROL")));
  if (p.quoted || in.empty()) {
    const Lines head = rosterLines(held);  // the header's last three fields as Kelpie writes them
    FUZZ_CHECK(Lines(head.begin() + 3, head.begin() + 6) ==
               (Lines{"initial check-in date", "last check-in date", "old call sign"}));
    FUZZ_CHECK(!onDisk.quoted && !onDisk.incomplete &&
               rosterLines(onDisk.roster) == rosterLines(held));
  } else {
    FUZZ_CHECK(rosterLines(held) == rosterLines(p.roster) && rig.read("NETCONT.ROL") == in);
  }
  if (p.incomplete && p.quoted) FUZZ_CHECK(rig.read("NETCONT.ROL.bad") == in);
}
