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

TEST(HelpDocument, EveryLinkHasItsAnchor) {
  QFile file(QStringLiteral(KELPIE_SOURCE_DIR "/help/kelpie-help.html"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString html = QString::fromUtf8(file.readAll());
  for (auto m = QRegularExpression("href=\"#([^\"]+)\"").globalMatch(html); m.hasNext();) {
    const QString target = m.next().captured(1);
    EXPECT_TRUE(html.contains("name=\"" + target + "\"")) << target.toStdString();
  }
}

TEST(HelpWindow, Context10AtTheTopThenTheContentsInTheSameWindowAfterAClose) {
  QtHelpViewer help;
  help.showHelp(10);
  QWidget* first = help.window();
  ASSERT_TRUE(first && first->isVisible());
  EXPECT_EQ(first->windowTitle(), "Kelpie Help");
  EXPECT_EQ(help.browser()->cursorForPosition({0, 0}).block().text(),
            "Keyboard commands of the entry line");
  first->close();
  help.showHelp(0);
  EXPECT_EQ(help.window(), first);
  EXPECT_TRUE(first->isVisible());
  EXPECT_EQ(help.scrollPosition(), 0);
  EXPECT_TRUE(help.browser()->toPlainText().startsWith("Kelpie Help"));
  QTemporaryDir tmp;
  QtHelpViewer missing(tmp.path() + "/kelpie-help.html");
  missing.showHelp(10);
  EXPECT_EQ(missing.browser()->toPlainText(),
            "The help file is missing: " + tmp.path() + "/kelpie-help.html");
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace
}  // namespace kelpie
