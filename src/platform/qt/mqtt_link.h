// The link to the broker of a shared net through libmosquitto (MQTT 5): the network runs on a
// thread of its own, so the window never waits for it; events come back on the window's thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/share_link.h"

namespace kelpie {

class MqttLink final : public ShareLink {
 public:
  // Create it on the window's thread: the listener is called on the thread that created it.
  MqttLink();
  ~MqttLink() override;
  MqttLink(const MqttLink&) = delete;
  MqttLink& operator=(const MqttLink&) = delete;

  // publish() is dropped while stopped; subscribe() before start() is kept for it.
  void setListener(ShareListener* listener) override;
  void start(const ShareLogin& login, const std::string& willTopic,
             const std::string& willPayload) override;
  void stop() override;
  void publish(const std::string& topic, const std::string& payload, bool retained) override;
  void subscribe(const std::string& filter) override;

  struct Bridge;  // shared with the network thread, which may outlive the link
  struct Worker;

 private:
  void halt();  // ends the running start, if any

  std::shared_ptr<Bridge> bridge_;
  std::shared_ptr<Worker> worker_;    // empty while stopped
  std::vector<std::string> filters_;  // subscribed since start(), or before it; stop() forgets
};

}  // namespace kelpie
