#include "share/replica.h"

#include <algorithm>
#include <unordered_map>

#include "data/text.h"

namespace kelpie::share {

Replica::Replica(std::string window) : window_(std::move(window)) {}

bool Replica::merge(const Line& l) {
  auto [it, added] = lines_.try_emplace(l.id, l);
  if (!added) {
    if (!supersedes(l, it->second)) return false;
    it->second = l;
  }
  if (l.window == window_) lastSeq_ = std::max(lastSeq_, l.seq);
  return true;
}

const Line* Replica::find(const std::string& id) const {
  const auto it = lines_.find(id);
  return it == lines_.end() ? nullptr : &it->second;
}

std::vector<Line> Replica::all() const {
  std::vector<Line> out;
  out.reserve(lines_.size());
  for (const auto& [id, l] : lines_) out.push_back(l);
  return out;
}

std::vector<Replica::Entry> Replica::entries() const {
  // Merged into a line that lives. Only into an earlier line by net order, so that a chain of
  // merges always ends, whatever the broker sends.
  auto mergedInto = [this](const Line& l) -> const Line* {
    const Line* to = l.into.empty() ? nullptr : find(l.into);
    return to && !to->deleted && netBefore(*to, l) ? to : nullptr;
  };
  std::vector<const Line*> live;
  for (const auto& [id, l] : lines_)
    if (!l.deleted) live.push_back(&l);
  std::sort(live.begin(), live.end(),
            [](const Line* a, const Line* b) { return netBefore(*a, *b); });
  std::vector<Entry> out;
  std::unordered_map<std::string, size_t> station;  // upper-cased callsign -> its entry
  std::unordered_map<std::string, size_t> entryOf;  // every line shown or folded -> its entry
  for (const Line* l : live) {
    if (mergedInto(*l)) continue;
    const std::string key = upper1252(trimSpaces(l->call));
    const auto it = key.empty() ? station.end() : station.find(key);
    if (it == station.end()) {
      if (!key.empty()) station.emplace(key, out.size());
      entryOf.emplace(l->id, out.size());
      out.push_back({*l, {}, {}});
      continue;
    }
    Entry& e = out[it->second];
    e.line.ack = e.line.ack || l->ack;
    e.line.com = e.line.com || l->com;
    e.line.inOut = e.line.inOut || l->inOut;
    // Each kind of fact from the first of the station's lines that has it.
    CheckInFacts& to = e.line.facts;
    const CheckInFacts& from = l->facts;
    if (to.count == 0 && from.count > 0) {
      to.count = from.count, to.precedence = from.precedence, to.dest = from.dest;
      to.listedAt = from.listedAt, to.passedTo = from.passedTo, to.passedAt = from.passedAt;
    }
    if (to.tactical.empty()) to.tactical = from.tactical, to.tacticalAt = from.tacticalAt;
    if (to.relay.empty()) to.relay = from.relay, to.relayAt = from.relayAt;
    if (to.remark.empty()) to.remark = from.remark, to.remarkAt = from.remarkAt;
    e.folded.push_back(l->id);
    entryOf.emplace(l->id, it->second);
  }
  for (const Line* l : live) {
    const Line* root = mergedInto(*l);
    if (!root) continue;
    while (const Line* next = mergedInto(*root)) root = next;
    out[entryOf.at(root->id)].merged.push_back(l->id);
  }
  return out;
}

std::vector<Line> Replica::list() const {
  std::vector<Line> out;
  for (Entry& e : entries()) out.push_back(std::move(e.line));
  return out;
}

namespace {

void setContent(Line& to, const Line& from) {
  to.call = from.call, to.name = from.name, to.qth = from.qth, to.first = from.first;
  to.latest = from.latest, to.grid = from.grid;
  to.ack = from.ack, to.com = from.com, to.inOut = from.inOut;
  to.facts = from.facts;
}

}  // namespace

std::vector<Line> commit(Replica& r, std::vector<Row>& rows) {
  const std::string& me = r.window();
  std::vector<Line> made;
  // content: a change; into: merged into that line; neither: deleted.
  auto revise = [&](const std::string& id, const Line* content, const std::string& into = {}) {
    Line l = *r.find(id);
    if (content)
      setContent(l, *content);
    else if (!into.empty())
      l.into = into;
    else
      l.deleted = true;
    ++l.rev;
    l.by = me;
    r.merge(l);
    made.push_back(std::move(l));
  };

  const std::vector<Replica::Entry> entries = r.entries();
  std::unordered_map<std::string, size_t> entryOf;  // every live id -> the entry showing it
  for (size_t i = 0; i < entries.size(); ++i) {
    entryOf.emplace(entries[i].line.id, i);
    for (const auto* ids : {&entries[i].folded, &entries[i].merged})
      for (const std::string& id : *ids) entryOf.emplace(id, i);
  }
  std::vector<bool> held(entries.size(), false);
  for (Row& row : rows) {
    Line want = row.content;
    cleanText(want);
    want.deleted = false;
    const auto it = entryOf.find(row.id);
    if (it == entryOf.end()) {
      const Line* old = r.find(row.id);
      if (old && old->deleted) continue;
      Line l = want;
      l.window = l.by = me;
      l.seq = r.lastSeq() + 1;
      l.id = me + "." + std::to_string(l.seq);
      l.rev = 1;
      row.id = l.id;
      r.merge(l);
      made.push_back(std::move(l));
      continue;
    }
    const Replica::Entry& e = entries[it->second];
    row.id = e.line.id;
    if (held[it->second]) continue;
    held[it->second] = true;
    if (sameContent(want, e.line)) continue;
    revise(e.line.id, &want);
    for (const std::string& id : e.folded) revise(id, nullptr, e.line.id);
  }
  for (size_t i = 0; i < entries.size(); ++i) {
    if (held[i]) continue;
    const Replica::Entry& e = entries[i];
    revise(e.line.id, nullptr);
    for (const auto* ids : {&e.folded, &e.merged})
      for (const std::string& id : *ids) revise(id, nullptr);
  }
  return made;
}

}  // namespace kelpie::share
