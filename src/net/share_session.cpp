// Today's list as one window's part of a shared net: rows carry their line's identity, every
// change made here becomes a revision for the net, and what the net sends becomes today's rows,
// list and log, as after any change made here.
#include <unordered_map>

#include "net/session.h"
#include "share/journal.h"
#include "share/share_net.h"
#include "share/wire.h"

namespace kelpie {

namespace {
share::Line contentOf(const CheckInRow& r) {
  share::Line l;
  l.id = r.shareId;
  l.time = r.timeIn;
  l.call = r.f[1];
  l.name = r.f[2];
  l.qth = r.f[3];
  l.first = r.f[4];
  l.latest = r.f[5];
  l.grid = r.f[6];
  l.ack = r.f[7] == "<Ack>";
  l.inOut = r.inOut;
  l.com = r.f[9] == "<Com>";
  l.facts = r.facts;
  return l;
}

CheckInRow rowOf(const share::Line& l) {
  CheckInRow r;
  r.shareId = l.id;
  r.timeIn = l.time;
  r.f[1] = l.call;
  r.f[2] = l.name;
  r.f[3] = l.qth;
  r.f[4] = l.first;
  r.f[5] = l.latest;
  r.f[6] = l.grid;
  r.f[7] = l.ack ? "<Ack>" : "";
  r.f[8] = l.inOut ? "in&out " : "";
  r.f[9] = l.com ? "<Com>" : "";
  r.inOut = l.inOut;
  r.facts = l.facts;
  return r;
}

std::vector<share::Row> rowsOf(CheckInTable& t) {
  std::vector<share::Row> rows;
  rows.reserve(static_cast<size_t>(t.count));
  for (int i = 1; i <= t.count; ++i) rows.push_back({t.row(i).shareId, contentOf(t.row(i))});
  return rows;
}

// Whether the rows are the net's list as it stands, line for line.
bool sameAsNet(const std::vector<share::Row>& rows, const std::vector<share::Line>& net) {
  if (rows.size() != net.size()) return false;
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].id != net[i].id || !share::sameContent(rows[i].content, net[i])) return false;
  return true;
}
}  // namespace

Session::~Session() = default;

bool Session::shareReadOnly() const { return share && share->readOnly(); }

bool Session::rowsAsShared() const {
  const auto first = checkIns.rows.begin() + 1;
  return static_cast<size_t>(checkIns.count) == sharedRows.size() &&
         std::equal(first, first + checkIns.count, sharedRows.begin());
}

void Session::keepSharedRows() {
  const auto first = checkIns.rows.begin() + 1;
  sharedRows.assign(first, first + checkIns.count);
}

bool Session::listShowsCheckIns() const {
  return !viewOnlyLog && !rosterEditMode && searchLines.empty();
}

void Session::rowsFromNet() {
  const std::string selectedId =
      listShowsCheckIns() && view.selected >= 0 && view.selected < checkIns.count
          ? checkIns.row(view.selected + 1).shareId
          : std::string();
  const std::vector<share::Line> lines = share->replica().list();
  checkIns.rows.assign(1, CheckInRow{});
  checkIns.count = 0;
  for (const share::Line& l : lines) checkIns.row(++checkIns.count) = rowOf(l);
  keepSharedRows();
  if (!listShowsCheckIns()) return;
  // The operator's half-typed entry and the line the operator had chosen stay as they were.
  renderCheckInLines(ackMode());
  setPrompt();
  for (int i = 1; i <= checkIns.count && !selectedId.empty(); ++i)
    if (checkIns.row(i).shareId == selectedId) view.selected = i - 1;
}

void Session::startSharing(ShareLink& link, const share::ShareSettings& settings) {
  stopSharing();
  const fs::path log = todayLogPath();
  share = std::make_unique<share::ShareNet>(link, settings, share::newWindowId(),
                                            share::journalPathFor(log));
  std::string error;
  if (!share->readJournal(&error))
    ui.dialogs.messageBox(pathText(share::journalPathFor(log)) + " cannot be read (" + error +
                              "). The lines it held are taken from the net again.",
                          " Shared net", Buttons::OK, Answer::OK);
  // A restart: each row of the log takes the identity of the journal's line with its callsign,
  // and that line's fuller content (the log keeps only callsign, name and QTH). Rows the journal
  // never saw join the net as new lines; lines the log lacks are kept.
  std::unordered_map<std::string, std::vector<share::Line>> byCall;
  std::vector<share::Row> rows;
  for (const share::Line& l : share->replica().list()) {
    byCall[upper1252(l.call)].push_back(l);
    rows.push_back({l.id, l});
  }
  for (int i = 1; i <= checkIns.count; ++i) {
    CheckInRow& r = checkIns.row(i);
    auto it = byCall.find(upper1252(r.f[1]));
    if (it != byCall.end() && !it->second.empty()) {
      it->second.erase(it->second.begin());
      continue;
    }
    r.shareId.clear();
    rows.push_back({"", contentOf(r)});
  }
  const std::vector<share::Line> made = share::commit(share->replica(), rows);
  share->sendLocal(made, &error);
  rowsFromNet();
  if (!viewOnlyLog && checkIns.count > 0) saveLogFile();
  view.shareStatus = share->statusText();
  share->start();
  view.shareStatus = share->statusText();
  view.menus["mStopShare"].enabled = true;
}

void Session::stopSharing() {
  if (!share) return;
  share->stop();
  share.reset();
  sharedRows.clear();
  view.shareStatus.clear();
  view.menus["mStopShare"].enabled = false;
}

void Session::syncShare() {
  if (!share || rowsAsShared()) return;
  // A window that may only watch keeps the net's list as it is.
  if (share->readOnly()) {
    if (!sameAsNet(rowsOf(checkIns), share->replica().list())) {
      rowsFromNet();
      writeTodayLog();
    }
    return keepSharedRows();
  }
  std::vector<share::Row> rows = rowsOf(checkIns);
  const std::vector<share::Line> made = share::commit(share->replica(), rows);
  for (size_t i = 0; i < rows.size(); ++i)
    checkIns.row(static_cast<int>(i) + 1).shareId = rows[i].id;
  std::string error;
  if (!share->sendLocal(made, &error) && !shareJournalFailed) {
    shareJournalFailed = true;
    reportWriteFailure(share::journalPathFor(todayLogPath()), error);
  }
  // The net's order may put a line elsewhere (a check-in made earlier on another window), or
  // fold it into the same callsign's earlier line.
  if (!sameAsNet(rows, share->replica().list())) {
    rowsFromNet();
    writeTodayLog();
  }
  keepSharedRows();
}

bool Session::applyShared() {
  if (!share) return false;
  const std::string status = share->statusText();
  const bool statusChanged = status != view.shareStatus;
  view.shareStatus = status;
  std::string error;
  if (!share->takeArrived(&error)) return statusChanged;
  if (!error.empty() && !shareJournalFailed) {
    shareJournalFailed = true;
    reportWriteFailure(share::journalPathFor(todayLogPath()), error);
  }
  rowsFromNet();
  writeTodayLog();
  if (!viewOnlyLog) {
    view.command2 = "Continue Check-Ins";
    menu("mLoadLog").enabled = true;
  }
  return true;
}

}  // namespace kelpie
