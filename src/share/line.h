// One check-in line of a shared net as one window made or received it: its identity, its
// revision and the row it carries, and the two orders every window agrees on.
#pragma once

#include <cstdint>
#include <string>

#include "data/checkin_facts.h"

namespace kelpie::share {

struct Line {            // one check-in line of a shared net, one revision of it
  std::string id;        // "<window>.<seq>", unique on the net
  std::string window;    // identity of the window that created the line
  uint64_t seq = 0;      // that window's own sequence number, from 1
  uint64_t rev = 0;      // 1 when created, +1 per change (edit, mark, delete)
  std::string by;        // the window that made this revision
  std::string time;      // check-in moment, UTC "YYYY-MM-DDTHH:MM:SSZ" (empty: unknown, first)
  bool deleted = false;  // a tombstone: never an empty message
  // The row as today's list holds it, Windows-1252 bytes: fields 1 to 6 of a check-in row.
  std::string call, name, qth, first, latest, grid;
  bool ack = false, com = false, inOut = false;  // the marks "<Ack>", "<Com>", "in&out "
  // Traffic, pass, tactical call, relay and remark, with their times.
  CheckInFacts facts;
  // Merged into the line with this id (a check-in of the same station from another window,
  // folded into the earlier one): hidden while that line lives, shown again should it be
  // deleted by a window that never saw this one. Empty for a line of its own.
  std::string into;
};

// Which of two revisions of the same id counts (b newer than a). A delete is final: a tombstone
// outranks every live revision, so an edit made while another window deleted the line, or one
// that arrives late, never brings it back (a station deleted by mistake is checked in again
// as a new line). Otherwise the higher rev wins, then the higher `by`; two revisions equal in
// both (only a window that reused its identity without its journal makes them) are ordered by
// their content, so every window still keeps the same one. A strict total order: merging by
// it is deterministic, idempotent and independent of the order of arrival.
bool supersedes(const Line& b, const Line& a);

// The row fields, the marks, the facts and the deleted flag (not identity, revision, time or merge).
bool sameContent(const Line& a, const Line& b);

// The order of today's list: check-in time (UTC text compares as time; unknown first), then
// the creating window's identity, then its sequence number.
bool netBefore(const Line& a, const Line& b);

// The longest text each field may hold on the net, in Windows-1252 bytes.
inline constexpr size_t kMaxCall = 20;
inline constexpr size_t kMaxText = 80;  // name, QTH, first, latest and grid

// A byte no text on the net may hold: a control character (it would break a line of the log,
// or mean nothing there) or one of the five Windows-1252 leaves undefined.
bool isControl1252(unsigned char c);

// A row's text made fit for the net: control characters (and the five bytes Windows-1252
// leaves undefined) become spaces, each field is cut to its longest, a traffic count kept to
// 0..99 with a precedence. Every window accepts a line made from cleaned text.
void cleanText(Line& l);

}  // namespace kelpie::share
