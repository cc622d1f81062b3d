// Check-in log files (MMDDYYF.ILE): three lines per check-in, or the older quoted form.
#pragma once

#include <string>
#include <vector>

#include "data/text.h"

namespace kelpie {

struct LogRecord {
  std::string callSign, name, qth;
};

struct LogRead {
  bool ok = false;        // false: missing or unreadable (records then empty)
  bool quoted = false;    // the older quoted form
  bool cutShort = false;  // the last record lacked fields; those read are kept, the rest empty
  std::vector<LogRecord> records;
};

LogRead parseLog(const Lines& lines, bool quoted);
// Reads a log in either form, told apart by the quoted-form test.
LogRead readLogFile(const fs::path& path);
// Today's log reload: the line form only, whatever the file holds.
LogRead readLogLineForm(const fs::path& path);
Lines logLines(const std::vector<LogRecord>& records);

}  // namespace kelpie
