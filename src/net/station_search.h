// Finding a station the operator only half heard, among the roster, the club list and the name
// list; and the regulars of the last nets who have not checked in tonight.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/roster.h"
#include "data/text.h"

namespace kelpie {

// What follows "?" on the entry line: letters, digits and "/", where "?" stands for any one
// character and "*" for any run. Without "*" it may fit anywhere in a callsign; with "*" it
// must fit the whole callsign. Letter case never matters.
class CallPattern {
 public:
  explicit CallPattern(std::string_view typed);
  // False when the pattern holds anything but letters, digits, "/", "?" and "*".
  bool valid() const { return valid_; }
  // No letter or digit at all: the operator asks for the regulars instead.
  bool asksForRegulars() const { return !hasLetterOrDigit_; }
  bool fits(std::string_view callSign) const;

 private:
  std::string glob_;  // upper case, with "*" at both ends when the typed pattern had none
  bool valid_ = true;
  bool hasLetterOrDigit_ = false;
};

// One line of a search's answer.
struct FoundStation {
  std::string callSign, name, qth;
  std::string where;  // the roster's latest check-in, "club list", "name list", or "k of last n"
  bool checkedIn = false;
};

// The stations of the three files (their contents as read) whose callsign fits, each once:
// roster stations first, newest latest check-in first, then the club list's, then the name
// list's, in file order. A station in more than one file shows the roster's data, with a blank
// name or QTH taken from the club list, then the name list.
std::vector<FoundStation> findStations(const CallPattern& pattern, std::string_view rosterFile,
                                       std::string_view clubFile, std::string_view nameList);

// The callsign a station carries now: a former call of a roster station becomes that station's
// call, as the statistics fold a callsign change.
class CallJoin {
 public:
  explicit CallJoin(const Roster& roster);
  std::string current(const std::string& callSign) const;

 private:
  std::vector<std::pair<std::string, std::string>> formerToNow_;  // sorted by former call
};

// How many of the last nets a regular was heard in, and the stored logs they were read from.
inline constexpr int kRegularNets = 8;
struct Regulars {
  int nets = 0;  // logs read: the newest kRegularNets readable ones before today
  std::vector<FoundStation> stations;
};

// The stations heard in at least half of the last nets before today (the logs of LogFolder,
// dated by their names) that are not among heardToday, the most faithful first. Their "where"
// reads "k of last n" and the date of their latest check-in.
Regulars findRegulars(const fs::path& logFolder, const Date& today, const Roster& roster,
                      const std::vector<std::string>& heardToday);

// The list line of answer number n: the number, "(in)" for a station already checked in, then
// the roster view's columns and where the station was found.
std::string foundStationLine(int n, const FoundStation& station);

}  // namespace kelpie
