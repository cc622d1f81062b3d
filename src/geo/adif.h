// The grid lookup in the operator's ADIF log (vhf4k.adi): finds a station's grid square and
// turns it into grid text with the beam heading from the net control station.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "geo/locator.h"

namespace kelpie {

// What a lookup found. Callers treat an empty gridText as "no grid for this station".
struct AdifGrid {
  std::string gridText;  // value with heading; the bare value when it is no valid locator
  bool found = false;    // a line with the station mark and a usable grid tag was found
  BeamStatus status = BeamStatus::InvalidLocator;  // calcBeamHeading's answer, when found
  double distance = 0;  // kilometres or miles, meaningful only when status is Ok
};

// The file is read in blocks of this size (small enough to stay in the processor's cache while
// it is searched); a line may be longer than a block.
inline constexpr std::size_t kAdifReadBlock = std::size_t{256} << 10;

// The raw grid value for a station, in two readings of the file:
// 1. The form Kelpie's ADIF files always had: the first line that holds the mark
//    ">" + callsign + "," and a grid tag "<GRIDSQUARE:" (any letter case) with a one-digit
//    length. The value is that many characters starting two after the digit (past the tag's
//    closing character), cut short at the end of the line. A line whose length is not a digit
//    is passed over. Lines end with CR LF, LF or CR.
// 2. Only when no line qualifies so: the file read as ADIF 3 records (geo/adif_reader.h); the
//    GRIDSQUARE value of the first record whose CALL is the callsign, letter case ignored, and
//    whose GRIDSQUARE is not empty. MY_GRIDSQUARE and other fields never give the grid.
// Nothing when the callsign is empty or holds a line end, nothing qualifies, or the file
// cannot be read. The file is read afresh on every call, so edits made during the net are seen.
std::optional<std::string> findAdifGridValue(const std::filesystem::path& adifFile,
                                             std::string_view callsign,
                                             std::size_t blockSize = kAdifReadBlock);

// The lookup used by the station lookup, grid insertion and the summary. On
// BeamStatus::CalcError the caller shows kCalcErrorMessage; gridText is then the bare value.
AdifGrid getADIFGrid(const std::filesystem::path& adifFile, const std::string& callsign,
                     const std::string& netControlGrid, const std::string& distanceUnit);

}  // namespace kelpie
