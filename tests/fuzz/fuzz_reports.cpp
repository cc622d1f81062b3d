// Fuzzes the report commands over a stored log of any bytes, in either form.
#include "fuzz_harness.h"
#include "reports/report_log.h"
#include "reports/reports.h"

void kelpie::fuzz::run(std::string_view in) {
  test::Rig rig;
  const std::string past = (rig.folder / "120426F.ILE").string();
  rig.writeRoster({{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", "-"},
                   {"N2NEW", "AL", "FN31", "1/1/2021", "2/2/2022", "N2OLD"}});
  rig.writeBytes("120526F.ILE", "K1ABC\r\nBOB\r\nFN20\r\n");
  rig.writeBytes("vhf4k.adi", "<CALL:5>K1ABC, <GRIDSQUARE:4>FN32 <EOR>\r\n");
  rig.writeBytes("120426F.ILE", std::string(in));
  rig.dialogs.messageAnswers = {Answer::OK};  // re-start today's log
  if (!rig.start()) return;
  Session& s = rig.session;
  const std::string today = rig.read("120526F.ILE"), roster = rig.read("NETCONT.ROL");
  mMostCheckins_Click(s);
  mMostCheckinsperYear_Click(s);
  rig.dialogs.chooserAnswers = {past, past, past};
  mLoadLog_Click(s);
  const ReportLog log = readReportLog(past);
  FUZZ_CHECK(log.ok && s.viewOnlyLog && s.view.lines == pastLogLines(log.records));
  s.Form_KeyDown(kKeyEsc, 0);  // Esc shows today's check-ins again
  FUZZ_CHECK(!s.viewOnlyLog && s.view.lines.size() == 1);
  MPPastLog_Click(s);
  mPLogMostCheckins_Click(s);
  mwriteLogFile_Click(s);
  s.Form_KeyDown(kKeyEsc, 0);
  FUZZ_CHECK(rig.dialogs.inputs().empty() && s.checkIns.count == 1);
  FUZZ_CHECK(rig.read("120526F.ILE") == today && rig.read("NETCONT.ROL") == roster);
}
