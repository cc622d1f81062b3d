// Merge rules: every window ends with one list whatever messages do, and loses no check-in.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include "share/journal.h"
#include "share/replica.h"
#include "support/fake_platform.h"

namespace kelpie::share {
namespace {

std::string windowId(size_t i) { return std::string(32, "abcd"[i]); }

std::string listText(const Replica& r) {  // "CALL(name) a c i t2 rX" for each line, "|" between
  std::string out;
  for (const Line& l : r.list())
    out += (out.empty() ? "" : "|") + l.call + (l.name.empty() ? "" : "(" + l.name + ")") +
           (l.ack ? " a" : "") + (l.com ? " c" : "") + (l.inOut ? " i" : "") +
           (l.facts.count ? " t" + std::to_string(l.facts.count) : "") +
           (l.facts.remark.empty() ? "" : " r" + l.facts.remark);
  return out;
}

// Windows of one net; what each sends waits in mail[from][to] until the test delivers it.
struct Net {
  std::vector<Replica> reps;
  std::vector<std::vector<std::vector<Line>>> mail;
  fs::path folder;             // the windows' journals, when not empty
  std::set<std::string> kept;  // the model: callsigns added and not deleted since

  Net(size_t n, fs::path f = {}) : mail(n, decltype(mail)::value_type(n)), folder(std::move(f)) {
    for (size_t i = 0; i < n; ++i) reps.emplace_back(windowId(i));
  }
  fs::path journal(size_t i) const { return folder / (windowId(i) + ".SHR"); }
  bool keep(size_t i, const std::vector<Line>& lines) {
    return folder.empty() || appendJournal(journal(i), lines);
  }
  void post(size_t from, const std::vector<Line>& lines) {
    for (auto& box : mail[from]) box.insert(box.end(), lines.begin(), lines.end());
  }
  void deliver(size_t to, const Line& l) { EXPECT_TRUE(!reps[to].merge(l) || keep(to, {l})); }
  // "A+CALL@m!ac" window A checks CALL in at minute m with marks, "A-CALL" deletes it, "A!CALL:a"
  // flips a mark (a, c, i), "A=CALL:name" names it, "A^CALL:n" lists n messages (0 clears)
  // and the remark "n", "A>B" delivers what A sent B ("A>B~" newest
  // first), "A#" sends again all A holds, "A*" restarts A from its journal torn mid-record.
  void play(const std::string& script) {
    std::istringstream in(script);
    for (std::string s; in >> s;) {
      const size_t i = s[0] - 'A';
      if (s[1] == '>') {
        auto& box = mail[i][s[2] - 'A'];
        if (s.size() > 3) std::reverse(box.begin(), box.end());
        for (const Line& l : std::exchange(box, {})) deliver(s[2] - 'A', l);
      } else if (s[1] == '#') {
        post(i, reps[i].all());
      } else if (s[1] == '*') {
        ASSERT_TRUE(std::ofstream(journal(i), std::ios::app) << "{\"ack\":tr");
        const std::string before = listText(reps[i]);
        reps[i] = Replica(windowId(i));
        for (const Line& l : readJournal(journal(i))) reps[i].merge(l);
        EXPECT_TRUE(commitRows(i, s).empty());
        EXPECT_EQ(listText(reps[i]), before);
      } else {
        commitRows(i, s);
      }
    }
  }
  // Window i's rows as its list shows them, changed by step s, committed and sent.
  std::vector<Line> commitRows(size_t i, const std::string& s) {
    const size_t cut = std::min(s.find_first_of("@!:", 2), s.size());
    const std::string call = s.substr(2, cut - 2), arg = s.substr(cut) + " ";
    std::vector<Row> rows;
    for (const Line& l : reps[i].list()) rows.push_back({l.id, l});
    const auto row = std::find_if(rows.begin(), rows.end(), [&](const Row& r) {
      return upper1252(r.content.call) == upper1252(call);
    });
    if (s[1] == '+') {
      const auto has = [&](char c) { return arg.find(c) != arg.npos; };
      Line& l = rows.emplace_back().content;
      l.call = call, l.ack = has('a'), l.com = has('c'), l.inOut = has('i');
      l.time = arg[0] == '@' ? "2026-12-07T10:0" + arg.substr(1, 1) + ":00Z" : "";
      kept.insert(upper1252(call));
    } else if (row != rows.end() && s[1] == '-') {
      kept.erase(upper1252(call));
      rows.erase(row);
    } else if (row != rows.end() && s[1] == '=') {
      row->content.name = arg.substr(1, arg.size() - 2);
    } else if (row != rows.end() && s[1] == '^') {
      CheckInFacts& f = row->content.facts;
      f.count = arg[1] - '0', f.precedence = f.count ? 'P' : 0, f.remark = arg.substr(1, 1);
    } else if (row != rows.end() && s[1] == '!') {
      row->content.*(arg[1] == 'a' ? &Line::ack : arg[1] == 'c' ? &Line::com : &Line::inOut) ^= 1;
    }
    const std::vector<Line> out = commit(reps[i], rows);
    EXPECT_TRUE(keep(i, out));
    post(i, out);
    return out;
  }
};

TEST(SharedNet, RandomOperationsOnSeveralWindowsEndInOneListThatLosesNothing) {
  const char* calls[] = {"W1AW", "w1aw", "K2DEF", "N3XYZ", "VE3ABC", "G4ZZZ"};
  for (unsigned seed = 1; seed <= 30; ++seed) {
    std::mt19937 rng(seed);
    Net net(3 + seed % 2);
    const size_t n = net.reps.size();
    for (int step = 0; step < 40; ++step) {  // a step, then some messages: late, reordered, twice
      const char op = "++=!-#^"[rng() % 7], at = op != '+' ? ':' : rng() % 5 ? '@' : '!';
      net.play(std::string{char('A' + rng() % n), op} + calls[rng() % 6] + at +
               std::to_string(rng() % 4) + "ac"[rng() % 2]);
      for (unsigned k = rng() % 4; k-- > 0;) {
        const size_t to = rng() % n;
        auto& box = net.mail[rng() % n][to];
        if (box.empty()) continue;
        const size_t at = rng() % box.size();
        if (rng() % 5) net.deliver(to, box[at]);     // else lost
        if (rng() % 3) box.erase(box.begin() + at);  // else it comes again
      }
    }
    for (size_t from = 0; from < n; ++from)  // at last everything, everywhere
      for (size_t to = 0; to < n; ++to)
        net.play(std::string{char('A' + from), '#', ' ', char('A' + from), '>', char('A' + to)});
    std::set<std::string> shown;
    for (const Line& l : net.reps[0].list())
      EXPECT_TRUE(shown.insert(upper1252(l.call)).second) << "twice: " << l.call;
    for (const std::string& call : net.kept) EXPECT_TRUE(shown.count(call)) << "lost: " << call;
    for (const Replica& r : net.reps) EXPECT_EQ(listText(r), listText(net.reps[0])) << seed;
  }
}

TEST(SharedNet, NamedCasesEndWithTheSameListOnEveryWindow) {
  // clang-format off
  const struct { const char *name, *script, *list; } cases[] = {  // list: every window's at the end
      {"same call at once, later first", "A+W1AW@2!a B+w1aw@1!ci A>B B>A", "w1aw a c i"},
      {"same call at once, earlier first", "A+W1AW@2!a B+w1aw@1!c B>A A>B", "w1aw a c"},
      {"edit, then delete arrives", "A+K2DEF A>B A=K2DEF:Bob B-K2DEF A>B B>A", ""},
      {"delete, then edit arrives", "A+K2DEF A>B A=K2DEF:Bob B-K2DEF B>A A>B", ""},
      {"tombstone before its line", "A+K2DEF A+N3XYZ A-K2DEF A>B~", "N3XYZ"},
      {"stale tombstone", "A+W1AW A-W1AW B+W1AW A>B B>A", "W1AW"},
      {"clocks apart", "A+N3XYZ@7 B+K2DEF@3 A+W1AW@8 B+W1AW@4!c A>B B>A", "K2DEF|W1AW c|N3XYZ"},
      {"same minute", "B+K2DEF@1 B+W1AW@1 A+N3XYZ@1 B>A A>B", "N3XYZ|K2DEF|W1AW"},
      {"restart from the journal", "A+W1AW!a A+K2DEF A>B B+N3XYZ B>A A* A+G4ZZZ A>B A* B>A",
       "W1AW a|K2DEF|G4ZZZ|N3XYZ"},
      {"cleared mark after a fold", "A+W1AW!a B+W1AW!a A>B B>A A!W1AW:a A>B B>A", "W1AW"},
      {"delete of the merged line", "A+W1AW!a B+W1AW A>B B>A B-W1AW B>A A>B", ""},
      {"edit of the merged", "A+W1AW@1 B+W1AW@2!c A>B B>A B=W1AW:Al B!W1AW:i B>A", "W1AW(Al) c i"},
      {"traffic of the folded line", "A+W1AW@1 B+W1AW@2 B^W1AW:3 B>A A>B", "W1AW t3 r3"},
      {"traffic of both, the first's", "A+W1AW@1 A^W1AW:2 B+W1AW@2 B^W1AW:3 B>A A>B", "W1AW t2 r2"},
      {"traffic listed on both windows", "A+W1AW A>B A^W1AW:2 B^W1AW:5 A>B B>A", "W1AW t5 r5"},
      {"traffic cleared, remark kept", "A+W1AW A^W1AW:4 A>B B^W1AW:0 B>A", "W1AW r0"},
      {"traffic on a deleted line", "A+W1AW A>B A^W1AW:2 B-W1AW A>B B>A", ""}};
  // clang-format on
  for (const auto& [name, script, list] : cases) {
    test::TempFolder folder;
    Net net(2, folder.path());
    net.play(script);
    for (const Replica& r : net.reps) EXPECT_EQ(listText(r), list) << name << ", " << r.window();
  }
}

}  // namespace
}  // namespace kelpie::share
