#include "forms/net_events.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

#include "data/checkin_times.h"
#include "reports/export.h"

namespace kelpie {

namespace {

std::optional<DateTime> localOf(const std::string& utc, Clock& clock) {
  if (const auto t = parseIsoTime(utc)) return clock.localTime(*t);
  return std::nullopt;
}

auto minuteTuple(const DateTime& t) {
  return std::make_tuple(t.date.year, t.date.month, t.date.day, t.hour, t.minute);
}

auto secondTuple(const DateTime& t) {
  return std::make_tuple(t.date.year, t.date.month, t.date.day, t.hour, t.minute, t.second);
}

}  // namespace

bool givenWithCheckIn(const std::string& at, const std::string& timeIn) {
  return at.empty() || (!timeIn.empty() && at.compare(0, 16, timeIn, 0, 16) == 0);
}

int compareMinutes(const DateTime& a, const DateTime& b) {
  const auto x = minuteTuple(a), y = minuteTuple(b);
  return x < y ? -1 : (y < x ? 1 : 0);
}

std::vector<NetEvent> netEvents(const FormNet& net, Clock& clock) {
  std::vector<NetEvent> events;
  std::optional<DateTime> lastCheckIn;
  std::string lastCheckInAt;
  for (size_t i = 0; i < net.checkIns.size(); ++i) {
    const NetCheckIn& c = net.checkIns[i];
    const CheckInFacts& f = c.facts;
    if (const std::optional<DateTime> in = localOf(c.timeIn, clock)) {
      lastCheckIn = in;
      lastCheckInAt = c.timeIn;
    }
    auto add = [&](EventKind kind, const std::string& at) {
      NetEvent e{kind, i, localOf(at, clock), {}, {}};
      e.key = e.local ? e.local : lastCheckIn;
      e.at = e.local ? at : lastCheckInAt;
      events.push_back(std::move(e));
    };
    add(EventKind::CheckIn, c.timeIn);
    if (!f.tactical.empty()) add(EventKind::Tactical, f.tacticalAt);
    if (!f.relay.empty() && !givenWithCheckIn(f.relayAt, c.timeIn))
      add(EventKind::Relay, f.relayAt);
    if (f.count > 0) add(EventKind::Listing, f.listedAt);
    if (f.count > 0 && !f.passedTo.empty()) add(EventKind::Pass, f.passedAt);
    if (!f.remark.empty() && !givenWithCheckIn(f.remarkAt, c.timeIn))
      add(EventKind::Remark, f.remarkAt);
  }
  std::stable_sort(events.begin(), events.end(), [](const NetEvent& a, const NetEvent& b) {
    if (!b.key) return false;
    return !a.key || secondTuple(*a.key) < secondTuple(*b.key);
  });
  return events;
}

std::vector<NetEvent> cutToPeriod(const std::vector<NetEvent>& events, const DateTime& from,
                                  const DateTime& to) {
  std::vector<NetEvent> kept;
  for (const NetEvent& e : events)
    if (!e.key || (compareMinutes(*e.key, from) >= 0 && compareMinutes(*e.key, to) <= 0))
      kept.push_back(e);
  return kept;
}

Period periodOf(const std::vector<NetEvent>& events) {
  Period p;
  for (const NetEvent& e : events) {
    if (!e.key) continue;
    if (!p.known) p.from = *e.key;
    p.to = *e.key;
    p.known = true;
  }
  return p;
}

std::string formDate(const Date& d) { return dateIso(d); }
std::string formTime(const DateTime& t) { return hhmm(t); }

}  // namespace kelpie
