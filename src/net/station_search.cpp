// Finding stations: the half-heard callsign search over the three station files and the
// regulars not yet heard tonight, and the entry line's view of their answers.
#include "net/station_search.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <unordered_set>

#include "data/checkin_log.h"
#include "data/quoted.h"
#include "net/list_lines.h"
#include "net/session.h"
#include "net/spoken.h"

namespace kelpie {

namespace {
bool isLetterOrDigit(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}
// Pattern characters are plain ASCII, so a callsign character needs only the ASCII upper case:
// no other character can equal a pattern letter.
char upperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool globFits(std::string_view p, std::string_view s) {
  size_t pi = 0, si = 0, star = std::string_view::npos, resume = 0;
  while (si < s.size()) {
    if (pi < p.size() && (p[pi] == '?' || p[pi] == upperAscii(s[si]))) {
      ++pi;
      ++si;
    } else if (pi < p.size() && p[pi] == '*') {
      star = pi++;
      resume = si;
    } else if (star != std::string_view::npos) {
      pi = star + 1;
      si = ++resume;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == '*') ++pi;
  return pi == p.size();
}

// Month, day and year of a date text as a number that sorts by date; -1 when it is no date.
long dateKey(std::string_view text) {
  long parts[3] = {0, 0, 0};
  size_t k = 0;
  bool digits = false;
  for (const char c : text) {
    if (c >= '0' && c <= '9' && parts[k] < 100000) {
      parts[k] = parts[k] * 10 + (c - '0');
      digits = true;
    } else if (c == '/' && digits && k < 2) {
      ++k;
      digits = false;
    } else {
      return -1;
    }
  }
  if (k != 2 || !digits) return -1;
  return parts[2] * 10000 + parts[0] * 100 + parts[1];
}

struct Merged {
  std::vector<FoundStation> list;
  std::unordered_map<std::string, size_t> byCall;  // upper-case callsign -> place in list
  void add(std::string call, std::string name, std::string qth, std::string where) {
    auto [it, added] = byCall.try_emplace(upper1252(call), list.size());
    if (added) {
      list.push_back({std::move(call), std::move(name), std::move(qth), std::move(where), false});
      return;
    }
    FoundStation& known = list[it->second];
    if (trimSpaces(known.name).empty()) known.name = std::move(name);
    if (trimSpaces(known.qth).empty()) known.qth = std::move(qth);
  }
};
}  // namespace

CallPattern::CallPattern(std::string_view typed) {
  for (const char c : typed) {
    hasLetterOrDigit_ = hasLetterOrDigit_ || isLetterOrDigit(c);
    valid_ = valid_ && (isLetterOrDigit(c) || c == '/' || c == '?' || c == '*');
    glob_ += upperAscii(c);
  }
  if (glob_.find('*') == std::string::npos) glob_ = "*" + glob_ + "*";
}

bool CallPattern::fits(std::string_view callSign) const {
  return valid_ && hasLetterOrDigit_ && globFits(glob_, callSign);
}

std::vector<FoundStation> findStations(const CallPattern& pattern, std::string_view rosterFile,
                                       std::string_view clubFile, std::string_view nameList) {
  Merged m;
  // The roster: six lines a record, the header first; a record cut short is no station.
  std::array<std::string_view, 6> rec;
  size_t lineNo = 0;
  bool fits = false;
  std::vector<std::pair<long, FoundStation>> roster;
  forEachLine(rosterFile, [&](std::string_view line) {
    const size_t f = lineNo++ % 6;
    if (lineNo <= 6) return true;
    if (f == 0) fits = pattern.fits(line);
    if (!fits) return true;
    rec[f] = line;
    if (f == 5)
      roster.push_back({dateKey(rec[4]),
                        {std::string(rec[0]), std::string(rec[1]), std::string(rec[2]),
                         std::string(rec[4]), false}});
    return true;
  });
  std::stable_sort(roster.begin(), roster.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });
  for (auto& [key, st] : roster) m.add(st.callSign, st.name, st.qth, st.where);

  // The club list: three values a record, in the line form or the older quoted form.
  bool quoted = false;
  forEachLine(clubFile, [&](std::string_view line) {
    quoted = !line.empty() && line[0] == '"';
    return !quoted;
  });
  if (quoted) {
    const std::vector<std::string> v = quotedValues(splitLines(clubFile));
    for (size_t i = 0; i < v.size(); i += 3)
      if (pattern.fits(v[i]))
        m.add(v[i], i + 1 < v.size() ? v[i + 1] : "", i + 2 < v.size() ? v[i + 2] : "",
              "club list");
  } else {
    lineNo = 0;
    std::array<std::string, 3> club;
    auto flush = [&] {
      if (fits) m.add(club[0], club[1], club[2], "club list");
    };
    fits = false;
    forEachLine(clubFile, [&](std::string_view line) {
      const size_t f = lineNo++ % 3;
      if (f == 0) {
        flush();
        fits = pattern.fits(line);
        club = {};
      }
      if (fits) club[f] = std::string(line);
      return true;
    });
    flush();
  }

