// Placeholder bodies until the report commands land; this file is removed then.
#include "reports/reports.h"

namespace kelpie {
std::string chooseLog(Session&, const std::string&) { return {}; }
void mLoadLog_Click(Session&) {}
void mMostCheckins_Click(Session&) {}
void mMostCheckinsperYear_Click(Session&) {}
void mwriteLogFile_Click(Session&) {}
void MPPastLog_Click(Session&) {}
void mPLogMostCheckins_Click(Session&) {}
void mPShortcuts_Click(Session&) {}
}  // namespace kelpie
