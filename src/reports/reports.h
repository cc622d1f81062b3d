// The report commands of the main window: the past-log viewer, statistics, the text summary
// and printing. Each works on the session's state and shows its answer in the list.
#pragma once

#include <string>

#include "net/session.h"

namespace kelpie {

// The log file chooser: the chosen log's name (opened in LogFolder), or empty on cancel.
std::string chooseLog(Session& s, const std::string& title);

void mLoadLog_Click(Session& s);
void mMostCheckins_Click(Session& s);
void mMostCheckinsperYear_Click(Session& s);
void mwriteLogFile_Click(Session& s);
void MPPastLog_Click(Session& s);
void mPLogMostCheckins_Click(Session& s);
void mPShortcuts_Click(Session& s);

}  // namespace kelpie
