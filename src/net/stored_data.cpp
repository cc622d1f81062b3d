// The main window's procedures over the stored files: settings, roster and today's log.
#include <unistd.h>

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "data/checkin_log.h"
#include "data/checkin_times.h"
#include "data/quoted.h"
#include "net/session.h"

namespace kelpie {

namespace {
void syncOptionMenus(Session& s) {
  s.menu("mEnterModes").checked = s.settings.enterModes;
  s.menu("mACModes").checked = !s.settings.enterModes;
  s.menu("mUseSpaceBarModes").checked = s.settings.spaceBarModes;
  s.menu("mUseNumberModes").checked = !s.settings.spaceBarModes;
  s.menu("mDistanceTypekM").checked = s.settings.distanceKm;
  s.menu("mDistanceTypeMiles").checked = !s.settings.distanceKm;
}
}  // namespace

// ---- settings ------------------------------------------------------------------------------

namespace {
bool standsThere(const fs::path& path) {
  std::error_code ec;
  return fs::symlink_status(path, ec).type() != fs::file_type::not_found;
}

// A data file that stands there but cannot be read is moved aside as name.bad, so that the
// saves of this run write a new file rather than replace what it holds. A folder of that name
// stays where it is (saving over it is reported then). Returns the sentence for the operator.
std::string keepUnreadableAside(const fs::path& path) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) return {};
  fs::path bad = path;
  bad += ".bad";
  fs::rename(path, bad, ec);
  if (ec) return {};
  return "\r\n\r\nThe file is kept as " + pathText(bad) + ".";
}
}  // namespace

void Session::readSettings() {
  resetSettingsDefaults(settings);
  const fs::path path = appFile(kSettingsFileName);
  const ReadResult r = readLines(path);
  if (r.ok) {
    applySettingsLines(r.lines, settings);
  } else if (standsThere(path)) {
    ui.dialogs.messageBox(
        pathText(path) + " cannot be read (" + r.error +
            "). Kelpie goes on without the settings in it and writes the file afresh at exit." +
            keepUnreadableAside(path),
        " Check Kelpie_Control.ini", Buttons::OK, Answer::OK);
  }
  syncOptionMenus(*this);
  while (settings.netControlGrid.empty()) {
    const std::string answer =
        ui.dialogs.inputBox("Enter your 6-digit grid square.", "What is your 6-digit...", "");
    if (!trimSpaces(answer).empty()) settings.netControlGrid = upper1252(answer);
  }
  doEvents();
}

void Session::writeSettings() {
  settings.enterModes = menu("mEnterModes").checked;
  settings.spaceBarModes = menu("mUseSpaceBarModes").checked;
  writeFile(appFile(kSettingsFileName), settingsFileLines(settings));
}

// ---- roster --------------------------------------------------------------------------------

namespace {
// Reads the roster file; a file that ends inside a record, or that stands there but cannot be
// read, is kept beside it before the next rewrite, and the operator is told which file to check.
RosterParse readRosterFile(Session& s, const fs::path& path) {
  std::string bytes, error;
  const bool ok = readBytes(path, bytes, &error);
  RosterParse p = parseRosterText(ok ? std::string_view(bytes) : std::string_view());
  std::error_code ec;
  if (!ok && !s.rosterNeedsKeep &&
      fs::symlink_status(path, ec).type() != fs::file_type::not_found) {
    s.rosterNeedsKeep = true;
    s.ui.dialogs.messageBox(
        pathText(path) + " cannot be read (" + error +
            "). Kelpie goes on without the stations in it.\r\n\r\nWhile it cannot be read, "
            "Kelpie does not replace it; before Kelpie next rewrites it, the file as it is then "
            "is kept as " +
            pathText(path) + ".bad",
        " Check NETCONT.ROL", Buttons::OK, Answer::OK);
  }
  if (p.incomplete && !s.rosterNeedsKeep) {
    s.rosterNeedsKeep = true;
    s.ui.dialogs.messageBox(
        pathText(path) + " ends inside a record: Kelpie read its " +
            toDec(std::max(0, p.roster.count() - 1)) +
            " whole station records. Please check the file.\r\n\r\nBefore Kelpie next "
            "rewrites it, the file as it is now is kept as " +
            pathText(path) + ".bad",
        " Check NETCONT.ROL", Buttons::OK, Answer::OK);
  }
  return p;
}

// Keeps a damaged roster beside itself before it is first rewritten. False when it could not
// be kept: the roster is then not rewritten either, so nothing the file holds is lost.
bool keepDamagedRoster(Session& s, const fs::path& path) {
  if (!s.rosterNeedsKeep) return true;
  std::string bytes, error;
  fs::path bad = path;
  bad += ".bad";
  if (readBytes(path, bytes, &error) && writeBytesAtomic(bad, bytes, &error)) {
    s.rosterNeedsKeep = false;
    return true;
  }
  s.reportWriteFailure(path, "it could not first be kept as " + pathText(bad) + ": " + error);
  return false;
}
}  // namespace

