// What the report tests share: a started session in a temporary folder and check-in logs in
// either form.
#pragma once

#include <gtest/gtest.h>

#include "data/checkin_log.h"
#include "support/fake_platform.h"

namespace kelpie::test {

// The log in the form Kelpie writes (three lines per record), or in the older form (one line
// per record, three quoted values separated by commas).
enum class LogForm { Lines, Quoted };
inline Lines inForm(LogForm form, const std::vector<LogRecord>& records) {
  if (form == LogForm::Lines) return logLines(records);
  Lines out;
  for (const auto& r : records)
    out.push_back("\"" + r.callSign + "\",\"" + r.name + "\",\"" + r.qth + "\"");
  return out;
}

// A session started as the window starts it (today is 5 December 2026, so today's empty log
// 120526F.ILE exists in the folder, which is both the program's and the log folder).
class ReportTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(rig.start()); }
  Session& s() { return rig.session; }
  std::string logPath(const std::string& name) { return pathText(rig.folder / name); }
  Rig rig;
};

}  // namespace kelpie::test
