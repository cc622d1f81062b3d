// The Qt printer seam without a printer: the printout becomes a PDF in the log folder, whose
// text, read back with pdftotext, keeps the character columns. And the log chooser dialog.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <cstdio>
#include <memory>

#include "dialogs/dialog_test_util.h"
#include "platform/qt/qt_log_chooser.h"
#include "platform/qt/qt_printer.h"
#include "reports/printouts.h"
#include "reports/reports.h"
#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

// The PDF's text with the columns of a 12-point fixed-pitch font (7.2 points a character).
Lines pdfText(const fs::path& pdf) {
  std::string out;
  const std::string command = "pdftotext -layout -fixed 7.2 '" + pdf.string() + "' - 2>/dev/null";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  char buf[4096];
  for (size_t n; pipe && (n = fread(buf, 1, sizeof buf, pipe.get())) > 0;) out.append(buf, n);
  return splitLines(out);
}

TEST(PrintPdf, ShortcutsWithoutAPrinterBecomeAPdfWithTheirColumns) {
  TempFolder folder;
  FakeDialogs dialogs;
  FakeClock clock;
  FakeEvents events;
  FakeLauncher launcher;
  FakeHelp help;
  QtPrinter printer{[&] { return folder.path().string(); }, [&] { return clock.today(); }};
  Platform platform{dialogs, clock, events, launcher, printer, help};
  Session session{platform, folder.path()};
  printer.setPdfOnly(true);  // never a real printer of this machine
  mPShortcuts_Click(session);
  const fs::path pdf = folder / "Print Shortcuts 2026-12-05.pdf";
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(
      dialogs.messages()[0].text,
      "No printer is set up, so Kelpie saved the pages as a PDF file:\r\n\r\n" + pdf.string());
  // Every printed line is there, in order, each at its own column relative to the margin.
  const Lines text = pdfText(pdf);
  size_t at = 0;
  long margin = -1;
  for (const std::string& line : shortcutPrintLines()) {
    const size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos) continue;
    while (at < text.size() && text[at].find(line.substr(first)) == std::string::npos) ++at;
    ASSERT_LT(at, text.size()) << "not found in order: " << line;
    const long column = static_cast<long>(text[at].find(line.substr(first)) - first);
    EXPECT_EQ(column, margin < 0 ? (margin = column) : margin) << line;
  }
}

TEST(LogChooser, StartsInTheFolderAndListsLogsInAnyLetterCase) {
  TempFolder folder;
  for (const char* name : {"010126F.ILE", "020126f.ile", "030126F.Ile", "notes.txt"})
    ASSERT_TRUE(writeBytesAtomic(folder / name, "x\r\n"));
  QStringList shown;
  whenModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    EXPECT_EQ(dialog->directory().absolutePath().toStdString(), folder.path().string());
    auto* view = dialog->findChild<QListView*>("listView");
    // The folder is read in the background: wait until the logs are listed.
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->model()->rowCount(view->rootIndex()) >= 3; }));
    for (int r = 0; r < view->model()->rowCount(view->rootIndex()); ++r)
      shown << view->model()->index(r, 0, view->rootIndex()).data().toString();
    // Typed as the operator types it: selectFile() leaves the name line alone while it has the
    // focus, so whether it took the name would depend on when the dialog became active.
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText("020126f.ile");
    static_cast<QDialog*>(dialog)->accept();
  });
  EXPECT_EQ(
      chooseLogFileQt(nullptr, " Select Check-in log file to load...", folder.path().string()),
      (folder / "020126f.ile").string());
  shown.sort();
  EXPECT_EQ(shown, QStringList({"010126F.ILE", "020126f.ile", "030126F.Ile"}));
  whenModal([](QWidget* dialog) { dialog->close(); });
  EXPECT_EQ(chooseLogFileQt(nullptr, " T", folder.path().string()), "");  // Cancel: nothing
}

}  // namespace
}  // namespace kelpie::test
