// Fuzzes the settings reader: what it gives is written out and read back the same.
#include "data/settings.h"
#include "fuzz_harness.h"

void kelpie::fuzz::run(std::string_view in) {
  const Lines lines = splitLines(in);
  Lines walked;
  forEachLine(in, [&](std::string_view l) { return walked.emplace_back(l), true; });
  FUZZ_CHECK(walked == lines);
  for (const auto& l : lines) FUZZ_CHECK(l.find_first_of("\r\n") == std::string::npos);
  NetSettings read, again;
  resetSettingsDefaults(read);
  applySettingsLines(lines, read);
  const Lines written = settingsFileLines(read);
  FUZZ_CHECK(written.size() == 23 && splitLines(joinCrLf(written)) == written);
  resetSettingsDefaults(again);
  applySettingsLines(written, again);
  // A value line stands next to its key, so it can be any text, even a key's.
  FUZZ_CHECK(settingsFileLines(again) == written);
  // The kilometre mark is written as the unit itself, so on reading it follows the unit.
  FUZZ_CHECK(again.distanceKm == (read.distanceUnit == "kM"));
}
