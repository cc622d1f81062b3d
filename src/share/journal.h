// The journal of a shared net: MMDDYYF.SHR beside the day's log, append-only, one record per
// revision a window made or received. A window restarted mid-net reads it back to rejoin with
// the same lines, and it keeps every deleted line's text should one be deleted by mistake.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "share/line.h"

namespace kelpie::share {

namespace fs = std::filesystem;

// The journal of a log: the same folder and name with the extension .SHR, in any letter case
// when it exists.
fs::path journalPathFor(const fs::path& logPath);

// Appends the lines as records (their wire form, CR LF after each) in one write and flushes
// them to the disk before it returns. A torn last record a crash left is closed off first, so
// it never spoils the first new one. Nothing to append: true without touching the file.
bool appendJournal(const fs::path& path, const std::vector<Line>& lines,
                   std::string* error = nullptr);

// Every whole, valid record in file order; a torn record or a line that does not decode is
// skipped. A missing file has none.
std::vector<Line> readJournal(const fs::path& path);

}  // namespace kelpie::share
