// What an emergency or traffic net records of a check-in beyond the log's callsign, name and
// QTH: its traffic, the pass of it, its tactical call, the station that relayed it and a remark,
// each with the UTC moment it was entered. Kept in the side file MMDDYYF.TRF beside the day's
// log (the log itself keeps the older program's form), one line per check-in that has any of
// them, in list order: the callsign and the fields below, tab-separated, Windows-1252, CR LF.
#pragma once

#include <compare>
#include <string>
#include <string_view>
#include <vector>

#include "data/text.h"

namespace kelpie {

// The precedences of the National Traffic System, most urgent first.
inline constexpr std::string_view kPrecedences = "EPWR";
// "Emergency", "Priority", "Welfare", "Routine"; "" for anything else.
std::string precedenceWord(char p);

struct CheckInFacts {
  int count = 0;         // messages listed; 0: no traffic listed
  char precedence = 0;   // 'E', 'P', 'W' or 'R' while count > 0
  std::string dest;      // where to, or the addressee ("" when not given)
  std::string listedAt;  // UTC "YYYY-MM-DDTHH:MM:SSZ" of the listing
  std::string passedTo;  // the station (and where) it was passed to; "" while not passed
  std::string passedAt;
  std::string tactical, tacticalAt;  // tactical call ("EOC", "SHELTER 1")
  std::string relay, relayAt;        // the station that relayed the check-in
  std::string remark, remarkAt;

  bool empty() const { return *this == CheckInFacts{}; }
  bool unpassed() const { return count > 0 && passedTo.empty(); }
  auto operator<=>(const CheckInFacts&) const = default;
};

// The longest text each field may hold, in Windows-1252 bytes.
inline constexpr size_t kMaxRemark = 60;
inline constexpr size_t kMaxFactText = 40;  // destination, passed to, tactical call, relay
inline constexpr int kMaxTrafficCount = 99;

// The side file of a log: the same name with the extension .TRF, in any letter case when it
// exists.
fs::path factsPathFor(const fs::path& logPath);

struct FactsRow {
  std::string callSign;
  CheckInFacts facts;
};
Lines factsLines(const std::vector<FactsRow>& rows);
// Lines that are not in the form above are passed over; a field that is not what it should be
// (a count out of range, a precedence that is none, a time that is no time) leaves that line out.
std::vector<FactsRow> parseFactsLines(const Lines& lines);
// The side file's rows given to the log's check-ins: a row goes to the first check-in of its
// callsign not yet given one, so a file a save behind still gives every other check-in its
// facts. A missing or unreadable file gives none.
std::vector<CheckInFacts> readFactsFor(const fs::path& logPath,
                                       const std::vector<std::string>& logCalls);

}  // namespace kelpie