void Session::checkMasterFileFormat(const fs::path& path_File, bool& isDOSFile) {
  ensureFileExists(path_File);
  if (isEmptyFile(path_File)) {
    writeFile(path_File, {settings.netBand, settings.netControlCall, today(),
                          "initial check-in date", "last check-in date", "old call sign"});
  }
  // The quoted-form test as the roster reader makes it (see parseRoster).
  RosterParse p = readRosterFile(*this, path_File);
  if (p.quoted) isDOSFile = true;
  roster = std::move(p.roster);
  if (roster.count() >= 1) {
    settings.netBand = roster.row(1).callSign;
    settings.netControlCall = roster.row(1).name;
    rosterDate = roster.row(1).qth;
  }
}

void Session::WriteNewVersion() {
  if (roster.count() == 0) roster.rows.resize(1);
  RosterEntry& h = roster.row(1);
  if (rosterDate.empty()) rosterDate = today();
  h.callSign = settings.netBand;
  h.name = settings.netControlCall;
  h.qth = rosterDate;
  h.initialCheckInDate = "initial check-in date";
  h.lastCheckInDate = "last check-in date";
  h.oldCallSign = "old call sign";
  for (int r = 2; r <= roster.count(); ++r) {
    RosterEntry& e = roster.row(r);
    if (e.lastCheckInDate.empty()) e.lastCheckInDate = "-";
    if (e.oldCallSign.empty()) e.oldCallSign = "-";
  }
  Lines lines = rosterLines(roster);
  lines[1] = upper1252(settings.netControlCall);
  const fs::path path = rosterPath();
  if (!keepDamagedRoster(*this, path)) return;
  writeFile(path, lines);
}

void Session::getPersonalData() {
  for (;;) {
    const std::string answer = ui.dialogs.inputBox(
        "Enter the band of this net:\r\nex: 50 MHz  222 MHz  1296 MHz", "", settings.netBand);
    if (!trimSpaces(answer).empty()) {
      settings.netBand = answer;
      break;
    }
  }
  for (;;) {
    const std::string answer =
        ui.dialogs.inputBox("Enter the callsign for this net:", "Enter your callsign", "urCall");
    const std::string t = trimSpaces(answer);
    if (!t.empty() && t != "urCall") {
      settings.netControlCall = upper1252(answer);
      break;
    }
  }
}

void Session::ReadNetControlFile() { roster = readRosterFile(*this, rosterPath()).roster; }

