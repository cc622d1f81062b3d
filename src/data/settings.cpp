#include "data/settings.h"

#include <array>

namespace kelpie {

void resetSettingsDefaults(NetSettings& s) {
  s.enterModes = false;
  s.spaceBarModes = true;
  s.distanceKm = false;
  s.distanceUnit = "Miles";
}

void applySettingsLines(const Lines& lines, NetSettings& s) {
  enum Key { LogFolder, Call, Unit, Band, EnterModes, Browser, SpaceBar, Grid };
  static const std::array<std::pair<const char*, Key>, 8> keys{{
      {"[path to check-in log files]", LogFolder},
      {"[net control`s call]", Call},
      {"[use miles or km]", Unit},
      {"[band for this net]", Band},
      {"[use the <enter> key + shortcuts]", EnterModes},
      {"[path to web browser]", Browser},
      {"[use the <enter> key + shortcuts to mark]", SpaceBar},
      {"[netcontrol 6-digit grid]", Grid},
  }};
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string key = lower1252(lines[i]);
    for (const auto& [text, which] : keys) {
      if (key != text) continue;
      if (i + 1 >= lines.size()) break;  // a key with no value line keeps the prior value
      const std::string& value = lines[++i];
      switch (which) {
        case LogFolder:
          s.logFolder = value;
          break;
        case Call:
          s.netControlCall = value;
          break;
        case Band:
          s.netBand = value;
          break;
        case Browser:
          s.browserPath = value;
          break;
        case Grid:
          s.netControlGrid = value;
          break;
        case Unit:
          s.distanceUnit = value;
          if (value == "kM") s.distanceKm = true;
          break;
        case EnterModes:
          if (lower1252(value) == "yes") s.enterModes = true;
          break;
        case SpaceBar:
          if (lower1252(value) != "yes") s.spaceBarModes = false;
          break;
      }
      break;
    }
  }
}

Lines settingsFileLines(const NetSettings& s) {
  return {
      "// KelpieW Marten Net Control for Windows",
      "// Kelpie v2.1 settings, written by Kelpie for Linux",
      "[Path to check-in log files]",
      s.logFolder,
      "[Net Control`s Call]",
      s.netControlCall,
      "[Band for this Net]",
      s.netBand,
      "// To change between Acknowledge and Comments",
      "[Use the <Enter> key + shortcuts]",
      s.enterModes ? "Yes" : "No",
      "// Miles or kM in file write function",
      "[Use Miles or kM]",
      s.distanceUnit,
      "// Path ex: C:\\Program Files\\Internet Exploror\\iexplore",
      "[Path to web browser]",
      s.browserPath,
      "// To mark Acknowledge and Comments",
      "[Use the <Enter> key + shortcuts to mark]",
      s.spaceBarModes ? "Yes" : "No",
      "// Calculate beam heading from ADIF data",
      "[NetControl 6-digit Grid]",
      s.netControlGrid,
  };
}

bool writeSettingsFile(const fs::path& appFolder, const NetSettings& s, std::string* error) {
  return writeLinesAtomic(findFileCI(appFolder, kSettingsFileName), settingsFileLines(s), error);
}

}  // namespace kelpie
