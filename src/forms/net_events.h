// A net as the ICS forms see it: its check-ins with what was recorded of each, turned into one
// list of dated events (a check-in, a listing, a pass, a tactical post, a relay, a remark) in
// time order, and cut to the operational period the operator asks for.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "data/checkin_facts.h"
#include "platform/seams.h"

namespace kelpie {

struct NetCheckIn {
  std::string callSign, name;
  std::string timeIn;  // UTC "YYYY-MM-DDTHH:MM:SSZ", "" when unknown
  bool inOut = false;
  bool firstTime = false;
  CheckInFacts facts;
};

struct FormNet {
  std::string logName;  // "120526F.ILE"
  bool today = false;   // today's net (it may still be running)
  std::vector<NetCheckIn> checkIns;
  std::vector<std::string> loggers;  // the other operators of a shared net, by callsign
};

enum class EventKind { CheckIn, Listing, Pass, Tactical, Relay, Remark };

struct NetEvent {
  EventKind kind = EventKind::CheckIn;
  size_t checkIn = 0;             // index into FormNet::checkIns
  std::optional<DateTime> local;  // the operator's local time, when known
  // Where the event sorts and is cut: its own time, or, when unknown, that of its check-in (a
  // check-in's: the check-in's before it); none before any known time. at is its UTC text.
  std::optional<DateTime> key;
  std::string at;
};

// A relay or remark entered in the minute of the check-in (or with no time of its own) was
// given with the check-in.
bool givenWithCheckIn(const std::string& at, const std::string& timeIn);

// Every event of the net in time order (events of one moment in list order). A relay, remark
// or tactical call entered at the check-in's own moment (or with no time) belongs to the
// check-in and is no event of its own. clock converts the UTC times to local time.
std::vector<NetEvent> netEvents(const FormNet& net, Clock& clock);

// A moment to the minute compared as the form shows it: -1, 0 or 1.
int compareMinutes(const DateTime& a, const DateTime& b);

// The events from the minute `from` to the minute `to`, both included; an event with no known
// time anywhere before it is kept (there is nothing to cut it by).
std::vector<NetEvent> cutToPeriod(const std::vector<NetEvent>& events, const DateTime& from,
                                  const DateTime& to);

struct Period {
  DateTime from, to;
  bool known = false;  // false: no event has a time
};
// The first and the last event's moments.
Period periodOf(const std::vector<NetEvent>& events);

// "2026-12-05" and "19:07".
std::string formDate(const Date& d);
std::string formTime(const DateTime& t);

}  // namespace kelpie
