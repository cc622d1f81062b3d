// Reading a stored check-in log for the reports, in either form, with what went wrong kept
// for the operator's message; and the list of logs, taken afresh for every command.
#pragma once

#include <string>
#include <vector>

#include "data/checkin_facts.h"
#include "data/checkin_log.h"
#include "data/text.h"

namespace kelpie {

struct ReportLog {
  bool ok = false;  // false: missing or unreadable; error says why
  std::string error;
  bool cutShort = false;  // the last record lacked fields (or was only a blank line)
  std::vector<LogRecord> records;
};

// Reads the log as the viewer, the printouts and the summary show it. A last record that was
// cut short keeps the fields it has; one that holds nothing at all (the blank line a hand edit
// leaves below the last record) is dropped, so no phantom check-in is shown.
ReportLog readReportLog(const fs::path& path);

// The lines of the past-log viewer: number, two spaces, callsign, name and QTH one space
// apart, and the check-in's facts as today's list shows them (facts: one per record, or none);
// then an empty line and the way back.
Lines pastLogLines(const std::vector<LogRecord>& records,
                   const std::vector<CheckInFacts>& facts = {});

// The log files of the folder ("*.ile" in any letter case), sorted by name regardless of case.
std::vector<std::string> logFileNames(const fs::path& logFolder);

// The name of a log as the chooser gives it back: the text after the last "/" or "\".
std::string nameOfChosenPath(const std::string& path);

}  // namespace kelpie
