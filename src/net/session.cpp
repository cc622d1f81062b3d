#include "net/session.h"

#include "share/share_net.h"  // the constructor must be able to undo a shared net

namespace kelpie {

std::vector<std::pair<std::string, MenuItem>> initialMenuItems() {
  auto item = [](const char* caption, bool checked = false, bool enabled = true) {
    MenuItem m;
    m.caption = caption;
    m.checked = checked;
    m.enabled = enabled;
    return m;
  };
  return {
      {"mFile", item("File")},
      {"MPPastLog", item("Print a past check-in log")},
      {"mPLogMostCheckins", item("Print log with most check-ins")},
      {"mPShortcuts", item("Print Shortcuts")},
      {"mSaveBU", item("Save NETCONT.ROL back-up file")},
      {"mExit", item("Exit")},
      {"mEdit", item("Edit")},
      {"mEditNetControl", item("Net Control file")},
      {"mUpdateToNewCall", item("Update to the new callsign")},
      {"mView", item("View")},
      {"mLoadLog", item("Past check-in Log", false, false)},
      {"mEditADIF", item("4-6 Digit ADIF file")},
      {"mMostCheckinsperYear", item("Station with most check-ins this year")},
      {"mMostCheckins", item("Station with most check-ins")},
      {"mainHelp", item("Help")},
      {"mAbout", item("About")},
      {"mContents", item("Help file")},
      {"mTypeHelp", item("Default - WinHelp32", true)},
      {"mOptions", item("Options")},
      {"mACModes", item("Use A and C shortcuts to change modes", true)},
      {"mEnterModes", item("Use <Enter> as shortcut to change modes")},
      {"Blnk", item("-")},
      {"mUseNumberModes", item("Use # entry to mark <Ack> and <Com>")},
      {"mUseSpaceBarModes", item("Use <Space> or # entry to mark <Ack> and <Com>", true)},
      {"blank2", item("-")},
      {"mDistanceTypeMiles", item("Write text file in Miles", true)},
      {"mDistanceTypekM", item("Write text file in kM")},
      {"mSet", item("Set")},
      {"mSetBrowserPath", item("Path to web browser")},
      {"mwriteLogFile", item("Write text file")},
      {"mTools", item("Tools")},
      {"mFindCall", item("Find a half-heard call...")},
      {"mRegulars", item("Regulars not yet checked in")},
      {"mExport", item("Export check-ins...")},
      {"mReadNet", item("Read the net so far")},
      {"mShare", item("Share this net...")},
      {"mStopShare", item("Stop sharing", false, false)},
      {"mCopyListeners", item("Copy the listeners' address", false, false)},
      {"mnuPopUp", item("PopUp")},
      {"mnuQRZConnect", item((std::string("Connect to ") + kQrzServiceName).c_str())},
      {"mnuPopUpMultiple", item("Do multiple edits")},
      {"mnuPopUpCall", item("Edit callsign")},
      {"mnuPopUpName", item("Edit name")},
      {"mnuPopUpQTH", item("Edit QTH grid etc.")},
      {"mnuPopUpInsertGrid", item("Insert grid and heading")},
      {"mnuPopUpUpdateCall", item("Update to the new call")},
      {"mnuPopUpTactical", item("Tactical call...")},
      {"mnuPopUpRelay", item("Relayed by...")},
  };
}

Session::Session(Platform& platform, fs::path folder)
    : ui(platform), appFolder(std::move(folder)), logFolder(appFolder) {
  for (auto& [name, item] : initialMenuItems()) view.menus[name] = item;
}

std::string Session::today() { return dateText(ui.clock.today()); }

void Session::selectLine(int index) {
  if (index >= static_cast<int>(view.lines.size())) index = -1;
  view.selected = index;
  if (index >= 0) CheckIns_Click();
}

void Session::selectAck() {
  if (view.ackSelected) return;
  view.ackSelected = true;
  Ack_Click();
}

void Session::selectComment() {
  if (!view.ackSelected) return;
  view.ackSelected = false;
  Comment_Click();
}

void Session::focusEntry() {
  if (view.entryEnabled) ++view.focusEntryRequests;
}

void Session::reportWriteFailure(const fs::path& path, const std::string& error,
                                 bool savedAgainLater) {
  ui.dialogs.messageBox("Kelpie could not write " + pathText(path) + " (" + error +
                            ").\r\n\r\nThe data is still in memory" +
                            (savedAgainLater ? "; Kelpie tries again at the next save."
                                             : "; run the command again to write the file."),
                        " File not saved", Buttons::OK, Answer::OK);
}

bool Session::writeFile(const fs::path& path, const Lines& lines) {
  std::string error;
  if (writeLinesAtomic(path, lines, &error)) return true;
  reportWriteFailure(path, error);
  return false;
}

void Session::mTypeHelp_Click() {
  MenuItem& m = menu("mTypeHelp");
  if (m.checked) {
    m.caption = "HTML Help";
    m.checked = false;
  } else {
    m.caption = "Default - WinHelp32";
    m.checked = true;
  }
}

void Session::mContents_Click() {
  doEvents();
  ui.help.showHelp(menu("mTypeHelp").checked ? 0 : 10);
  doEvents();
}

}  // namespace kelpie
