// Pieces the report commands share: their titles and prompts, the chosen log's path, and the
// message for a log that cannot be read.
#pragma once

#include <string>

#include "net/session.h"
#include "reports/report_log.h"

namespace kelpie {

inline constexpr const char* kLoadLogTitle = " Select Check-in log file to load...";
inline constexpr const char* kSummaryTitle = " Select Check-in file for write summary...";
inline constexpr const char* kEntryPrompt = "Enter Call or Call- for in&&out";
inline constexpr const char* kEscToResume = "   <Esc> to resume...";

// The file a chosen log name stands for: that name in LogFolder, in any letter case.
fs::path chosenLogPath(const Session& s, const std::string& name);

// Tells the operator a chosen log could not be read; the command then changes nothing.
void reportUnreadableLog(Session& s, const fs::path& path, const std::string& error);

// The operator's choice of a stored log, read: false on a cancel, or (after the message) when
// the chosen log cannot be read.
bool chooseAndReadLog(Session& s, const std::string& title, fs::path& path, ReportLog& log);

// Shows the note the printer gave back (where a PDF went, or why printing failed), if any.
void showPrinterNote(Session& s, const std::string& note);

}  // namespace kelpie
