// Fuzzes the check-in log readers in both forms and today's log reloaded and saved back.
#include "data/checkin_log.h"
#include "data/quoted.h"
#include "fuzz_harness.h"

void kelpie::fuzz::run(std::string_view in) {
  const Lines lines = splitLines(in);
  for (const bool quoted : {false, true}) {
    const LogRead r = parseLog(lines, quoted);
    const std::vector<std::string> values = quoted ? quotedValues(lines) : lines;
    KELPIE_FUZZ_CHECK(r.ok && r.quoted == quoted && r.cutShort == (values.size() % 3 != 0));
    // Every value in its record and place; a cut record is filled with empty text.
    Lines want = values;
    want.resize((values.size() + 2) / 3 * 3);
    KELPIE_FUZZ_CHECK(logLines(r.records) == want);
  }
  test::Rig rig;
  rig.dialogs.messageAnswers = {Answer::OK};  // re-start the existing log
  rig.writeBytes("120526F.ILE", std::string(in));
  KELPIE_FUZZ_CHECK(rig.start());
  std::vector<LogRecord> records = parseLog(lines, false).records;
  if (lines.size() % 3 && logLines({records.back()}) == Lines(3)) records.pop_back();
  const Session& s = rig.session;
  KELPIE_FUZZ_CHECK(s.checkIns.count == int(records.size()) &&
                    s.view.lines.size() == records.size());
  for (size_t i = 0; i < records.size(); ++i) {
    const auto& f = s.checkIns.rows[i + 1].f;
    KELPIE_FUZZ_CHECK(logLines({records[i]}) == (Lines{f[1], f[2], f[3]}));
  }
  rig.session.saveLogFile();
  KELPIE_FUZZ_CHECK(rig.read("120526F.ILE") == joinCrLf(logLines(records)));
}
