// What one window holds of a shared net: the newest revision of every line, today's list made
// from them (the same on every window holding the same revisions), and the local changes of
// that list turned into new revisions.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "share/line.h"

namespace kelpie::share {

class Replica {
 public:
  explicit Replica(std::string window);  // this window's identity
  const std::string& window() const { return window_; }

  // A revision from the net, the journal or this window. True when it is newer than the one
  // held for its id (see supersedes), so the list may have changed. Idempotent, commutative.
  bool merge(const Line& l);
  // The revision held for id, or nullptr.
  const Line* find(const std::string& id) const;
  // Every id's newest revision, tombstones included, by id (to publish again).
  std::vector<Line> all() const;
  size_t size() const { return lines_.size(); }  // ids held, tombstones included
  // The highest sequence number of this window's own lines held (0: none yet).
  uint64_t lastSeq() const { return lastSeq_; }

  // A line of today's list and the ids it stands for. The same callsign (upper-cased,
  // Windows-1252 aware, spaces around ignored) on several live lines is one station: the first
  // by net order stands for all with its own text and shows the marks of all (ack, com and
  // in-and-out OR-ed); the others are `folded` into it. A line without a callsign is never
  // folded. Lines `merged` into it (Line::into, written by commit) are hidden and add no marks.
  struct Entry {
    Line line;
    std::vector<std::string> folded;
    std::vector<std::string> merged;  // also those merged into a line merged into it
  };
  std::vector<Entry> entries() const;
  // Today's list: the lines of entries(), in net order.
  std::vector<Line> list() const;

 private:
  std::string window_;
  std::map<std::string, Line> lines_;
  uint64_t lastSeq_ = 0;
};

struct Row {  // a row of the window's list; id "" = not yet on the net
  std::string id;
  Line content;  // the row fields and marks; for a new row also its time
};

// Turns the window's rows after a local change into local revisions, merged into r and
// returned in order (to journal and publish); ids of new rows are written into rows.
// - A row without id (or with an id r has never held) is added: a new id of this window, rev 1,
//   its given time.
// - A row whose content differs from its line in r.list() makes a new revision of that line
//   (rev + 1, by this window; identity and time kept). The lines folded into it get a revision
//   merged into it, so from then on only this line counts: a mark cleared on the merged line
//   stays cleared. (Not a tombstone: a window that deletes this line without having seen one
//   of them, at the same time, must not take that check-in with it.) A row holding a folded
//   id stands for the line it is folded into; of two rows holding the same line, the first
//   counts.
// - A line of r.list() that no row holds is deleted, with every line folded or merged into it,
//   so no duplicate comes back.
// - A row whose line was deleted meanwhile is dropped: the delete wins.
// Row text is cleaned first (cleanText), so every revision made is one the others accept.
// Committing the rows of r.list() again makes nothing.
std::vector<Line> commit(Replica& r, std::vector<Row>& rows);

}  // namespace kelpie::share
