// Kelpie's own dialogs, its help window, and printouts that become a PDF without a printer.
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>

#include "app/gui_rig.h"
#include "dialogs/frm_about.h"
#include "dialogs/frm_web_path.h"
#include "platform/qt/qt_help_viewer.h"
#include "platform/qt/qt_printer.h"
#include "reports/reports.h"

namespace kelpie::test {

TEST(AboutBox, ShowsItsTextsAndClosesOnAClickOnTheIcon) {
  whenModal([&](QWidget* box) {
    EXPECT_EQ(box->windowTitle(), " Kelpie   v2.1 for Linux (Qt 6)");
    EXPECT_EQ(box->findChild<QLabel*>("lblAbout")->text(),
              "\n" + QString(19, u' ') + "Kelpie net control log, 2026\n" + QString(20, u' ') +
                  "written by the Kelpie developers for net control operators");
    QTest::mouseClick(box->findChild<QWidget*>("Image1"), Qt::LeftButton);
  });
  showAboutBox(nullptr, "v2.1");
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
  std::string browserPath;
  int writes = 0;
  QWidget main;
  FrmWebPath* picker = showWebPathPicker(&main, browserPath, app, [&] { ++writes; });
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
  EXPECT_EQ(browserPath, root.toStdString() + "/caf\xE9/navigateur\x80");
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

}  // namespace kelpie::test
