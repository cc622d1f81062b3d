#include "data/roster.h"

#include <stdexcept>

#include "data/quoted.h"

namespace kelpie {

std::string& RosterEntry::field(int i) {
  switch (i) {
    case 1:
      return callSign;
    case 2:
      return name;
    case 3:
      return qth;
    case 4:
      return initialCheckInDate;
    case 5:
      return lastCheckInDate;
    case 6:
      return oldCallSign;
  }
  throw std::out_of_range("roster field");
}

const std::string& RosterEntry::field(int i) const {
  return const_cast<RosterEntry*>(this)->field(i);
}

namespace {
// A file that opens with the header record Kelpie writes is in the current form, whatever its
// later lines begin with: a name such as "Bud" Smith must not make it the old quoted form,
// whose reading would shift every field after it.
bool opensWithCurrentHeader(const Lines& lines) {
  return lines.size() >= 6 && lines[3] == "initial check-in date" &&
         lines[4] == "last check-in date" && lines[5] == "old call sign";
}
}  // namespace

RosterParse parseRoster(const Lines& linesIn) {
  RosterParse p;
  p.quoted = isQuotedForm(linesIn) && !opensWithCurrentHeader(linesIn);
  std::vector<std::string> values;
  if (p.quoted) {
    values = quotedValues(linesIn);
  } else {
    values = linesIn;
    // Blank lines after the last whole record; an empty last field of a record stays.
    while (values.size() % 6 != 0 && values.back().empty()) values.pop_back();
  }
  const size_t whole = values.size() / 6;
  p.incomplete = values.size() % 6 != 0;
  p.roster.rows.resize(whole);
  for (size_t r = 0; r < whole; ++r)
    for (int f = 1; f <= 6; ++f) p.roster.rows[r].field(f) = std::move(values[r * 6 + f - 1]);
  return p;
}

Lines rosterLines(const Roster& roster) {
  Lines out;
  out.reserve(roster.rows.size() * 6);
  for (const auto& e : roster.rows)
    for (int f = 1; f <= 6; ++f) out.push_back(e.field(f));
  return out;
}

}  // namespace kelpie
