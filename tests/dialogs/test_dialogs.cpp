// Kelpie's own windows and Qt seams driven offscreen: the About box, the help window, the
// browser path picker, the log chooser, and printouts that become a PDF without a printer.
#include <QFileDialog>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>

#include "app/gui_rig.h"
#include "data/settings.h"
#include "dialogs/frm_about.h"
#include "dialogs/frm_web_path.h"
#include "platform/qt/qt_help_viewer.h"
#include "platform/qt/qt_log_chooser.h"
#include "platform/qt/qt_printer.h"
#include "reports/reports.h"

namespace kelpie::test {
namespace {

TEST(AboutBox, ShowsItsTextsAndClosesOnAClickOnTheIcon) {
  QWidget main;
  whenModal([&](QWidget* box) {
    EXPECT_EQ(box->windowTitle(), " Kelpie   v2.1 for Linux (Qt 6)");
    EXPECT_EQ(box->findChild<QLabel*>("lblAbout")->text(),
              "\n" + QString(19, u' ') + "Kelpie net control log, 2026\n" + QString(20, u' ') +
                  "written by the Kelpie developers for net control operators");
    QTest::mouseClick(box->findChild<QWidget*>("Image1"), Qt::LeftButton);
  });
  showAboutBox(&main, "v2.1");
}

TEST(HelpWindow, Context10AtTheTopThenTheContentsInTheSameWindowAfterAClose) {
  QtHelpViewer help;
  help.showHelp(10);
  QWidget* first = help.window();
  ASSERT_TRUE(first && first->isVisible());
  EXPECT_EQ(help.browser()->cursorForPosition({0, 0}).block().text(),
            "Keyboard commands of the entry line");
  first->close();
  help.showHelp(0);
  EXPECT_EQ(help.window(), first);
  EXPECT_EQ(help.scrollPosition(), 0);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(WebPathPicker, ListsProgramsThenClickAndDoneStoresTheFileOnceAsWindows1252) {
  QTemporaryDir tmp;
  const QString root = QDir(tmp.path()).canonicalPath(), app = root + "/app";
  const QString cafe = root + QString::fromUtf8("/caf\u00e9");
  for (const QString& dir : {app, cafe}) QDir().mkpath(dir);
  for (const char* name : {"navigateur\u20ac", "zeta", "notes.txt"}) {
    QFile file(cafe + "/" + QString::fromUtf8(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("x") == 1);
    const auto run = std::string(name) == "notes.txt" ? QFile::Permissions() : QFile::ExeOwner;
    ASSERT_TRUE(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | run));
  }
  NetSettings settings;
  int writes = 0;
  auto main = std::make_unique<QWidget>();
  FrmWebPath* picker = showWebPathPicker(main.get(), settings.browserPath, app, [&] {
    ++writes;
    EXPECT_TRUE(writeSettingsFile(app.toStdString(), settings, nullptr));
  });
  QListWidget* dirs = picker->findChild<QListWidget*>("Dir2");
  ASSERT_EQ(picker->currentFolder(), app);  // first run: the app folder
  clickItem(dirs, "..");                    // a single click opens no folder
  EXPECT_EQ(picker->currentFolder(), app);
  clickItem(dirs, "..", true);
  clickItem(dirs, QString::fromUtf8("caf\u00e9"), true);
  QListWidget* files = picker->findChild<QListWidget*>("File2");
  EXPECT_EQ(files->count(), 2);  // programs only
  clickItem(files, QString::fromUtf8("navigateur\u20ac"));
  EXPECT_EQ(writes, 0);
  QTest::mouseClick(picker->findChild<QPushButton*>("cmdDone"), Qt::LeftButton);
  EXPECT_EQ(writes, 1);
  std::string file;
  ASSERT_TRUE(readBytes(fs::path(app.toStdString()) / kSettingsFileName, file));
  EXPECT_NE(
      file.find("[Path to web browser]\r\n" + root.toStdString() + "/caf\xE9/navigateur\x80\r\n"),
      std::string::npos);
  main.reset();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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

TEST(PrintPdf, ShortcutsWithoutAPrinterBecomeAPdfInTheLogFolder) {
  Rig rig;
  QtPrinter printer{[&] { return rig.folder.path().string(); }, [&] { return rig.clock.today(); }};
  Platform platform{rig.dialogs, rig.clock, rig.events, rig.launcher, printer, rig.help};
  Session session{platform, rig.folder.path()};
  printer.setPdfOnly(true);  // never a real printer of this machine
  mPShortcuts_Click(session);
  const fs::path pdf = rig.folder / "Print Shortcuts 2026-12-05.pdf";
  EXPECT_EQ(
      rig.dialogs.messages()[0].text,
      "No printer is set up, so Kelpie saved the pages as a PDF file:\r\n\r\n" + pdf.string());
  std::string pdfBytes;
  ASSERT_TRUE(readBytes(pdf, pdfBytes));
  EXPECT_EQ(pdfBytes.substr(0, 5), "%PDF-");
}

}  // namespace
}  // namespace kelpie::test
