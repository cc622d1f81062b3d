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

// Every character is half its size wide, a bold one a tenth wider, so widths are easy to count.
double fixedWidth(const std::string& text, double size, bool bold) {
  return static_cast<double>(text.size()) * size * (bold ? 0.55 : 0.5);
}

// text against tests/golden/forms/<name>; KELPIE_WRITE_GOLDEN=1 writes it there instead.
void expectGolden(const std::string& text, const std::string& name) {
  if (std::getenv("KELPIE_WRITE_GOLDEN"))
    writeBytesAtomic(fs::path(KELPIE_SOURCE_DIR "/tests/golden/forms") / name, text);
  EXPECT_EQ(text, test::golden("forms/" + name)) << name;
}

// A net of 7 p.m. (UTC-5) with every kind of event: a relay and a remark given with a check-in
// and later, a check-in whose time is lost (its rows placed after the check-in before it), a
// tactical call, traffic passed at 19:20 and traffic never passed.
FormNet sampleNet() {
  const std::string t = "2026-12-06T00:";
  // clang-format off
  //                       count, precedence, destination, listed at, passed to, passed at,
  //                       tactical call, posted at, relay, relayed at, remark, remarked at
  const CheckInFacts bob{2, 'P', "Boston", t + "07:00Z", "N3CCC", t + "20:00Z",
                         "EOC", t + "10:00Z", "W2XYZ", t + "06:30Z", "Mobile, 5 W", ""};
  const CheckInFacts cy{1, 'R', "", "", "", "", "", "", "", "", "=SUM(A1)", t + "15:00Z"};
  const CheckInFacts dee{0, 0, "", "", "", "", "", "", "KB5EEE", t + "14:00Z", "", ""};
  return {"120526F.ILE", false,
          {{"W1AAA", "Ann", t + "05:10Z", true, true, {}},
           {"K2BBB", "Bob", t + "06:00Z", false, false, bob},
           {"N3CCC", "Cy", "", false, false, cy},
           {"W4DDD", "Dee", t + "12:00Z", false, false, dee}},
          {"W1NC", "KC1LOG", "KC1LOG"}};
  // clang-format on
}

FormHeader sampleHeader(int fromMinute = 5, int toMinute = 20) {
  const DateTime from{{2026, 12, 5}, 19, fromMinute, 0}, to{{2026, 12, 5}, 19, toMinute, 0};
  return {"Winter Storm", "26-014",  from,     to, "2m net",      "Pat Doe",
          "W1NC",         "Lee Roy", "KC1LOG", "", "ARES Unit 4", {{2026, 12, 5}, 21, 2, 0}};
}

// The sample net's 309 rows, 214 resources and 214 activities for a period, a line each with
// " | " between the fields.
TEST(IcsForms, RowsAndBlocksOfAPeriod) {
  struct Case {
    const char* golden;
    bool today;
    int fromMinute, toMinute;
    const char* operatorCall;
  } cases[] = {
      {"sample_closed.txt", false, 5, 20, "W1NC"},  // the whole net, closed by its last event
      {"sample_running.txt", true, 6, 20, "W1NC"},  // today's net is never closed
      {"sample_cut.txt", false, 6, 10, ""},         // cut at the ends' minutes; NCS for no call
      {"sample_early.txt", false, 5, 9, "W1NC"},    // the tactical call posted after the end
  };
  FakeClock clock;
  for (const Case& c : cases) {
    FormNet net = sampleNet();
    net.today = c.today;
    FormHeader h = sampleHeader(c.fromMinute, c.toMinute);
    h.operatorCall = c.operatorCall;
    const auto all = netEvents(net, clock);
    const auto cut = cutToPeriod(all, h.from, h.to);
    std::string t = "ICS 309\n";
    for (const Row309& r : rows309(net, cut, h))
      t += r.time + " | " + r.from + " | " + r.to + " | " + r.message + "\n";
    t += "ICS 214 resources\n";
    for (const Resource214& r : resources214(net, all, h))
      t += r.name + " | " + r.position + " | " + r.agency + "\n";
    t += "ICS 214 activities\n";
    for (const Activity214& a : activities214(net, all, cut, h))
      t += a.when + " | " + a.text + "\n";
    expectGolden(t, c.golden);
  }
}

