#include "data/checkin_facts.h"

#include <map>

#include "data/checkin_times.h"

namespace kelpie {

namespace {
constexpr size_t kFields = 13;  // the callsign and twelve facts

bool timeOrEmpty(const std::string& s) { return s.empty() || parseIsoTime(s).has_value(); }
}  // namespace

std::string precedenceWord(char p) {
  switch (p) {
    case 'E':
      return "Emergency";
    case 'P':
      return "Priority";
    case 'W':
      return "Welfare";
    case 'R':
      return "Routine";
    default:
      return "";
  }
}

fs::path factsPathFor(const fs::path& logPath) {
  return findFileCI(logPath.parent_path(), logPath.stem().string() + ".TRF");
}

Lines factsLines(const std::vector<FactsRow>& rows) {
  Lines out;
  out.reserve(rows.size());
  for (const FactsRow& r : rows) {
    const CheckInFacts& f = r.facts;
    std::string line = r.callSign;
    for (const std::string* s : {&f.dest, &f.listedAt, &f.passedTo, &f.passedAt, &f.tactical,
                                 &f.tacticalAt, &f.relay, &f.relayAt, &f.remark, &f.remarkAt}) {
      if (s == &f.dest) {
        line += '\t' + toDec(f.count) + '\t';
        if (f.precedence) line += f.precedence;
      }
      line += '\t' + *s;
    }
    out.push_back(std::move(line));
  }
  return out;
}

std::vector<FactsRow> parseFactsLines(const Lines& lines) {
  std::vector<FactsRow> out;
  for (const std::string& line : lines) {
    std::vector<std::string> v;
    size_t from = 0;
    for (size_t tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1)
      v.push_back(line.substr(from, tab - from));
    v.push_back(line.substr(from));
    if (v.size() != kFields || v[0].empty() || v[1].empty() || v[1].size() > 2 ||
        v[1].find_first_not_of("0123456789") != std::string::npos)
      continue;
    FactsRow r;
    r.callSign = v[0];
    CheckInFacts& f = r.facts;
    f.count = std::stoi(v[1]);
    const bool precOk =
        f.count == 0 ? v[2].empty()
                     : v[2].size() == 1 && kPrecedences.find(v[2][0]) != std::string_view::npos;
    if (!precOk) continue;
    f.precedence = f.count == 0 ? 0 : v[2][0];
    f.dest = v[3], f.listedAt = v[4], f.passedTo = v[5], f.passedAt = v[6];
    f.tactical = v[7], f.tacticalAt = v[8], f.relay = v[9], f.relayAt = v[10];
    f.remark = v[11], f.remarkAt = v[12];
    if (!timeOrEmpty(f.listedAt) || !timeOrEmpty(f.passedAt) || !timeOrEmpty(f.tacticalAt) ||
        !timeOrEmpty(f.relayAt) || !timeOrEmpty(f.remarkAt))
      continue;
    out.push_back(std::move(r));
  }
  return out;
}

std::vector<CheckInFacts> readFactsFor(const fs::path& logPath,
                                       const std::vector<std::string>& logCalls) {
  std::vector<CheckInFacts> out(logCalls.size());
  const ReadResult r = readLines(factsPathFor(logPath));
  if (!r.ok) return out;
  // Each callsign's rows in file order, taken by its check-ins in list order.
  std::map<std::string, std::vector<CheckInFacts>> byCall;
  std::vector<FactsRow> rows = parseFactsLines(r.lines);
  for (size_t i = rows.size(); i-- > 0;)
    byCall[rows[i].callSign].push_back(std::move(rows[i].facts));
  for (size_t k = 0; k < logCalls.size(); ++k) {
    auto it = byCall.find(logCalls[k]);
    if (it == byCall.end() || it->second.empty()) continue;
    out[k] = std::move(it->second.back());
    it->second.pop_back();
  }
  return out;
}

}  // namespace kelpie
