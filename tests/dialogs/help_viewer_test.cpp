// Kelpie's help window: a topic at the top, then the contents in the same window.
#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextBrowser>

#include "dialog_test_util.h"
#include "platform/qt/qt_help_viewer.h"

namespace kelpie {
namespace {

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

}  // namespace
}  // namespace kelpie
