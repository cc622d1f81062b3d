// An in-process broker for core tests of a shared net: retained messages kept per topic, and each
// link's deliveries held until the test lets them through (late, or never).
#pragma once

#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/share_link.h"

namespace kelpie::test {

struct FakeBroker {
  std::map<std::string, std::string> retained;
  std::vector<struct FakeShareLink*> links;
  int published = 0;
};

struct FakeShareLink : ShareLink {
  FakeBroker& broker;
  ShareListener* listener = nullptr;
  bool up = false;
  bool readOnly = false;  // the broker refuses this user's publishes
  // What the broker sent this link and the test has not handed over yet; an empty payload is
  // the broker's refusal of this link's publish to the topic.
  std::deque<std::pair<std::string, std::string>> pending;

  explicit FakeShareLink(FakeBroker& b) : broker(b) { broker.links.push_back(this); }
  ~FakeShareLink() override { std::erase(broker.links, this); }
  void setListener(ShareListener* l) override { listener = l; }
  void start(const ShareLogin&, const std::string&, const std::string&) override {}
  void stop() override { up = false; }
  void subscribe(const std::string&) override {}
  void publish(const std::string& topic, const std::string& payload, bool) override {
    if (!up || readOnly) {
      if (up) pending.emplace_back(topic, "");
      return;
    }
    ++broker.published;
    broker.retained[topic] = payload;
    for (FakeShareLink* l : broker.links)
      if (l->up) l->pending.emplace_back(topic, payload);
  }
  // The broker takes the login (or refuses it); retained messages follow a connection.
  void connect(LinkState state = LinkState::Connected, const std::string& detail = {}) {
    up = state == LinkState::Connected;
    listener->linkChanged(state, detail);
    for (const auto& message : broker.retained)
      if (up) pending.push_back(message);
  }
  void deliver() {
    for (; !pending.empty(); pending.pop_front()) {
      const auto& [topic, payload] = pending.front();
      if (payload.empty())
        listener->writeRefused(topic);
      else
        listener->messageArrived(topic, payload, true);
    }
  }
};

}  // namespace kelpie::test
