#include "share/wire.h"

#include <nlohmann/json.hpp>
#include <random>

#include "data/checkin_times.h"
#include "share/cp1252.h"

namespace kelpie::share {

namespace {

using json = nlohmann::json;

constexpr char kUpperHex[] = "0123456789ABCDEF", kLowerHex[] = "0123456789abcdef";

std::string dump(const json& j) {
  // Never throws: the text of a Line converted from Windows-1252 is always good UTF-8.
  return j.dump(-1, ' ', false, json::error_handler_t::replace);
}

// A JSON object with a "v" this window reads and exactly as many distinct keys as that version
// has (keys[v - 1]), or nothing. newer: set when "v" is a later version than this window reads.
std::optional<json> parseMessage(std::string_view payload, std::initializer_list<size_t> keys,
                                 bool* newer = nullptr) {
  if (payload.size() > kMaxMessage) return std::nullopt;
  try {
    size_t seen = 0;  // a repeated key would otherwise quietly keep its last value
    const json::parser_callback_t count = [&seen](int depth, json::parse_event_t event, json&) {
      if (depth == 1 && event == json::parse_event_t::key) ++seen;
      return true;
    };
    json j = json::parse(payload.begin(), payload.end(), count, false);
    if (!j.is_object()) return std::nullopt;
    const auto v = j.find("v");
    if (v == j.end() || !v->is_number_unsigned()) return std::nullopt;
    const uint64_t version = v->get<uint64_t>();
    if (version > keys.size()) {
      if (newer) *newer = true;
      return std::nullopt;
    }
    if (version < 1 || j.size() != keys.begin()[version - 1] || seen != j.size())
      return std::nullopt;
    return j;
  } catch (const json::exception&) {
    return std::nullopt;
  }
}

// Reads the fields of a parsed message; any field missing or of another type makes ok false.
struct Fields {
  const json& j;
  bool ok = true;

