// The shared net on the wire: its lines and the windows' presence as JSON messages (UTF-8),
// decoded strictly because the broker and whoever writes to it are not trusted; and the
// MQTT topics of a net.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "share/line.h"

namespace kelpie::share {

inline constexpr size_t kMaxMessage = 4096;  // bytes; a bigger message is dropped
// Version 1: a line without facts (18 keys); version 2: a line with traffic, tactical call,
// relay or remark (30 keys). A window sends version 1 whenever it can, so a net whose lines have
// no facts works with every window; a window that reads only version 1 drops a version 2 line
// (it keeps the revision it had). A message of a later version than this window reads is
// dropped and told apart (`newer`), so the window can say once that a newer Kelpie is on the net.
inline constexpr int kWireVersion1 = 1;
inline constexpr int kWireVersion = 2;
inline constexpr size_t kLineKeys1 = 18, kLineKeys = 30;
inline constexpr size_t kWindowIdLength = 32;  // lower-case hex digits: 128 bits
// The highest seq or rev taken: far beyond any real net, and far enough below the largest
// number that a revision made on top of it cannot wrap round to 0.
inline constexpr uint64_t kMaxCount = 0xFFFFFFFF;

// {"ack":..,"by":..,"call":..,"com":..,"deleted":..,"first":..,"grid":..,"id":..,"inOut":..,
// "into":..,"latest":..,"name":..,"qth":..,"rev":..,"seq":..,"time":..,"v":1,"window":..}, keys
// in that order, text converted from Windows-1252.
// With facts, version 2 and these twelve keys too: "count" (0..99), "prec" ("" or one of E, P,
// W, R; "" exactly when count is 0), "dest", "listedAt", "passedTo", "passedAt", "tactical",
// "tacticalAt", "relay", "relayAt", "remark", "remarkAt" (times "" or as "time"; dest, passedTo,
// tactical and relay at most kMaxFactText bytes, remark kMaxRemark).
std::string encode(const Line& l);
// The line of a message, or nothing unless it is exactly such a message: at most kMaxMessage
// bytes, "v" 1 with its 18 keys or 2 with its 30, every key once and no other, each of its JSON type; window and by window
// identities, seq and rev from 1 to kMaxCount, id the window, "." and seq, into empty or a line's
// id; time empty or a real UTC moment as YYYY-MM-DDTHH:MM:SSZ; text well-formed UTF-8 that
// Windows-1252 stores, no control character, fields no longer than kMaxCall / kMaxText bytes once
// converted. Never throws.
std::optional<Line> decode(std::string_view payload, bool* newer = nullptr);

struct Presence {
  std::string window;
  std::string op;  // the operator's callsign, Windows-1252 (at most kMaxCall bytes)
  bool online = false;
};
// {"online":..,"op":..,"v":1,"window":..}; decoded as strictly as a line.
std::string encodePresence(const Presence& p);
std::optional<Presence> decodePresence(std::string_view payload);

// A window identity: kWindowIdLength lower-case hex digits.
bool isWindowId(std::string_view s);
// A line's id: a window identity, ".", and a number from 1 (no leading zero).
bool isLineId(std::string_view s);

// "kelpie/1/<net>", the net's name (Windows-1252) in UTF-8 with %, +, #, / and control
// characters written as %XX (upper-case hex), so that no name can reach into another net's
// topics or hold a wildcard; an empty name is "%".
std::string netTopic(const std::string& net);
std::string lineTopic(const std::string& net, const std::string& id);          // .../line/<id>
std::string presenceTopic(const std::string& net, const std::string& window);  // .../who/<window>
// Subscribing to these gets every line, and every window's presence, of the net.
std::string lineFilter(const std::string& net);      // .../line/+
std::string presenceFilter(const std::string& net);  // .../who/+

// A message that arrived on topic: the line, if it decodes and topic is the line's own (a line
// retained under another line's topic would stand in for it on the broker).
std::optional<Line> decodeLineAt(const std::string& net, std::string_view topic,
                                 std::string_view payload, bool* newer = nullptr);
std::optional<Presence> decodePresenceAt(const std::string& net, std::string_view topic,
                                         std::string_view payload);

// A fresh identity for a window: 128 bits from std::random_device as kWindowIdLength hex
// digits, so two windows never share one, even with the same user, settings and computer.
std::string newWindowId();

}  // namespace kelpie::share