TEST(NetEvents, PeriodCutsByTheMinuteBothEndsIncluded) {
  FakeClock clock;
  FormNet net{"X.ILE", false, {{"none", "", "", false, false, {}}}, {}};  // no time: never cut
  for (const char* t : {"00:05:59", "00:06:00", "00:09:59", "00:10:00"})
    net.checkIns.push_back({t, "", std::string("2026-12-06T") + t + "Z", false, false, {}});
  const auto all = netEvents(net, clock);
  const Period whole = periodOf(all);
  EXPECT_EQ(formTime(whole.from) + " " + formTime(whole.to), "19:05 19:10");
  EXPECT_FALSE(periodOf({}).known);
  struct Case {
    int from, to;
    std::string kept;
  } cases[] = {{6, 9, "none 00:06:00 00:09:59 "}, {5, 5, "none 00:05:59 "}, {11, 12, "none "}};
  for (const Case& c : cases) {
    std::string kept;
    for (const NetEvent& e :
         cutToPeriod(all, {{2026, 12, 5}, 19, c.from, 0}, {{2026, 12, 5}, 19, c.to, 0}))
      kept += net.checkIns[e.checkIn].callSign + " ";
    EXPECT_EQ(kept, c.kept) << c.from << " to " << c.to;
  }
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
  // Texts that fill their cells to within half a character: set bold, the first label and head
  // no longer fit.
  FormLayout form{
      "TITLE", "Form", {{{0.5, "1. A bcde:", "one more"}, {0.5, "2. B:", "two words"}}}, {}, {}};
  form.tables.push_back({"3. T",
                         {{0.5, "", "When it is"}, {0.25, "G", "x"}, {0.25, "G", "y"}},
                         {{"a", "b", "c"}, {"dd eeeee", "", ""}, {"f", "", ""}}});
  form.tables.push_back({"4. U", {{1, "", "Only"}}, {}});
  form.bottom = {{{0.6, "5. P:", "me"}, {0.4, "6.", "", true}}};
  expectGolden(sheetText(layoutForm(form, 156, 250, fixedWidth)), "small_sheet.txt");
}

// ---- the commands -------------------------------------------------------------------------