  const json& at(const char* key) {
    static const json missing;  // null: no field is of that type
    const auto it = j.find(key);
    return it == j.end() ? missing : *it;
  }
  bool flag(const char* key) {
    const json& v = at(key);
    if (!v.is_boolean()) ok = false;
    return v.is_boolean() && v.get<bool>();
  }
  uint64_t count(const char* key) {  // from 1 to kMaxCount
    const json& v = at(key);
    const uint64_t n = v.is_number_unsigned() ? v.get<uint64_t>() : 0;
    if (n < 1 || n > kMaxCount) ok = false;
    return n;
  }
  std::string raw(const char* key) {
    const json& v = at(key);
    if (!v.is_string()) ok = false;
    return v.is_string() ? v.get<std::string>() : "";
  }
  std::string text(const char* key, size_t most) {  // converted to Windows-1252 and checked
    std::optional<std::string> s = cp1252FromUtf8(raw(key));
    if (s && s->size() <= most) {
      bool clean = true;
      for (const char c : *s) clean = clean && !isControl1252(static_cast<unsigned char>(c));
      if (clean) return *s;
    }
    ok = false;
    return {};
  }
};

bool timeOrEmpty(const std::string& s) { return s.empty() || parseIsoTime(s).has_value(); }

// The facts of a version 2 line: a count of 0 to 99 with a precedence exactly when it is not 0,
// the texts as the window's own limits, the times empty or real moments; never a version 2
// line without any fact (that is a version 1 line).
bool decodeFacts(Fields& f, CheckInFacts& out) {
  const json& count = f.at("count");
  if (!count.is_number_unsigned() || count.get<uint64_t>() > kMaxTrafficCount) return false;
  out.count = static_cast<int>(count.get<uint64_t>());
  const std::string prec = f.raw("prec");
  if (out.count == 0 ? !prec.empty()
                     : prec.size() != 1 || kPrecedences.find(prec[0]) == std::string_view::npos)
    return false;
  out.precedence = prec.empty() ? 0 : prec[0];
  out.dest = f.text("dest", kMaxFactText), out.passedTo = f.text("passedTo", kMaxFactText);
  out.tactical = f.text("tactical", kMaxFactText), out.relay = f.text("relay", kMaxFactText);
  out.remark = f.text("remark", kMaxRemark);
  for (auto [key, at] : {std::pair{"listedAt", &out.listedAt},
                         {"passedAt", &out.passedAt},
                         {"tacticalAt", &out.tacticalAt},
                         {"relayAt", &out.relayAt},
                         {"remarkAt", &out.remarkAt}}) {
    *at = f.raw(key);
    if (!timeOrEmpty(*at)) return false;
  }
  return f.ok && !out.empty();
}

std::string escapeTopicLevel(const std::string& name) {
  if (name.empty()) return "%";
  std::string out;
  for (const char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (isControl1252(c) || c == '%' || c == '+' || c == '#' || c == '/') {
      out += '%';
      out += kUpperHex[c >> 4];
      out += kUpperHex[c & 0xF];
    } else {
      out += utf8From1252(std::string_view(&ch, 1));
    }
  }
  return out;
}

}  // namespace

std::string encode(const Line& l) {
  json j{{"v", kWireVersion1},
         {"id", l.id},
         {"window", l.window},
         {"seq", l.seq},
         {"rev", l.rev},
         {"by", l.by},
         {"time", l.time},
         {"deleted", l.deleted},
         {"call", utf8From1252(l.call)},
         {"name", utf8From1252(l.name)},
         {"qth", utf8From1252(l.qth)},
         {"first", utf8From1252(l.first)},
         {"latest", utf8From1252(l.latest)},
         {"grid", utf8From1252(l.grid)},
         {"ack", l.ack},
         {"com", l.com},
         {"inOut", l.inOut},
         {"into", l.into}};
  // A line without facts goes out as every window since the first shared net reads it.
  const CheckInFacts& f = l.facts;
  if (!f.empty()) {
    j["v"] = kWireVersion;
    j["count"] = f.count;
    j["prec"] = f.precedence ? std::string(1, f.precedence) : std::string();
    const std::pair<const char*, const std::string*> texts[] = {
        {"dest", &f.dest},         {"listedAt", &f.listedAt}, {"passedTo", &f.passedTo},
        {"passedAt", &f.passedAt}, {"tactical", &f.tactical}, {"tacticalAt", &f.tacticalAt},
        {"relay", &f.relay},       {"relayAt", &f.relayAt},   {"remark", &f.remark},
        {"remarkAt", &f.remarkAt}};
    for (const auto& [key, text] : texts) j[key] = utf8From1252(*text);
  }
  return dump(j);
}

std::optional<Line> decode(std::string_view payload, bool* newer) {
  const std::optional<json> j = parseMessage(payload, {kLineKeys1, kLineKeys}, newer);
  if (!j) return std::nullopt;
  Fields f{*j};
  Line l;
  l.id = f.raw("id"), l.window = f.raw("window"), l.seq = f.count("seq");
  l.rev = f.count("rev"), l.by = f.raw("by"), l.time = f.raw("time");
  l.deleted = f.flag("deleted");
  l.call = f.text("call", kMaxCall), l.name = f.text("name", kMaxText);
  l.qth = f.text("qth", kMaxText), l.first = f.text("first", kMaxText);
  l.latest = f.text("latest", kMaxText), l.grid = f.text("grid", kMaxText);
  l.ack = f.flag("ack"), l.com = f.flag("com"), l.inOut = f.flag("inOut");
  l.into = f.raw("into");
  if (j->size() == kLineKeys && !decodeFacts(f, l.facts)) return std::nullopt;
  if (!f.ok || (!l.into.empty() && !isLineId(l.into)) || !isWindowId(l.window) ||
      !isWindowId(l.by) || l.id != l.window + "." + std::to_string(l.seq) ||
      (!l.time.empty() && !parseIsoTime(l.time)))
    return std::nullopt;
  return l;
}

std::string encodePresence(const Presence& p) {
  return dump(json{{"v", kWireVersion1},
                   {"window", p.window},
                   {"op", utf8From1252(p.op)},
                   {"online", p.online}});
}

std::optional<Presence> decodePresence(std::string_view payload) {
  const std::optional<json> j = parseMessage(payload, {4});
  if (!j) return std::nullopt;
  Fields f{*j};
  Presence p{f.raw("window"), f.text("op", kMaxCall), f.flag("online")};
  if (!f.ok || !isWindowId(p.window)) return std::nullopt;
  return p;
}

bool isWindowId(std::string_view s) {
  if (s.size() != kWindowIdLength) return false;
  for (const char c : s)
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  return true;
}

bool isLineId(std::string_view s) {
  const std::string_view seq = s.substr(std::min(s.size(), kWindowIdLength + 1));
  return isWindowId(s.substr(0, kWindowIdLength)) && s.size() > kWindowIdLength + 1 &&
         s[kWindowIdLength] == '.' && seq[0] != '0' &&
         seq.find_first_not_of("0123456789") == std::string_view::npos;
}

std::string netTopic(const std::string& net) { return "kelpie/1/" + escapeTopicLevel(net); }
std::string lineTopic(const std::string& net, const std::string& id) {
  return netTopic(net) + "/line/" + id;
}
std::string presenceTopic(const std::string& net, const std::string& window) {
  return netTopic(net) + "/who/" + window;
}
std::string lineFilter(const std::string& net) { return lineTopic(net, "+"); }
std::string presenceFilter(const std::string& net) { return presenceTopic(net, "+"); }

std::optional<Line> decodeLineAt(const std::string& net, std::string_view topic,
                                 std::string_view payload, bool* newer) {
  std::optional<Line> l = decode(payload, newer);
  if (!l || topic != lineTopic(net, l->id)) return std::nullopt;
  return l;
}

std::optional<Presence> decodePresenceAt(const std::string& net, std::string_view topic,
                                         std::string_view payload) {
  std::optional<Presence> p = decodePresence(payload);
  if (!p || topic != presenceTopic(net, p->window)) return std::nullopt;
  return p;
}

std::string newWindowId() {
  std::random_device random;
  std::string out;
  while (out.size() < kWindowIdLength) out += kLowerHex[random() & 0xF];  // 4 bits a digit
  return out;
}

}  // namespace kelpie::share
