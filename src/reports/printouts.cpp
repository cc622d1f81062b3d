#include "reports/printouts.h"

#include "reports/print_layout.h"
#include "reports/report_commands.h"
#include "reports/reports.h"

namespace kelpie {

namespace {

void append(Lines& out, const Lines& more) { out.insert(out.end(), more.begin(), more.end()); }

// Sends the lines as one document and shows where the pages went when that is worth saying.
bool printDocument(Session& s, const char* jobName, const Lines& lines, std::string& note) {
  s.ui.printer.setJobName(jobName);
  PrintFontSize12(s.ui.printer);
  for (const std::string& line : lines) s.ui.printer.printLine(line);
  bool ok = true;
  note = s.ui.printer.endDoc(ok);
  return ok;
}

}  // namespace

void PrintFontSize12(Printer& printer) { printer.setFont("Courier New", 12, false, false, false); }

Lines pastLogPrintLines(const std::string& pathText, const std::vector<LogRecord>& records) {
  Lines out{""};
  append(out, layoutLine({printColumn(5), printText(pathText)}));
  out.emplace_back();
  for (const LogRecord& r : records) {
    append(out, layoutLine({printText(" " + r.callSign), printColumn(15), printText(r.name),
                            printColumn(30), printText(r.qth)}));
  }
  return out;
}

Lines logRecordPrintLines(const LogRecord& r) {
  return layoutLine({printColumn(2), printText(r.callSign), printColumn(15), printText(r.name),
                     printColumn(30), printText(r.qth)});
}

Lines mostCheckinsPrintLines(const std::string& pathText, long long count,
                             const std::vector<LogRecord>& records) {
  Lines out{""};
  append(out, layoutLine({printColumn(2), printText(pathText), printText("  "), printNumber(count),
                          printText(" total")}));
  out.emplace_back();
  for (const LogRecord& r : records) append(out, logRecordPrintLines(r));
  return out;
}

Lines shortcutPrintLines() {
  return {
      "",
      "       Keyboard shortcuts",
      "",
      "  <Esc> re-sets, cursor goes to the callsign input",
      "  <Enter> - on a blank input changes modes, if option is selected",
      "  # - marks <Ack> or <Com> while in those modes",
      "  A - changes the mode to Acknowledge",
      "  C - changes the mode to Comments",
      "  C# - clears <Ack> or <Com> while in those modes",
      "  D# - deletes the # check-in",
      "  DL - enter DL to delete the last check-in entry",
      "  <Space bar> marks <Ack> or <Com> in those modes, if option selected.",
  };
}

std::string mostCheckinsFailureText(const std::string& pathText) {
  return " Check file " + pathText + " for format, maybe a blank line below the last line.";
}

void MPPastLog_Click(Session& s) {
  fs::path path;
  ReportLog log;
  if (!chooseAndReadLog(s, kLoadLogTitle, path, log)) return;
  s.view.label3 = pathText(path);
  s.view.lines.clear();
  s.view.selected = -1;
  std::string note;
  const bool ok = printDocument(s, "Print a past check-in log",
                                pastLogPrintLines(pathText(path), log.records), note);
  showPrinterNote(s, ok || !note.empty()
                         ? note
                         : "The printout of " + pathText(path) + " could not be finished.");
  s.view.label3 = kEntryPrompt;
  s.updateCheckIns();
  s.doEvents();
}

void mPLogMostCheckins_Click(Session& s) {
  fs::path best;
  std::vector<LogRecord> bestRecords;
  for (const std::string& name : logFileNames(s.logFolder)) {
    const fs::path path = s.logFolder / name;
    ReportLog log = readReportLog(path);
    if (!log.ok || log.cutShort) {
      s.ui.dialogs.messageBox(mostCheckinsFailureText(pathText(path)), "", Buttons::OK, Answer::OK);
      return;
    }
    if (log.records.size() > bestRecords.size()) {
      best = path;
      bestRecords = std::move(log.records);
    }
  }
  s.doEvents();
  if (bestRecords.empty()) {
    // With no check-ins anywhere there is no log to print; an empty heading would name none.
    s.ui.dialogs.messageBox(" No check-in log with check-ins in " + pathText(s.logFolder) + ".", "",
                            Buttons::OK, Answer::OK);
    return;
  }

  std::string note;
  const Lines lines = mostCheckinsPrintLines(
      pathText(best), static_cast<long long>(bestRecords.size()), bestRecords);
  if (!printDocument(s, "Print log with most check-ins", lines, note)) {
    // The printer's own word says more than a hint at the log's format; without one the log
    // being printed is the one named.
    s.ui.dialogs.messageBox(note.empty() ? mostCheckinsFailureText(pathText(best)) : note, "",
                            Buttons::OK, Answer::OK);
    return;
  }
  showPrinterNote(s, note);
  s.updateCheckIns();
  s.doEvents();
}

void mPShortcuts_Click(Session& s) {
  std::string note;
  const bool ok = printDocument(s, "Print Shortcuts", shortcutPrintLines(), note);
  showPrinterNote(s, ok || !note.empty() ? note : "The shortcuts could not be printed.");
  s.doEvents();
}

}  // namespace kelpie
