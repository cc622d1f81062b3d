// The Qt printer seam without a printer: the printout becomes a PDF in the log folder, whose
// text, read back with pdftotext, keeps the character columns. And the log chooser dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QListView>
#include <QPrinterInfo>
#include <QTimer>
#include <QtTest/QTest>
#include <cstdio>
#include <functional>
#include <memory>

#include "platform/qt/qt_log_chooser.h"
#include "platform/qt/qt_printer.h"
#include "reports/printouts.h"
#include "reports/reports.h"
#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

// Standard output of a command; empty when it could not run.
std::string run(const std::string& command) {
  std::string out;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return out;
  char buf[4096];
  for (size_t n; (n = fread(buf, 1, sizeof buf, pipe.get())) > 0;) out.append(buf, n);
  return out;
}

std::string shellQuoted(const fs::path& p) { return "'" + p.string() + "'"; }

// The PDF's text with the columns of a 12-point fixed-pitch font (7.2 points a character).
Lines pdfText(const fs::path& pdf) {
  return splitLines(run("pdftotext -layout -fixed 7.2 " + shellQuoted(pdf) + " - 2>/dev/null"));
}

// The column (0-based) of the text within the PDF's lines, and the line it is on; -1 if absent.
std::pair<int, long> find(const Lines& lines, const std::string& text) {
  for (size_t i = 0; i < lines.size(); ++i) {
    const size_t at = lines[i].find(text);
    if (at != std::string::npos) return {static_cast<int>(i), static_cast<long>(at)};
  }
  return {-1, -1};
}

// A session whose printer is the real Qt one, writing into the test's folder.
struct PdfRig {
  TempFolder folder;
  FakeDialogs dialogs;
  FakeClock clock;
  FakeEvents events;
  FakeLauncher launcher;
  QtPrinter printer{[this] { return folder.path().string(); }, [this] { return clock.today(); }};
  FakeHelp help;
  Platform platform{dialogs, clock, events, launcher, printer, help};
  Session session{platform, folder.path()};
  PdfRig() {
    // Where this machine has a printer the test must not use it.
    if (!QPrinterInfo::defaultPrinter().isNull()) printer.setPdfOnly(true);
  }
};

TEST(PrintPdf, ShortcutsWithoutAPrinterBecomeAPdfInTheLogFolder) {
  PdfRig rig;
  rig.printer.setJobName("Print Shortcuts");
  mPShortcuts_Click(rig.session);

  const fs::path pdf = rig.folder / "Print Shortcuts 2026-12-05.pdf";
  ASSERT_TRUE(fs::exists(pdf));
  EXPECT_EQ(rig.printer.lastPdfPath(), pdf.string());
  EXPECT_FALSE(fs::exists(rig.folder / "Print Shortcuts 2026-12-05.pdf.part"));
  ASSERT_EQ(rig.dialogs.messages().size(), 1u);
  EXPECT_EQ(
      rig.dialogs.messages()[0].text,
      "No printer is set up, so Kelpie saved the pages as a PDF file:\r\n\r\n" + pdf.string());
  EXPECT_EQ(rig.dialogs.messages()[0].title, "");

  const Lines text = pdfText(pdf);
  ASSERT_FALSE(text.empty()) << "pdftotext gave nothing";
  // Every printed line is there, each at its own column relative to the first shortcut's.
  const auto [escLine, escColumn] = find(text, "<Esc> re-sets, cursor goes to the callsign input");
  ASSERT_GE(escLine, 0);
  const long margin = escColumn - 2;  // the page's left margin, in characters
  const Lines printed = shortcutPrintLines();
  int previous = -1;
  for (const std::string& line : printed) {
    const size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos) continue;
    const auto [at, column] = find(text, line.substr(first));
    ASSERT_GE(at, 0) << line;
    EXPECT_GT(at, previous) << line;  // in order
    EXPECT_EQ(column - margin, static_cast<long>(first)) << line;
    previous = at;
  }
  // The heading stands two lines below the top, one empty line above the first shortcut.
  EXPECT_EQ(find(text, "Keyboard shortcuts").first + 2, escLine);
}

TEST(PrintPdf, FixedPitchFontIsEmbedded) {
  PdfRig rig;
  mPShortcuts_Click(rig.session);
  const std::string fonts =
      run("pdffonts " + shellQuoted(rig.printer.lastPdfPath()) + " 2>/dev/null");
  const std::string family = QtPrinter::familyFor("Courier New");
  std::string compact;  // pdffonts shows the family without its spaces
  for (char c : family)
    if (c != ' ') compact += c;
  EXPECT_NE(fonts.find(compact), std::string::npos) << fonts;
}

