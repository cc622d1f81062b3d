// Today's list shared by several windows: what one window does reaches the others' lists and
// logs, a restart keeps every line's identity, a read-only or refused window logs nothing it
// should not.
#include <gtest/gtest.h>

#include "share/share_net.h"
#include "support/fake_platform.h"
#include "support/fake_share_link.h"

namespace kelpie::test {
namespace {

const char* const kLog = "120526F.ILE";

struct Window {
  FakeShareLink link;  // outlives the session's shared net
  Rig rig;
  // from: the window whose day's files this one starts with (a restart in the same folder).
  Window(FakeBroker& broker, const std::string& op, const Rig* from = nullptr) : link(broker) {
    rig.writeRoster({{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", "-"},
                     {"N2XYZ", "AL", "FN31", "3/3/2023", "4/4/2024", "-"}});
    for (const char* f : {kLog, "120526F.TIM", "120526F.SHR"})
      if (from) rig.writeBytes(f, from->read(f));
    EXPECT_TRUE(rig.start());  // a restart is answered OK
    share::ShareSettings s;
    s.host = "127.0.0.1";
    s.net = "222 MHz W1NC 2026-12-05";
    s.operatorCall = op;
    rig.session.startSharing(link, s);
  }
  // What the window does between two keys: its own changes out, the net's in.
  void settle() {
    rig.session.syncShare();
    link.deliver();
    rig.session.applyShared();
  }
  std::string calls() {  // callsign and marks of each row
    std::string out;
    for (int i = 1; i <= rig.session.checkIns.count; ++i)
      for (int f : {1, 7, 9, 0}) out += f ? rig.session.checkIns.row(i).f[size_t(f)] : " ";
    return out;
  }
};

void settleAll(std::vector<Window*> windows) {
  for (int round = 0; round < 2; ++round)
    for (Window* w : windows) w->settle();
}

TEST(SharedNet, EveryChangeReachesTheOtherWindowAndTheLogsAgree) {
  FakeBroker broker;
  Window a(broker, "W1AW"), b(broker, "K2DEF");
  EXPECT_EQ(a.rig.session.view.command2, "Start Net");  // sharing an empty net starts nothing
  int woken = 0;  // the window is woken for every change of the link and every message
  a.rig.session.share->onWake = [&] { ++woken; };
  a.link.connect();
  b.link.connect();
  settleAll({&a, &b});
  // The loggers in the order of their windows' identities.
  const bool aFirst =
      a.rig.session.share->replica().window() < b.rig.session.share->replica().window();
  EXPECT_EQ(a.rig.session.view.shareStatus,
            std::string("Shared: 222 MHz W1NC 2026-12-05 - 2 loggers (") +
                (aFirst ? "W1AW, K2DEF)" : "K2DEF, W1AW)"));
  EXPECT_EQ(woken, 4);  // connected; its presence live and retained; b's presence
  a.rig.clock.utc.minute = 31;
  a.rig.enter("K1ABC");
  b.rig.clock.utc.minute = 32;
  b.rig.enter("N2XYZ");
  settleAll({&a, &b});
  // A half-typed entry is the operator's: a change from the net leaves it alone.
  b.rig.session.view.entryText = "W3";
  a.rig.enter("2");  // Acknowledge N2XYZ
  settleAll({&a, &b});
  EXPECT_EQ(b.calls(), "K1ABC N2XYZ<Ack> ");
  EXPECT_EQ(b.rig.session.view.entryText, "W3");
  EXPECT_EQ(b.rig.session.view.lines.at(1).substr(0, 8), "2  <Ack>");
  EXPECT_EQ(a.rig.read(kLog), b.rig.read(kLog));
  EXPECT_EQ(a.rig.read("120526F.TIM"), b.rig.read("120526F.TIM"));
  b.rig.session.view.entryText.clear();
  b.rig.enter("D1");
  settleAll({&a, &b});
  EXPECT_EQ(a.calls(), "N2XYZ<Ack> ");
  EXPECT_EQ(a.rig.read(kLog), "N2XYZ\r\nAL\r\nFN31\r\n");
  EXPECT_EQ(b.rig.read(kLog), a.rig.read(kLog));
  // The line the operator chose stays chosen when a line from the net lands before it.
  a.rig.session.view.selected = 0;
  b.rig.clock.utc.minute = 30;
  b.rig.enter("K1ABC");  // in again, earlier by b's clock
  settleAll({&a, &b});
  EXPECT_EQ(a.calls() + std::to_string(a.rig.session.view.selected), "K1ABC N2XYZ<Ack> 1");
  // Traffic listed on one window is on the other's line and in its side file.
  a.rig.dialogs.inputAnswers = {"2 p Boston"};
  a.rig.enter("T2");
  settleAll({&a, &b});
  EXPECT_EQ(b.rig.session.view.lines.at(1).substr(b.rig.session.view.lines.at(1).size() - 11),
            "   <Trf 2P>");
  EXPECT_EQ(b.rig.read("120526F.TRF"), a.rig.read("120526F.TRF"));
  // A line of a later format than this Kelpie reads: said on the status line, the net goes on.
  const std::string topic = "kelpie/1/222 MHz W1NC 2026-12-05/line/x";
  b.link.pending.assign(2, {topic, "{\"v\":3,\"id\":\"x\"}"});
  settleAll({&b});
  EXPECT_TRUE(b.rig.session.view.shareStatus.ends_with(
      " - a newer Kelpie is on this net: update to see all of its lines"));
  EXPECT_EQ(b.rig.session.share->dropped(), 2u);
  EXPECT_TRUE(a.rig.dialogs.messages().empty() && b.rig.dialogs.messages().empty());
}

TEST(SharedNet, ARestartTakesBackItsLinesWithoutMakingNewOnes) {
  FakeBroker broker;
  auto a = std::make_unique<Window>(broker, "W1AW");
  a->link.connect();
  a->rig.enterAll({"K1ABC", "N2XYZ"});
  a->settle();
  const int published = broker.published;
  const std::string log = a->rig.read(kLog);
  Window again(broker, "W1AW", &a->rig);
  a.reset();
  again.link.connect();
  again.settle();
  EXPECT_EQ(again.calls(), "K1ABC N2XYZ ");
  EXPECT_EQ(again.rig.read(kLog), log);
  // Sent again (the broker may have lost them), but as the same two lines.
  std::vector<std::string> lines;
  for (const auto& [topic, payload] : broker.retained)
    if (topic.find("/line/") != std::string::npos) lines.push_back(topic);
  EXPECT_EQ(lines.size(), 2u);
  EXPECT_GT(broker.published, published);
}

TEST(SharedNet, AReadOnlyWindowWatchesAndARefusedOneLogsHereOnly) {
  FakeBroker broker;
  Window logger(broker, "W1AW"), viewer(broker, "K2DEF"), refused(broker, "N3GHI");
  viewer.link.readOnly = true;
  int woken = 0;  // when connected, and when its first write is refused
  viewer.rig.session.share->onWake = [&] { ++woken; };
  viewer.link.connect();
  viewer.link.deliver();
  EXPECT_EQ(woken, 2);
  logger.link.connect();
  refused.link.connect(LinkState::BadLogin, "wrong user name or password");
  logger.rig.enter("K1ABC");
  settleAll({&logger, &viewer, &refused});
  EXPECT_EQ(viewer.rig.session.view.shareStatus, "Read-only: watching 222 MHz W1NC 2026-12-05");
  // As after a check-in made here, the day's log is there to view.
  EXPECT_EQ(viewer.calls() + viewer.rig.session.view.command2, "K1ABC Continue Check-Ins");
  EXPECT_TRUE(viewer.rig.session.menu("mLoadLog").enabled);
  viewer.rig.enter("N2XYZ");
  EXPECT_EQ(viewer.rig.dialogs.boxes(),
            "Read-only / N2XYZ is not logged: this window may only watch the shared net. "
            "Check-ins are logged on the loggers' windows.\n");
  viewer.rig.enter("1");  // a mark is the loggers' too, and so is traffic: no box asks for it
  viewer.rig.dialogs.shown.clear();
  viewer.rig.enter("T1");
  EXPECT_EQ(viewer.rig.dialogs.boxes(),
            "Read-only / Nothing is changed: this window may only watch the shared net. Check-ins "
            "are logged on the loggers' windows.\n");
  settleAll({&logger, &viewer});
  EXPECT_EQ(viewer.calls(), "K1ABC ");
  EXPECT_EQ(viewer.rig.read(kLog), logger.rig.read(kLog));
  // Refused: the check-in is logged here, and the net never hears of it.
  refused.rig.enter("N2XYZ");
  settleAll({&logger, &refused});
  EXPECT_EQ(refused.rig.session.view.shareStatus,
            "Not shared: wrong user name or password - logging here only");
  EXPECT_EQ(refused.calls(), "N2XYZ ");
  EXPECT_EQ(logger.calls(), "K1ABC ");
}

}  // namespace
}  // namespace kelpie::test
