// Maidenhead locators: decoding a grid square to the centre of its field, square or subsquare,
// and the beam heading and distance from the net control station's grid square.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelpie {

// A point on the Earth in degrees: longitude east positive, latitude north positive.
struct LonLat {
  double lon = 0;
  double lat = 0;
};

// The centre of a 2-, 4- or 6-character locator ("JJ", "FN20", "FN20XA"), in any letter case.
// Nothing is trimmed: a trailing space makes the locator invalid.
std::optional<LonLat> decodeLocator(std::string_view grid);

// Heading in whole degrees (0 to 360) and distance in kilometres from one point to another,
// or nothing when the arithmetic did not give finite numbers.
struct BeamPath {
  double heading = 0;
  double distanceKm = 0;
};
std::optional<BeamPath> beamPath(LonLat netControl, LonLat station);

enum class BeamStatus { Ok, InvalidLocator, CalcError };

// Shown by the caller, with an OK button and no title of its own, on BeamStatus::CalcError.
inline constexpr const char* kCalcErrorMessage = "Calculation error, check grid!";

// Turns the station's grid square into its grid text: the grid as passed, two spaces, the
// heading in whole degrees and the degree sign (the single Windows-1252 byte 0xB0). distance
// gets kilometres, or miles when distanceUnit is exactly "Miles". On any status other than Ok
// neither grid nor distance is touched.
BeamStatus calcBeamHeading(std::string& grid, double& distance, const std::string& netControlGrid,
                           const std::string& distanceUnit);

// The distance as the callers keep it: a 16-bit whole number, rounded half to even.
int16_t distanceToInt16(double distance);

}  // namespace kelpie