  // The name list: the callsign in the first seven characters, the name after them.
  forEachLine(nameList, [&](std::string_view line) {
    const std::string call = trimSpaces(line.substr(0, 7));
    if (!call.empty() && pattern.fits(call))
      m.add(call, trimSpaces(line.size() > 7 ? line.substr(7) : ""), "", "name list");
    return true;
  });
  return std::move(m.list);
}

CallJoin::CallJoin(const Roster& roster) {
  for (int r = 2; r <= roster.count(); ++r) {
    const RosterEntry& e = roster.row(r);
    if (e.oldCallSign.empty() || e.oldCallSign == "-" || e.oldCallSign == e.callSign) continue;
    formerToNow_.emplace_back(e.oldCallSign, e.callSign);
  }
  std::stable_sort(formerToNow_.begin(), formerToNow_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
}

std::string CallJoin::current(const std::string& callSign) const {
  std::string call = callSign;
  // A station may have changed its call more than once; a loop in the roster must not hang.
  for (size_t step = 0; step < formerToNow_.size(); ++step) {
    auto it = std::lower_bound(formerToNow_.begin(), formerToNow_.end(), call,
                               [](const auto& p, const std::string& c) { return p.first < c; });
    if (it == formerToNow_.end() || it->first != call) break;
    call = it->second;
  }
  return call;
}

Regulars findRegulars(const fs::path& logFolder, const Date& today, const Roster& roster,
                      const std::vector<std::string>& heardToday) {
  // Logs are dated by their names (MMDDYY...); only those of earlier days take part.
  struct Dated {
    long key;
    std::string name;
  };
  const long todayKey = static_cast<long>(today.year) * 10000 + today.month * 100 + today.day;
  std::vector<Dated> logs;
  for (std::string& name : listFilesCI(logFolder, ".ile")) {
    if (name.size() < 10 ||
        !std::all_of(name.begin(), name.begin() + 6, [](char c) { return c >= '0' && c <= '9'; }))
      continue;
    const long mm = std::stol(name.substr(0, 2)), dd = std::stol(name.substr(2, 2));
    const long key = (2000 + std::stol(name.substr(4, 2))) * 10000 + mm * 100 + dd;
    if (mm >= 1 && mm <= 12 && dd >= 1 && dd <= 31 && key < todayKey)
      logs.push_back({key, std::move(name)});
  }
  std::sort(logs.begin(), logs.end(), [](const Dated& a, const Dated& b) {
    return a.key != b.key ? a.key > b.key : a.name < b.name;
  });

  struct Tally {
    int nets = 0;
    int newest = 0;  // the net (0 the newest) the station was last heard in
    std::string date;
    FoundStation station;
  };
  const CallJoin join(roster);
  std::unordered_map<std::string, Tally> tally;
  Regulars out;
  for (const Dated& log : logs) {
    if (out.nets == kRegularNets) break;
    const LogRead read = readLogFile(logFolder / log.name);
    if (!read.ok) continue;  // an unreadable log tells nothing; the next older one counts
    const int net = out.nets++;
    const Date d{static_cast<int>(log.key / 10000), static_cast<int>(log.key / 100 % 100),
                 static_cast<int>(log.key % 100)};
    std::unordered_set<std::string> heard;  // one check-in a net, however often it is logged
    for (const LogRecord& r : read.records) {
      if (r.callSign.empty()) continue;
      std::string call = join.current(r.callSign);
      if (!heard.insert(call).second) continue;
      Tally& t = tally[call];
      if (t.nets++ == 0) t = {1, net, dateText(d), {call, r.name, r.qth, {}, false}};
    }
  }
  std::unordered_set<std::string> inTonight;
  for (const std::string& call : heardToday) inTonight.insert(join.current(call));
  std::vector<const Tally*> regular;
  for (const auto& [call, t] : tally)
    if (2 * t.nets >= out.nets && !inTonight.count(call)) regular.push_back(&t);
  std::sort(regular.begin(), regular.end(), [](const Tally* a, const Tally* b) {
    if (a->nets != b->nets) return a->nets > b->nets;
    if (a->newest != b->newest) return a->newest < b->newest;
    return a->station.callSign < b->station.callSign;
  });
  for (const Tally* t : regular) {
    out.stations.push_back(t->station);
    out.stations.back().where = toDec(t->nets) + " of last " + toDec(out.nets) + "  " + t->date;
  }
  return out;
}

std::string foundStationLine(int n, const FoundStation& station) {
  // The number ends in "." so no line can pass for a check-in line ("N " opens those).
  std::string line = toDec(n) + ".";
  line.append(line.size() < 5 ? 5 - line.size() : 1, ' ');
  line += station.checkedIn ? "(in) " : "     ";
  line += rosterViewLine({station.callSign, station.name, station.qth, {}, {}, {}});
  line.append(station.qth.size() < 22 ? 22 - station.qth.size() : 1, ' ');
  return line + station.where;
}

// ---- the entry line's view of the answers ---------------------------------------------------

namespace {
constexpr const char* kSearchHint = "Enter # to check in, <Esc> to return";
constexpr const char* kFindTitle = " Find a call";
}  // namespace

bool Session::searchShown() const { return !searchLines.empty() && view.lines == searchLines; }

void Session::showFound(const std::vector<FoundStation>& found, const std::string& noneText) {
  leavePastLogView();
  if (!searchShown()) label3BeforeSearch = view.label3;
  renderCheckInLines(ackMode());  // ends a roster view, as every redraw of the list does
  std::vector<std::string> lines, calls;
  for (const FoundStation& st : found) {
    calls.push_back(upper1252(st.callSign));
    lines.push_back(foundStationLine(static_cast<int>(lines.size()) + 1, st));
  }
  if (lines.empty()) lines.push_back(noneText);
  view.lines = lines;
  view.selected = -1;
  view.fixedFont = true;
  view.label3 = kSearchHint;
  view.entryText.clear();
  speak(view, spokenFound(lines, calls.size()));
  searchLines = std::move(lines);
  searchCalls = std::move(calls);
  focusEntry();
  doEvents();
}

void Session::showStationSearch(const std::string& typed) {
  const CallPattern pattern(typed);
  if (pattern.asksForRegulars()) {
    mRegulars_Click();
    return;
  }
  if (!pattern.valid()) {
    ui.dialogs.messageBox(upper1252(typed) +
                              " is no callsign pattern. Use letters, digits and /, with ? for "
                              "any one character and * for any run of characters.",
                          kFindTitle, Buttons::OK, Answer::OK);
    view.entryText.clear();
    return;
  }
  std::string rosterData, club, names;
  readBytes(rosterPath(), rosterData);
  readBytes(appFile("BURROW.DAT"), club);
  readBytes(appFile("ck2list.dat"), names);
  std::vector<FoundStation> found = findStations(pattern, rosterData, club, names);
  std::unordered_set<std::string> in;
  for (int i = 1; i <= checkIns.count; ++i) in.insert(checkIns.field(i, 1));
  for (FoundStation& st : found) st.checkedIn = in.count(upper1252(st.callSign)) > 0;
  showFound(found, "No station in the roster, club list or name list fits " + upper1252(typed));
}

void Session::mFindCall_Click() {
  const std::string answer = ui.dialogs.inputBox(
      "Enter what you heard of the call: ? stands for any one character, * for any run.",
      kFindTitle, "");
  if (trimSpaces(answer).empty()) return;
  showStationSearch(trimSpaces(answer));
}

void Session::mRegulars_Click() {
  std::vector<std::string> heard;
  for (int i = 1; i <= checkIns.count; ++i) heard.push_back(checkIns.field(i, 1));
  const Regulars r = findRegulars(logFolder, ui.clock.today(), roster, heard);
  showFound(r.stations,
            r.nets == 0 ? "No check-in log of an earlier net in the log folder"
                        : "Every regular of the last " + toDec(r.nets) + " nets has checked in");
}

bool Session::pickFound(const std::string& typed) {
  if (!searchShown() || !isNumeric(typed)) return false;
  const double v = roundHalfEven(numericValue(typed));
  view.entryText.clear();
  if (v < 1 || v > static_cast<double>(searchCalls.size())) {
    speak(view, "No station " + typed);
    return true;
  }
  const std::string call = searchCalls[static_cast<size_t>(v) - 1];
  view.label3 = label3BeforeSearch;
  // As if the callsign had been typed: a callsign is checked in in Acknowledge mode.
  selectAck();
  updateCheckIns();
  checkInCallsign(call);
  return true;
}

void Session::leaveSearch() {
  if (!searchShown()) return;
  view.label3 = label3BeforeSearch;
  updateCheckIns();
}

}  // namespace kelpie
