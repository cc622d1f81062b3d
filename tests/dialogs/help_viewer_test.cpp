// Kelpie's help window and the help document it shows.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>

#include "dialog_test_util.h"
#include "platform/qt/qt_help_viewer.h"

namespace kelpie {
namespace {

QString sourceDocument() {
  QFile file(QStringLiteral(KELPIE_SOURCE_DIR "/help/kelpie-help.html"));
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(HelpDocument, LinksHaveTheirAnchorsAndKeyTopicsAreThere) {
  const QString html = sourceDocument();
  ASSERT_FALSE(html.isEmpty());
  const QRegularExpression link(QStringLiteral("href=\"#([^\"]+)\""));
  for (auto m = link.globalMatch(html); m.hasNext();) {
    const QString target = m.next().captured(1);
    EXPECT_TRUE(html.contains("name=\"" + target + "\"")) << target.toStdString();
  }
  EXPECT_TRUE(html.contains("<a name=\"context-10\"></a>Keyboard commands"));
  for (const char* topic : {"Print Shortcuts", "Write text file in kM", "Path to web browser",
                            "Update to the new callsign", "vhf4k.adi", "Kelpie_Control.ini"})
    EXPECT_TRUE(html.contains(QString::fromUtf8(topic))) << topic;
}

class HelpWindow : public ::testing::Test {
 protected:
  void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

TEST_F(HelpWindow, OpensWithTheKeyboardCommandsAtTheTopForContext10) {
  QtHelpViewer help;
  help.showHelp(10);
  ASSERT_NE(help.window(), nullptr);
  EXPECT_TRUE(help.window()->isVisible());
  EXPECT_EQ(help.window()->windowTitle(), "Kelpie Help");
  EXPECT_EQ(help.currentAnchor(), "context-10");
  // The topic's heading is the first line of the visible page.
  EXPECT_GT(help.scrollPosition(), 0);
  EXPECT_EQ(help.browser()->cursorForPosition({0, 0}).block().text(),
            "Keyboard commands of the entry line");
}

TEST_F(HelpWindow, ContentsOpenAtTheTopInTheSameWindowEvenAfterAClose) {
  QtHelpViewer help;
  help.showHelp(10);
  QWidget* first = help.window();
  first->close();
  help.showHelp(0);
  EXPECT_EQ(help.window(), first);
  EXPECT_TRUE(first->isVisible());
  EXPECT_EQ(help.currentAnchor(), "");
  EXPECT_EQ(help.scrollPosition(), 0);
  EXPECT_TRUE(help.browser()->toPlainText().startsWith("Kelpie Help"));
}

TEST_F(HelpWindow, AMissingDocumentIsNamedInTheWindow) {
  QTemporaryDir tmp;
  const QString path = tmp.path() + "/share/kelpie/kelpie-help.html";
  QtHelpViewer help(path);
  help.showHelp(10);
  ASSERT_NE(help.window(), nullptr);
  EXPECT_TRUE(help.window()->isVisible());
  EXPECT_EQ(help.browser()->toPlainText(), "The help file is missing: " + path);
}

}  // namespace
}  // namespace kelpie
