// The text summary of one net: a title line with the band and the net's date, then one line
// per check-in with its number, callsign, name, QTH and distance at fixed columns.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "data/checkin_log.h"

namespace kelpie {

// The net's date from a log name MMDDYYF.ILE: "MM-DD-YY".
std::string netDateText(const std::string& logName);

// The summary's file name for a band. Characters that cannot stand in a file name, or would
// lead out of the log folder (path separators, control characters, the ones Windows forbids,
// and bytes beyond ASCII), become "_".
std::string summaryFileName(const std::string& netBand);

// The distance part of a line: " mi" only for the exact unit "Miles", else " kM".
std::string distanceSuffix(const std::string& distanceUnit);

// The summary's lines. distances[j] is the record's distance, or nothing when its station has
// no usable grid: then its QTH stands alone, with neither number nor unit.
Lines summaryLines(const std::string& netBand, const std::string& logName,
                   const std::vector<LogRecord>& records,
                   const std::vector<std::optional<int>>& distances,
                   const std::string& distanceUnit);

}  // namespace kelpie
