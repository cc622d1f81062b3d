// The printed reports: a past log, the log with the most check-ins, and the keyboard
// shortcuts, each laid out at fixed character columns for a fixed-pitch font.
#pragma once

#include <string>
#include <vector>

#include "data/checkin_log.h"
#include "platform/seams.h"

namespace kelpie {

// Sets Courier New, 12 points, no bold, italic or underline.
void PrintFontSize12(Printer& printer);

// The printed lines of one record of the most-check-ins printout: callsign from column 2, name
// from column 15, QTH from column 30. (The past-log printout puts a space before the callsign,
// which lands it on the same column.)
Lines logRecordPrintLines(const LogRecord& record);

// The whole past-log printout: an empty line, the path from column 5, an empty line, records.
Lines pastLogPrintLines(const std::string& pathText, const std::vector<LogRecord>& records);

// The whole most-check-ins printout: an empty line, the heading with the count, an empty line,
// records.
Lines mostCheckinsPrintLines(const std::string& pathText, long long count,
                             const std::vector<LogRecord>& records);

// The twelve lines of the shortcuts printout.
Lines shortcutPrintLines();

// Print log with most check-ins names the log that failed in this message.
std::string mostCheckinsFailureText(const std::string& pathText);

}  // namespace kelpie
