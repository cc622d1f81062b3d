// The past-log viewer: a stored log shown read-only in the list until the next key.
#include "net/traffic.h"
#include "reports/report_commands.h"
#include "reports/reports.h"

namespace kelpie {

Lines pastLogLines(const std::vector<LogRecord>& records, const std::vector<CheckInFacts>& facts) {
  Lines lines;
  lines.reserve(records.size() + 2);
  for (size_t i = 0; i < records.size(); ++i) {
    const LogRecord& r = records[i];
    lines.push_back(toDec(static_cast<long long>(i + 1)) + "  " + r.callSign + " " + r.name + " " +
                    r.qth + (i < facts.size() ? factsSuffix(facts[i]) : ""));
  }
  lines.emplace_back();
  lines.emplace_back(kEscToResume);
  return lines;
}

void mLoadLog_Click(Session& s) {
  fs::path path;
  ReportLog log;
  if (!chooseAndReadLog(s, kLoadLogTitle, path, log)) return;

  s.view.label3 = pathText(path);
  s.viewOnlyLog = true;
  for (const char* item :
       {"mnuPopUpCall", "mnuPopUpName", "mnuPopUpQTH", "mnuPopUpMultiple", "mnuPopUpInsertGrid",
        "mnuPopUpUpdateCall", "mnuPopUpTactical", "mnuPopUpRelay"})
    s.menu(item).enabled = false;
  s.view.entryEnabled = false;
  s.view.entryText = " * log for view only *";

  std::vector<std::string> calls;
  for (const LogRecord& r : log.records) calls.push_back(r.callSign);
  s.view.lines = pastLogLines(log.records, readFactsFor(path, calls));
  s.view.selected = -1;
  s.view.label2Visible = true;
  s.view.label2.clear();
  s.doEvents();
}

}  // namespace kelpie
