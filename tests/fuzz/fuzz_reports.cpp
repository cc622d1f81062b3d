// Fuzzes the report commands over a stored log of any bytes, in either form: the past-log
// viewer, both statistics, the printouts and the text summary. None of them may ask an
// unexpected question or change today's log or the roster; the viewer shows the log as read.
#include "fuzz_support.h"
#include "reports/report_log.h"
#include "reports/reports.h"
#include "support/fake_platform.h"

using namespace kelpie;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  test::Rig rig;
  rig.writeRoster({{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", "-"},
                   {"N2NEW", "AL", "FN31", "1/1/2021", "2/2/2022", "N2OLD"}});
  rig.writeSettings();
  rig.write("120526F.ILE", {"K1ABC", "BOB", "FN20"});
  rig.write("vhf4k.adi", {"<CALL:5>K1ABC, <GRIDSQUARE:4>FN32 <EOR>"});
  const fs::path past = rig.folder / "120426F.ILE";
  rig.writeBytes("120426F.ILE", std::string(fuzz::asText(data, size)));
  rig.dialogs.messageAnswers = {Answer::OK};  // re-start today's log
  if (!rig.session.Form_Load()) return 0;
  Session& s = rig.session;
  const std::string today = rig.read("120526F.ILE"), roster = rig.read("NETCONT.ROL");

  mMostCheckins_Click(s);
  mMostCheckinsperYear_Click(s);

  rig.dialogs.chooserAnswers = {past.string()};
  mLoadLog_Click(s);
  const ReportLog log = readReportLog(past);
  KELPIE_FUZZ_CHECK(log.ok && s.viewOnlyLog);
  KELPIE_FUZZ_CHECK(s.view.lines == pastLogLines(log.records));
  // Any key leaves the view; Esc shows today's check-ins again.
  s.Form_KeyDown(kKeyEsc, 0);
  KELPIE_FUZZ_CHECK(!s.viewOnlyLog && s.view.lines.size() == 1);

  rig.dialogs.chooserAnswers = {past.string()};
  MPPastLog_Click(s);
  mPLogMostCheckins_Click(s);
  rig.dialogs.chooserAnswers = {past.string()};
  mwriteLogFile_Click(s);
  s.Form_KeyDown(kKeyEsc, 0);

  KELPIE_FUZZ_CHECK(rig.dialogs.inputs().empty());
  KELPIE_FUZZ_CHECK(rig.read("120526F.ILE") == today);
  KELPIE_FUZZ_CHECK(rig.read("NETCONT.ROL") == roster);
  KELPIE_FUZZ_CHECK(s.checkIns.count == 1);
  return 0;
}
