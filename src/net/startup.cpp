// Start-up of the main window, the net button and the ways out of the program.
#include <unistd.h>

#include "net/session.h"

namespace kelpie {

namespace {
// The log folder from the settings, or the program folder when it cannot be used this run.
fs::path usableLogFolder(Session& s) {
  const std::string& wanted = s.settings.logFolder;
  if (wanted.empty()) return s.appFolder;
  std::error_code ec;
  const fs::path p(wanted);
  if (fs::is_directory(p, ec) && ::access(p.c_str(), W_OK | X_OK) == 0) return p;
  const bool exists = fs::exists(p, ec);
  s.ui.dialogs.messageBox(
      "The log folder " + wanted + (exists ? " cannot be written." : " does not exist.") +
          "\r\n\r\nThis run keeps its logs in " + pathText(s.appFolder) +
          ". Correct [Path to check-in log files] in " + kSettingsFileName + ".",
      " Log folder", Buttons::OK, Answer::OK);
  return s.appFolder;
}
}  // namespace

bool Session::Form_Load() {
  versionTag = "v2.1";
  logFolder = appFolder;
  todayLogName = logFileName(ui.clock.today());
  checkIns.count = 0;
  markModeState = 1;
  const std::string restartText = todayLogName +
                                  " exists. Click <OK> to re-start the existing log.\r\n\r\n" +
                                  "       Otherwise - select <Cancel> to exit Kelpie.";
  const std::string restartTitle = " Re-start with " + todayLogName;

  removeStaleTemporaries(appFolder);
  ensureFileExists(appFile("ck2list.dat"));
  ensureFileExists(appFile("vhf4k.adi"));

  const fs::path roster = rosterPath();
  ensureFileExists(roster);
  // The table read here is the one the net starts with; only a rewrite (a new roster, or one
  // converted from the old form) leaves the file different from it, and then it is read back
  // below. A large roster is read and parsed once.
  bool rewritten = true;
  if (!isEmptyFile(roster)) {
    bool isDOSFile = false;
    checkMasterFileFormat(roster, isDOSFile);
    rewritten = isDOSFile;
    if (isDOSFile) WriteNewVersion();
  } else {
    getPersonalData();
    WriteNewVersion();
  }

  const fs::path ini = appFile(kSettingsFileName);
  ensureFileExists(ini);
  if (isEmptyFile(ini)) {
    settings.logFolder = pathText(appFolder);
    settings.enterModes = false;
    settings.distanceUnit = "Miles";
    settings.browserPath.clear();
    settings.spaceBarModes = true;
    settings.netControlGrid.clear();
    writeFile(ini, settingsFileLines(settings));
  }
  readSettings();

  if (rewritten) ReadNetControlFile();
  logFolder = usableLogFolder(*this);
  if (logFolder != appFolder) removeStaleTemporaries(logFolder);
  file1 = listFilesCI(logFolder, ".ile");

  const fs::path log = todayLogPath();
  if (!ensureFileExists(log)) {
    ui.dialogs.messageBox("Kelpie cannot create today's log " + pathText(log) +
                              ".\r\n\r\nThe check-ins are kept in memory; each save tries again.",
                          " Log file", Buttons::OK, Answer::OK);
  }
  // Only a file can be re-started: not a folder of that name, nor a name whose status cannot
  // be read.
  std::error_code ec;
  if (!isEmptyFile(log) && fs::is_regular_file(log, ec)) {
    if (ui.dialogs.messageBox(restartText, restartTitle, Buttons::OKCancel, Answer::OK) ==
        Answer::Cancel) {
      doEvents();
      mExit_Click();
      return false;
    }
    menu("mLoadLog").enabled = true;
    loadExistingLog();
  }

  if (checkIns.count != 0) {
    updateCheckIns();
    view.command2 = "Continue Check-Ins";
    view.label3 = "Enter Call or Call- for in&&out.  Enter # to acknowledge.";
  } else {
    view.command2 = "Start Net";
    view.label3 = "Enter Call or Call- for in&&out";
  }
  view.entryText.clear();
  getNumberStations();
  return true;
}

void Session::Form_Activate() { focusEntry(); }

void Session::Command2_Click() {
  view.label2Visible = true;
  if (checkIns.count != 0) {
    updateCheckIns();
    view.command2 = "Continue Check-Ins";
  } else {
    view.command2 = "Start Net";
    view.lines.clear();
    view.selected = -1;
  }
  view.label3 = view.command2 == "Start Net"
                    ? "Enter Call or Call- for in&&out."
                    : "Enter Call or Call- for in&&out.  Enter # to Acknowledge.";
  view.entryText.clear();
  focusEntry();
  doEvents();
}

void Session::leaveProgramSaving() {
  saveNetControlFile();
  writeSettings();
  removeBlankLogs();
}

void Session::CmdExit_Click() {
  leaveProgramSaving();
  view.closeRequested = true;
}

void Session::mExit_Click() {
  leaveProgramSaving();
  view.quitRequested = true;
}

bool Session::Form_Unload() {
  doEvents();
  // Listed traffic not yet passed is the one thing an emergency net must not leave behind.
  const std::vector<std::string> unpassed = unpassedTraffic();
  if (!unpassed.empty()) {
    std::string calls;
    for (const std::string& c : unpassed) calls += (calls.empty() ? "" : ", ") + c;
    const std::string said = toDec(static_cast<long long>(unpassed.size())) +
                             (unpassed.size() == 1 ? " station with traffic not yet passed: "
                                                   : " stations with traffic not yet passed: ") +
                             calls;
    if (ui.dialogs.messageBox(said + ".\r\n\r\nQuit Kelpie all the same?", " Traffic not passed",
                              Buttons::YesNo, Answer::No) != Answer::Yes)
      return false;
  }
  return ui.dialogs.messageBox(
             " Click <OK> to quit Kelpie.\r\n\r\nOtherwise - <Space> or <Enter> as default.",
             " Quit software...", Buttons::OKCancel, Answer::Cancel) == Answer::OK;
}

}  // namespace kelpie
