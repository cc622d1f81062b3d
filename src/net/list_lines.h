// What the list's lines say and which rows they stand for, shared by the edits from the list,
// the callsign change, grid insertion and the station lookup.
#pragma once

#include <string>
#include <string_view>

#include "net/session.h"

namespace kelpie {

// A roster view line: callsign to 10 characters, name to 13, then the QTH.
std::string rosterViewLine(const RosterEntry& e);
// The callsign a list line names: after the number and marks of a check-in line, or first on a
// roster view line.
std::string callsignOfListLine(std::string_view line, bool rosterView);
// The check-in row (or roster row) the pressed line still shows; 0 when it shows no such row.
int shownCheckInRow(const Session& s);
int shownRosterRow(const Session& s);
// The grid text of a station from the ADIF file ("" when none); shows the calculation error.
std::string gridLookup(Session& s, const std::string& callsign);

}  // namespace kelpie
