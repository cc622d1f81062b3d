// The pieces both grid lookups over vhf4k.adi share (the single lookup in geo/adif.h and the
// one-pass lookup of the text summary): opening the file safely, a fast search that ignores
// letter case, and reading the file as the ADIF 3 records today's logging programs write.
#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>

namespace kelpie {

struct AdifFileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using AdifFile = std::unique_ptr<std::FILE, AdifFileCloser>;

// Opens the file unbuffered for reading, or nothing. A FIFO or device under the name is
// refused without waiting on it, so a lookup can never hang Kelpie.
AdifFile openAdifFile(const std::filesystem::path& path);

inline char foldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

// The same text, letters A to Z compared without case.
bool equalFolded(std::string_view a, std::string_view b);

// The first place in [first, last) where needle stands, letters A to Z in either case; needle
// is given in lower case. last when there is none.
const char* findFolded(const char* first, const char* last, std::string_view needle);

// Called for each record that has a CALL field and a non-empty GRIDSQUARE field, in file
// order: the value of its first CALL field (cut after maxCall + 1 characters, so a longer
// value still differs from every callsign of up to maxCall characters) and of its first
// non-empty GRIDSQUARE field. Returning false ends the reading.
using AdifRecordSink = std::function<bool(std::string_view call, std::string_view grid)>;

// Reads the file as ADIF 3 (.adi):
// - A field is "<NAME:LENGTH>" or "<NAME:LENGTH:TYPE>" followed by exactly LENGTH characters
//   (LENGTH in decimal digits); a tag without ':', such as "<EOR>", has no value. Names are
//   compared without letter case; text outside tags and values is ignored.
// - "<EOR>" ends a record; "<EOH>" ends the header, a record that never gives a grid. So a
//   file without a header starts with its first record, and a header without "<EOH>" is read
//   as part of the first record. A last record without "<EOR>" counts.
// - A tag that meets '<' or the end of the file before its '>', a length that is no number, a
//   character other than ':' or '>' after the length, or a value that would run past the end
//   of the file spoils its record (no grid); the reading resumes after the next "<EOR>" or
//   "<EOH>" (any case) found after the spoiled tag's '<'.
// Returns false when the file could not be read.
bool readAdifRecords(std::FILE* file, std::size_t blockSize, std::size_t maxCall,
                     const AdifRecordSink& onRecord);

}  // namespace kelpie
