// Text and file helpers shared by every data file: Windows-1252 byte strings, line splitting
// that accepts CR LF, LF and CR, whole-file atomic writes, and case-insensitive file names.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/seams.h"

namespace kelpie {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// Splits file contents into lines; a missing final line end is fine.
Lines splitLines(std::string_view data);

// Calls f(line) for each line of data (CR LF, LF or CR ends) until f returns false.
template <class F>
void forEachLine(std::string_view data, F&& f) {
  const size_t n = data.size();
  // The next CR and the next LF are each found with a fast byte search and kept until passed.
  auto next = [&](char c, size_t from) {
    const size_t i = data.find(c, from);
    return i == std::string_view::npos ? n : i;
  };
  size_t start = 0;
  size_t cr = next('\r', 0), lf = next('\n', 0);
  while (start < n) {
    if (cr < start) cr = next('\r', start);
    if (lf < start) lf = next('\n', start);
    size_t end = cr < lf ? cr : lf;
    if (!f(data.substr(start, end - start))) return;
    if (end < n && data[end] == '\r' && end + 1 < n && data[end + 1] == '\n') ++end;
    start = end + 1;
  }
}

struct ReadResult {
  bool ok = false;  // false: missing, a folder, or unreadable
  Lines lines;
  std::string error;
};
ReadResult readLines(const fs::path& path);
bool readBytes(const fs::path& path, std::string& out, std::string* error = nullptr);
// Asks the system for every page of a fresh block at once: touched page by page instead, each
// first touch is a fault of its own, and on a virtual machine those are most of the time a
// large roster takes to read. A hint only; the contents are unchanged.
void prefault(void* data, size_t bytes);

// Writes the whole file through a temporary file in the same folder, flushed and renamed over
// the old one, so the file on disk is always the old or the new content, whole.
bool writeBytesAtomic(const fs::path& path, std::string_view bytes, std::string* error = nullptr);
// Every line followed by CR LF, the last included.
bool writeLinesAtomic(const fs::path& path, const Lines& lines, std::string* error = nullptr);
std::string joinCrLf(const Lines& lines);

// The existing file in folder whose name matches name in any letter case (exact match
// preferred), or folder / name when there is none.
fs::path findFileCI(const fs::path& folder, const std::string& name);
// Removes the temporaries that an interrupted save of a data file left in folder.
void removeStaleTemporaries(const fs::path& folder);
// Creates the file empty when it is missing (as opening for append would). False on failure.
bool ensureFileExists(const fs::path& path);
bool isEmptyFile(const fs::path& path);
// Names of the files in folder whose name ends in ext (any letter case), sorted by name
// without regard to case.
std::vector<std::string> listFilesCI(const fs::path& folder, std::string_view ext);

std::string upper1252(std::string_view s);
std::string lower1252(std::string_view s);
// Removes leading and trailing spaces (only the space character).
std::string trimSpaces(std::string_view s);
bool startsWith(std::string_view s, std::string_view prefix);

// Numeric test and value as the entry line needs them: optional spaces and sign, digits with
// an optional decimal point and exponent.
bool isNumeric(std::string_view s);
double numericValue(std::string_view s);
// Rounds to a whole number, a value exactly halfway going to the even neighbour.
double roundHalfEven(double v);

// Date text as stored in the roster and the check-in table: month/day/year, no leading zeros.
std::string dateText(const Date& d);
// Today's log name: MMDDYY then "F.ILE".
std::string logFileName(const Date& d);

std::string toDec(long long n);

// Native path text for messages and for the places where the path itself is shown.
std::string pathText(const fs::path& p);

}  // namespace kelpie
