// Check-in statistics: which station checked in most often over the stored logs, with the
// history of a station that changed its callsign folded into its new call.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "data/checkin_log.h"
#include "data/roster.h"

namespace kelpie {

// Check-in counts per callsign in order of first appearance. Callsigns are compared exactly
// (letter case counts); an empty callsign is no station.
class StationTally {
 public:
  struct Row {
    long long count = 0;
    std::string callSign;
    std::string formerCall;  // set by a merge
  };

  void add(const std::string& callSign);
  void addLog(const std::vector<LogRecord>& records);
  // For each roster station with a former call in the tally, its new call's row (when the new
  // call was counted too) takes on the former call's count and remembers the former call.
  void mergeCallChanges(const Roster& roster);
  const std::vector<Row>& rows() const { return rows_; }

  struct Best {
    std::string text;  // callsign, or callsign & " (ex: " & former call & ")"
    long long count = 0;
  };
  // The row with the highest count; on a tie the one that appeared first.
  Best best() const;

 private:
  std::vector<Row> rows_;
  std::unordered_map<std::string, size_t> index_;
};

// The two-digit year of a log name: the last two characters before the final "F.ILE" (the
// last five characters) of a name such as 120526F.ILE.
std::string logYearText(const std::string& fileName);

// The list lines of the answer: seven lines, the heading second and the station fourth.
Lines statisticsLines(const std::string& heading, const StationTally::Best& best);

}  // namespace kelpie
