// A few windows of a shared net in one test: their replicas, the messages between them held
// back until a test delivers them, and their journals.
#pragma once

#include <string>
#include <vector>

#include "share/journal.h"
#include "share/replica.h"

namespace kelpie::share::test {

inline std::string windowId(size_t i) { return std::string(32, "abcd"[i]); }
inline std::string minute(int m) { return "2026-12-07T10:0" + std::to_string(m) + ":00Z"; }

inline Line checkIn(std::string time, std::string call) {
  Line l;
  l.time = std::move(time), l.call = std::move(call);
  return l;
}

// "CALL(name) a c i" for each line of the list, "|" between.
inline std::string listText(const Replica& r) {
  std::string out;
  for (const Line& l : r.list())
    out += (out.empty() ? "" : "|") + l.call + (l.name.empty() ? "" : "(" + l.name + ")") +
           (l.ack ? " a" : "") + (l.com ? " c" : "") + (l.inOut ? " i" : "");
  return out;
}

struct Net {
  std::vector<Replica> reps;
  std::vector<std::vector<std::vector<Line>>> mail;  // [from][to]: sent, not yet delivered
  std::vector<Line> everything;                      // every revision any window made
  fs::path folder;                                   // journals here when not empty

  Net(size_t n, fs::path journals = {}) : mail(n, std::vector<std::vector<Line>>(n)) {
    folder = std::move(journals);
    for (size_t i = 0; i < n; ++i) reps.emplace_back(windowId(i));
  }
  fs::path journal(size_t i) const { return folder / ("12072" + std::to_string(i) + "F.SHR"); }
  void keep(size_t i, const std::vector<Line>& lines) {
    if (!folder.empty()) {
      EXPECT_TRUE(appendJournal(journal(i), lines));
    }
  }
  void post(size_t from, const std::vector<Line>& lines) {
    for (size_t to = 0; to < reps.size(); ++to)
      if (to != from) mail[from][to].insert(mail[from][to].end(), lines.begin(), lines.end());
  }
  // Lets the window at i change its rows (as its list shows them) and sends what that made.
  template <class F>
  void change(size_t i, F&& edit) {
    std::vector<Row> rows;
    for (const Line& l : reps[i].list()) rows.push_back({l.id, l});
    edit(rows);
    const std::vector<Line> made = commit(reps[i], rows);
    keep(i, made);
    everything.insert(everything.end(), made.begin(), made.end());
    post(i, made);
  }
  void deliver(size_t to, const Line& l) {
    if (reps[to].merge(l)) keep(to, {l});
  }
  void flush() {
    for (size_t from = 0; from < reps.size(); ++from)
      for (size_t to = 0; to < reps.size(); ++to) {
        for (const Line& l : mail[from][to]) deliver(to, l);
        mail[from][to].clear();
      }
  }
};

}  // namespace kelpie::share::test