struct FakeFormPrinter : FormPrinter {
  std::string printError;
  int printed = 0;
  void paper(double& w, double& h) override { w = 595, h = 842; }
  double textWidth(const std::string& t, double size, bool bold) override {
    return fixedWidth(t, size, bold);
  }
  bool savePdf(const Sheet& sheet, const std::string& path, std::string* error) override {
    if (sheet.width != 595) return *error = "wrong paper", false;
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
  const std::string pdf = pathText(rig.folder / "120526F ICS-214.pdf");
  EXPECT_EQ(saveFormPdf(rig.session, printer, job), pdf);
  EXPECT_EQ(rig.read("120526F ICS-214.pdf"), "ICS 214 Activity Log");
  EXPECT_EQ(rig.launcher.opened, std::vector<std::string>{pdf});
  rig.writeBytes("120526F ICS-214.pdf", "old");
  rig.dialogs.messageAnswers = {Answer::No};
  EXPECT_EQ(saveFormPdf(rig.session, printer, job), "");
  EXPECT_EQ(rig.dialogs.boxes(),
            " ICS 214 Activity Log / " + pdf + " already exists.\r\n\r\nReplace it?\n");
  EXPECT_EQ(rig.read("120526F ICS-214.pdf"), "old");
  rig.launcher.openSucceeds = false;
  rig.dialogs.messageAnswers = {Answer::Yes};
  EXPECT_EQ(saveFormPdf(rig.session, printer, job), pdf);
  EXPECT_EQ(rig.dialogs.messages().back().text,
            "The form is saved as " + pdf + ", but no program to show it was found.");
  EXPECT_TRUE(printForm(rig.session, printer, job));
  printer.printError = "No printer is set up.";
  EXPECT_FALSE(printForm(rig.session, printer, job));
  EXPECT_EQ(rig.dialogs.messages().back().text, "No printer is set up.");
  EXPECT_EQ(printer.printed, 2);
}

// The period's rows; a check-in with no time before it is in every period; fields a spreadsheet
// would misread are quoted and guarded, the accented ones turned to UTF-8.
TEST(FormCommands, CsvBesideTheLogOfThePeriodsRows) {
  Rig rig;
  FormJob job{IcsForm::Log309, sampleNet(), sampleHeader(14, 15)};
  const CheckInFacts odd{1, 'W', "A, \"B\"\r\nC", "", "@x", "", "", "", "", "", "", ""};
  job.net.checkIns.insert(job.net.checkIns.begin(), {"=W1\xC9", "", "", false, false, odd});
  const std::string csv = pathText(rig.folder / "120526F ICS-309.csv");
  EXPECT_EQ(saveFormCsv(rig.session, job), csv);
  expectGolden(rig.read("120526F ICS-309.csv"), "period_rows.csv");
  EXPECT_EQ(rig.dialogs.messages().back().text, "5 rows saved as " + csv + ".");
}

// A net's name and its check-ins a line each: callsign, name, time in, in and out, first time,
// and the remark of the side file.
std::string netText(const FormNet& net) {
  std::string t = net.logName + (net.today ? " today" : "");
  for (const NetCheckIn& c : net.checkIns)
    t += "\n" + c.callSign + " " + c.name + " " + c.timeIn + (c.inOut ? " in&out" : "") +
         (c.firstTime ? " first" : "") + (c.facts.empty() ? "" : " " + c.facts.remark);
  return t;
}

TEST(FormCommands, APastLogWithItsTimesAndFirstTimersOrTodaysList) {
  Rig rig;
  rig.session.roster.rows = {{},
                             {"W1AAA", "Ann", "Here", dateText({2026, 12, 5}), "", ""},
                             {"K2BBB", "Bob", "There", dateText({2020, 1, 2}), "", ""}};
  rig.write("120526F.ILE", {"W1AAA", "Ann", "Here", "K2BBB", "Bob", "There"});
  FormNet net;
  ASSERT_TRUE(readPastNet(rig.session, rig.folder / "120526F.ILE", net));
  EXPECT_EQ(netText(net), "120526F.ILE\nW1AAA Ann  first\nK2BBB Bob ");
  EXPECT_EQ(netNote(net),
            "This log has no check-in times: the rows' times are left blank, and every check-in "
            "is on the form whatever the period.");
  EXPECT_EQ(netNote(FormNet{}), "This net has no check-ins yet.");
  rig.write("120526F.TIM", {"W1AAA\t2026-12-06T00:05:00Z", "K2BBB\t\tin&out"});
  CheckInFacts qrp;
  qrp.remark = "QRP";
  rig.write("120526F.TRF", factsLines({{"K2BBB", qrp}}));
  ASSERT_TRUE(readPastNet(rig.session, rig.folder / "120526F.ILE", net));
  EXPECT_EQ(netText(net),
            "120526F.ILE\nW1AAA Ann 2026-12-06T00:05:00Z first\nK2BBB Bob  in&out QRP");
  EXPECT_EQ(netNote(net), "");
  EXPECT_FALSE(readPastNet(rig.session, rig.folder / "MISSING.ILE", net));
  // Chosen through the log chooser; today's log is today's list, its first-timers marked there.
  rig.dialogs.chooserAnswers = {pathText(rig.folder / "120526f.ile"), "x/120726F.ILE", ""};
  ASSERT_TRUE(choosePastNet(rig.session, net));
  EXPECT_EQ(net.logName, "120526F.ILE");
  rig.session.todayLogName = "120726F.ILE";
  rig.session.checkIns.row(1).f = {"", "W9ZZZ", "Zed", "", "  First time check-in"};
  rig.session.checkIns.row(2).f = {"", ""};  // deleted from the list
  rig.session.checkIns.row(3).f = {"", "K9YYY", "Yan", "", "12/1/2025"};
  rig.session.checkIns.row(3).facts = qrp;
  rig.session.checkIns.row(4).f = {"", "K0OLD", "Old"};  // past the list's end: no check-in
  rig.session.checkIns.count = 3;
  ASSERT_TRUE(choosePastNet(rig.session, net));
  EXPECT_EQ(netText(net), "120726F.ILE today\nW9ZZZ Zed  first\nK9YYY Yan  QRP");
  EXPECT_FALSE(choosePastNet(rig.session, net));  // cancelled
  EXPECT_TRUE(net.today);
  EXPECT_EQ(formFileName("120526f.ile", IcsForm::Log309, "pdf"), "120526f ICS-309.pdf");
}

}  // namespace
}  // namespace kelpie
