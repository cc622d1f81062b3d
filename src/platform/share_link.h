// The seam to the broker of a shared net: connect, publish, subscribe, and what happens to the
// link. Kelpie's libmosquitto client implements it; tests use a fake that delivers late, twice,
// reordered or never. Calls never wait for the network.
#pragma once

#include <string>

namespace kelpie {

// Where and as whom a window shares. Texts are UTF-8 here (they go on the wire as they are).
struct ShareLogin {
  std::string host;
  int port = 1883;
  bool tls = false;
  std::string caFile;  // empty: the system's certificate authorities
  std::string user;
  std::string password;
  std::string clientId;  // the window's identity, unique per window
};

// What became of the link; the listener hears of every change.
enum class LinkState {
  Off,          // not sharing
  Connecting,   // trying (again); the window logs on alone meanwhile
  Connected,    // the broker took the login
  BadLogin,     // wrong user name or password (MQTT 5 reason 134 or 135 on CONNECT)
  NotAllowed,   // the broker refused the login for another reason (banned, not authorised)
  Untrusted,    // TLS: the broker's certificate is not trusted (or the CA file is unreadable)
};

class ShareListener {
 public:
  virtual ~ShareListener() = default;
  virtual void linkChanged(LinkState state, const std::string& detail) = 0;
  // A message on a subscribed topic; retained ones come first after a (re)subscription.
  virtual void messageArrived(const std::string& topic, const std::string& payload,
                              bool retained) = 0;
  // The broker refused a publish or a subscription (MQTT 5 reason 135: not authorised).
  virtual void writeRefused(const std::string& topic) = 0;
  virtual void subscribeRefused(const std::string& filter) = 0;
};

class ShareLink {
 public:
  virtual ~ShareLink() = default;
  // Calls the listener on the window's thread, between events, never from inside a call below.
  virtual void setListener(ShareListener* listener) = 0;
  // Starts connecting and keeps reconnecting (at least every 5 seconds) until stop(). The will
  // (retained, QoS 1) is published by the broker when the link is lost without stop().
  virtual void start(const ShareLogin& login, const std::string& willTopic,
                     const std::string& willPayload) = 0;
  virtual void stop() = 0;
  // QoS 1. Dropped while not connected: after every connection the window publishes again
  // all it holds, which also refills a broker that came back empty.
  virtual void publish(const std::string& topic, const std::string& payload, bool retained) = 0;
  // Kept across reconnects: every connection subscribes again and gets the retained messages.
  virtual void subscribe(const std::string& filter) = 0;
};

}  // namespace kelpie
