// The older quoted form of rosters, club lists and logs: double-quoted, comma-separated values.
#pragma once

#include "data/text.h"

namespace kelpie {

// True when any line begins with a double quote.
bool isQuotedForm(const Lines& lines);
// The quoted-form test on a file: sets isDOSFile to yes at the first line that begins with a
// double quote and never sets it to no. A missing file leaves the flag as it was.
void checkFileFormat(const fs::path& path_File, bool& isDOSFile);
inline void checkQuotedFormat(const fs::path& path, bool& isDOSFile) {
  checkFileFormat(path, isDOSFile);
}

// All values of the file in order. A quoted value keeps its commas and takes "" as one quote;
// an unquoted value runs to the next comma or line end with surrounding spaces dropped; a line
// end separates two values as a comma does; blank lines hold no value.
std::vector<std::string> quotedValues(const Lines& lines);

}  // namespace kelpie
