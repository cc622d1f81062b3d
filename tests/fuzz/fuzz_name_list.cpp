// Fuzzes the name list ck2list.dat through the station lookup: the input's first line is the
// callsign typed, the rest is the file. The first line whose first seven characters, trimmed
// of spaces, are the callsign gives the name: the rest of that line, unchanged.
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
  rig.writeBytes("ck2list.dat", in.file);
  if (!rig.session.Form_Load()) return 0;

  Session& s = rig.session;
  s.entryText = in.call;
  std::string result;
  s.getStationInfo(result);
  KELPIE_FUZZ_CHECK(result == "OK" && s.checkIns.count == 1);

  std::string call = in.call;
  if (!call.empty() && call.back() == '-') call.pop_back();
  std::string name;
  for (const std::string& line : splitLines(in.file)) {
    if (trimSpaces(std::string_view(line).substr(0, 7)) != call) continue;
    name = line.size() > 7 ? line.substr(7) : "";
    break;
  }
  KELPIE_FUZZ_CHECK(s.checkIns.field(1, 2) == name);
  KELPIE_FUZZ_CHECK(s.checkIns.field(1, 1) == call);
  KELPIE_FUZZ_CHECK(rig.read("ck2list.dat") == in.file);
  return 0;
}
