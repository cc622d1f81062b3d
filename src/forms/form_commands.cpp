#include "forms/form_commands.h"

#include "data/checkin_times.h"
#include "reports/export.h"
#include "reports/report_commands.h"
#include "reports/reports.h"
#include "share/share_net.h"

namespace kelpie {

namespace {

constexpr const char* kFirstTime = "  First time check-in";

bool replaceAllowed(Session& s, const fs::path& target, IcsForm form) {
  std::error_code ec;
  return !fs::exists(target, ec) ||
         s.ui.dialogs.messageBox(pathText(target) + " already exists.\r\n\r\nReplace it?",
                                 formTitle(form), Buttons::YesNo, Answer::No) == Answer::Yes;
}

void tell(Session& s, IcsForm form, const std::string& text) {
  s.ui.dialogs.messageBox(text, formTitle(form), Buttons::OK, Answer::OK);
}

}  // namespace

std::string formTitle(IcsForm form) {
  return form == IcsForm::Log309 ? " ICS 309 Communications Log" : " ICS 214 Activity Log";
}

FormNet todaysNet(const Session& s) {
  FormNet net;
  net.logName = s.todayLogName;
  net.today = true;
  for (int i = 1; i <= s.checkIns.count && static_cast<size_t>(i) < s.checkIns.rows.size(); ++i) {
    const CheckInRow& row = s.checkIns.rows[static_cast<size_t>(i)];
    if (row.f[1].empty()) continue;  // a check-in deleted from the list
    net.checkIns.push_back(
        {row.f[1], row.f[2], row.timeIn, row.inOut, row.f[4] == kFirstTime, row.facts});
  }
  if (s.share)
    for (const auto& [window, call] : s.share->present()) net.loggers.push_back(call);
  return net;
}

bool readPastNet(Session& s, const fs::path& path, FormNet& net) {
  const ReportLog log = readReportLog(path);
  if (!log.ok) {
    reportUnreadableLog(s, path, log.error);
    return false;
  }
  const std::string name = path.filename().string();
  const Date date = netDateFromLogName(name).value_or(s.ui.clock.today());
  std::vector<std::string> calls;
  for (const LogRecord& r : log.records) calls.push_back(r.callSign);
  const std::vector<CheckInTime> times = readTimesFor(path, calls);
  const std::vector<CheckInFacts> facts = readFactsFor(path, calls);
  const ExportNet rows = exportNet(name, date, "", log.records, times, s.roster, false);
  net = FormNet{name, false, {}, {}};
  for (size_t i = 0; i < log.records.size(); ++i)
    net.checkIns.push_back({log.records[i].callSign, log.records[i].name, times[i].time,
                            times[i].inOut, rows.rows[i].firstTime,
                            i < facts.size() ? facts[i] : CheckInFacts{}});
  return true;
}

bool choosePastNet(Session& s, FormNet& net) {
  const std::string name = chooseLog(s, " Select Check-in log file for the form...");
  if (name.empty()) return false;
  if (lower1252(name) == lower1252(s.todayLogName)) {
    net = todaysNet(s);
    return true;
  }
  return readPastNet(s, chosenLogPath(s, name), net);
}

std::string netNote(const FormNet& net) {
  for (const NetCheckIn& c : net.checkIns)
    if (!c.timeIn.empty()) return {};
  if (net.checkIns.empty()) return "This net has no check-ins yet.";
  return "This log has no check-in times: the rows' times are left blank, and every check-in is "
         "on the form whatever the period.";
}

Sheet formSheet(const FormJob& job, Clock& clock, FormPrinter& printer) {
  const std::vector<NetEvent> all = netEvents(job.net, clock);
  const std::vector<NetEvent> cut = cutToPeriod(all, job.header.from, job.header.to);
  double width = 612, height = 792;
  printer.paper(width, height);
  const TextMeasure measure = [&printer](const std::string& text, double size, bool bold) {
    return printer.textWidth(text, size, bold);
  };
  const FormLayout layout =
      job.form == IcsForm::Log309
          ? layout309(rows309(job.net, cut, job.header), job.header)
          : layout214(resources214(job.net, all, job.header),
                      activities214(job.net, all, cut, job.header), job.header);
  return layoutForm(layout, width, height, measure);
}

std::string saveFormPdf(Session& s, FormPrinter& printer, const FormJob& job) {
  const fs::path target = s.logFolder / formFileName(job.net.logName, job.form, "pdf");
  if (!replaceAllowed(s, target, job.form)) return {};
  std::string error;
  if (!printer.savePdf(formSheet(job, s.ui.clock, printer), pathText(target), &error)) {
    tell(s, job.form, "Kelpie could not write " + pathText(target) + " (" + error + ").");
    return {};
  }
  if (!s.ui.launcher.openDocument(pathText(target)))
    tell(s, job.form,
         "The form is saved as " + pathText(target) + ", but no program to show it was found.");
  return pathText(target);
}

bool printForm(Session& s, FormPrinter& printer, const FormJob& job) {
  std::string error;
  if (printer.print(formSheet(job, s.ui.clock, printer), &error)) return true;
  tell(s, job.form, error);
  return false;
}

std::string saveFormCsv(Session& s, const FormJob& job) {
  const fs::path target = s.logFolder / formFileName(job.net.logName, job.form, "csv");
  if (!replaceAllowed(s, target, job.form)) return {};
  const std::vector<NetEvent> cut =
      cutToPeriod(netEvents(job.net, s.ui.clock), job.header.from, job.header.to);
  std::string error;
  if (!writeBytesAtomic(target, csv309(job.net, cut, job.header), &error)) {
    tell(s, job.form, "Kelpie could not write " + pathText(target) + " (" + error + ").");
    return {};
  }
  tell(s, job.form,
       toDec(static_cast<long long>(cut.size())) + " rows saved as " + pathText(target) + ".");
  return pathText(target);
}

}  // namespace kelpie
