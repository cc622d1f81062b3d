// The roster file NETCONT.ROL: six lines per record, the header record first.
#pragma once

#include <string>
#include <vector>

#include "data/text.h"

namespace kelpie {

inline constexpr const char* kRosterFileName = "NETCONT.ROL";
inline constexpr const char* kRosterBackupName = "NETCONT.BU1";

struct RosterEntry {
  std::string callSign, name, qth, initialCheckInDate, lastCheckInDate, oldCallSign;
  // Fields 1 to 6 as the file orders them.
  std::string& field(int i);
  const std::string& field(int i) const;
};

// rows[0] is the header record (row 1 of the file), stations follow.
struct Roster {
  std::vector<RosterEntry> rows;
  // Rows in use counted from 1, header included.
  int count() const { return static_cast<int>(rows.size()); }
  // Row r counted from 1 as the file counts records.
  RosterEntry& row(int r) { return rows.at(static_cast<size_t>(r - 1)); }
  const RosterEntry& row(int r) const { return rows.at(static_cast<size_t>(r - 1)); }
};

struct RosterParse {
  Roster roster;
  bool quoted = false;      // the old comma-separated form
  bool incomplete = false;  // the file ended inside a record; the last whole record was kept
};
// Blank lines after the last record are ignored. The file is in the old form when a line begins
// with a double quote, unless it opens with the header record of the current form.
RosterParse parseRoster(const Lines& lines);
// The same from the file's bytes (any line ends). A current-form roster is taken straight from
// the bytes, with no list of lines in between: a large roster is read at start-up.
RosterParse parseRosterText(std::string_view text);
// Six lines per row, rows as they stand.
Lines rosterLines(const Roster& roster);

}  // namespace kelpie
