#include "forms/ics_forms.h"

#include <algorithm>

#include "data/text.h"
#include "reports/export.h"

namespace kelpie {

namespace {

std::string joined(const std::string& a, const std::string& b, const char* between = ", ") {
  if (a.empty() || b.empty()) return a + b;
  return a + between + b;
}

std::string ncsOf(const FormHeader& h) { return h.operatorCall.empty() ? "NCS" : h.operatorCall; }

// "2 Priority for Boston".
std::string trafficText(const CheckInFacts& f) {
  std::string t = toDec(f.count) + " " + precedenceWord(f.precedence);
  if (!f.dest.empty()) t += " for " + f.dest;
  return t;
}

// The station as the event names it: its tactical call, once posted, with its callsign.
std::string stationId(const NetCheckIn& c, const NetEvent& e) {
  const CheckInFacts& f = c.facts;
  const bool posted =
      !f.tactical.empty() && (f.tacticalAt.empty() || (!e.at.empty() && f.tacticalAt <= e.at));
  return posted ? f.tactical + " (" + c.callSign + ")" : c.callSign;
}

std::string checkInMessage(const NetCheckIn& c) {
  const CheckInFacts& f = c.facts;
  std::string m = "Checked in";
  if (c.firstTime) m += ", first time";
  if (c.inOut) m += ", in and out";
  if (!f.relay.empty() && givenWithCheckIn(f.relayAt, c.timeIn)) m += ", via " + f.relay;
  if (!f.remark.empty() && givenWithCheckIn(f.remarkAt, c.timeIn)) m += "; " + f.remark;
  return m;
}

std::string whenText(const std::optional<DateTime>& t) {
  return t ? formDate(t->date) + " " + formTime(*t) : std::string();
}

bool urgent(const CheckInFacts& f) { return f.precedence == 'E' || f.precedence == 'P'; }

std::string incidentText(const FormHeader& h) {
  return joined(h.incidentName, h.incidentNumber.empty() ? "" : "Activation # " + h.incidentNumber);
}

// "1 Emergency, 2 Priority" by precedence, most urgent first; "none".
std::string byPrecedence(const int (&counts)[4]) {
  std::string t;
  for (size_t p = 0; p < kPrecedences.size(); ++p)
    if (counts[p] > 0) t = joined(t, toDec(counts[p]) + " " + precedenceWord(kPrecedences[p]));
  return t.empty() ? "none" : t;
}

void countTraffic(int (&counts)[4], const CheckInFacts& f) {
  const size_t p = kPrecedences.find(f.precedence);
  if (p != std::string_view::npos) counts[p] += f.count;
}

const NetEvent* passOf(const std::vector<NetEvent>& all, size_t checkIn) {
  for (const NetEvent& e : all)
    if (e.kind == EventKind::Pass && e.checkIn == checkIn) return &e;
  return nullptr;
}

}  // namespace

std::vector<Row309> rows309(const FormNet& net, const std::vector<NetEvent>& events,
                            const FormHeader& header) {
  std::vector<Row309> rows;
  rows.reserve(events.size());
  const std::string ncs = ncsOf(header);
  for (const NetEvent& e : events) {
    const NetCheckIn& c = net.checkIns[e.checkIn];
    const CheckInFacts& f = c.facts;
    Row309 r{e.local ? formTime(*e.local) : "", stationId(c, e), ncs, {}};
    switch (e.kind) {
      case EventKind::CheckIn:
        r.message = checkInMessage(c);
        break;
      case EventKind::Listing:
        r.message = "Listed " + trafficText(f);
        break;
      case EventKind::Pass:
        r.to = f.passedTo;
        r.message = "Passed " + trafficText(f);
        break;
      case EventKind::Tactical:
        r.from = ncs;
        r.to = c.callSign;
        r.message = "Tactical call " + f.tactical;
        break;
      case EventKind::Relay:
        r.message = "Relayed by " + f.relay;
        break;
      case EventKind::Remark:
        r.message = "Remark: " + f.remark;
        break;
    }
    rows.push_back(std::move(r));
  }
  return rows;
}

std::string csv309(const FormNet& net, const std::vector<NetEvent>& events,
                   const FormHeader& header) {
  std::string out =
      "\xEF\xBB\xBF"
      "Date,Time,From,To,Message\r\n";
  const std::vector<Row309> rows = rows309(net, events, header);
  for (size_t i = 0; i < rows.size(); ++i) {
    out += events[i].local ? formDate(events[i].local->date) : "";
    for (const std::string* s : {&rows[i].time, &rows[i].from, &rows[i].to, &rows[i].message}) {
      out += ',';
      out += csvField(utf8From1252(*s));
    }
    out += "\r\n";
  }
  return out;
}

FormLayout layout309(const std::vector<Row309>& rows, const FormHeader& h) {
  FormLayout f;
  f.title = "COMMUNICATIONS LOG (ICS 309)";
  f.name = "ICS 309 Communications Log";
  f.top = {
      {{0.45, "1. Incident Name:", incidentText(h)},
       {0.55, "2. Operational Period (Date/Time):",
        "From " + whenText(h.from) + " to " + whenText(h.to)}},
      {{0.45, "3. Radio Net Name (for NCOs) or Position/Tactical Call:", h.netName},
       {0.55, "4. Radio Operator (Name, Call Sign):", joined(h.operatorName, h.operatorCall)}}};
  Table t{"5. COMMUNICATIONS LOG",
          {{0.1, "", "Time (24:00)"},
           {0.16, "FROM", "Call Sign/ID"},
           {0.07, "FROM", "Msg #"},
           {0.16, "TO", "Call Sign/ID"},
           {0.07, "TO", "Msg #"},
           {0.44, "", "Message"}},
          {}};
  t.rows.reserve(rows.size());
  for (const Row309& r : rows) t.rows.push_back({r.time, r.from, "", r.to, "", r.message});
  f.tables.push_back(std::move(t));
  f.bottom = {{{0.45, "6. Prepared By (Name, Call Sign):", joined(h.preparedName, h.preparedCall)},
               {0.33, "7. Date & Time Prepared:", whenText(h.prepared)},
               {0.22, "8. ICS 309", "", true}}};
  return f;
}

std::vector<Resource214> resources214(const FormNet& net, const std::vector<NetEvent>& all,
                                      const FormHeader& header) {
  std::vector<Resource214> r{{joined(header.operatorName, header.operatorCall),
                              header.position.empty() ? "Net Control Operator" : header.position,
                              header.agency}};
  std::vector<std::string> seen{header.operatorCall};
  auto fresh = [&](const std::string& call) {
    if (std::find(seen.begin(), seen.end(), call) != seen.end()) return false;
    seen.push_back(call);
    return true;
  };
  for (const std::string& call : net.loggers)
    if (fresh(call)) r.push_back({call, "Net Logger", ""});
  for (const NetEvent& e : all) {
    if (e.kind != EventKind::Tactical || (e.key && compareMinutes(*e.key, header.to) > 0)) continue;
    const NetCheckIn& c = net.checkIns[e.checkIn];
    if (fresh(c.callSign)) r.push_back({joined(c.callSign, c.name), c.facts.tactical, ""});
  }
  return r;
}

std::vector<Activity214> activities214(const FormNet& net, const std::vector<NetEvent>& all,
                                       const std::vector<NetEvent>& cut, const FormHeader& header) {
  std::vector<Activity214> a;
  const auto firstCheckIn = std::find_if(
      all.begin(), all.end(), [](const NetEvent& e) { return e.kind == EventKind::CheckIn; });
  int checkIns = 0, firstTimers = 0, listed[4] = {}, passed[4] = {};
  for (const NetEvent& e : cut) {
    const NetCheckIn& c = net.checkIns[e.checkIn];
    const CheckInFacts& f = c.facts;
    const std::string when = whenText(e.local);
    switch (e.kind) {
      case EventKind::CheckIn:
        ++checkIns;
        firstTimers += c.firstTime ? 1 : 0;
        if (e.checkIn == firstCheckIn->checkIn)
          a.push_back({when, "Net opened: first check-in, " + c.callSign});
        if (!f.relay.empty() && givenWithCheckIn(f.relayAt, c.timeIn))
          a.push_back({when, c.callSign + " checked in via " + f.relay});
        break;
      case EventKind::Listing:
        countTraffic(listed, f);
        if (urgent(f)) a.push_back({when, c.callSign + " listed " + trafficText(f)});
        break;
      case EventKind::Pass:
        countTraffic(passed, f);
        if (urgent(f))
          a.push_back({when, c.callSign + " passed " + trafficText(f) + " to " + f.passedTo});
        break;
      case EventKind::Tactical:
        a.push_back({when, c.callSign + " posted as tactical call " + f.tactical});
        break;
      case EventKind::Relay:
        a.push_back({when, c.callSign + " relayed by " + f.relay});
        break;
      case EventKind::Remark:
        break;
    }
  }
  const std::string end = whenText(header.to);
  auto notAfterEnd = [&](const NetEvent& e) {
    return !e.key || compareMinutes(*e.key, header.to) <= 0;
  };
  for (const NetEvent& e : all) {
    if (e.kind != EventKind::Listing || !notAfterEnd(e)) continue;
    const NetEvent* pass = passOf(all, e.checkIn);
    if (pass && notAfterEnd(*pass)) continue;
    const NetCheckIn& c = net.checkIns[e.checkIn];
    a.push_back({end, "Traffic still open: " + c.callSign + ", " + trafficText(c.facts)});
  }
  const bool closed = !net.today && (all.empty() || notAfterEnd(all.back()));
  const std::string totals = ": " + toDec(checkIns) + " check-ins, " + toDec(firstTimers) +
                             " first-time; messages listed: " + byPrecedence(listed) +
                             "; passed: " + byPrecedence(passed) + ".";
  if (closed)
    a.push_back({all.empty() ? end : whenText(all.back().key), "Net closed" + totals});
  else
    a.push_back({end, "Period ended" + totals});
  return a;
}

FormLayout layout214(const std::vector<Resource214>& resources,
                     const std::vector<Activity214>& activities, const FormHeader& h) {
  FormLayout f;
  f.title = "ACTIVITY LOG (ICS 214)";
  f.name = "ICS 214 Activity Log";
  f.top = {{{0.4, "1. Incident Name:", incidentText(h)},
            {0.3, "2. Operational Period: Date From / To:",
             formDate(h.from.date) + " / " + formDate(h.to.date)},
            {0.3, "Time From / To:", formTime(h.from) + " / " + formTime(h.to)}},
           {{0.34, "3. Name:", joined(h.operatorName, h.operatorCall)},
            {0.33, "4. ICS Position:", h.position},
            {0.33, "5. Home Agency (and Unit):", h.agency}}};
  Table res{"6. RESOURCES ASSIGNED",
            {{0.4, "", "Name"}, {0.3, "", "ICS Position"}, {0.3, "", "Home Agency (and Unit)"}},
            {}};
  for (const Resource214& r : resources) res.rows.push_back({r.name, r.position, r.agency});
  Table log{"7. ACTIVITY LOG", {{0.2, "", "Date/Time"}, {0.8, "", "Notable Activities"}}, {}};
  for (const Activity214& r : activities) log.rows.push_back({r.when, r.text});
  f.tables = {std::move(res), std::move(log)};
  f.bottom = {{{0.27, "8. Prepared by: Name:", joined(h.preparedName, h.preparedCall)},
               {0.22, "Position/Title:", h.position},
               {0.2, "Signature:", ""},
               {0.16, "Date/Time:", whenText(h.prepared)},
               {0.15, "ICS 214", "", true}}};
  return f;
}

std::string formFileName(const std::string& logName, IcsForm form, const std::string& extension) {
  const size_t dot = logName.rfind('.');
  return logName.substr(0, dot) + (form == IcsForm::Log309 ? " ICS-309." : " ICS-214.") + extension;
}

}  // namespace kelpie
