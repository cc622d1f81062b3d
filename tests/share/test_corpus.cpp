// The corpus of the listeners' page (web/): message sequences as a window receives them, and
// the list and dropped count the window makes of each. The page's own tests replay the same
// file through its modules and must come to the same lists, so the two implementations of the
// rules cannot drift apart. The sequences are kept in the file (named cases written from lines
// the windows encode, and shuffled, doubled and spoiled revisions of random nets); this test
// replays each through a window and checks every list, dropped count and newer count.
// KELPIE_WRITE_GOLDEN=1 writes the lists anew after a change of the rules (then check the
// file's diff, and the page's tests).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>

#include "share/cp1252.h"
#include "share/replica.h"
#include "share/share_net.h"
#include "share/wire.h"
#include "support/fake_platform.h"
#include "support/fake_share_link.h"

namespace kelpie::share {
namespace {

using json = nlohmann::ordered_json;

// A line of the list as the page shows it, n its number.
json entryJson(const Replica::Entry& e, size_t n) {
  const Line& l = e.line;
  const CheckInFacts& f = l.facts;
  const auto u = [](const std::string& s) { return utf8From1252(s); };
  // clang-format off
  return {{"n", n}, {"id", l.id}, {"time", l.time}, {"call", u(l.call)}, {"name", u(l.name)},
          {"qth", u(l.qth)}, {"first", u(l.first)}, {"latest", u(l.latest)}, {"grid", u(l.grid)},
          {"ack", l.ack}, {"com", l.com}, {"inOut", l.inOut},
          {"facts", {{"count", f.count}, {"prec", f.precedence ? std::string(1, f.precedence) : ""},
                     {"dest", u(f.dest)}, {"listedAt", f.listedAt}, {"passedTo", u(f.passedTo)},
                     {"passedAt", f.passedAt}, {"tactical", u(f.tactical)},
                     {"tacticalAt", f.tacticalAt}, {"relay", u(f.relay)}, {"relayAt", f.relayAt},
                     {"remark", u(f.remark)}, {"remarkAt", f.remarkAt}}},
          {"folded", e.folded}, {"merged", e.merged}};
  // clang-format on
}

// Items a line each, so that a change of the corpus reads as a diff.
std::string rows(const std::vector<std::string>& items) {
  std::string out = "[";
  for (const std::string& i : items) out += (&i == items.data() ? "\n" : ",\n") + i;
  return out + "\n]";
}

// The corpus with every step's list, dropped and newer count as a window makes them of its
// messages (a payload that is not UTF-8 is kept as hex digits).
std::string corpusText(const json& corpus) {
  std::vector<std::string> all;
  for (const json& c : corpus.at("cases")) {
    test::TempFolder folder;
    test::FakeBroker broker;  // never connected: the window only listens here
    test::FakeShareLink link(broker);
    ShareSettings settings;
    settings.net = c.at("net");
    ShareNet net(link, settings, std::string(32, 'f'), folder / "watch.SHR");
    const std::string lines =
        netTopic(cp1252FromUtf8(settings.net).value_or(settings.net)) + "/line/";
    size_t newer = 0;
    std::vector<std::string> steps;
    for (const json& step : c.at("steps")) {
      std::vector<std::string> messages, list;
      for (const json& m : step.at("messages")) {
        std::string payload = m.value("payload", ""), hex = m.value("hex", "");
        for (size_t i = 0; i + 1 < hex.size(); i += 2)
          payload += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
        const std::string topic = m.at("topic");
        net.messageArrived(topic, payload, true);
        bool later = false;  // what the window tells apart as a newer Kelpie's
        if (topic.starts_with(lines)) decode(payload, &later);
        newer += later;
        messages.push_back(m.dump());
      }
      std::string error;
      net.takeArrived(&error);
      EXPECT_EQ(error, "");
      for (const Replica::Entry& e : net.replica().entries())
        list.push_back(entryJson(e, list.size() + 1).dump());
      steps.push_back("{\"messages\": " + rows(messages) +
                      ", \"dropped\": " + std::to_string(net.dropped()) +
                      ", \"newer\": " + std::to_string(newer) + ", \"list\": " + rows(list) + "}");
    }
    all.push_back("{\"name\": " + c.at("name").dump() + ", \"net\": " + c.at("net").dump() +
                  ", \"steps\": " + rows(steps) + "}");
  }
  return "{\"cases\": " + rows(all) + "}\n";
}

TEST(ListenersPageCorpus, IsWhatTheWindowsMakeOfEachSequence) {
  const std::string stored = test::golden("share/corpus.json");
  const json corpus = json::parse(stored);
  ASSERT_GE(corpus.at("cases").size(), 40u);
  const std::string text = corpusText(corpus);
  if (const char* write = std::getenv("KELPIE_WRITE_GOLDEN"); write && std::string(write) == "1") {
    std::ofstream(std::string(KELPIE_SOURCE_DIR) + "/tests/golden/share/corpus.json",
                  std::ios::binary)
        << text;
    GTEST_SKIP() << "corpus written";
  }
  EXPECT_TRUE(text == stored)
      << "the windows' lists changed: KELPIE_WRITE_GOLDEN=1 writes them; check the diff and web/";
}

}  // namespace
}  // namespace kelpie::share
