// The ICS 309 communications log and the ICS 214 activity log of a net: their rows and blocks
// as data, the 309's rows as CSV, and each form laid out on its pages.
#pragma once

#include <string>
#include <vector>

#include "forms/net_events.h"
#include "forms/sheet_layout.h"

namespace kelpie {

enum class IcsForm { Log309, Activity214 };

// What the operator fills in (Windows-1252 text); the period and the moment of preparation
// are local times.
struct FormHeader {
  std::string incidentName, incidentNumber;
  DateTime from, to;
  std::string netName, operatorName, operatorCall;
  std::string preparedName, preparedCall;
  std::string position, agency;  // the 214's ICS position and home agency (and unit)
  DateTime prepared;
};

// ---- ICS 309 --------------------------------------------------------------------------------
struct Row309 {
  std::string time, from, to, message;
  bool operator==(const Row309&) const = default;
};

// One row per event, in the events' order. A station shows as its tactical call with its
// callsign ("EOC (W1ABC)") from the moment the call was posted; the net control station as the
// radio operator's callsign.
std::vector<Row309> rows309(const FormNet& net, const std::vector<NetEvent>& events,
                            const FormHeader& header);
// RFC 4180, UTF-8 with a byte-order mark, CR LF: "Date,Time,From,To,Message" and a line a row.
std::string csv309(const FormNet& net, const std::vector<NetEvent>& events,
                   const FormHeader& header);
FormLayout layout309(const std::vector<Row309>& rows, const FormHeader& header);

// ---- ICS 214 --------------------------------------------------------------------------------
struct Resource214 {
  std::string name, position, agency;
  bool operator==(const Resource214&) const = default;
};
struct Activity214 {
  std::string when, text;
  bool operator==(const Activity214&) const = default;
};

// The net control operator, the loggers of a shared net, the stations posted to a tactical
// call by the period's end (all: every event of the net).
std::vector<Resource214> resources214(const FormNet& net, const std::vector<NetEvent>& all,
                                      const FormHeader& header);
// The notable moments of the period: the net's opening, each Emergency or Priority listing and
// its pass, tactical posts, relays, the traffic still open at the period's end, and the close
// of the net (or the period) with its totals. all: every event of the net; cut: the period's.
std::vector<Activity214> activities214(const FormNet& net, const std::vector<NetEvent>& all,
                                       const std::vector<NetEvent>& cut, const FormHeader& header);
FormLayout layout214(const std::vector<Resource214>& resources,
                     const std::vector<Activity214>& activities, const FormHeader& header);

// The form's file name beside the log: "120526F ICS-309.pdf".
std::string formFileName(const std::string& logName, IcsForm form, const std::string& extension);

}  // namespace kelpie