void Session::saveNetControlFile() {
  if (viewOnlyLog || checkIns.count == 0) return;
  const std::string now = today();
  // A roster read without a whole header record gets a fresh one, so that no station of the day
  // is taken for the header (and never found again).
  if (roster.rows.empty()) {
    RosterEntry h;
    h.callSign = settings.netBand;
    h.name = settings.netControlCall;
    h.qth = rosterDate.empty() ? now : rosterDate;
    h.initialCheckInDate = "initial check-in date";
    h.lastCheckInDate = "last check-in date";
    h.oldCallSign = "old call sign";
    roster.rows.push_back(std::move(h));
  }
  std::unordered_set<std::string> todays;
  for (int k = 1; k <= checkIns.count; ++k) todays.insert(checkIns.field(k, 1));
  for (int r = 2; r <= roster.count(); ++r)
    if (todays.count(roster.row(r).callSign)) roster.row(r).lastCheckInDate = now;

  // Station rows by callsign, so the fold stays linear in the size of the roster.
  std::unordered_multimap<std::string, int> byCall;
  for (int r = 2; r <= roster.count(); ++r) byCall.emplace(roster.row(r).callSign, r);
  for (int k = 1; k <= checkIns.count; ++k) {
    const std::string& call = checkIns.field(k, 1);
    if (byCall.count(call)) continue;
    RosterEntry e;
    e.callSign = call;
    e.name = checkIns.field(k, 2);
    e.qth = checkIns.field(k, 3);
    e.initialCheckInDate = now;
    e.lastCheckInDate = now;
    roster.rows.push_back(std::move(e));
    byCall.emplace(call, roster.count());
  }
  for (int k = 1; k <= checkIns.count; ++k) {
    auto [b, e] = byCall.equal_range(checkIns.field(k, 1));
    for (auto it = b; it != e; ++it) {
      RosterEntry& row = roster.row(it->second);
      if (row.name != checkIns.field(k, 2)) row.name = checkIns.field(k, 2);
      if (row.qth != checkIns.field(k, 3)) row.qth = checkIns.field(k, 3);
    }
  }
  for (auto& row : roster.rows) {
    if (row.name.empty()) row.name = "-";
    if (row.qth.empty()) row.qth = "-";
    if (row.initialCheckInDate.empty()) row.initialCheckInDate = now;
    if (row.lastCheckInDate.empty()) row.lastCheckInDate = now;
    if (row.oldCallSign.empty()) row.oldCallSign = "-";
  }
  const fs::path path = rosterPath();
  if (!keepDamagedRoster(*this, path)) return;
  writeFile(path, rosterLines(roster));
}

void Session::saveNCFileAfterEdit() {
  const fs::path path = rosterPath();
  if (!keepDamagedRoster(*this, path)) return;
  writeFile(path, rosterLines(roster));
}

void Session::backUpNCFile() { writeFile(appFile(kRosterBackupName), rosterLines(roster)); }

void Session::mSaveBU_Click() {
  ui.dialogs.messageBox("The back-up file will be named NETCONT.BU1", "", Buttons::OK, Answer::OK);
  backUpNCFile();
}

void Session::getNumberStations() {
  // Sorted views of the callsigns: one small block of memory, where a set would take a node
  // per station at start-up.
  std::vector<std::string_view> calls;
  calls.reserve(roster.rows.size());
  for (int r = 2; r <= roster.count(); ++r) {
    const std::string& call = roster.row(r).callSign;
    if (!call.empty()) calls.push_back(call);
  }
  std::sort(calls.begin(), calls.end());
  const auto distinct = std::unique(calls.begin(), calls.end()) - calls.begin();
  view.title = " Kelpie      " + settings.netBand + " net";
  view.label1 = "Different stations checked-in to date: " + toDec(distinct);
}

// ---- today's log ---------------------------------------------------------------------------

void Session::saveLogFile() {
  if (viewOnlyLog) return;
  writeTodayLog();
  view.command2 = "Continue Check-Ins";
  menu("mLoadLog").enabled = true;
}

bool Session::writeTodayFile(const fs::path& path, const Lines& lines, std::string* error) {
  std::string bytes = joinCrLf(lines);
  std::error_code ec, ec2;
  const auto it = todayWritten.find(path);
  if (it != todayWritten.end() && it->second.bytes == bytes) {
    const uintmax_t size = fs::file_size(path, ec);
    const fs::file_time_type time = fs::last_write_time(path, ec2);
    if (!ec && !ec2 && size == it->second.size && time == it->second.time) return true;
  }
  todayWritten.erase(path);
  if (!writeBytesAtomic(path, bytes, error)) return false;
  Written w{std::move(bytes), fs::file_size(path, ec), fs::last_write_time(path, ec2)};
  if (!ec && !ec2) todayWritten[path] = std::move(w);
  return true;
}

