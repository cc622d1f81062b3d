// The ICS forms as data: a net's events to the 309's rows and the 214's blocks, the period's
// cut, wrapped cells and page breaks, the CSV, and the commands that write and print them.
#include <gtest/gtest.h>

#include <cstdlib>

#include "forms/form_commands.h"
#include "support/fake_platform.h"

namespace kelpie {
namespace {

using test::FakeClock;
using test::Rig;

// Every character is half its size wide, so widths are easy to count.
double fixedWidth(const std::string& text, double size, bool) {
  return static_cast<double>(text.size()) * size / 2;
}

CheckInFacts traffic(int count, char precedence, std::string dest, std::string listedAt,
                     std::string passedTo = "", std::string passedAt = "") {
  CheckInFacts f;
  f.count = count;
  f.precedence = precedence;
  f.dest = std::move(dest);
  f.listedAt = std::move(listedAt);
  f.passedTo = std::move(passedTo);
  f.passedAt = std::move(passedAt);
  return f;
}

// A net of 7 p.m. (UTC-5) with every kind of event: facts given with a check-in and later, a
// check-in whose time is lost, traffic passed and traffic still open.
FormNet sampleNet() {
  FormNet net{"120526F.ILE", false, {}, {"W1NC", "KC1LOG", "KC1LOG"}};
  net.checkIns.push_back({"W1AAA", "Ann", "2026-12-06T00:05:10Z", true, true, {}});
  CheckInFacts bob =
      traffic(2, 'P', "Boston", "2026-12-06T00:07:00Z", "N3CCC", "2026-12-06T00:20:00Z");
  bob.relay = "W2XYZ";
  bob.relayAt = "2026-12-06T00:06:30Z";
  bob.remark = "Mobile, 5 W";
  bob.tactical = "EOC";
  bob.tacticalAt = "2026-12-06T00:10:00Z";
  net.checkIns.push_back({"K2BBB", "Bob", "2026-12-06T00:06:00Z", false, false, bob});
  CheckInFacts cy = traffic(1, 'R', "", "");
  cy.remark = "=SUM(A1)";
  cy.remarkAt = "2026-12-06T00:15:00Z";
  net.checkIns.push_back({"N3CCC", "Cy", "", false, false, cy});
  CheckInFacts dee;
  dee.relay = "KB5EEE";
  dee.relayAt = "2026-12-06T00:14:00Z";
  net.checkIns.push_back({"W4DDD", "Dee", "2026-12-06T00:12:00Z", false, false, dee});
  return net;
}

FormHeader sampleHeader(DateTime from = {{2026, 12, 5}, 19, 5, 0},
                        DateTime to = {{2026, 12, 5}, 19, 20, 0}) {
  FormHeader h;
  h.incidentName = "Winter Storm";
  h.incidentNumber = "26-014";
  h.from = from;
  h.to = to;
  h.netName = "2m net";
  h.operatorName = "Pat Doe";
  h.operatorCall = "W1NC";
  h.preparedName = "Lee Roy";
  h.preparedCall = "KC1LOG";
  h.agency = "ARES Unit 4";
  h.prepared = {{2026, 12, 5}, 21, 2, 0};
  return h;
}

TEST(Ics309, EveryEventIsARowInTimeOrder) {
  FakeClock clock;
  const FormNet net = sampleNet();
  const std::vector<Row309> expected{
      {"19:05", "W1AAA", "W1NC", "Checked in, first time, in and out"},
      {"19:06", "K2BBB", "W1NC", "Checked in, via W2XYZ; Mobile, 5 W"},  // relay in its minute
      {"", "N3CCC", "W1NC", "Checked in"},  // no time: placed after the check-in before it
      {"", "N3CCC", "W1NC", "Listed 1 Routine"},
      {"19:07", "K2BBB", "W1NC", "Listed 2 Priority for Boston"},
      {"19:10", "W1NC", "K2BBB", "Tactical call EOC"},
      {"19:12", "W4DDD", "W1NC", "Checked in"},
      {"19:14", "W4DDD", "W1NC", "Relayed by KB5EEE"},  // a relay entered later
      {"19:15", "N3CCC", "W1NC", "Remark: =SUM(A1)"},
      {"19:20", "EOC (K2BBB)", "N3CCC", "Passed 2 Priority for Boston"},  // posted by now
  };
  EXPECT_EQ(rows309(net, netEvents(net, clock), sampleHeader()), expected);
  FormHeader noCall = sampleHeader();
  noCall.operatorCall.clear();
  EXPECT_EQ(rows309(net, netEvents(net, clock), noCall)[0].to, "NCS");
}

TEST(Ics309, PeriodCutsByTheMinuteBothEndsIncluded) {
  FakeClock clock;
  FormNet net{"X.ILE", false, {}, {}};
  for (const char* t : {"2026-12-06T00:05:59Z", "2026-12-06T00:06:00Z", "2026-12-06T00:09:59Z",
                        "2026-12-06T00:10:00Z"})
    net.checkIns.push_back({t, "", t, false, false, {}});
  const auto all = netEvents(net, clock);
  const Period whole = periodOf(all);
  EXPECT_EQ(formTime(whole.from) + " " + formTime(whole.to), "19:05 19:10");
  struct Case {
    const char* name;
    int fromMinute, toMinute;
    std::vector<std::string> kept;
  } cases[] = {
      {"inner minutes", 6, 9, {"2026-12-06T00:06:00Z", "2026-12-06T00:09:59Z"}},
      {"one minute", 5, 5, {"2026-12-06T00:05:59Z"}},
      {"after all", 11, 12, {}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> kept;
    for (const NetEvent& e :
         cutToPeriod(all, {{2026, 12, 5}, 19, c.fromMinute, 0}, {{2026, 12, 5}, 19, c.toMinute, 0}))
      kept.push_back(net.checkIns[e.checkIn].callSign);
    EXPECT_EQ(kept, c.kept) << c.name;
  }
  EXPECT_FALSE(periodOf({}).known);
  const FormNet timeless{"X.ILE", false, {{"W1X", "", "", false, false, {}}}, {}};
  EXPECT_EQ(cutToPeriod(netEvents(timeless, clock), whole.to, whole.to).size(), 1u);
}

TEST(Ics214, BlocksOfTheWholeNet) {
  FakeClock clock;
  const FormNet net = sampleNet();
  const FormHeader h = sampleHeader();
  const auto all = netEvents(net, clock);
  const std::vector<Resource214> resources{{"Pat Doe, W1NC", "Net Control Operator", "ARES Unit 4"},
                                           {"KC1LOG", "Net Logger", ""},
                                           {"K2BBB, Bob", "EOC", ""}};
  EXPECT_EQ(resources214(net, all, h), resources);
  const std::vector<Activity214> activities{
      {"2026-12-05 19:05", "Net opened: first check-in, W1AAA"},
      {"2026-12-05 19:06", "K2BBB checked in via W2XYZ"},
      {"2026-12-05 19:07", "K2BBB listed 2 Priority for Boston"},
      {"2026-12-05 19:10", "K2BBB posted as tactical call EOC"},
      {"2026-12-05 19:14", "W4DDD relayed by KB5EEE"},
      {"2026-12-05 19:20", "K2BBB passed 2 Priority for Boston to N3CCC"},
      {"2026-12-05 19:20", "Traffic still open: N3CCC, 1 Routine"},
      {"2026-12-05 19:20",
       "Net closed: 4 check-ins, 1 first-time; messages listed: 2 Priority, "
       "1 Routine; passed: 2 Priority."}};
  EXPECT_EQ(activities214(net, all, cutToPeriod(all, h.from, h.to), h), activities);
}

TEST(Ics214, AShiftOfARunningNet) {
  FakeClock clock;
  FormNet net = sampleNet();
  net.today = true;
  const FormHeader h = sampleHeader({{2026, 12, 5}, 19, 6, 0}, {{2026, 12, 5}, 19, 12, 0});
  const auto all = netEvents(net, clock);
  const std::vector<Activity214> activities{
      {"2026-12-05 19:06", "K2BBB checked in via W2XYZ"},
      {"2026-12-05 19:07", "K2BBB listed 2 Priority for Boston"},
      {"2026-12-05 19:10", "K2BBB posted as tactical call EOC"},
      {"2026-12-05 19:12", "Traffic still open: N3CCC, 1 Routine"},
      {"2026-12-05 19:12", "Traffic still open: K2BBB, 2 Priority for Boston"},  // passed later
      {"2026-12-05 19:12",
       "Period ended: 3 check-ins, 0 first-time; messages listed: 2 Priority, "
       "1 Routine; passed: none."}};
  EXPECT_EQ(activities214(net, all, cutToPeriod(all, h.from, h.to), h), activities);
  // Today's net is never closed, even when the period holds all of it.
  const auto whole = activities214(net, all, all, sampleHeader());
  EXPECT_EQ(whole.back().text.substr(0, 13), "Period ended:");
  // Posted after the period's end: no resource yet.
  EXPECT_EQ(resources214(net, all, sampleHeader(h.from, {{2026, 12, 5}, 19, 9, 0})).size(), 2u);
}

TEST(SheetLayout, WrapsAtSpacesAndInsideLongWords) {
  struct Case {
    const char* name;
    std::string text;
    double width;  // in characters of 2 points
    std::vector<std::string> lines;
  } cases[] = {
      {"exactly full", "ab cd", 5, {"ab cd"}},
      {"one over", "ab cde", 5, {"ab", "cde"}},
      {"spaces collapse at breaks", "  ab   cd  ", 3, {"ab", "cd"}},
      {"long word cut", "abcdefg hi", 3, {"abc", "def", "g", "hi"}},
      {"controls are spaces", "ab\tcd\r\nef", 5, {"ab cd", "ef"}},
      {"too narrow for one", "ab", 0.5, {"a", "b"}},
      {"empty", "", 5, {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(wrapText(c.text, c.width * 2, 4, false, fixedWidth), c.lines) << c.name;
}

TEST(SheetLayout, RowsGoWholeOnPagesWithTheirHeads) {
  using Pages = std::vector<std::vector<RowRef>>;
  struct Case {
    const char* name;
    std::vector<std::vector<double>> rows;
    Pages pages;
  } cases[] = {
      {"fills to the last point", {{30, 40}}, {{{0, 0}, {0, 1}}}},
      {"one point over", {{30, 41}}, {{{0, 0}}, {{0, 1}}}},
      {"head again on the next page", {{30, 30, 20}}, {{{0, 0}, {0, 1}}, {{0, 2}}}},
      {"a table starts where head and row fit", {{30}, {20, 10}}, {{{0, 0}}, {{1, 0}, {1, 1}}}},
      {"a second table on the same page", {{10}, {10}}, {{{0, 0}, {1, 0}}}},
      {"taller than a page", {{200, 10}}, {{{0, 0}}, {{0, 1}}}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(paginate(c.rows, std::vector<double>(c.rows.size(), 30), 100), c.pages) << c.name;
}

// A sheet as text: a line per drawn line ("L x1 y1 x2 y2 width") and text ("T x y size b|r
// text"), points to two decimals, pages apart.
std::string sheetText(const Sheet& sheet) {
  std::string out;
  char b[160];
  for (const SheetPage& page : sheet.pages) {
    out += "page\n";
    for (const SheetLine& l : page.lines) {
      std::snprintf(b, sizeof b, "L %.2f %.2f %.2f %.2f %.2f\n", l.x1, l.y1, l.x2, l.y2, l.width);
      out += b;
    }
    for (const SheetText& t : page.texts) {
      std::snprintf(b, sizeof b, "T %.2f %.2f %.1f %c ", t.x, t.y, t.size, t.bold ? 'b' : 'r');
      out += b + t.text + "\n";
    }
  }
  return out;
}

// A small form on a short page: two blocks above (one wrapped), a table with two columns under a
// group head, a second table with no rows that no longer fits and starts the next page with an
// empty row, and the page's number below.
TEST(SheetLayout, APageDrawnLineByLine) {
  // Labels, heads and cells that fill their cells to within half a character.
  FormLayout form{
      "TITLE", "Form", {{{0.5, "1. A bcde:", "one"}, {0.5, "2. B:", "two words"}}}, {}, {}};
  form.tables.push_back({"3. T",
                         {{0.5, "", "When it is"}, {0.25, "G", "x"}, {0.25, "G", "y"}},
                         {{"a", "b", "c"}, {"dd eeeee", "", ""}, {"f", "", ""}}});
  form.tables.push_back({"4. U", {{1, "", "Only"}}, {}});
  form.bottom = {{{0.6, "5. P:", "me"}, {0.4, "6.", "", true}}};
  const std::string text = sheetText(layoutForm(form, 156, 250, fixedWidth));
  if (std::getenv("KELPIE_WRITE_GOLDEN"))
    writeBytesAtomic(fs::path(KELPIE_SOURCE_DIR "/tests/golden/forms/small_sheet.txt"), text);
  EXPECT_EQ(text, test::golden("forms/small_sheet.txt"));
}

// ---- the commands -------------------------------------------------------------------------

struct FakeFormPrinter : FormPrinter {
  std::vector<std::string> saved;
  std::string printError;
  int printed = 0;
  void paper(double& w, double& h) override { w = 595, h = 842; }
  double textWidth(const std::string& t, double size, bool bold) override {
    return fixedWidth(t, size, bold);
  }
  bool savePdf(const Sheet& sheet, const std::string& path, std::string* error) override {
    if (sheet.width != 595) return *error = "wrong paper", false;
    saved.push_back(path);
    return writeBytesAtomic(path, sheet.title);
  }
  bool print(const Sheet&, std::string* error) override {
    ++printed;
    return printError.empty() || (*error = printError, false);
  }
};

TEST(FormCommands, SavePdfAsksBeforeReplacingAndOpensTheFile) {
  Rig rig;
  FakeFormPrinter printer;
  const FormJob job{IcsForm::Activity214, sampleNet(), sampleHeader()};
  EXPECT_EQ(saveFormPdf(rig.session, printer, job), pathText(rig.folder / "120526F ICS-214.pdf"));
  EXPECT_EQ(rig.read("120526F ICS-214.pdf"), "ICS 214 Activity Log");
  EXPECT_EQ(rig.launcher.opened,
            std::vector<std::string>{pathText(rig.folder / "120526F ICS-214.pdf")});
  rig.writeBytes("120526F ICS-214.pdf", "old");
  rig.dialogs.messageAnswers = {Answer::No};
  EXPECT_EQ(saveFormPdf(rig.session, printer, job), "");
  EXPECT_EQ(rig.dialogs.boxes(), " ICS 214 Activity Log / " +
                                     pathText(rig.folder / "120526F ICS-214.pdf") +
                                     " already exists.\r\n\r\nReplace it?\n");
  EXPECT_EQ(rig.read("120526F ICS-214.pdf"), "old");
  rig.launcher.openSucceeds = false;
  rig.dialogs.messageAnswers = {Answer::Yes};
  saveFormPdf(rig.session, printer, job);
  EXPECT_EQ(rig.dialogs.messages().back().text, "The form is saved as " +
                                                    pathText(rig.folder / "120526F ICS-214.pdf") +
                                                    ", but no program to show it was found.");
  EXPECT_TRUE(printForm(rig.session, printer, job));
  printer.printError = "No printer is set up.";
  EXPECT_FALSE(printForm(rig.session, printer, job));
  EXPECT_EQ(rig.dialogs.messages().back().text, "No printer is set up.");
  EXPECT_EQ(printer.printed, 2);
}

TEST(FormCommands, CsvBesideTheLogOfThePeriodsRows) {
  Rig rig;
  const FormJob job{IcsForm::Log309, sampleNet(),
                    sampleHeader({{2026, 12, 5}, 19, 14, 0}, {{2026, 12, 5}, 19, 15, 0})};
  EXPECT_EQ(saveFormCsv(rig.session, job), pathText(rig.folder / "120526F ICS-309.csv"));
  EXPECT_EQ(rig.read("120526F ICS-309.csv"),
            "\xEF\xBB\xBF"
            "Date,Time,From,To,Message\r\n"
            "2026-12-05,19:14,W4DDD,W1NC,Relayed by KB5EEE\r\n"
            "2026-12-05,19:15,N3CCC,W1NC,Remark: =SUM(A1)\r\n");
  EXPECT_EQ(rig.dialogs.messages().back().text,
            "2 rows saved as " + pathText(rig.folder / "120526F ICS-309.csv") + ".");
  // A spreadsheet's reader takes the guarded, quoted and accented fields back as they were.
  FormJob odd{IcsForm::Log309, {"X.ILE", false, {}, {}}, sampleHeader()};
  odd.net.checkIns.push_back(
      {"=W1\xC9", "", "", false, false, traffic(1, 'W', "A, \"B\"\r\nC", "", "@x", "")});
  saveFormCsv(rig.session, odd);
  const std::string f = pathText(rig.folder.path()) + "/";
  ASSERT_EQ(std::system(("python3 " KELPIE_SOURCE_DIR "/tests/reports/csv_readback.py '" + f +
                         "X ICS-309.csv' '" + f + "rows.txt' 5")
                            .c_str()),
            0);
  EXPECT_EQ(rig.read("rows.txt"),
            "Date\tTime\tFrom\tTo\tMessage\n"
            "\t\t'=W1\xC3\x89\tW1NC\tChecked in\n"
            "\t\t'=W1\xC3\x89\tW1NC\tListed 1 Welfare for A, \"B\"\r\nC\n"
            "\t\t'=W1\xC3\x89\t'@x\tPassed 1 Welfare for A, \"B\"\r\nC\n");
}

TEST(FormCommands, APastLogWithItsTimesAndFirstTimers) {
  Rig rig;
  rig.session.roster.rows = {{},
                             {"W1AAA", "Ann", "Here", dateText({2026, 12, 5}), "", ""},
                             {"K2BBB", "Bob", "There", dateText({2020, 1, 2}), "", ""}};
  rig.write("120526F.ILE", {"W1AAA", "Ann", "Here", "K2BBB", "Bob", "There"});
  FormNet net;
  ASSERT_TRUE(readPastNet(rig.session, rig.folder / "120526F.ILE", net));
  ASSERT_EQ(net.checkIns.size(), 2u);
  EXPECT_TRUE(net.checkIns[0].firstTime);
  EXPECT_FALSE(net.checkIns[1].firstTime);
  EXPECT_EQ(netNote(net),
            "This log has no check-in times: the rows' times are left blank, and every check-in "
            "is on the form whatever the period.");
  rig.write("120526F.TIM", {"W1AAA\t2026-12-06T00:05:00Z", "K2BBB\t\tin&out"});
  ASSERT_TRUE(readPastNet(rig.session, rig.folder / "120526F.ILE", net));
  EXPECT_EQ(net.checkIns[0].timeIn, "2026-12-06T00:05:00Z");
  EXPECT_TRUE(net.checkIns[1].inOut);
  EXPECT_EQ(netNote(net), "");
  const CheckInFacts listed = traffic(3, 'E', "EOC", "2026-12-06T00:06:00Z");
  rig.write("120526F.TRF", factsLines({{"K2BBB", listed}}));
  ASSERT_TRUE(readPastNet(rig.session, rig.folder / "120526F.ILE", net));
  EXPECT_EQ(net.checkIns[1].facts, listed);
  EXPECT_TRUE(net.checkIns[0].facts.empty());
  EXPECT_FALSE(readPastNet(rig.session, rig.folder / "MISSING.ILE", net));
  // Chosen through the log chooser; today's log is today's list, its first-timers marked there.
  rig.dialogs.chooserAnswers = {pathText(rig.folder / "120526f.ile"), "x/120726F.ILE", ""};
  ASSERT_TRUE(choosePastNet(rig.session, net));
  EXPECT_EQ(net.logName, "120526F.ILE");
  rig.session.todayLogName = "120726F.ILE";
  rig.session.checkIns.row(1).f = {"", "W9ZZZ", "Zed", "", "  First time check-in"};
  rig.session.checkIns.row(2).f = {"", ""};  // deleted from the list
  rig.session.checkIns.row(3).f = {"", "K9YYY", "Yan", "", "12/1/2025"};
  rig.session.checkIns.row(3).facts.remark = "QRP";
  rig.session.checkIns.count = 3;
  ASSERT_TRUE(choosePastNet(rig.session, net));
  EXPECT_TRUE(net.today);
  ASSERT_EQ(net.checkIns.size(), 2u);
  EXPECT_EQ(net.checkIns[0].callSign + net.checkIns[1].name, "W9ZZZYan");
  EXPECT_TRUE(net.checkIns[0].firstTime);
  EXPECT_FALSE(net.checkIns[1].firstTime);
  EXPECT_EQ(net.checkIns[1].facts.remark, "QRP");
  EXPECT_FALSE(choosePastNet(rig.session, net));  // cancelled
  EXPECT_TRUE(net.today);
  EXPECT_EQ(formFileName("120526f.ile", IcsForm::Log309, "pdf"), "120526f ICS-309.pdf");
}

}  // namespace
}  // namespace kelpie
