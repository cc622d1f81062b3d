// Kelpie's help window and the help document it shows.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

#include "platform/qt/qt_help_viewer.h"

namespace kelpie {
namespace {

QString readAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QString();
  return QString::fromUtf8(file.readAll());
}

QString sourceDocument() { return QStringLiteral(KELPIE_SOURCE_DIR "/help/kelpie-help.html"); }

// Where the anchor's text stands in the browser's viewport.
QRect anchorRect(QTextBrowser* browser, const QString& anchor) {
  for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      if (!it.fragment().charFormat().anchorNames().contains(anchor)) continue;
      QTextCursor cursor(browser->document());
      cursor.setPosition(it.fragment().position());
      return browser->cursorRect(cursor);
    }
  }
  return QRect();
}

TEST(HelpDocument, IsFoundBesideTheProgramAndMatchesTheSource) {
  const QString found = findHelpDocument();
  EXPECT_EQ(found, QCoreApplication::applicationDirPath() + "/kelpie-help.html");
  ASSERT_TRUE(QFile::exists(found));
  EXPECT_EQ(readAll(found), readAll(sourceDocument()));
}

TEST(HelpDocument, LooksBesideTheProgramThenInTheShareFolder) {
  const QString bin = QCoreApplication::applicationDirPath();
  EXPECT_EQ(helpDocumentCandidates(),
            QStringList({bin + "/kelpie-help.html",
                         QDir::cleanPath(bin + "/../share/kelpie/kelpie-help.html")}));
}

TEST(HelpDocument, EveryLinkOfTheDocumentHasItsAnchor) {
  const QString html = readAll(sourceDocument());
  ASSERT_FALSE(html.isEmpty());
  QStringList missing;
  const QRegularExpression link(QStringLiteral("href=\"#([^\"]+)\""));
  for (auto m = link.globalMatch(html); m.hasNext();) {
    const QString target = m.next().captured(1);
    if (!html.contains("name=\"" + target + "\"")) missing << target;
  }
  EXPECT_TRUE(missing.isEmpty()) << missing.join(", ").toStdString();
  EXPECT_TRUE(html.contains("<a name=\"context-10\"></a>Keyboard commands"));
}

// The help must describe every command the operator can reach, by its caption.
class HelpCovers : public ::testing::TestWithParam<const char*> {};

TEST_P(HelpCovers, TheDocumentNamesIt) {
  QTextDocument doc;
  doc.setHtml(readAll(sourceDocument()));
  EXPECT_TRUE(doc.toPlainText().contains(QString::fromUtf8(GetParam()))) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(
    MenusKeysAndFiles, HelpCovers,
    ::testing::Values(
        "Print a past check-in log", "Print log with most check-ins", "Print Shortcuts",
        "Save NETCONT.ROL back-up file", "Exit", "Net Control file", "Update to the new callsign",
        "Past check-in Log", "4-6 Digit ADIF file", "Station with most check-ins this year",
        "Station with most check-ins", "About", "Help file", "Default - WinHelp32", "HTML Help",
        "Use A and C shortcuts to change modes", "Use <Enter> as shortcut to change modes",
        "Use # entry to mark <Ack> and <Com>", "Use <Space> or # entry to mark <Ack> and <Com>",
        "Write text file in Miles", "Write text file in kM", "Path to web browser",
        "Write text file", "Connect to QRZ.com", "Do multiple edits", "Edit callsign", "Edit name",
        "Edit QTH grid etc.", "Insert grid and heading", "Update to the new call", "W1ABC-", "C#",
        "D#", "DL", "Esc", "Space", "Enter", "Kelpie_Control.ini", "NETCONT.ROL", "NETCONT.BU1",
        "120526F.ILE", "BURROW.DAT", "ck2list.dat", "vhf4k.adi", "Check-in summary.txt",
        "~/.local/share/Kelpie", "[Path to check-in log files]"));

class HelpWindow : public ::testing::Test {
 protected:
  void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

TEST_F(HelpWindow, OpensAtTheKeyboardCommandsForContext10) {
  QtHelpViewer help;
  help.showHelp(10);
  ASSERT_NE(help.window(), nullptr);
  EXPECT_TRUE(help.window()->isVisible());
  EXPECT_EQ(help.window()->windowTitle(), "Kelpie Help");
  EXPECT_EQ(help.currentAnchor(), "context-10");
  EXPECT_EQ(help.browser()->source(), QUrl::fromLocalFile(findHelpDocument()));
  EXPECT_GT(help.scrollPosition(), 0);
  // The topic's heading stands at the top of the visible page.
  const QRect heading = anchorRect(help.browser(), "context-10");
  ASSERT_TRUE(heading.isValid());
  EXPECT_GE(heading.top(), 0);
  EXPECT_LT(heading.top(), heading.height());
}

TEST_F(HelpWindow, ContentsOpenAtTheTopInTheSameWindow) {
  QtHelpViewer help;
  help.showHelp(10);
  QWidget* first = help.window();
  help.showHelp(0);
  EXPECT_EQ(help.window(), first);
  EXPECT_EQ(help.currentAnchor(), "");
  EXPECT_EQ(help.scrollPosition(), 0);
  EXPECT_TRUE(help.browser()->toPlainText().startsWith("Kelpie Help"));
}

TEST_F(HelpWindow, AClosedWindowComesBackOnTheNextRequest) {
  QtHelpViewer help;
  help.showHelp(0);
  QWidget* first = help.window();
  first->close();
  help.showHelp(10);
  EXPECT_EQ(help.window(), first);
  EXPECT_TRUE(first->isVisible());
  EXPECT_GT(help.scrollPosition(), 0);
}

TEST_F(HelpWindow, AMissingDocumentIsNamedInTheWindow) {
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  const QString path = tmp.path() + "/share/kelpie/kelpie-help.html";
  QtHelpViewer help(path);
  for (int context : {0, 10}) {
    help.showHelp(context);
    ASSERT_NE(help.window(), nullptr);
    EXPECT_TRUE(help.window()->isVisible());
    EXPECT_EQ(help.browser()->toPlainText(), "The help file is missing: " + path) << context;
  }
}

}  // namespace
}  // namespace kelpie
