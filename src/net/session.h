// The run-time state of Kelpie's main window and its procedures. One Session lives for the
// whole run; the Qt window renders its MainView and forwards keys, clicks and menu commands.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "data/checkin_facts.h"
#include "data/roster.h"
#include "data/settings.h"
#include "data/text.h"
#include "platform/seams.h"

namespace kelpie {

struct FoundStation;
class ShareLink;
namespace share {
class ShareNet;
struct ShareSettings;
}  // namespace share

// One check-in: fields 1 to 9 are used (1 callsign, 2 name, 3 QTH text, 4 first check-in date
// or "  First time check-in", 5 latest date, 6 grid text, 7 "<Ack>", 8 "in&out ", 9 "<Com>").
struct CheckInRow {
  std::array<std::string, 11> f;
  // Kept in the times file beside the log, never shown: the UTC moment of the check-in
  // ("YYYY-MM-DDTHH:MM:SSZ", empty when unknown) and whether it was an in-and-out check-in
  // (field 8 is not restored by a re-start, this is).
  std::string timeIn;
  bool inOut = false;
  // While the net is shared: the line's identity on the net, empty until the net has it.
  std::string shareId;
  // Traffic, pass, tactical call, relay and remark: kept in the side file beside the log.
  CheckInFacts facts;
  bool operator==(const CheckInRow&) const = default;
};

// Today's check-ins. Rows 1 to count are in use; a row dropped by "DL" is emptied.
struct CheckInTable {
  std::vector<CheckInRow> rows{1};  // rows[0] is never used
  int count = 0;
  CheckInRow& row(int i) {
    if (static_cast<size_t>(i) >= rows.size()) rows.resize(static_cast<size_t>(i) + 1);
    return rows[static_cast<size_t>(i)];
  }
  std::string& field(int i, int f) { return row(i).f.at(static_cast<size_t>(f)); }
};

struct MenuItem {
  std::string caption;
  bool checked = false;
  bool enabled = true;
  bool visible = true;
};

// What the main window shows. Captions are stored as the system keeps them ("in&&out").
struct MainView {
  std::string title = "v2. Kelpie v2.1";
  std::string label1 = "Label1";
  std::string label2 = "Enter Call # 1";
  bool label2Visible = true;
  std::string label3 = "What it does";
  std::string command2 = "Start Net";
  std::string entryText;
  bool entryEnabled = true;
  std::vector<std::string> lines;  // the list CheckIns
  int selected = -1;               // selected line, -1 for none
  bool fixedFont = false;          // the roster view's "Courier new"
  bool ackSelected = true;         // option button Ack (else Comment)
  std::map<std::string, MenuItem> menus;
  int focusEntryRequests = 0;   // bumped whenever the entry line should take the focus
  bool closeRequested = false;  // Quit: close the window (which asks first)
  bool quitRequested = false;   // end the program without asking
  // Where a shared net stands (UTF-8), for the status line; empty when the net is not shared.
  std::string shareStatus;
  // What a screen reader says next, and a counter bumped with every text to say (a repeated
  // text is said again). Set through speak() in net/spoken.h.
  std::string spoken;
  int spokenRequests = 0;
};

// Menu item names in menu order, with their initial captions and states.
std::vector<std::pair<std::string, MenuItem>> initialMenuItems();

// Key codes the window forwards.
inline constexpr int kKeyEnter = 13;
inline constexpr int kKeyEsc = 27;
inline constexpr int kKeySpace = 32;

inline constexpr const char* kQrzBaseAddress = "https://www.qrz.com/";
inline constexpr const char* kQrzServiceName = "QRZ.com";

class Session {
 public:
  Session(Platform& platform, fs::path appFolder);
  ~Session();

  Platform& ui;

  // Settings and paths.
  std::string versionTag = "v2.1";
  fs::path appFolder;
  fs::path logFolder;
  std::string todayLogName;
  NetSettings settings;
  std::string rosterDate;

  Roster roster;
  CheckInTable checkIns;

