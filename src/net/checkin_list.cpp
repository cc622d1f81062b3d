// Today's check-in list: redraw, marks, deletes, and the mouse on the list.
#include "net/session.h"
#include "net/spoken.h"
#include "net/traffic.h"

namespace kelpie {

std::string checkInLine(const CheckInRow& row, int i, bool ackMode) {
  const std::string& mark = ackMode ? row.f[7] : row.f[9];
  std::string s;
  s.reserve(64 + row.f[1].size() + row.f[2].size() + row.f[3].size());
  s += toDec(i);
  s += "  ";
  s += mark;
  s += " ";
  s += row.f[8];
  s += " ";
  s += row.f[1];
  for (int f = 2; f <= 5; ++f) {
    s += "   ";
    s += row.f[static_cast<size_t>(f)];
  }
  if (!row.facts.empty()) s += factsSuffix(row.facts);
  return s;
}

void Session::setPrompt() {
  view.label2Visible = true;
  view.label2 = "Enter Call # " + toDec(checkIns.count + 1);
}

void Session::renderCheckInLines(bool ackLayout) {
  // Once the list shows the check-ins again, the roster view is over, however it ended: a
  // popup edit must never take a check-in line for a roster row.
  if (rosterEditMode) {
    rosterEditMode = false;
    menu("mnuPopUpUpdateCall").visible = true;
    menu("mnuPopUpMultiple").visible = true;
  }
  // Nor does a number entry pick a search's station once the check-ins are back.
  searchLines.clear();
  searchCalls.clear();
  view.lines.clear();
  view.selected = -1;
  view.lines.reserve(static_cast<size_t>(checkIns.count));
  for (int i = 1; i <= checkIns.count; ++i)
    view.lines.push_back(checkInLine(checkIns.row(i), i, ackLayout));
}

void Session::updateCheckIns() {
  renderCheckInLines(ackMode());
  setPrompt();
  doEvents();
}

void Session::markLine(int inputNumber, int field, const char* mark, bool ackLayout) {
  view.lines.clear();
  view.selected = -1;
  const bool exists = inputNumber >= 1 && inputNumber <= checkIns.count;
  if (exists) checkIns.field(inputNumber, field) = mark;
  speak(view, spokenMark(exists ? &checkIns.row(inputNumber) : nullptr, inputNumber, field,
                         *mark != '\0'));
  renderCheckInLines(ackLayout);
  setPrompt();
  selectLine(inputNumber - 1);
  doEvents();
}

void Session::updateAck(int n) { markLine(n, 7, "<Ack>", true); }
void Session::clearAck(int n) { markLine(n, 7, "", true); }
void Session::updateComment(int n) { markLine(n, 9, "<Com>", false); }
void Session::clearComment(int n) { markLine(n, 9, "", false); }

void Session::getMarkAckIndex() {
  for (int i = 1; i <= checkIns.count; ++i) {
    if (checkIns.field(i, 7) != "<Ack>") {
      nextAckIndex = i;
      return;
    }
  }
}

void Session::getMarkComIndex() {
  for (int i = 1; i <= checkIns.count; ++i) {
    if (checkIns.field(i, 9) != "<Com>") {
      nextComIndex = i;
      return;
    }
  }
}

void Session::deleteCheckin(int inputNumber) {
  view.lines.clear();
  view.selected = -1;
  if (inputNumber >= 1 && inputNumber <= checkIns.count) {
    auto& rows = checkIns.rows;
    rows.erase(rows.begin() + inputNumber);
    --checkIns.count;
  }
  view.label2Visible = true;
  updateCheckIns();
  setPrompt();
  doEvents();
}

void Session::deleteLastCheckin() {
  if (checkIns.count == 0) return;  // nothing to delete: the count never goes below zero
  const std::string& call = checkIns.field(checkIns.count, 1);
  if (ui.dialogs.messageBox("Are you sure you want to delete " + call + " ?",
                            " Delete last checkin !", Buttons::OKCancel,
                            Answer::OK) == Answer::OK) {
    checkIns.row(checkIns.count) = {};  // a dropped row leaves nothing behind
    --checkIns.count;
  }
}

void Session::CheckIns_Click() { view.label3 = "Select line, then right-click to edit."; }

bool Session::CheckIns_MouseDown(int button) {
  // No popup edit acts on a search's line: it is no check-in and no roster row.
  if (searchShown()) return false;
  clickedListIndex = view.selected;
  if (clickedListIndex == -1) return false;
  selectedCheckIn = clickedListIndex + 1;
  return button == 2;
}

}  // namespace kelpie