TEST(PrintPdf, LongDocumentsRunOverPagesAndLongLinesWrap) {
  PdfRig rig;
  rig.printer.setJobName("Print log with most check-ins");
  rig.printer.setFont("Courier New", 12, false, false, false);
  for (int i = 1; i <= 150; ++i) rig.printer.printLine("line " + std::to_string(i) + " end");
  const std::string longLine = "W" + std::string(150, 'x') + "Z";
  rig.printer.printLine(longLine);
  bool ok = false;
  rig.printer.endDoc(ok);
  ASSERT_TRUE(ok);
  const fs::path pdf = rig.folder / "Print log with most check-ins 2026-12-05.pdf";
  ASSERT_TRUE(fs::exists(pdf));

  const std::string info = run("pdfinfo " + shellQuoted(pdf) + " 2>/dev/null");
  const size_t pages = info.find("Pages:");
  ASSERT_NE(pages, std::string::npos);
  EXPECT_GE(std::stoi(info.substr(pages + 6)), 3);

  const Lines text = pdfText(pdf);
  int previous = -1;
  for (int i = 1; i <= 150; ++i) {
    const auto at = find(text, "line " + std::to_string(i) + " end").first;
    ASSERT_GT(at, previous) << i;
    previous = at;
  }
  // Nothing of the long line is lost: its two ends are both printed.
  std::string all;
  for (const auto& l : text) all += l;
  EXPECT_NE(all.find("Wxxxxxxxx"), std::string::npos);
  EXPECT_NE(all.find("xxxxZ"), std::string::npos);
}

TEST(PrintPdf, SecondPrintoutOfTheDayKeepsTheFirst) {
  PdfRig rig;
  rig.printer.setJobName("Print Shortcuts");
  mPShortcuts_Click(rig.session);
  mPShortcuts_Click(rig.session);
  EXPECT_TRUE(fs::exists(rig.folder / "Print Shortcuts 2026-12-05.pdf"));
  EXPECT_TRUE(fs::exists(rig.folder / "Print Shortcuts 2026-12-05 (2).pdf"));
  EXPECT_EQ(rig.printer.lastPdfPath(),
            (rig.folder / "Print Shortcuts 2026-12-05 (2).pdf").string());
}

TEST(PrintPdf, UnwritableFolderIsSaid) {
  PdfRig rig;
  const fs::path missing = rig.folder / "gone";
  QtPrinter printer([&] { return missing.string(); }, [] { return Date{2026, 12, 5}; });
  printer.setPdfOnly(true);
  printer.setJobName("Print Shortcuts");
  printer.printLine("x");
  bool ok = true;
  const std::string note = printer.endDoc(ok);
  EXPECT_FALSE(ok);
  EXPECT_EQ(note, "No printer is set up, and Kelpie could not save the pages as " +
                      (missing / "Print Shortcuts 2026-12-05.pdf").string() + ".");
  EXPECT_TRUE(printer.lastPdfPath().empty());
}

// Runs f on the file dialog once it is the modal window; closes any modal window that is still
// open after ten seconds, so that a fault cannot hang the test program.
void whenDialogShows(std::function<void(QFileDialog*)> f) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, f] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    timer->stop();
    timer->deleteLater();
    f(dialog);
  });
  timer->start();
  QTimer::singleShot(10000, [] {
    if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->reject();
  });
}

TEST(LogChooser, StartsInTheFolderAndListsLogsInAnyLetterCase) {
  TempFolder folder;
  for (const char* name : {"010126F.ILE", "020126f.ile", "030126F.Ile", "notes.txt"})
    ASSERT_TRUE(writeBytesAtomic(folder / name, "x\r\n"));

  QString title, directory;
  QStringList filters, shown;
  whenDialogShows([&](QFileDialog* dialog) {
    title = dialog->windowTitle();
    directory = dialog->directory().absolutePath();
    filters = dialog->nameFilters();
    auto* view = dialog->findChild<QListView*>("listView");
    ASSERT_TRUE(view && view->model());
    // The folder is read in the background: wait until the logs are listed.
    (void)QTest::qWaitFor([&] { return view->model()->rowCount(view->rootIndex()) >= 3; }, 5000);
    for (int r = 0; r < view->model()->rowCount(view->rootIndex()); ++r)
      shown << view->model()->index(r, 0, view->rootIndex()).data().toString();
    dialog->selectFile(QStringLiteral("020126f.ile"));
    static_cast<QDialog*>(dialog)->accept();
  });
  const std::string chosen =
      chooseLogFileQt(nullptr, " Select Check-in log file to load...", folder.path().string());

  EXPECT_EQ(title, " Select Check-in log file to load...");
  EXPECT_EQ(directory.toStdString(), folder.path().string());
  EXPECT_EQ(filters.join('|').toStdString(), "Check-in file (*.ile)");
  shown.sort();
  EXPECT_EQ(shown.join(',').toStdString(), "010126F.ILE,020126f.ile,030126F.Ile");
  EXPECT_EQ(chosen, (folder / "020126f.ile").string());
}

TEST(LogChooser, CancelGivesNothing) {
  TempFolder folder;
  whenDialogShows([](QFileDialog* dialog) { dialog->reject(); });
  EXPECT_EQ(chooseLogFileQt(nullptr, " T", folder.path().string()), "");
}

}  // namespace
}  // namespace kelpie::test