  // Main-window state.
  std::string entryText;
  int entryNumber = 0;
  int markModeState = 1;
  int clickedListIndex = 0;
  int selectedCheckIn = 0;
  int nextAckIndex = 0;
  int nextComIndex = 0;
  bool rosterEditMode = false;
  bool viewOnlyLog = false;
  std::vector<std::string> file1;  // the log files of LogFolder as listed at start-up
  // A roster file that ended inside a record is kept beside it before the first rewrite.
  bool rosterNeedsKeep = false;
  // The answer of a station search (or the regulars) as the list shows it, with the callsign
  // each numbered line stands for; Label3 as it read before, for the way back.
  std::vector<std::string> searchLines;
  std::vector<std::string> searchCalls;
  std::string label3BeforeSearch;
  // The times file beside today's log could not be written; the operator was told once.
  bool timesWriteFailed = false;
  // The same for the side file of traffic and remarks; cleared once it is written again.
  bool factsWriteFailed = false;
  // Emergency or Priority traffic is on the hint line until the next command; the hint it
  // replaced comes back then.
  bool urgentHintShown = false;
  std::string hintBeforeUrgent;

  MainView view;

  // ---- a shared net ------------------------------------------------------------------------
  // Set while today's net is shared with other windows through a broker.
  std::unique_ptr<share::ShareNet> share;
  // Shares today's net through link: the journal beside today's log gives the lines their
  // identities again after a restart, today's rows join the net's lines, and the net's lines
  // join today's list and log.
  void startSharing(ShareLink& link, const share::ShareSettings& settings);
  void stopSharing();
  // After every handler: today's changes (check-ins, deletes, marks, edits) go to the net.
  void syncShare();
  // Between keys: what arrived from the net joins today's list and log. True when the list or
  // the status changed.
  bool applyShared();
  bool shareReadOnly() const;

  // ---- helpers -----------------------------------------------------------------------------
  std::string today();  // date text of today
  void doEvents() { ui.events.doEvents(); }
  MenuItem& menu(const std::string& name) { return view.menus[name]; }
  bool ackMode() const { return view.ackSelected; }
  // Selects a list line the way the program does; a real line also raises CheckIns_Click.
  void selectLine(int index);
  // Selects an option button from the program; a change of mode acts like a click.
  void selectAck();
  void selectComment();
  void focusEntry();
  fs::path rosterPath() const { return findFileCI(appFolder, kRosterFileName); }
  fs::path todayLogPath() const { return findFileCI(logFolder, todayLogName); }
  fs::path appFile(const std::string& name) const { return findFileCI(appFolder, name); }
  // Tells the operator a save failed; nothing in memory is lost and, for the files Kelpie keeps
  // up to date, the next save tries again.
  void reportWriteFailure(const fs::path& path, const std::string& error,
                          bool savedAgainLater = true);
  bool writeFile(const fs::path& path, const Lines& lines);
  // Writes one of today's files unless it already holds these bytes as Kelpie last wrote them
  // (same size and modification time since): a listing or a remark leaves the log as it was,
  // and the save then costs one file, not three.
  bool writeTodayFile(const fs::path& path, const Lines& lines, std::string* error);

  // ---- stored data ------------------------------------------------------------------------
  void readSettings();
  void writeSettings();
  void checkMasterFileFormat(const fs::path& path_File, bool& isDOSFile);
  void WriteNewVersion();
  void getPersonalData();
  void ReadNetControlFile();
  void saveNetControlFile();
  void saveNCFileAfterEdit();
  void backUpNCFile();
  void mSaveBU_Click();
  void getNumberStations();
  void saveLogFile();
  // Writes today's log and its times file from the check-ins held.
  void writeTodayLog();
  void loadExistingLog();
  void removeBlankLogs();

  // ---- start-up and the ways out ----------------------------------------------------------
  // Returns false when the program is to end at once (the restart question was refused).
  bool Form_Load();
  void Form_Activate();
  void Command2_Click();
  void CmdExit_Click();
  void mExit_Click();
  // The close question; true when the program may end.
  bool Form_Unload();

  // ---- entry line ---------------------------------------------------------------------------
  void CallSignInput_KeyPress(int& keyAscii);
  void Form_KeyDown(int keyCode, int shift);
  void Ack_Click();
  void Comment_Click();
  void mACModes_Click();
  void mEnterModes_Click();
  void mUseNumberModes_Click();
  void mUseSpaceBarModes_Click();
  void mDistanceTypeMiles_Click();
  void mDistanceTypekM_Click();

