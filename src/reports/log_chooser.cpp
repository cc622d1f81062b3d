#include "reports/report_commands.h"
#include "reports/reports.h"

namespace kelpie {

std::string chooseLog(Session& s, const std::string& title) {
  const std::string path = s.ui.dialogs.chooseLogFile(title, pathText(s.logFolder));
  if (path.empty()) return {};
  return nameOfChosenPath(path);
}

fs::path chosenLogPath(const Session& s, const std::string& name) {
  return findFileCI(s.logFolder, name);
}

void reportUnreadableLog(Session& s, const fs::path& path, const std::string& error) {
  s.ui.dialogs.messageBox(
      "Kelpie could not read the check-in log " + pathText(path) + " (" + error + ").",
      " Check-in log", Buttons::OK, Answer::OK);
}

bool chooseAndReadLog(Session& s, const std::string& title, fs::path& path, ReportLog& log) {
  const std::string name = chooseLog(s, title);
  if (name.empty()) return false;
  path = chosenLogPath(s, name);
  // A log that cannot be read changes nothing: an empty view, printout or summary would say
  // something false.
  log = readReportLog(path);
  if (!log.ok) reportUnreadableLog(s, path, log.error);
  return log.ok;
}

void showPrinterNote(Session& s, const std::string& note) {
  if (!note.empty()) s.ui.dialogs.messageBox(note, "", Buttons::OK, Answer::OK);
}

}  // namespace kelpie
