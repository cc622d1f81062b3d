// One window's part in a shared net: what it holds (the replica and its journal beside the
// day's log), what it sends and takes through the broker's seam, and where the link stands, in
// the words of the status line. Changes that arrive wait in an inbox until the window takes them
// between keys.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "data/text.h"
#include "platform/share_link.h"
#include "share/line.h"
#include "share/replica.h"
#include "share/share_url.h"

namespace kelpie::share {

class ShareNet : public ShareListener {
 public:
  // window: this window's identity (newWindowId()); journal: the day's .SHR file.
  ShareNet(ShareLink& link, ShareSettings settings, std::string window, fs::path journal);
  ~ShareNet() override;

  // Reads the journal into the replica (a restart keeps every line's identity); false with the
  // reason when the journal exists but cannot be read.
  bool readJournal(std::string* error);
  // Connects and keeps connecting; stop() says goodbye and ends the link.
  void start();
  void stop();

  Replica& replica() { return replica_; }
  const ShareSettings& settings() const { return settings_; }
  // Revisions this window made: kept in the journal and sent (dropped while the link is down:
  // every connection sends all again). False with the reason when the journal write failed.
  bool sendLocal(const std::vector<Line>& lines, std::string* error);
  // Merges what arrived since the last call into the replica and the journal. True when the
  // replica changed (the list and the log are then rebuilt).
  bool takeArrived(std::string* journalError);
  bool hasArrived() const { return !inbox_.empty(); }

  bool connected() const { return state_ == LinkState::Connected; }
  // The broker lets this window read the net but not write to it.
  bool readOnly() const { return readOnly_; }
  // The broker refused the login: the window logs here only until the operator shares again.
  bool refused() const { return state_ >= LinkState::BadLogin; }
  // The status line's text, and a counter that moves whenever it changes.
  std::string statusText() const;
  int statusChanges() const { return statusChanges_; }
  // Messages from the net that were dropped as malformed, too large or not for this net.
  size_t dropped() const { return dropped_; }
  // Called whenever a message arrives or the status changes (the window wakes up for it).
  std::function<void()> onWake;

  // ShareListener
  void linkChanged(LinkState state, const std::string& detail) override;
  void messageArrived(const std::string& topic, const std::string& payload, bool retained) override;
  void writeRefused(const std::string& topic) override;
  void subscribeRefused(const std::string& filter) override;

 private:
  void wake();
  void sendAll();
  void announce(bool online);

  ShareLink& link_;
  ShareSettings settings_;
  Replica replica_;
  fs::path journal_;
  // The net's name as the topics take it (Windows-1252, as the log's text).
  std::string topicNet_;
  LinkState state_ = LinkState::Off;
  std::string detail_;
  bool readOnly_ = false;
  bool readRefused_ = false;
  std::vector<Line> inbox_;
  // Windows present on the net, with the operator's callsign each one announced.
  std::map<std::string, std::string> present_;
  size_t dropped_ = 0;
  bool newerSeen_ = false;  // a line of a later format than this window reads arrived
  int statusChanges_ = 0;
};

}  // namespace kelpie::share