  // ---- check-in list ------------------------------------------------------------------------
  void updateCheckIns();
  void updateAck(int inputNumber);
  void clearAck(int inputNumber);
  void updateComment(int inputNumber);
  void clearComment(int inputNumber);
  void deleteCheckin(int inputNumber);
  void deleteLastCheckin();
  void getMarkAckIndex();
  void getMarkComIndex();
  void getNewCallDupeEntry(const std::string& newCall, int newCallIndex, bool& changed);
  void CheckIns_Click();
  // button 1 left, 2 right. Returns true when the popup menu is to be shown at the mouse.
  bool CheckIns_MouseDown(int button);

  // ---- station lookup -----------------------------------------------------------------------
  void getStationInfo(std::string& result);

  // ---- finding stations: a half-heard call, the regulars not yet heard ------------------
  // True while the list still shows a search's answer (nothing else has replaced it).
  bool searchShown() const;
  // The pattern typed after "?" (or given in the box); no letter or digit asks for the regulars.
  void showStationSearch(const std::string& typed);
  void mFindCall_Click();
  void mRegulars_Click();
  // A number entry while an answer is shown: checks that station in; true when it was taken.
  bool pickFound(const std::string& typed);
  // Back to today's check-ins and the hint that was there before the search.
  void leaveSearch();
  // Steps 6 and 10 of the entry line: a callsign, checked in and today's log saved.
  void checkInCallsign(const std::string& typed);

  // ---- emergency and traffic nets: "T#", "P#", "R#", "V#" and the popup's items -----------
  // Handles a traffic net's command typed on the entry line; false when the text is none.
  bool factsCommand(const std::string& typed);
  void mnuPopUpTactical_Click();
  void mnuPopUpRelay_Click();
  // The check-in whose tactical call the text is (spaces ignored), 0 when none.
  int tacticalCheckIn(const std::string& typed);
  // The callsigns of the check-ins with traffic listed and not yet passed.
  std::vector<std::string> unpassedTraffic();

  // ---- edits from the list, callsign change, grid insertion -------------------------------
  void mEditNetControl_Click();
  void mnuPopUpCall_Click();
  void mnuPopUpName_Click();
  void mnuPopUpQTH_Click();
  void mnuPopUpMultiple_Click();
  void mnuQRZConnect_Click();
  void mUpdateToNewCall_Click();
  void mnuPopUpUpdateCall_Click();
  void vanityCallUpdate();
  void mnuPopUpInsertGrid_Click();
  void mEditADIF_Click();

  // ---- help ---------------------------------------------------------------------------------
  void mTypeHelp_Click();
  void mContents_Click();

 private:
  void markLine(int inputNumber, int field, const char* mark, bool ackLayout);
  void renderCheckInLines(bool ackLayout);
  void setPrompt();
  void askTraffic(int n);
  void askPassed(int n);
  void askRemark(int n);
  void askTactical(int n);
  void askRelay(int n);
  struct FactText;
  void askFactText(int n, const FactText& kind);
  // After a change of a check-in's facts: the list redrawn with its line chosen, the log and
  // side file written, the result said; an urgent text stays on the hint line until the next
  // command.
  void factsChanged(int n, const std::string& said, const std::string& urgent = {});
  void leaveProgramSaving();
  void leavePastLogView();
  void showFound(const std::vector<FoundStation>& found, const std::string& noneText);
  // Today's rows as the net's list gives them; shown when the list shows the check-ins.
  void rowsFromNet();
  bool listShowsCheckIns() const;
  bool shareJournalFailed = false;
  // Today's rows as the net last saw them: a handler that changed none of them (most keys)
  // costs the net nothing.
  std::vector<CheckInRow> sharedRows;
  bool rowsAsShared() const;
  struct Written {
    std::string bytes;
    uintmax_t size = 0;
    fs::file_time_type time;
  };
  std::map<fs::path, Written> todayWritten;
  void keepSharedRows();
};

// The text of list line i as the full redraw builds it.
std::string checkInLine(const CheckInRow& row, int i, bool ackMode);

}  // namespace kelpie
