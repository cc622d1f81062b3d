// Grid insertion from vhf4k.adi into a station's QTH text, and opening the ADIF file itself.
#include "net/list_lines.h"
#include "net/session.h"

namespace kelpie {

void Session::mnuPopUpInsertGrid_Click() {
  // A past log on show: the popup edits nothing then.
  if (viewOnlyLog) return;
  if (rosterEditMode) {
    const int r = shownRosterRow(*this);
    if (r == 0) return;
    const std::string grid = gridLookup(*this, roster.row(r).callSign);
    if (grid.empty()) return;
    roster.row(r).qth += "  " + grid;
    saveNCFileAfterEdit();
    mEditNetControl_Click();
    return;
  }
  const int row = shownCheckInRow(*this);
  if (row == 0) return;
  const std::string grid = gridLookup(*this, checkIns.field(row, 1));
  if (grid.empty()) return;
  checkIns.field(row, 3) += "  " + grid;
  updateCheckIns();
  saveLogFile();
}

void Session::mEditADIF_Click() {
  // The desktop's own application for the file; nothing is said when there is none.
  ui.launcher.openDocument(pathText(appFile("vhf4k.adi")));
}

}  // namespace kelpie
