#include "data/checkin_log.h"

#include "data/quoted.h"

namespace kelpie {

LogRead parseLog(const Lines& lines, bool quoted) {
  LogRead r;
  r.ok = true;
  r.quoted = quoted;
  const std::vector<std::string> values = quoted ? quotedValues(lines) : lines;
  for (size_t i = 0; i < values.size(); i += 3) {
    LogRecord rec;
    rec.callSign = values[i];
    if (i + 1 < values.size()) rec.name = values[i + 1];
    if (i + 2 < values.size()) rec.qth = values[i + 2];
    if (i + 3 > values.size()) r.cutShort = true;
    r.records.push_back(std::move(rec));
  }
  return r;
}

LogRead readLogFile(const fs::path& path) {
  const ReadResult rr = readLines(path);
  if (!rr.ok) return {};
  return parseLog(rr.lines, isQuotedForm(rr.lines));
}

LogRead readLogLineForm(const fs::path& path) {
  const ReadResult rr = readLines(path);
  if (!rr.ok) return {};
  return parseLog(rr.lines, false);
}

Lines logLines(const std::vector<LogRecord>& records) {
  Lines out;
  out.reserve(records.size() * 3);
  for (const auto& r : records) {
    out.push_back(r.callSign);
    out.push_back(r.name);
    out.push_back(r.qth);
  }
  return out;
}

}  // namespace kelpie