void Session::writeTodayLog() {
  std::vector<LogRecord> records;
  std::vector<CheckInTime> times;
  std::vector<FactsRow> facts;
  records.reserve(static_cast<size_t>(checkIns.count));
  times.reserve(static_cast<size_t>(checkIns.count));
  for (int i = 1; i <= checkIns.count; ++i) {
    const CheckInRow& row = checkIns.row(i);
    records.push_back({row.f[1], row.f[2], row.f[3]});
    times.push_back({row.f[1], row.timeIn, row.inOut});
    if (!row.facts.empty()) facts.push_back({row.f[1], row.facts});
  }
  const fs::path log = todayLogPath();
  // The log first: it is what counts. A times file left a save behind (a crash in between)
  // no longer matches the log, and the re-start then uses only the times that still match.
  std::string error;
  if (!writeTodayFile(log, logLines(records), &error)) {
    reportWriteFailure(log, error);
  } else {
    if (!writeTodayFile(timesPathFor(log), timeLines(times), &error) && !timesWriteFailed) {
      // Told once: the net goes on, and only the times are at stake.
      timesWriteFailed = true;
      reportWriteFailure(timesPathFor(log), error);
    }
    // The side file only once a net has used it: a net without traffic, tactical calls, relays
    // or remarks leaves the folder as it always was.
    const fs::path side = factsPathFor(log);
    std::error_code ec;
    if (!facts.empty() || fs::exists(side, ec)) {
      if (writeTodayFile(side, factsLines(facts), &error)) {
        factsWriteFailed = false;
      } else if (!factsWriteFailed) {
        // Told once until it is written again; every save tries.
        factsWriteFailed = true;
        reportWriteFailure(side, error);
      }
    }
  }
}

void Session::loadExistingLog() {
  checkIns.count = 0;
  const fs::path path = todayLogPath();
  const ReadResult read = readLines(path);
  if (!read.ok) {
    ui.dialogs.messageBox(pathText(path) + " cannot be read (" + read.error +
                              "). Today's check-ins start afresh." + keepUnreadableAside(path),
                          " Log file", Buttons::OK, Answer::OK);
  }
  LogRead r = parseLog(read.lines, false);  // the line form only, whatever the file holds
  // A blank line or two after the last record (a hand edit) is no check-in: it would show as
  // an empty line of the list and reach the roster as a station without a callsign.
  if (r.cutShort && !r.records.empty()) {
    const LogRecord& last = r.records.back();
    if (last.callSign.empty() && last.name.empty() && last.qth.empty()) r.records.pop_back();
  }
  std::vector<std::string> calls;
  calls.reserve(r.records.size());
  for (const LogRecord& rec : r.records) calls.push_back(rec.callSign);
  const std::vector<CheckInTime> times = readTimesFor(path, calls);
  std::vector<CheckInFacts> facts = readFactsFor(path, calls);
  for (size_t k = 0; k < r.records.size(); ++k) {
    const LogRecord& rec = r.records[k];
    ++checkIns.count;
    CheckInRow& row = checkIns.row(checkIns.count);
    row.f[1] = rec.callSign;
    row.f[2] = rec.name;
    row.f[3] = rec.qth;
    row.timeIn = times[k].time;
    row.inOut = times[k].inOut;
    row.facts = std::move(facts[k]);
  }
  updateCheckIns();
}

void Session::removeBlankLogs() {
  for (const std::string& name : file1) {
    const fs::path p = logFolder / name;
    std::error_code ec;
    if (fs::is_regular_file(p, ec) && fs::file_size(p, ec) == 0 && !ec && fs::remove(p, ec)) {
      // The times of an empty log are an empty file too; it goes with its log.
      const fs::path times = timesPathFor(p);
      if (fs::is_regular_file(times, ec) && fs::file_size(times, ec) == 0 && !ec)
        fs::remove(times, ec);
    }
  }
}

}  // namespace kelpie
