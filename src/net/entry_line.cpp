// The entry line interpreter, the window's key preview, the mode buttons and Options items.
#include <cmath>

#include "net/session.h"
#include "net/spoken.h"

namespace kelpie {

namespace {
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The check-in number of a number entry when it names a line of the list; 0 otherwise.
int listNumber(Session& s, std::string_view text) {
  const double v = roundHalfEven(numericValue(text));
  s.entryNumber = (v >= -32768 && v <= 32767) ? static_cast<int>(v) : 0;
  if (v < 1 || v > static_cast<double>(s.view.lines.size())) return 0;
  return static_cast<int>(v);
}

// After an Enter that said nothing of its own, a new hint in Label3 is said: it is what the
// operator is to read next.
class HintSaid {
 public:
  explicit HintSaid(MainView& v) : v_(v), hint_(v.label3), requests_(v.spokenRequests) {}
  ~HintSaid() {
    if (v_.spokenRequests == requests_ && v_.label3 != hint_) speak(v_, spokenWords(v_.label3));
  }
  HintSaid(const HintSaid&) = delete;
  HintSaid& operator=(const HintSaid&) = delete;

 private:
  MainView& v_;
  std::string hint_;
  int requests_;
};
}  // namespace

void Session::CallSignInput_KeyPress(int& keyAscii) {
  if (keyAscii == kKeySpace) {
    keyAscii = 0;
    return;
  }
  if (keyAscii != kKeyEnter) return;
  keyAscii = 0;
  // Emergency or Priority traffic stays on the hint line until the next command.
  if (urgentHintShown) {
    urgentHintShown = false;
    view.label3 = hintBeforeUrgent;
  }
  const HintSaid hint(view);

  const std::string typed = view.entryText;
  entryText = upper1252(typed);
  // While a search's answer is shown a number picks a station; anything else leaves it first.
  if (pickFound(typed)) return;
  leaveSearch();
  if (!typed.empty() && typed[0] == '?') {
    view.entryText.clear();
    showStationSearch(typed.substr(1));
    return;
  }
  auto finishShort = [&] {
    view.entryText.clear();
    updateCheckIns();
    doEvents();
  };

  // 1. "D#" deletes a check-in; 2. "C#" clears a mark.
  for (const char command : {'D', 'C'}) {
    if (entryText.empty() || entryText[0] != command) continue;
    if (entryText.size() > 3) {
      finishShort();
      return;
    }
    const std::string rest = entryText.substr(1);
    if (!isNumeric(rest)) continue;
    const int n = listNumber(*this, rest);
    if (n == 0) {
      speak(view, spokenNoCheckIn(rest));
      view.entryText.clear();
      return;
    }
    selectLine(n - 1);
    doEvents();
    if (command == 'D') {
      // The list may show the roster rather than the check-ins: then nothing is deleted.
      const bool exists = n <= checkIns.count;
      const std::string call = exists ? checkIns.field(n, 1) : std::string();
      deleteCheckin(n);
      saveLogFile();
      speak(view, exists ? spokenDeleted(n, call) : spokenNoCheckIn(toDec(n)));
    } else if (ackMode()) {
      clearAck(n);
    } else {
      clearComment(n);
    }
    view.entryText.clear();
    doEvents();
    return;
  }

  // 3. "DL" drops the last check-in after a confirmation.
  if (entryText == "DL") {
    const int before = checkIns.count;
    if (before > 0) {
      const std::string call = checkIns.field(before, 1);
      deleteLastCheckin();
      updateCheckIns();
      saveLogFile();
      speak(view, checkIns.count < before ? spokenDeleted(before, call) : "Nothing deleted");
    } else {
      speak(view, "No check-in to delete");
    }
    view.entryText.clear();
    return;
  }
  // 4, 5. Mode commands.
  if (entryText == "A" || entryText == "C") {
    const bool ack = entryText == "A";
    markModeState = ack ? 2 : 3;
    if (ack) {
      selectAck();
      view.label3 = "Enter # to mark for Acknowledge";
    } else {
      selectComment();
      view.label3 = "Enter # to mark for Comments";
    }
    updateCheckIns();
    view.entryText.clear();
    return;
  }
  // A traffic net's "T#", "P#", "R#" and "V#": forms that check in no station.
  if (factsCommand(typed)) return;
  // 6. Callsigns and three-digit numbers are handled in Acknowledge mode.
  if (entryText.size() >= 3) {
    selectAck();
    updateCheckIns();
  }
  // 7. A check-in number marks that check-in.
  if (isNumeric(typed)) {
    const int n = listNumber(*this, typed);
    if (n == 0) {
      speak(view, spokenNoCheckIn(typed));
      view.entryText.clear();
      return;
    }
    selectLine(n - 1);
    doEvents();
    if (ackMode())
      updateAck(n);
    else
      updateComment(n);
    view.entryText.clear();
    doEvents();
    return;
  }
  // 8. A short entry toggles the mode when the Enter option is on.
  if (entryText.size() < 3) {
    if (menu("mEnterModes").checked) {
      if (markModeState == 1) {
        selectAck();
        markModeState = 2;
        view.label3 = "Enter # to mark for Acknowledge";
        view.command2 = "Acknowledge";
      } else {
        markModeState = 1;
        selectComment();
        view.label3 = "Enter # to mark for Comments";
        view.command2 = "Comments";
      }
    }
    finishShort();
    return;
  }
  // 9. The marker the past-log view leaves in the entry line.
  if (lower1252(typed) == " * log for view only *") {
    view.entryText.clear();
    return;
  }
  // 10. A callsign.
  checkInCallsign(typed);
}

void Session::checkInCallsign(const std::string& typed) {
  entryText = upper1252(typed);
  // A station's tactical call stands for it: its line is chosen and said.
  if (const int n = tacticalCheckIn(typed)) {
    updateCheckIns();
    selectLine(n - 1);
    speak(view, spokenCheckIn(checkIns.row(n), n));
    view.entryText.clear();
    doEvents();
    return;
  }
  // The broker lets this window watch the shared net, not write to it: nothing typed here
  // could reach the other windows, so it is not logged either.
  if (shareReadOnly()) {
    ui.dialogs.messageBox(entryText +
                              " is not logged: this window may only watch the shared "
                              "net. Check-ins are logged on the loggers' windows.",
                          "Read-only", Buttons::OK, Answer::OK);
    view.entryText.clear();
    return;
  }
  if (!(typed.size() > 1 && isDigit(typed[1])) && !(typed.size() > 2 && isDigit(typed[2]))) {
    ui.dialogs.messageBox(entryText + " has no numeral in 2nd or 3rd character.",
                          "Invalid callsign...", Buttons::OK, Answer::OK);
    view.entryText.clear();
    return;
  }
  std::string result;
  getStationInfo(result);
  if (result == "OK") {
    saveLogFile();
    speak(view, spokenCheckIn(checkIns.row(checkIns.count), checkIns.count));
  }
  view.entryText.clear();
  doEvents();
}

void Session::Form_KeyDown(int keyCode, int /*shift*/) {
  if (keyCode == kKeyEsc) {
    // Back from a search's answer, or from whatever replaced it since, the hint is as before.
    if (!searchLines.empty()) view.label3 = label3BeforeSearch;
    view.command2 = checkIns.count == 0 ? "Start Net" : "Continue Check-Ins";
    updateCheckIns();
    view.entryText.clear();
    rosterEditMode = false;
    clickedListIndex = 0;
    menu("mnuPopUpUpdateCall").visible = true;
    menu("mnuPopUpMultiple").visible = true;
  }
  if (keyCode == kKeySpace && menu("mUseSpaceBarModes").checked) {
    const int lines = static_cast<int>(view.lines.size());
    if (ackMode()) {
      nextAckIndex = 0;
      getMarkAckIndex();
      if (nextAckIndex > lines) return;
      updateAck(nextAckIndex);
    } else {
      nextComIndex = 0;
      getMarkComIndex();
      if (nextComIndex > lines) return;
      updateComment(nextComIndex);
    }
  }
  leavePastLogView();
  focusEntry();
  doEvents();
}

void Session::leavePastLogView() {
  if (!viewOnlyLog) return;
  view.label3 = "Enter Call or Call- for in&&out";
  viewOnlyLog = false;
  view.entryEnabled = true;
  for (const char* item :
       {"mnuPopUpCall", "mnuPopUpName", "mnuPopUpQTH", "mnuPopUpMultiple", "mnuPopUpInsertGrid",
        "mnuPopUpUpdateCall", "mnuPopUpTactical", "mnuPopUpRelay"})
    menu(item).enabled = true;
}

void Session::Ack_Click() {
  view.label3 = "Enter # to mark as Acknowledge";
  updateCheckIns();
  focusEntry();
}

void Session::Comment_Click() {
  view.label3 = "Enter # to mark for comments";
  updateCheckIns();
  focusEntry();
}

namespace {
void checkPair(Session& s, const char* on, const char* off) {
  s.menu(on).checked = true;
  s.menu(off).checked = false;
}
}  // namespace

void Session::mACModes_Click() {
  checkPair(*this, "mACModes", "mEnterModes");
  settings.enterModes = false;
}
void Session::mEnterModes_Click() {
  checkPair(*this, "mEnterModes", "mACModes");
  settings.enterModes = true;
}
void Session::mUseNumberModes_Click() {
  checkPair(*this, "mUseNumberModes", "mUseSpaceBarModes");
  settings.spaceBarModes = false;
}
void Session::mUseSpaceBarModes_Click() {
  checkPair(*this, "mUseSpaceBarModes", "mUseNumberModes");
  settings.spaceBarModes = true;
}
void Session::mDistanceTypeMiles_Click() {
  checkPair(*this, "mDistanceTypeMiles", "mDistanceTypekM");
  settings.distanceKm = false;
  settings.distanceUnit = "Miles";
}
void Session::mDistanceTypekM_Click() {
  checkPair(*this, "mDistanceTypekM", "mDistanceTypeMiles");
  settings.distanceKm = true;
  settings.distanceUnit = "kM";
}

}  // namespace kelpie
