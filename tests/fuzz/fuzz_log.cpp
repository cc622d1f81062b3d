// Fuzzes the check-in log readers in both forms and today's log reloaded and saved back.
#include "data/checkin_log.h"
#include "data/quoted.h"
#include "fuzz_harness.h"

void kelpie::fuzz::run(std::string_view in) {
  const Lines lines = splitLines(in);
  for (const bool quoted : {false, true}) {
    const LogRead r = parseLog(lines, quoted);
    Lines want = quoted ? quotedValues(lines) : lines;
    FUZZ_CHECK(r.ok && r.quoted == quoted && r.cutShort == (want.size() % 3 != 0));
    want.resize((want.size() + 2) / 3 * 3);   // a cut record is filled with empty text
    FUZZ_CHECK(logLines(r.records) == want);  // every value in its record and place
  }
  test::Rig rig;
  rig.dialogs.messageAnswers = {Answer::OK};  // re-start the existing log
  rig.writeBytes("120526F.ILE", std::string(in));
  FUZZ_CHECK(rig.start());
  std::vector<LogRecord> records = parseLog(lines, false).records;
  if (lines.size() % 3 && logLines({records.back()}) == Lines(3)) records.pop_back();
  FUZZ_CHECK(rig.session.checkIns.count == int(records.size()) &&
             rig.session.view.lines.size() == records.size());
  rig.session.saveLogFile();  // written from the check-ins held: each value back in its place
  FUZZ_CHECK(rig.read("120526F.ILE") == joinCrLf(logLines(records)));
}
