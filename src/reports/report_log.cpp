#include "reports/report_log.h"

#include "data/quoted.h"

namespace kelpie {

ReportLog readReportLog(const fs::path& path) {
  ReportLog log;
  ReadResult rr = readLines(path);
  if (!rr.ok) {
    log.error = rr.error.empty() ? "it cannot be read" : rr.error;
    return log;
  }
  LogRead parsed = parseLog(rr.lines, isQuotedForm(rr.lines));
  log.ok = true;
  log.cutShort = parsed.cutShort;
  log.records = std::move(parsed.records);
  if (log.cutShort && !log.records.empty()) {
    const LogRecord& last = log.records.back();
    if (last.callSign.empty() && last.name.empty() && last.qth.empty()) log.records.pop_back();
  }
  return log;
}

std::vector<std::string> logFileNames(const fs::path& logFolder) {
  return listFilesCI(logFolder, ".ile");
}

std::string nameOfChosenPath(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace kelpie
