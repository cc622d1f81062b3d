// Fuzzes the club list BURROW.DAT, in both forms, through the station lookup: the input's first
// line is the callsign typed, the rest is the file. Whatever the file holds, the station is
// checked in once, under the callsign typed, as a first-time check-in.
#include "data/quoted.h"
#include "fuzz_support.h"
#include "support/fake_platform.h"

using namespace kelpie;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::preferMemoryTempFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::CallAndFile in = fuzz::splitFirstLine(fuzz::asText(data, size));
  test::Rig rig;
  rig.writeRoster({});
  rig.writeSettings();
  rig.writeBytes("BURROW.DAT", in.file);
  if (!rig.session.Form_Load()) return 0;

  Session& s = rig.session;
  s.entryText = in.call;
  std::string result;
  s.getStationInfo(result);

  std::string call = in.call;
  if (!call.empty() && call.back() == '-') call.pop_back();
  KELPIE_FUZZ_CHECK(result == "OK");
  KELPIE_FUZZ_CHECK(s.checkIns.count == 1);
  KELPIE_FUZZ_CHECK(s.view.lines.size() == 1);
  const auto& f = s.checkIns.row(1).f;
  KELPIE_FUZZ_CHECK(f[1] == call);
  KELPIE_FUZZ_CHECK(f[4] == "  First time check-in");
  KELPIE_FUZZ_CHECK(f[5] == "12/5/2026");
  KELPIE_FUZZ_CHECK(f[8] == (call.size() < in.call.size() ? "in&out " : ""));

  // The club record's name and QTH, when the file has the station: the first record whose
  // callsign matches, its missing fields empty.
  const Lines lines = splitLines(in.file);
  const std::vector<std::string> values = isQuotedForm(lines) ? quotedValues(lines) : lines;
  for (size_t i = 0; i < values.size(); i += 3) {
    if (values[i] != call) continue;
    KELPIE_FUZZ_CHECK(f[2] == (i + 1 < values.size() ? values[i + 1] : ""));
    KELPIE_FUZZ_CHECK(f[3] == (i + 2 < values.size() ? values[i + 2] : "") + "  ");
    break;
  }
  // The club list is only read.
  KELPIE_FUZZ_CHECK(rig.read("BURROW.DAT") == in.file);

  // The same station again is refused.
  s.getStationInfo(result = "");
  KELPIE_FUZZ_CHECK(result.empty() && s.checkIns.count == 1);
  return 0;
}
