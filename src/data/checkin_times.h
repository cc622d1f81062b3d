// Check-in times: the file MMDDYYF.TIM beside a check-in log, one line per check-in in list
// order: the callsign, a tab, the UTC time as YYYY-MM-DDTHH:MM:SSZ (empty when unknown), and a
// tab and "in&out" for a station that checked in and out. The log itself stays as the older
// program reads it; the times are kept apart so that nothing reading logs ever sees them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/text.h"

namespace kelpie {

struct CheckInTime {
  std::string callSign;
  std::string time;  // "YYYY-MM-DDTHH:MM:SSZ", or empty when unknown
  bool inOut = false;
};

// "2026-12-05T01:30:07Z".
std::string isoTimeText(const DateTime& t);
// The moment of an isoTimeText, or nothing when the text is not exactly in that form or names
// no real date and time.
std::optional<DateTime> parseIsoTime(std::string_view text);
// t moved by minutes (either sign), across days, months and years.
DateTime addMinutes(DateTime t, long long minutes);

// The times file of a log: the same name with the extension .TIM, in any letter case when it
// exists.
fs::path timesPathFor(const fs::path& logPath);

Lines timeLines(const std::vector<CheckInTime>& rows);
std::vector<CheckInTime> parseTimeLines(const Lines& lines);
// The times file's rows matched to the log's callsigns: a row is taken for a check-in only when
// its callsign is the check-in's and it comes after the rows already taken, so a file that
// lost, gained or reordered a check-in still gives every other check-in its time. Unmatched
// check-ins get an empty CheckInTime with their callsign.
std::vector<CheckInTime> matchTimes(const std::vector<std::string>& logCalls,
                                    const std::vector<CheckInTime>& rows);
// Reads and matches the times file of a log; a missing or unreadable file gives unknown times.
std::vector<CheckInTime> readTimesFor(const fs::path& logPath,
                                      const std::vector<std::string>& logCalls);

}  // namespace kelpie
