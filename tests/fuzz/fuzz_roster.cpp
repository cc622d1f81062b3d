// Fuzzes the roster reader in both forms, alone and through the start-up that converts the
// old form: whole records are kept byte for byte, and what Kelpie writes it reads back the same.
#include <algorithm>

#include "data/roster.h"
#include "fuzz_support.h"
#include "support/fake_platform.h"

using namespace kelpie;

namespace {

bool hasCurrentHeader(const Roster& r) {
  return r.count() >= 1 && r.row(1).initialCheckInDate == "initial check-in date" &&
         r.row(1).lastCheckInDate == "last check-in date" &&
         r.row(1).oldCallSign == "old call sign";
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view in = fuzz::asText(data, size);
  const Lines lines = splitLines(in);
  const RosterParse p = parseRoster(lines);

  if (!p.quoted) {
    // The current form: every whole record is the file's lines as they stand.
    const Lines back = rosterLines(p.roster);
    KELPIE_FUZZ_CHECK(back.size() <= lines.size());
    KELPIE_FUZZ_CHECK(std::equal(back.begin(), back.end(), lines.begin()));
    KELPIE_FUZZ_CHECK(p.incomplete ==
                      (back.size() != lines.size() &&
                       std::any_of(lines.begin() + static_cast<long>(back.size()), lines.end(),
                                   [](const std::string& l) { return !l.empty(); })));
  }
  // A roster with the header Kelpie writes reads back exactly as it was written.
  if (hasCurrentHeader(p.roster)) {
    const RosterParse again = parseRoster(splitLines(joinCrLf(rosterLines(p.roster))));
    KELPIE_FUZZ_CHECK(!again.quoted && !again.incomplete);
    KELPIE_FUZZ_CHECK(fuzz::sameRows(again.roster, p.roster));
  }

  // Start-up over the file: the old form is converted and the converted file reads back as
  // the roster in memory; a damaged file is kept beside it before it is rewritten.
  test::Rig rig;
  rig.writeSettings();
  rig.writeBytes("NETCONT.ROL", std::string(in));
  rig.dialogs.inputAnswers = {"222 MHz", "W1NC"};  // the first-run questions of an empty file
  KELPIE_FUZZ_CHECK(rig.session.Form_Load());
  const Roster& held = rig.session.roster;
  const RosterParse onDisk = parseRoster(splitLines(rig.read("NETCONT.ROL")));
  if (p.quoted || in.empty()) {
    KELPIE_FUZZ_CHECK(hasCurrentHeader(held));
    KELPIE_FUZZ_CHECK(!onDisk.quoted && !onDisk.incomplete);
    KELPIE_FUZZ_CHECK(fuzz::sameRows(onDisk.roster, held));
  } else {
    KELPIE_FUZZ_CHECK(fuzz::sameRows(held, p.roster));
    KELPIE_FUZZ_CHECK(rig.read("NETCONT.ROL") == in);  // read only, never rewritten
  }
  if (p.incomplete && p.quoted) KELPIE_FUZZ_CHECK(rig.read("NETCONT.ROL.bad") == in);
  return 0;
}
