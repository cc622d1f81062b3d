// The callsign change: a known station's roster record takes its new callsign, keeps the old
// one as its former callsign, and today's check-in under the new callsign gets its history.
#include "net/list_lines.h"
#include "net/session.h"
#include "net/spoken.h"

namespace kelpie {

namespace {
const char* const kOldCallLabel = "      the old call";
const char* const kNewCallLabel = "      the new call";

// The first station row (the header never) whose callsign is call and that is not row skip.
int findStationRow(const Roster& roster, const std::string& call, int skip) {
  for (int r = 2; r <= roster.count(); ++r)
    if (r != skip && roster.row(r).callSign == call) return r;
  return 0;
}

// The line selected in the list as Kelpie shows it now: the check-in row it shows (0 when the
// line is no check-in), or, in the roster view, the roster row.
struct SelectedLine {
  bool any = false;
  int checkInRow = 0;
  int rosterRow = 0;
};

SelectedLine selectedLine(const Session& s) {
  SelectedLine sel;
  const int index = s.view.selected;
  if (index < 0 || index >= static_cast<int>(s.view.lines.size())) return sel;
  const std::string& line = s.view.lines[static_cast<size_t>(index)];
  if (s.rosterEditMode) {
    const int r = index + 2;
    if (r <= s.roster.count() && line == rosterViewLine(s.roster.row(r))) {
      sel.any = true;
      sel.rosterRow = r;
    }
    return sel;
  }
  const int row = index + 1;
  if (row <= s.checkIns.count && startsWith(line, toDec(row) + " ")) {
    sel.any = true;
    sel.checkInRow = row;
  }
  return sel;
}
}  // namespace

void Session::getNewCallDupeEntry(const std::string& newCall, int newCallIndex, bool& changed) {
  if (newCallIndex == 0) return;
  // The header is no station: it is never taken for a duplicate.
  const int i = findStationRow(roster, newCall, newCallIndex);
  if (i == 0) return;
  roster.rows.erase(roster.rows.begin() + (i - 1));
  changed = true;
  doEvents();
}

void Session::mUpdateToNewCall_Click() { vanityCallUpdate(); }

void Session::mnuPopUpUpdateCall_Click() {
  if (!rosterEditMode) vanityCallUpdate();
}

void Session::vanityCallUpdate() {
  if (viewOnlyLog) return;

  // Callsigns are stored and matched as whole texts: spaces around a typed one are dropped so a
  // record never ends up under a callsign no entry can match.
  const std::string oldAnswer =
      trimSpaces(ui.dialogs.inputBox("Enter the station`s OLD callsign", " Old call", ""));
  if (oldAnswer.empty()) return;
  const std::string oldCall = upper1252(oldAnswer);

  const SelectedLine sel = selectedLine(*this);
  std::string newCall;
  if (!sel.any) {
    const std::string answer =
        trimSpaces(ui.dialogs.inputBox("Enter the station`s NEW callsign", " New call", ""));
    if (answer.empty()) return;
    newCall = upper1252(answer);
  } else {
    newCall = sel.checkInRow != 0 ? checkIns.field(sel.checkInRow, 1)
                                  : roster.row(sel.rosterRow).callSign;
    if (ui.dialogs.messageBox("Is the new call " + newCall + " ?   <Enter> for yes.",
                              "Is " + newCall + " the new call ?", Buttons::YesNo,
                              Answer::Yes) != Answer::Yes)
      return;
  }
  doEvents();

  if (newCall == oldCall) {
    ui.dialogs.messageBox("OOPS! new call is " + newCall + " and old call is " + oldCall + " ?",
                          " Same calls ?", Buttons::OK, Answer::OK);
    return;
  }

  // The header holds the band, never a station: a band typed as the old callsign must not
  // rename it.
  const int r = findStationRow(roster, oldCall, 0);
  bool checkInChanged = false;
  std::string report;
  if (r != 0) {
    RosterEntry& e = roster.row(r);
    view.lines = {e.callSign + kOldCallLabel, e.name,       e.qth, e.initialCheckInDate,
                  e.lastCheckInDate,          e.oldCallSign};
    view.selected = -1;
    e.callSign = newCall;
    e.oldCallSign = oldCall;
    for (const std::string& line :
         {std::string(), std::string("changed to this:"), std::string(), e.callSign + kNewCallLabel,
          e.name, e.qth, e.initialCheckInDate, e.lastCheckInDate, e.oldCallSign + kOldCallLabel})
      view.lines.push_back(line);
    report = spokenReport(view.lines);
    if (sel.checkInRow != 0) {
      for (int f = 1; f <= 5; ++f) checkIns.field(sel.checkInRow, f) = e.field(f);
      checkInChanged = true;
    }
    ui.dialogs.messageBox("This edit will be done to the NETCONT.ROL file.", "", Buttons::OK,
                          Answer::OK);
    backUpNCFile();
    saveNCFileAfterEdit();
  } else {
    ui.dialogs.messageBox(oldCall + " not found. Nothing done...", " Not found", Buttons::OK,
                          Answer::OK);
  }

  bool changed = false;
  getNewCallDupeEntry(newCall, r, changed);
  if (changed) saveNCFileAfterEdit();

  updateCheckIns();
  // Today's log keeps the check-in's callsign, name and QTH: it is written now rather than at
  // the next save, so a net re-started after a crash does not fold the first-time name and QTH
  // back over the station's record.
  if (checkInChanged) saveLogFile();
  if (!report.empty()) speak(view, report);
  // The list shows the check-ins again, so the popup must act on them, not on roster rows.
  if (rosterEditMode) {
    rosterEditMode = false;
    clickedListIndex = 0;
    menu("mnuPopUpUpdateCall").visible = true;
    menu("mnuPopUpMultiple").visible = true;
  }
}

}  // namespace kelpie
