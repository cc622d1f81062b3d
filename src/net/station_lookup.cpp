// Turns a callsign typed on the entry line into today's check-in: roster, club list, nowhere.
#include <array>

#include "data/checkin_times.h"
#include "data/quoted.h"
#include "geo/adif.h"
#include "net/list_lines.h"
#include "net/session.h"

namespace kelpie {

std::string gridLookup(Session& s, const std::string& callsign) {
  const AdifGrid g = getADIFGrid(s.appFile("vhf4k.adi"), callsign, s.settings.netControlGrid,
                                 s.settings.distanceUnit);
  if (g.status == BeamStatus::CalcError)
    s.ui.dialogs.messageBox(kCalcErrorMessage, "", Buttons::OK, Answer::OK);
  return g.found ? g.gridText : std::string();
}

namespace {
// The first station record of the roster file whose callsign is call (the header never is).
bool findInRosterFile(const fs::path& path, const std::string& call, RosterEntry& out) {
  std::string data;
  if (!readBytes(path, data)) return false;
  std::vector<std::string_view> rec;
  size_t lineNo = 0;
  bool matching = false;
  forEachLine(data, [&](std::string_view line) {
    const size_t field = lineNo++ % 6;
    if (lineNo <= 6) return true;  // the header record
    if (field == 0) matching = line == call;
    if (!matching) return true;
    rec.push_back(line);
    return rec.size() < 6;
  });
  // A record cut short at the end of the file is not a station.
  if (rec.size() < 6) return false;
  for (int f = 1; f <= 6; ++f) out.field(f) = std::string(rec[static_cast<size_t>(f - 1)]);
  return true;
}
}  // namespace

void Session::getStationInfo(std::string& result) {
  std::string call = entryText;
  const bool inOut = !call.empty() && call.back() == '-';
  if (inOut) call.pop_back();

  for (int i = 1; i <= checkIns.count; ++i) {
    if (checkIns.field(i, 1) != call) continue;
    ui.dialogs.messageBox(call + " already checked-in.", call + " in list...", Buttons::OK,
                          Answer::OK);
    view.entryText.clear();
    for (int k = 0; k < static_cast<int>(view.lines.size()); ++k)
      if (startsWith(view.lines[static_cast<size_t>(k)], call)) selectLine(k);
    return;
  }

  const fs::path rosterFile = rosterPath();
  const fs::path clubFile = appFile("BURROW.DAT");
  ensureFileExists(rosterFile);
  ensureFileExists(clubFile);
  const std::string N = toDec(checkIns.count + 1);
  const std::string mid = inOut ? " in&out " : "    ";

  auto takeRow = [&]() -> CheckInRow& {
    ++checkIns.count;
    CheckInRow& row = checkIns.row(checkIns.count);
    row = {};
    if (inOut) row.f[8] = "in&out ";
    row.timeIn = isoTimeText(ui.clock.nowUtc());
    row.inOut = inOut;
    return row;
  };

  RosterEntry known;
  if (findInRosterFile(rosterFile, call, known)) {
    CheckInRow& row = takeRow();
    view.lines.push_back(N + mid + known.callSign + "   " + known.name + "   " + known.qth +
                         (inOut ? "   " : "  ") + known.initialCheckInDate + "   " +
                         known.lastCheckInDate);
    for (int f = 1; f <= 5; ++f) row.f[static_cast<size_t>(f)] = known.field(f);
    setPrompt();
    doEvents();
    result = "OK";
    return;
  }

  const std::string D = today();
  std::string grid;
  bool clubFound = false;
  {
    std::string data;
    readBytes(clubFile, data);
    // The club list's record holding the callsign: three values, in either form.
    std::array<std::string, 3> rec;
    bool quoted = false;
    forEachLine(data, [&](std::string_view line) {
      quoted = !line.empty() && line[0] == '"';
      return !quoted;
    });
    if (quoted) {
      const std::vector<std::string> values = quotedValues(splitLines(data));
      for (size_t i = 0; i < values.size() && !clubFound; i += 3) {
        if (values[i] != call) continue;
        clubFound = true;
        for (size_t f = 0; f < 3; ++f) rec[f] = i + f < values.size() ? values[i + f] : "";
      }
    } else {
      size_t lineNo = 0;
      forEachLine(data, [&](std::string_view line) {
        const size_t f = lineNo++ % 3;
        if (f == 0) {
          if (clubFound) return false;
          clubFound = line == call;
        }
        if (clubFound) rec[f] = std::string(line);
        return true;
      });
    }
    if (clubFound) {
      CheckInRow& row = takeRow();
      grid = gridLookup(*this, call);
      row.f[6] = grid;
      view.lines.push_back(N + mid + rec[0] + "   " + rec[1] + "   " + rec[2] + "  " + grid +
                           "  First time check-in   " + D);
      row.f[1] = rec[0];
      row.f[2] = rec[1];
      row.f[3] = rec[2] + "  " + grid;
      row.f[4] = "  First time check-in";
      row.f[5] = D;
    }
  }
  if (!clubFound) {
    CheckInRow& row = takeRow();
    grid = gridLookup(*this, call);
    row.f[6] = grid;
    view.lines.push_back(N + mid + call + "  " + grid +
                         (inOut ? "   First time check-in   " : "  First time check-in   ") + D);
    row.f[1] = call;
    if (row.f[3].empty()) row.f[3] = row.f[6];
    row.f[4] = "  First time check-in";
    row.f[5] = D;
  }

  std::string names;
  if (readBytes(appFile("ck2list.dat"), names)) {
    forEachLine(names, [&](std::string_view line) {
      if (trimSpaces(line.substr(0, 7)) != call) return true;
      checkIns.field(checkIns.count, 2) = std::string(line.size() > 7 ? line.substr(7) : "");
      doEvents();
      return false;
    });
  }
  if (!grid.empty()) updateCheckIns();
  view.entryText.clear();
  setPrompt();
  result = "OK";
}

}  // namespace kelpie
