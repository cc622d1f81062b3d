#include "data/checkin_times.h"

#include <cstdio>
#include <unordered_map>

namespace kelpie {

namespace {
bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && isLeap(y) ? 29 : days[m - 1];
}

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian calendar).
long long daysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

Date civilFromDays(long long z) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {static_cast<int>(yoe + era * 400 + (m <= 2)), m, d};
}

bool digitsAt(std::string_view s, size_t at, size_t n, int& value) {
  value = 0;
  for (size_t i = at; i < at + n; ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    value = value * 10 + (s[i] - '0');
  }
  return true;
}
}  // namespace

std::string isoTimeText(const DateTime& t) {
  char b[48];
  std::snprintf(b, sizeof b, "%04d-%02d-%02dT%02d:%02d:%02dZ", t.date.year, t.date.month,
                t.date.day, t.hour, t.minute, t.second);
  return b;
}

std::optional<DateTime> parseIsoTime(std::string_view s) {
  if (s.size() != 20 || s[4] != '-' || s[7] != '-' || s[10] != 'T' || s[13] != ':' ||
      s[16] != ':' || s[19] != 'Z')
    return std::nullopt;
  DateTime t;
  if (!digitsAt(s, 0, 4, t.date.year) || !digitsAt(s, 5, 2, t.date.month) ||
      !digitsAt(s, 8, 2, t.date.day) || !digitsAt(s, 11, 2, t.hour) ||
      !digitsAt(s, 14, 2, t.minute) || !digitsAt(s, 17, 2, t.second))
    return std::nullopt;
  if (t.date.month < 1 || t.date.month > 12 || t.date.day < 1 ||
      t.date.day > daysInMonth(t.date.year, t.date.month) || t.hour > 23 || t.minute > 59 ||
      t.second > 59)
    return std::nullopt;
  return t;
}

DateTime addMinutes(DateTime t, long long minutes) {
  long long total = daysFromCivil(t.date.year, t.date.month, t.date.day) * 1440 + t.hour * 60 +
                    t.minute + minutes;
  long long days = total >= 0 ? total / 1440 : -((-total + 1439) / 1440);
  const long long rest = total - days * 1440;
  t.date = civilFromDays(days);
  t.hour = static_cast<int>(rest / 60);
  t.minute = static_cast<int>(rest % 60);
  return t;
}

fs::path timesPathFor(const fs::path& logPath) {
  return findFileCI(logPath.parent_path(), logPath.stem().string() + ".TIM");
}

Lines timeLines(const std::vector<CheckInTime>& rows) {
  Lines out;
  out.reserve(rows.size());
  for (const CheckInTime& r : rows)
    out.push_back(r.callSign + "\t" + r.time + (r.inOut ? "\tin&out" : ""));
  return out;
}

std::vector<CheckInTime> parseTimeLines(const Lines& lines) {
  std::vector<CheckInTime> out;
  out.reserve(lines.size());
  for (const std::string& line : lines) {
    const size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;  // no check-in line: skipped, it matches nothing
    CheckInTime r;
    r.callSign = line.substr(0, tab);
    const size_t tab2 = line.find('\t', tab + 1);
    const std::string time =
        line.substr(tab + 1, tab2 == std::string::npos ? tab2 : tab2 - tab - 1);
    if (parseIsoTime(time)) r.time = time;
    r.inOut = tab2 != std::string::npos && line.substr(tab2 + 1) == "in&out";
    out.push_back(std::move(r));
  }
  return out;
}

std::vector<CheckInTime> matchTimes(const std::vector<std::string>& logCalls,
                                    const std::vector<CheckInTime>& rows) {
  // Where each callsign stands in the file; today's callsigns are unique, so the first will do
  // for the rare file that repeats one.
  std::unordered_map<std::string, size_t> at;
  for (size_t i = rows.size(); i-- > 0;) at[rows[i].callSign] = i;
  std::vector<CheckInTime> out;
  out.reserve(logCalls.size());
  size_t next = 0;
  for (const std::string& call : logCalls) {
    auto it = at.find(call);
    if (it != at.end() && it->second >= next) {
      out.push_back(rows[it->second]);
      next = it->second + 1;
    } else {
      out.push_back({call, "", false});
    }
  }
  return out;
}

std::vector<CheckInTime> readTimesFor(const fs::path& logPath,
                                      const std::vector<std::string>& logCalls) {
  const ReadResult r = readLines(timesPathFor(logPath));
  return matchTimes(logCalls, r.ok ? parseTimeLines(r.lines) : std::vector<CheckInTime>{});
}

}  // namespace kelpie
