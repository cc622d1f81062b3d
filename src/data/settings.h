// The settings file Kelpie_Control.ini: bracketed key lines, each followed by its value line.
#pragma once

#include <filesystem>
#include <string>

#include "data/text.h"

namespace kelpie {

inline constexpr const char* kSettingsFileName = "Kelpie_Control.ini";

struct NetSettings {
  std::string logFolder;
  std::string netControlCall;
  std::string netBand;
  std::string distanceUnit = "Miles";
  std::string browserPath;
  std::string netControlGrid;
  // The Options menu check marks the file also keeps.
  bool enterModes = false;    // mEnterModes checked (else mACModes)
  bool spaceBarModes = true;  // mUseSpaceBarModes checked (else mUseNumberModes)
  bool distanceKm = false;    // mDistanceTypekM checked (else mDistanceTypeMiles)
};

// The defaults set before the file is read: the three menu pairs and the unit.
void resetSettingsDefaults(NetSettings& s);
// Applies the file's lines over s (keys in any order, the last of a repeated key wins, a key
// on the last line keeps the prior value).
void applySettingsLines(const Lines& lines, NetSettings& s);
// The 23 lines of the file.
Lines settingsFileLines(const NetSettings& s);
bool writeSettingsFile(const fs::path& appFolder, const NetSettings& s, std::string* error);

}  // namespace kelpie
