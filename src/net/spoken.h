// What a screen reader says after a command: the texts, made from the check-ins and the lines
// the window shows, and the one way a procedure hands a text to the window to be said.
#pragma once

#include <string>
#include <vector>

#include "net/session.h"

namespace kelpie {

// Hands text to the window to be said (again, if it is the same as the last).
void speak(MainView& v, std::string text);

// A shown text as it is said: runs of spaces made one, the marks and signs in words
// ("<Ack>" as "acknowledged", "in&out" as "in and out", the degree sign as " degrees").
std::string spokenWords(const std::string& shown);
// Check-in n: "3, K1ABC, in and out, BOB, BOSTON, first time, grid FN42, heading 45 degrees",
// each part only where the check-in has it.
std::string spokenCheckIn(const CheckInRow& row, int n);
// Check-in n deleted: "Deleted 2, N2XYZ".
std::string spokenDeleted(int n, const std::string& callsign);
// A number typed that names no check-in: "No check-in 9".
std::string spokenNoCheckIn(const std::string& typed);
// A mark set or cleared on check-in n (field 7 acknowledged, field 9 comments); row null when
// there is no such check-in.
std::string spokenMark(const CheckInRow* row, int n, int field, bool set);
// Line index (from 0) of count lines, as heard while moving through the list: "2 of 5, ...".
std::string spokenListLine(const std::string& line, int index, int count);
// A search's answer: how many stations were found and the first few lines; the list's only
// line when none was.
std::string spokenFound(const std::vector<std::string>& lines, size_t found);
// The non-empty lines of a report, one after another.
std::string spokenReport(const std::vector<std::string>& lines);
// "Read the net so far": the number of check-ins and the last three, the newest first.
std::string spokenNetSoFar(CheckInTable& checkIns);

// Tools > "Read the net so far".
void mReadNet_Click(Session& s);

}  // namespace kelpie
