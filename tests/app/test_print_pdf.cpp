// The Qt printer seam without a printer: the printout becomes a PDF in the log folder. And the
// log chooser dialog.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QLineEdit>
#include <QListView>

#include "dialogs/dialog_test_util.h"
#include "platform/qt/qt_log_chooser.h"
#include "platform/qt/qt_printer.h"
#include "reports/reports.h"
#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

TEST(PrintPdf, ShortcutsWithoutAPrinterBecomeAPdfInTheLogFolder) {
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
  EXPECT_EQ(
      dialogs.messages()[0].text,
      "No printer is set up, so Kelpie saved the pages as a PDF file:\r\n\r\n" + pdf.string());
  std::string pdfBytes;
  ASSERT_TRUE(readBytes(pdf, pdfBytes));
  EXPECT_EQ(pdfBytes.substr(0, 5), "%PDF-");
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
    // Typed: selectFile() ignores a name line that has the focus, which depends on timing.
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
