// Fuzzes a station file read by the station lookup: the club list BURROW.DAT in both forms
// (fuzz_club_list) or the name list ck2list.dat (fuzz_name_list, built with KELPIE_NAME_LIST).
// The input's first line is the callsign typed, the rest is the file. Whatever the file holds,
// the station is checked in once, under the callsign typed, as a first-time check-in, with the
// name (and QTH) of the first matching record; the file is only read.
#include "data/quoted.h"
#include "fuzz_support.h"

using namespace kelpie;

#ifdef KELPIE_NAME_LIST
constexpr const char* kFile = "ck2list.dat";
#else
constexpr const char* kFile = "BURROW.DAT";
#endif

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::CallAndFile in = fuzz::splitFirstLine(fuzz::asText(data, size));
  test::Rig rig;
  if (!fuzz::startRig(rig, {{kFile, in.file}})) return 0;
  Session& s = rig.session;
  s.entryText = in.call;
  std::string result;
  s.getStationInfo(result);
  const std::string call = in.call.substr(0, in.call.size() - (in.call.ends_with('-') ? 1 : 0));
  const auto& f = s.checkIns.row(1).f;
  KELPIE_FUZZ_CHECK(result == "OK" && s.checkIns.count == 1 && s.view.lines.size() == 1);
  KELPIE_FUZZ_CHECK(f[1] == call && f[4] == "  First time check-in" && f[5] == "12/5/2026");
  KELPIE_FUZZ_CHECK(f[8] == (call.size() < in.call.size() ? "in&out " : ""));
  const Lines lines = splitLines(in.file);
#ifdef KELPIE_NAME_LIST
  // The first line whose first seven characters, trimmed of spaces, are the callsign gives the
  // name: the rest of that line, unchanged.
  std::string name;
  for (const std::string& line : lines)
    if (trimSpaces(std::string_view(line).substr(0, 7)) == call) {
      name = line.size() > 7 ? line.substr(7) : "";
      break;
    }
  KELPIE_FUZZ_CHECK(f[2] == name);
#else
  // Records of three values; a cut record's missing fields are empty.
  const std::vector<std::string> v = isQuotedForm(lines) ? quotedValues(lines) : lines;
  for (size_t i = 0; i < v.size(); i += 3)
    if (v[i] == call) {
      KELPIE_FUZZ_CHECK(f[2] == (i + 1 < v.size() ? v[i + 1] : ""));
      KELPIE_FUZZ_CHECK(f[3] == (i + 2 < v.size() ? v[i + 2] : "") + "  ");
      break;
    }
#endif
  KELPIE_FUZZ_CHECK(rig.read(kFile) == in.file);
  s.getStationInfo(result = "");  // the same station again is refused
  KELPIE_FUZZ_CHECK(result.empty() && s.checkIns.count == 1);
  return 0;
}
