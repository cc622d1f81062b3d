// The merge rules of a shared net: every window ends with the same list, whatever the order,
// loss and repetition of messages, and no check-in typed anywhere is lost.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <sstream>

#include "data/text.h"
#include "share_net.h"
#include "support/fake_platform.h"

namespace kelpie::share::test {
namespace {

std::vector<Row>::iterator rowOf(std::vector<Row>& rows, const std::string& call) {
  return std::find_if(rows.begin(), rows.end(),
                      [&](const Row& r) { return upper1252(r.content.call) == upper1252(call); });
}

TEST(SharedNet, RandomOperationsOnSeveralWindowsEndInOneListThatLosesNothing) {
  const char* calls[] = {"W1AW", "w1aw", "K2DEF", "N3XYZ", "VE3ABC", "G4ZZZ"};
  for (unsigned seed = 1; seed <= 30; ++seed) {
    std::mt19937 rng(seed);
    Net net(3 + seed % 2);
    const size_t n = net.reps.size();
    std::set<std::string> kept;  // the model: callsigns added and not deleted since
    for (int step = 0; step < 40; ++step) {
      const size_t i = rng() % n;
      const unsigned op = rng() % 6, pick = rng();
      net.change(i, [&](std::vector<Row>& rows) {
        Row* row = rows.empty() ? nullptr : &rows[pick % rows.size()];
        if (op < 2) {
          Line l = checkIn(pick % 7 ? minute(pick % 4) : "", calls[pick % 6]);
          l.ack = pick & 64;
          rows.push_back({"", l});
          kept.insert(upper1252(l.call));
        } else if (op == 2 && row) {
          row->content.name = "Op" + std::to_string(step);
        } else if (op == 3 && row) {
          (pick & 1 ? row->content.ack : row->content.com) ^= true;
        } else if (op == 4 && row) {
          kept.erase(upper1252(row->content.call));
          rows.erase(rows.begin() + (row - rows.data()));
        }
      });
      if (op == 5) net.post(i, net.reps[i].all());  // a resend after a reconnect
      for (unsigned k = rng() % 4; k-- > 0;) {      // some messages arrive: late, reordered, twice
        const size_t to = rng() % n;
        auto& box = net.mail[rng() % n][to];
        if (box.empty()) continue;
        const size_t at = rng() % box.size();
        if (rng() % 5) net.deliver(to, box[at]);     // else lost
        if (rng() % 3) box.erase(box.begin() + at);  // else it comes again
      }
    }
    for (size_t i = 0; i < n; ++i) net.post(i, net.reps[i].all());
    net.flush();
    Replica fresh(windowId(3));  // every revision ever made, in another order
    std::shuffle(net.everything.begin(), net.everything.end(), rng);
    for (const Line& l : net.everything) fresh.merge(l);
    std::set<std::string> shown;
    for (const Line& l : fresh.list())
      EXPECT_TRUE(shown.insert(upper1252(l.call)).second) << "twice: " << l.call;
    for (const std::string& call : kept) EXPECT_TRUE(shown.count(call)) << "lost: " << call;
    for (const Replica& r : net.reps) EXPECT_EQ(listText(r), listText(fresh)) << "seed " << seed;
  }
}

// A script of steps: "A+CALL@m!ac" window A checks CALL in at minute m with marks, "A-CALL"
// deletes it, "A!CALL:a" flips a mark (a, c, i), "A=CALL:name" sets the name, "A>B" delivers
// what A sent B ("A>B~" newest first), "A*" restarts A from its journal after a torn write.
void play(Net& net, const std::string& script) {
  std::istringstream in(script);
  for (std::string s; in >> s;) {
    const size_t i = s[0] - 'A';
    const std::string arg = s.substr(2, s.find_first_of("@!:", 2) - 2);
    const std::string after = s.substr(std::min(s.find_first_of("@!:", 2), s.size()));
    if (s[1] == '>') {
      auto& box = net.mail[i][s[2] - 'A'];
      if (s.size() > 3) std::reverse(box.begin(), box.end());
      for (const Line& l : box) net.deliver(s[2] - 'A', l);
      box.clear();
    } else if (s[1] == '*') {
      std::string bytes;
      ASSERT_TRUE(readBytes(net.journal(i), bytes));
      ASSERT_TRUE(writeBytesAtomic(net.journal(i), bytes + "{\"ack\":tr"));  // a crash mid-record
      const std::string before = listText(net.reps[i]);
      net.reps[i] = Replica(windowId(i));
      for (const Line& l : readJournal(net.journal(i))) net.reps[i].merge(l);
      const size_t made = net.everything.size();
      net.change(i, [](std::vector<Row>&) {});
      EXPECT_EQ(net.everything.size(), made) << s;
      EXPECT_EQ(listText(net.reps[i]), before) << s;
    } else {
      net.change(i, [&](std::vector<Row>& rows) {
        const auto row = rowOf(rows, arg);
        if (s[1] == '+') {
          rows.push_back({"", checkIn(after[0] == '@' ? minute(after[1] - '0') : "", arg)});
          for (size_t k = after.find('!'); k < after.size() - 1; ++k)
            (after[k + 1] == 'a' ? rows.back().content.ack : rows.back().content.com) = true;
        } else if (s[1] == '-') {
          rows.erase(row);
        } else if (s[1] == '=') {
          row->content.name = after.substr(1);
        } else {
          const char m = after[1];
          (m == 'a' ? row->content.ack : m == 'c' ? row->content.com : row->content.inOut) ^= 1;
        }
      });
    }
  }
}

struct Case {
  const char* name;
  const char* script;
  const char* list;  // every window's list at the end
};

const Case kCases[] = {
    {"same call at once, the later first", "A+W1AW@2!a B+w1aw@1!c A>B B>A", "w1aw a c"},
    {"same call at once, the earlier first", "A+W1AW@2!a B+w1aw@1!c B>A A>B", "w1aw a c"},
    {"edit, then delete arrives", "A+K2DEF A>B A=K2DEF:Bob B-K2DEF A>B B>A", ""},
    {"delete, then edit arrives", "A+K2DEF A>B A=K2DEF:Bob B-K2DEF B>A A>B", ""},
    {"an edit alone", "A+K2DEF A>B B=K2DEF:Bob B>A", "K2DEF(Bob)"},
    {"tombstone before its line", "A+K2DEF A+N3XYZ A-K2DEF A>B~", "N3XYZ"},
    {"tombstone of an earlier check-in", "A+W1AW A-W1AW B+W1AW A>B B>A", "W1AW"},
    {"clocks minutes apart", "A+N3XYZ@7 B+K2DEF@3 A+W1AW@8 B+W1AW@4!c A>B B>A",
     "K2DEF|W1AW c|N3XYZ"},
    {"same minute: window, then sequence", "B+K2DEF@1 B+W1AW@1 A+N3XYZ@1 B>A A>B",
     "N3XYZ|K2DEF|W1AW"},
    {"restart from the journal", "A+W1AW!a A+K2DEF A>B B+N3XYZ B>A A* A+G4ZZZ A>B A* B>A",
     "W1AW a|K2DEF|G4ZZZ|N3XYZ"},
    {"cleared mark after a fold", "A+W1AW!a B+W1AW!a A>B B>A A!W1AW:a A>B B>A", "W1AW"},
    {"delete of the merged line", "A+W1AW!a B+W1AW A>B B>A B-W1AW B>A A>B", ""},
    {"edit of the merged line", "A+W1AW@1 B+W1AW@2!c A>B B>A B=W1AW:Al B!W1AW:i B>A",
     "W1AW(Al) c i"},
};

class NamedCase : public ::testing::TestWithParam<Case> {};

TEST_P(NamedCase, EveryWindowShowsTheSameList) {
  kelpie::test::TempFolder folder;
  Net net(2, folder.path());
  play(net, GetParam().script);
  for (const Replica& r : net.reps) EXPECT_EQ(listText(r), GetParam().list) << r.window();
}

INSTANTIATE_TEST_SUITE_P(SharedNet, NamedCase, ::testing::ValuesIn(kCases), [](const auto& info) {
  std::string name;
  for (const char c : std::string(info.param.name))
    if (std::isalnum(static_cast<unsigned char>(c))) name += c;
  return name;
});

}  // namespace
}  // namespace kelpie::share::test
