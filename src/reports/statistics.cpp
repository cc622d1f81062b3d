#include "reports/statistics.h"

#include "reports/report_commands.h"
#include "reports/report_log.h"
#include "reports/reports.h"

namespace kelpie {

void StationTally::add(const std::string& callSign) {
  if (callSign.empty()) return;
  auto [it, added] = index_.try_emplace(callSign, rows_.size());
  if (added) rows_.push_back({0, callSign, {}});
  ++rows_[it->second].count;
}

void StationTally::addLog(const std::vector<LogRecord>& records) {
  for (const LogRecord& r : records) add(r.callSign);
}

void StationTally::mergeCallChanges(const Roster& roster) {
  for (int r = 2; r <= roster.count(); ++r) {
    const RosterEntry& e = roster.row(r);
    // A station whose "former" call is its own call has no history to fold in; adding its
    // count to itself would double it.
    if (e.oldCallSign.empty() || e.oldCallSign == e.callSign) continue;
    const auto old = index_.find(e.oldCallSign);
    const auto now = index_.find(e.callSign);
    if (old == index_.end() || now == index_.end()) continue;
    Row& to = rows_[now->second];
    to.formerCall = e.oldCallSign;
    to.count += rows_[old->second].count;
  }
}

StationTally::Best StationTally::best() const {
  Best b;
  for (const Row& row : rows_) {
    if (row.count <= b.count) continue;
    b.count = row.count;
    b.text = row.formerCall.empty() ? row.callSign : row.callSign + " (ex: " + row.formerCall + ")";
  }
  return b;
}

std::string logYearText(const std::string& fileName) {
  const std::string head = fileName.size() > 5 ? fileName.substr(0, fileName.size() - 5) : "";
  return head.size() > 2 ? head.substr(head.size() - 2) : head;
}

Lines statisticsLines(const std::string& heading, const StationTally::Best& best) {
  return {"", heading, "", "  " + best.text + "   " + toDec(best.count), "", "", kEscToResume};
}

namespace {

bool isTwoDigitYear(const std::string& year) {
  return year.size() == 2 && year[0] >= '0' && year[0] <= '9' && year[1] >= '0' && year[1] <= '9';
}

std::string lastChars(const std::string& text, size_t n) {
  return text.size() > n ? text.substr(text.size() - n) : text;
}

void showStatistics(Session& s, bool thisYearOnly) {
  const std::string today = s.today();
  const std::string thisYear = lastChars(today, 2);
  // The heading names the earliest year among the logs, never later than 2050. Only a name
  // that really carries two digits there takes part, so a stray file cannot put letters into
  // the heading.
  std::string earliest = "50";

  StationTally tally;
  for (const std::string& name : logFileNames(s.logFolder)) {
    const std::string year = logYearText(name);
    if (thisYearOnly) {
      if (year != thisYear) continue;
    } else if (isTwoDigitYear(year) && std::stoi(year) < std::stoi(earliest)) {
      earliest = year;
    }
    // An unreadable log counts for nothing; a record cut short at the end still names its
    // station.
    const ReportLog log = readReportLog(s.logFolder / name);
    if (log.ok) tally.addLog(log.records);
  }
  tally.mergeCallChanges(s.roster);

  const std::string heading =
      thisYearOnly ? " Station with the most check-ins in " + lastChars(today, 4) + ":"
                   : " Station with the most check-ins since 20" + earliest + ":";
  s.view.lines = statisticsLines(heading, tally.best());
  s.view.selected = -1;
  s.doEvents();
}

}  // namespace

void mMostCheckins_Click(Session& s) { showStatistics(s, false); }

void mMostCheckinsperYear_Click(Session& s) { showStatistics(s, true); }

}  // namespace kelpie
