// The ADIF grid lookup for many stations at once: one pass over vhf4k.adi answers every
// callsign of a log, where a lookup per station would read a large file once per record.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "data/text.h"

namespace kelpie {

// For each callsign, what findAdifGridValue (geo/adif.h) gives for it, in both its readings:
// the raw grid value of the first line that holds ">" + callsign + "," and a usable
// "<GRIDSQUARE:" tag, or else of the first ADIF 3 record of the station with a non-empty
// GRIDSQUARE, or nothing. A file that cannot be read answers nothing for everyone.
std::vector<std::optional<std::string>> findAdifGridValues(
    const fs::path& adifFile, const std::vector<std::string>& callsigns,
    std::size_t blockSize = std::size_t{1} << 20);

}  // namespace kelpie
