// Corrections from the list's popup menu: the roster view, callsign, name and QTH edits of a
// check-in or a roster station, and the web lookup of the selected line's callsign.
#include <algorithm>
#include <optional>

#include "net/list_lines.h"
#include "net/session.h"
#include "net/spoken.h"

namespace kelpie {

namespace {
// The value and at least one space after it: a value that fills or overflows its column would
// otherwise run into the next one, and the web lookup reads the callsign as the line's first
// word.
void appendColumn(std::string& line, const std::string& value, size_t width) {
  line += value;
  line.append(value.size() < width ? width - value.size() : 1, ' ');
}

// The input box of an optional answer: the typed text in upper case, or nothing when the
// answer is blank (Cancel included).
std::optional<std::string> askUpper(Session& s, const std::string& prompt, const std::string& title,
                                    const std::string& current) {
  const std::string answer = s.ui.dialogs.inputBox(prompt, title, current);
  if (trimSpaces(answer).empty()) return std::nullopt;
  return upper1252(answer);
}

const char* const kCallPrompt = "Enter Call to change, then hit <Enter>.";
const char* const kNamePrompt = "Enter Name to change, then hit <Enter>.";
const char* const kQthPrompt = "Enter QTH grid etc to change, then hit <Enter>.";

// One field of the selected check-in, edited through its box; saved at once.
void editCheckInField(Session& s, int field, const char* prompt, const char* title) {
  if (s.viewOnlyLog) return;
  const int row = shownCheckInRow(s);
  if (row == 0) return;
  const auto answer = askUpper(s, prompt, title, s.checkIns.field(row, field));
  if (!answer || shownCheckInRow(s) != row) return;
  s.checkIns.field(row, field) = *answer;
  s.updateCheckIns();
  s.saveLogFile();
  if (field == 2) s.clickedListIndex = 0;
}

// Name (field 2) or QTH (field 3) of the selected roster station; the roster file is written
// at once and the view drawn again with the same line selected.
void editRosterField(Session& s, int field, const char* promptTail, const char* titleTail) {
  if (s.viewOnlyLog) return;
  const int r = shownRosterRow(s);
  if (r == 0) return;
  const std::string call = s.roster.row(r).callSign;
  const auto answer =
      askUpper(s, call + promptTail, call + titleTail, s.roster.row(r).field(field));
  if (!answer || shownRosterRow(s) != r) return;
  s.roster.row(r).field(field) = *answer;
  s.saveNCFileAfterEdit();
  s.mEditNetControl_Click();
}

bool isMarkWord(std::string_view w) { return w == "<Ack>" || w == "<Com>" || w == "in&out"; }
}  // namespace

std::string rosterViewLine(const RosterEntry& e) {
  std::string line;
  line.reserve(24 + e.qth.size());
  appendColumn(line, e.callSign, 10);
  appendColumn(line, e.name, 13);
  line += e.qth;
  return line;
}

std::string callsignOfListLine(std::string_view line, bool rosterView) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ') {
      ++i;
      continue;
    }
    const size_t end = std::min(line.find(' ', i), line.size());
    words.push_back(line.substr(i, end - i));
    i = end;
  }
  size_t k = 0;
  if (!rosterView) {
    k = 1;  // the check-in number
    while (k < words.size() && isMarkWord(words[k])) ++k;
  }
  return k < words.size() ? std::string(words[k]) : std::string();
}

int shownCheckInRow(const Session& s) {
  const int row = s.selectedCheckIn;
  if (row < 1 || row > s.checkIns.count || row > static_cast<int>(s.view.lines.size())) return 0;
  // The line must still show that check-in: every check-in line starts with its number.
  if (!startsWith(s.view.lines[static_cast<size_t>(row - 1)], toDec(row) + " ")) return 0;
  return row;
}

int shownRosterRow(const Session& s) {
  const int line = s.selectedCheckIn;
  const int r = line + 1;
  if (line < 1 || r > s.roster.count() || line > static_cast<int>(s.view.lines.size())) return 0;
  if (!startsWith(s.view.lines[static_cast<size_t>(line - 1)], s.roster.row(r).callSign + " "))
    return 0;
  return r;
}

void Session::mEditNetControl_Click() {
  view.lines.clear();
  view.selected = -1;
  view.fixedFont = true;
  view.lines.reserve(static_cast<size_t>(std::max(0, roster.count() - 1)));
  for (int r = 2; r <= roster.count(); ++r) view.lines.push_back(rosterViewLine(roster.row(r)));
  rosterEditMode = true;
  if (clickedListIndex > 0) selectLine(clickedListIndex);
  menu("mnuPopUpUpdateCall").visible = false;
  menu("mnuPopUpMultiple").visible = false;
  view.label3 = "Hit  <Esc> when done editing";
  const size_t n = view.lines.size();
  speak(view, "The roster, " + toDec(static_cast<long long>(n)) +
                  (n == 1 ? " station. " : " stations. ") + spokenWords(view.label3));
}

void Session::mnuPopUpCall_Click() {
  if (rosterEditMode) return;
  editCheckInField(*this, 1, kCallPrompt, " Edit call");
}

void Session::mnuPopUpName_Click() {
  if (rosterEditMode)
    editRosterField(*this, 2, ": Enter Name to change, then hit <Enter>.", ": Edit name");
  else
    editCheckInField(*this, 2, kNamePrompt, " Edit Name");
}

void Session::mnuPopUpQTH_Click() {
  if (rosterEditMode)
    editRosterField(*this, 3, ": Enter QTH grid etc to change, then hit <Enter>.",
                    ": Edit QTH Grid etc");
  else
    editCheckInField(*this, 3, kQthPrompt, " Edit QTH Grid etc");
}

void Session::mnuPopUpMultiple_Click() {
  // Hidden in the roster view, where the selected line is no check-in.
  if (viewOnlyLog || rosterEditMode) return;
  const int row = shownCheckInRow(*this);
  if (row == 0) return;
  bool stored = false;
  for (const int field : {2, 3}) {
    const auto answer =
        field == 2 ? askUpper(*this, kNamePrompt, " Edit Name", checkIns.field(row, 2))
                   : askUpper(*this, kQthPrompt, " Edit QTH Grid etc", checkIns.field(row, 3));
    if (!answer || shownCheckInRow(*this) != row) continue;
    checkIns.field(row, field) = *answer;
    stored = true;
  }
  if (!stored) return;
  updateCheckIns();
  saveLogFile();
}

void Session::mnuQRZConnect_Click() {
  const int sel = view.selected;
  if (!trimSpaces(settings.browserPath).empty() && sel >= 0 &&
      sel < static_cast<int>(view.lines.size())) {
    const std::string call =
        callsignOfListLine(view.lines[static_cast<size_t>(sel)], rosterEditMode);
    const std::string address = std::string(kQrzBaseAddress) + "db/" + call;
    if (ui.launcher.startDetached(settings.browserPath, {address})) return;
  }
  ui.dialogs.messageBox("Use the {Set} menu to point to your web browser",
                        " no path to web browser", Buttons::OK, Answer::OK);
}

}  // namespace kelpie
