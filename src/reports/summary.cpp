#include "reports/summary.h"

#include <cstring>

#include "geo/locator.h"
#include "reports/adif_batch.h"
#include "reports/print_layout.h"
#include "reports/report_commands.h"
#include "reports/reports.h"

namespace kelpie {

namespace {
std::string mid(const std::string& s, size_t from1, size_t n) {
  return from1 - 1 < s.size() ? s.substr(from1 - 1, n) : std::string();
}
}  // namespace

std::string netDateText(const std::string& logName) {
  return mid(logName, 1, 2) + "-" + mid(logName, 3, 2) + "-" + mid(logName, 5, 2);
}

std::string summaryFileName(const std::string& netBand) {
  std::string safe = netBand;
  for (char& c : safe) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u >= 0x7F || std::strchr("/\\:*?\"<>|", c) != nullptr) c = '_';
  }
  return safe + " Check-in summary.txt";
}

std::string distanceSuffix(const std::string& distanceUnit) {
  return distanceUnit == "Miles" ? " mi" : " kM";
}

Lines summaryLines(const std::string& netBand, const std::string& logName,
                   const std::vector<LogRecord>& records,
                   const std::vector<std::optional<int>>& distances,
                   const std::string& distanceUnit) {
  Lines out{netBand + " Check-ins for " + netDateText(logName), ""};
  for (size_t j = 0; j < records.size(); ++j) {
    const LogRecord& r = records[j];
    std::string partC = trimSpaces(r.qth);
    if (j < distances.size() && distances[j]) {
      partC += " " + toDec(*distances[j]) + distanceSuffix(distanceUnit);
    }
    const Lines lines =
        layoutLine({printText(toDec(static_cast<long long>(j + 1)) + " " + r.callSign),
                    printColumn(15), printText(r.name), printColumn(26), printText(partC)});
    out.insert(out.end(), lines.begin(), lines.end());
  }
  return out;
}

void mwriteLogFile_Click(Session& s) {
  fs::path path;
  ReportLog log;
  if (!chooseAndReadLog(s, kSummaryTitle, path, log)) return;
  s.view.label3 = pathText(path);

  // One pass over the ADIF file answers every station of the log.
  std::vector<std::string> calls;
  calls.reserve(log.records.size());
  for (const LogRecord& r : log.records) calls.push_back(r.callSign);
  const auto grids = findAdifGridValues(s.appFile("vhf4k.adi"), calls);
  std::vector<std::optional<int>> distances(log.records.size());
  for (size_t j = 0; j < grids.size(); ++j) {
    if (!grids[j]) continue;
    std::string grid = *grids[j];
    double distance = 0;
    const BeamStatus status =
        calcBeamHeading(grid, distance, s.settings.netControlGrid, s.settings.distanceUnit);
    if (status == BeamStatus::Ok) {
      distances[j] = distanceToInt16(distance);
    } else if (status == BeamStatus::CalcError) {
      s.ui.dialogs.messageBox(kCalcErrorMessage, "", Buttons::OK, Answer::OK);
    }
  }

  s.view.lines.clear();
  s.view.selected = -1;
  const fs::path out = s.logFolder / summaryFileName(s.settings.netBand);
  std::string error;
  const bool written =
      writeLinesAtomic(out,
                       summaryLines(s.settings.netBand, path.filename().string(), log.records,
                                    distances, s.settings.distanceUnit),
                       &error);
  if (!written) s.reportWriteFailure(out, error, false);

  s.view.label3 = kEntryPrompt;
  s.updateCheckIns();
  s.doEvents();
  // Whether a viewer opened it or not, the summary stays written.
  if (written) s.ui.launcher.openDocument(pathText(out));
}

}  // namespace kelpie
