#include "data/roster.h"

#include <algorithm>
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

// The quoted-form test on the bytes: a double quote at the start of a line.
bool anyLineOpensWithQuote(std::string_view text) {
  for (size_t i = text.find('"'); i != std::string_view::npos; i = text.find('"', i + 1))
    if (i == 0 || text[i - 1] == '\r' || text[i - 1] == '\n') return true;
  return false;
}

// The old form: six values to a record; values after the last whole record are left out.
void takeQuotedRecords(RosterParse& p, std::vector<std::string> values) {
  const size_t whole = values.size() / 6;
  p.incomplete = values.size() % 6 != 0;
  p.roster.rows.resize(whole);
  for (size_t r = 0; r < whole; ++r)
    for (int f = 1; f <= 6; ++f) p.roster.rows[r].field(f) = std::move(values[r * 6 + f - 1]);
}
}  // namespace

RosterParse parseRoster(const Lines& lines) { return parseRosterText(joinCrLf(lines)); }

RosterParse parseRosterText(std::string_view text) {
  RosterParse p;
  if (anyLineOpensWithQuote(text)) {
    const Lines lines = splitLines(text);
    if (!opensWithCurrentHeader(lines)) {
      p.quoted = true;
      takeQuotedRecords(p, quotedValues(lines));
      return p;
    }
  }
  // The current form: each line is a field. A first pass counts the lines and finds the last
  // one that is not blank, a second fills the rows, so no list of lines is built.
  size_t count = 0, filled = 0;
  forEachLine(text, [&](std::string_view line) {
    if (!line.empty()) filled = count + 1;
    ++count;
    return true;
  });
  // Blank lines after the last whole record; an empty last field of a record stays.
  if (count % 6 != 0) count = std::max(filled, count - count % 6);
  p.incomplete = count % 6 != 0;
  p.roster.rows.reserve(count / 6);
  prefault(p.roster.rows.data(), p.roster.rows.capacity() * sizeof(RosterEntry));
  p.roster.rows.resize(count / 6);
  size_t k = 0;
  const size_t wanted = count / 6 * 6;
  forEachLine(text, [&](std::string_view line) {
    if (k == wanted) return false;
    p.roster.rows[k / 6].field(static_cast<int>(k % 6) + 1) = line;
    ++k;
    return true;
  });
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
