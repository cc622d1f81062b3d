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
  std::vector<class FakeShareLink*> links;
  int published = 0;
};

class FakeShareLink : public ShareLink {
 public:
  explicit FakeShareLink(FakeBroker& broker) : broker_(broker) { broker_.links.push_back(this); }
  ~FakeShareLink() override { std::erase(broker_.links, this); }
  bool readOnly = false;  // the broker refuses this user's publishes
  ShareLogin login;

  void setListener(ShareListener* l) override { listener_ = l; }
  void start(const ShareLogin& l, const std::string&, const std::string&) override { login = l; }
  void stop() override { up_ = false; }
  void publish(const std::string& topic, const std::string& payload, bool) override {
    if (!up_) return;
    if (readOnly) {
      refusedTopics_.push_back(topic);
      return;
    }
    ++broker_.published;
    broker_.retained[topic] = payload;
    for (FakeShareLink* l : broker_.links)
      if (l->up_) l->pending_.emplace_back(topic, payload);
  }
  void subscribe(const std::string&) override {}

  // The broker takes the login (or refuses it); retained messages follow a connection.
  void connect(LinkState state = LinkState::Connected, const std::string& detail = {}) {
    up_ = state == LinkState::Connected;
    listener_->linkChanged(state, detail);
    if (!up_) return;
    for (const auto& [topic, payload] : broker_.retained) pending_.emplace_back(topic, payload);
  }
  // Hands over what the broker sent this link, in order.
  void deliver() {
    for (const std::string& t : refusedTopics_) listener_->writeRefused(t);
    refusedTopics_.clear();
    while (!pending_.empty()) {
      const auto [topic, payload] = pending_.front();
      pending_.pop_front();
      listener_->messageArrived(topic, payload, true);
    }
  }

 private:
  FakeBroker& broker_;
  ShareListener* listener_ = nullptr;
  bool up_ = false;
  std::deque<std::pair<std::string, std::string>> pending_;
  std::vector<std::string> refusedTopics_;
};

}  // namespace kelpie::test
