// Fuzzes the station lookup over BURROW.DAT (fuzz_club_list) or, with KELPIE_NAME_LIST=1,
// ck2list.dat (fuzz_name_list): the input's first line is the callsign typed, the rest the file.
#include "data/quoted.h"
#include "fuzz_harness.h"

constexpr const char* kFile = KELPIE_NAME_LIST ? "ck2list.dat" : "BURROW.DAT";

void kelpie::fuzz::run(std::string_view input) {
  const auto [typed, file] = splitFirstLine(input);
  test::Rig rig;
  rig.writeBytes(kFile, file);
  if (!rig.start()) return;
  Session& s = rig.session;
  s.entryText = typed;
  std::string result;
  s.getStationInfo(result);
  const std::string call = typed.substr(0, typed.size() - (typed.ends_with('-') ? 1 : 0));
  const auto& f = s.checkIns.row(1).f;
  FUZZ_CHECK(result == "OK" && s.checkIns.count == 1 && s.view.lines.size() == 1);
  FUZZ_CHECK(f[1] == call && f[4] == "  First time check-in" && f[5] == "12/5/2026");
  FUZZ_CHECK(f[8] == (call.size() < typed.size() ? "in&out " : ""));
  const Lines lines = splitLines(file);
#if KELPIE_NAME_LIST
  // The name: the rest of the first line whose first seven characters, trimmed, are the call.
  const auto match = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
    return trimSpaces(std::string_view(l).substr(0, 7)) == call;
  });
  FUZZ_CHECK(f[2] == (match == lines.end() || match->size() <= 7 ? "" : match->substr(7)));
#else
  // Records of three values; a cut record's missing fields are empty.
  const std::vector<std::string> v = isQuotedForm(lines) ? quotedValues(lines) : lines;
  for (size_t i = 0; i < v.size(); i += 3)
    if (v[i] == call) {
      FUZZ_CHECK(f[2] == (i + 1 < v.size() ? v[i + 1] : ""));
      FUZZ_CHECK(f[3] == (i + 2 < v.size() ? v[i + 2] : "") + "  ");
      break;
    }
#endif
  FUZZ_CHECK(rig.read(kFile) == file);
  s.getStationInfo(result = "");  // the same station again is refused
  FUZZ_CHECK(result.empty() && s.checkIns.count == 1);
}
