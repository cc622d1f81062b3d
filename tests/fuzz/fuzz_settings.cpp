// Fuzzes the settings reader: any file applies without harm, and whatever it gave is written
// out and read back to exactly the same values.
#include "data/settings.h"
#include "fuzz_support.h"

using namespace kelpie;

namespace {
bool sameValues(const NetSettings& a, const NetSettings& b) {
  return a.logFolder == b.logFolder && a.netControlCall == b.netControlCall &&
         a.netBand == b.netBand && a.distanceUnit == b.distanceUnit &&
         a.browserPath == b.browserPath && a.netControlGrid == b.netControlGrid &&
         a.enterModes == b.enterModes && a.spaceBarModes == b.spaceBarModes;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view in = fuzz::asText(data, size);
  const Lines lines = splitLines(in);

  // The two line splitters agree, and no line holds a line end.
  Lines walked;
  forEachLine(in, [&](std::string_view l) {
    walked.emplace_back(l);
    return true;
  });
  KELPIE_FUZZ_CHECK(walked == lines);
  for (const auto& l : lines) KELPIE_FUZZ_CHECK(l.find_first_of("\r\n") == std::string::npos);

  NetSettings read;
  resetSettingsDefaults(read);
  applySettingsLines(lines, read);

  // A value line stands next to its key, so it can be any text, even a key's.
  const Lines written = settingsFileLines(read);
  KELPIE_FUZZ_CHECK(written.size() == 23);
  KELPIE_FUZZ_CHECK(splitLines(joinCrLf(written)) == written);
  NetSettings again;
  resetSettingsDefaults(again);
  applySettingsLines(written, again);
  KELPIE_FUZZ_CHECK(sameValues(read, again));
  // The kilometre mark is written as the unit itself, so on reading it follows the unit.
  KELPIE_FUZZ_CHECK(again.distanceKm == (read.distanceUnit == "kM"));
  return 0;
}
