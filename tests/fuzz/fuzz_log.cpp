// Fuzzes the check-in log readers in both forms and today's log reload through the session:
// every line is kept in its record, a cut record keeps what it has, and a reloaded log is
// saved back byte for byte.
#include <algorithm>

#include "data/checkin_log.h"
#include "data/quoted.h"
#include "fuzz_support.h"
#include "support/fake_platform.h"

using namespace kelpie;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view in = fuzz::asText(data, size);
  const Lines lines = splitLines(in);

  for (const bool quoted : {false, true}) {
    const LogRead r = parseLog(lines, quoted);
    const std::vector<std::string> values = quoted ? quotedValues(lines) : lines;
    KELPIE_FUZZ_CHECK(r.ok && r.quoted == quoted);
    KELPIE_FUZZ_CHECK(r.records.size() == (values.size() + 2) / 3);
    KELPIE_FUZZ_CHECK(r.cutShort == (values.size() % 3 != 0));
    // Every value stands in its record and place, and a cut record is filled with empty text.
    Lines back = logLines(r.records);
    KELPIE_FUZZ_CHECK(back.size() >= values.size() && back.size() < values.size() + 3);
    KELPIE_FUZZ_CHECK(std::equal(values.begin(), values.end(), back.begin()));
    KELPIE_FUZZ_CHECK(std::all_of(back.begin() + static_cast<long>(values.size()), back.end(),
                                  [](const std::string& v) { return v.empty(); }));
    for (const auto& v : values) KELPIE_FUZZ_CHECK(v.find_first_of("\r\n") == std::string::npos);
  }

  // Today's log re-started through the session, then saved again.
  test::Rig rig;
  rig.writeRoster({});
  rig.writeSettings();
  rig.writeBytes("120526F.ILE", std::string(in));
  rig.dialogs.messageAnswers = {Answer::OK};  // re-start the existing log
  KELPIE_FUZZ_CHECK(rig.session.Form_Load());
  LogRead lineForm = parseLog(lines, false);
  // Blank lines after the last record make no check-in.
  if (lineForm.cutShort) {
    const LogRecord& last = lineForm.records.back();
    if (last.callSign.empty() && last.name.empty() && last.qth.empty()) lineForm.records.pop_back();
  }
  const size_t expected = in.empty() ? 0 : lineForm.records.size();
  KELPIE_FUZZ_CHECK(rig.session.checkIns.count == static_cast<int>(expected));
  KELPIE_FUZZ_CHECK(rig.session.view.lines.size() == expected);
  for (size_t i = 0; i < expected; ++i) {
    const auto& f = rig.session.checkIns.row(static_cast<int>(i + 1)).f;
    KELPIE_FUZZ_CHECK(f[1] == lineForm.records[i].callSign && f[2] == lineForm.records[i].name &&
                      f[3] == lineForm.records[i].qth);
  }
  rig.session.saveLogFile();
  const std::string saved = rig.read("120526F.ILE");
  KELPIE_FUZZ_CHECK(saved == joinCrLf(logLines(lineForm.records)));
  const LogRead reread = readLogLineForm(rig.folder / "120526F.ILE");
  KELPIE_FUZZ_CHECK(reread.ok && !reread.cutShort);
  KELPIE_FUZZ_CHECK(reread.records.size() == expected);
  return 0;
}
