#include "share/line.h"

#include <algorithm>
#include <tuple>

namespace kelpie::share {

namespace {

auto rank(const Line& l) {
  return std::tie(l.deleted, l.rev, l.by, l.time, l.call, l.name, l.qth, l.first, l.latest, l.grid,
                  l.ack, l.com, l.inOut, l.facts, l.into, l.window, l.seq, l.id);
}

auto content(const Line& l) {
  return std::tie(l.call, l.name, l.qth, l.first, l.latest, l.grid, l.ack, l.com, l.inOut, l.facts,
                  l.deleted);
}

void clean(std::string& s, size_t most) {
  if (s.size() > most) s.resize(most);
  for (char& c : s)
    if (isControl1252(static_cast<unsigned char>(c))) c = ' ';
}

}  // namespace

bool supersedes(const Line& b, const Line& a) { return rank(a) < rank(b); }

bool sameContent(const Line& a, const Line& b) { return content(a) == content(b); }

bool netBefore(const Line& a, const Line& b) {
  return std::tie(a.time, a.window, a.seq) < std::tie(b.time, b.window, b.seq);
}

bool isControl1252(unsigned char c) {
  return c < 0x20 || c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

void cleanText(Line& l) {
  clean(l.call, kMaxCall);
  for (std::string* s : {&l.name, &l.qth, &l.first, &l.latest, &l.grid}) clean(*s, kMaxText);
  CheckInFacts& f = l.facts;
  for (std::string* s : {&f.dest, &f.passedTo, &f.tactical, &f.relay}) clean(*s, kMaxFactText);
  clean(f.remark, kMaxRemark);
  f.count = std::clamp(f.count, 0, kMaxTrafficCount);
  if (f.count == 0)
    f.precedence = 0;
  else if (!f.precedence || kPrecedences.find(f.precedence) == std::string_view::npos)
    f.precedence = 'R';
}

}  // namespace kelpie::share
