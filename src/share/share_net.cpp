#include "share/share_net.h"

#include "share/cp1252.h"
#include "share/journal.h"
#include "share/wire.h"

namespace kelpie::share {

ShareNet::ShareNet(ShareLink& link, ShareSettings settings, std::string window, fs::path journal)
    : link_(link),
      settings_(std::move(settings)),
      replica_(std::move(window)),
      journal_(std::move(journal)),
      topicNet_(cp1252FromUtf8(settings_.net).value_or(settings_.net)) {
  link_.setListener(this);
}

ShareNet::~ShareNet() { link_.setListener(nullptr); }

bool ShareNet::readJournal(std::string* error) {
  std::error_code ec;
  if (!fs::exists(journal_, ec)) return true;
  std::string bytes;
  if (!readBytes(journal_, bytes, error)) return false;
  for (const Line& l : share::readJournal(journal_)) replica_.merge(l);
  return true;
}

void ShareNet::start() {
  ShareLogin login;
  login.host = settings_.host;
  login.port = settings_.port;
  login.tls = settings_.tls;
  login.caFile = settings_.caFile;
  login.user = settings_.user;
  login.password = settings_.password;
  login.clientId = replica_.window();
  readOnly_ = false;
  readRefused_ = false;
  linkChanged(LinkState::Connecting, {});
  link_.subscribe(netTopic(topicNet_) + "/#");
  link_.start(login, presenceTopic(topicNet_, replica_.window()),
              encodePresence({replica_.window(), settings_.operatorCall, false}));
}

void ShareNet::stop() {
  if (state_ == LinkState::Connected && !readOnly_) announce(false);
  link_.stop();
  state_ = LinkState::Off;
  present_.clear();
  ++statusChanges_;
}

void ShareNet::announce(bool online) {
  link_.publish(presenceTopic(topicNet_, replica_.window()),
                encodePresence({replica_.window(), settings_.operatorCall, online}), true);
}

void ShareNet::sendAll() {
  if (state_ != LinkState::Connected || readOnly_) return;
  announce(true);
  for (const Line& l : replica_.all()) link_.publish(lineTopic(topicNet_, l.id), encode(l), true);
}

bool ShareNet::sendLocal(const std::vector<Line>& lines, std::string* error) {
  if (lines.empty()) return true;
  const bool kept = appendJournal(journal_, lines, error);
  if (state_ == LinkState::Connected && !readOnly_) {
    for (const Line& l : lines) link_.publish(lineTopic(topicNet_, l.id), encode(l), true);
  }
  return kept;
}

bool ShareNet::takeArrived(std::string* journalError) {
  std::vector<Line> taken;
  for (const Line& l : inbox_)
    if (replica_.merge(l)) taken.push_back(l);
  inbox_.clear();
  if (taken.empty()) return false;
  appendJournal(journal_, taken, journalError);
  return true;
}

void ShareNet::wake() {
  if (onWake) onWake();
}

void ShareNet::linkChanged(LinkState state, const std::string& detail) {
  const bool connected = state == LinkState::Connected && state_ != LinkState::Connected;
  state_ = state;
  detail_ = detail;
  if (state != LinkState::Connected) present_.clear();
  ++statusChanges_;
  if (connected) sendAll();
  wake();
}

void ShareNet::messageArrived(const std::string& topic, const std::string& payload,
                              bool /*retained*/) {
  const std::string root = netTopic(topicNet_);
  const std::string lines = root + "/line/";
  const std::string who = root + "/who/";
  if (payload.size() > kMaxMessage) {
    ++dropped_;
  } else if (startsWith(topic, lines)) {
    bool newer = false;
    std::optional<Line> l = decode(payload, &newer);
    // A line is filed under its own identity; one under another's is not believed.
    if (l && topic.compare(lines.size(), std::string::npos, l->id) == 0) {
      inbox_.push_back(std::move(*l));
    } else {
      ++dropped_;
      if (newer && !newerSeen_) {
        newerSeen_ = true;
        ++statusChanges_;
      }
    }
  } else if (startsWith(topic, who)) {
    std::optional<Presence> p = decodePresence(payload);
    if (!p || topic.compare(who.size(), std::string::npos, p->window) != 0) {
      ++dropped_;
    } else {
      if (p->online)
        present_[p->window] = p->op;
      else
        present_.erase(p->window);
      ++statusChanges_;
    }
  } else {
    ++dropped_;
  }
  wake();
}

void ShareNet::writeRefused(const std::string& /*topic*/) {
  if (readOnly_) return;
  readOnly_ = true;
  ++statusChanges_;
  wake();
}

void ShareNet::subscribeRefused(const std::string& /*filter*/) {
  readRefused_ = true;
  ++statusChanges_;
  wake();
}

std::string ShareNet::statusText() const {
  const std::string here = " - logging here only";
  switch (state_) {
    case LinkState::Off:
      return {};
    case LinkState::Connecting:
      return "Not connected: logging here only, retrying";
    case LinkState::BadLogin:
    case LinkState::NotAllowed:
    case LinkState::Untrusted:
      return "Not shared: " + detail_ + here;
    case LinkState::Connected:
      break;
  }
  if (readRefused_) return "Not shared: not allowed to read " + settings_.net + here;
  if (readOnly_) return "Read-only: watching " + settings_.net;
  // This window counts as soon as it is connected, before its own announcement comes back.
  std::map<std::string, std::string> loggers = present_;
  loggers[replica_.window()] = settings_.operatorCall;
  std::string names;
  for (const auto& [window, op] : loggers) {
    if (!names.empty()) names += ", ";
    names += op.empty() ? "?" : op;
  }
  const size_t n = loggers.size();
  return "Shared: " + settings_.net + " - " + std::to_string(n) +
         (n == 1 ? " logger (" : " loggers (") + names + ")" +
         (newerSeen_ ? " - a newer Kelpie is on this net: update to see all of its lines" : "");
}

}  // namespace kelpie::share
