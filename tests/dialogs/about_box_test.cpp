// The About box: its texts and the two ways to close it.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "dialog_test_util.h"
#include "dialogs/frm_about.h"

namespace kelpie {
namespace {

// OK closes the box, and so does a click on its icon.
class AboutBox : public ::testing::TestWithParam<const char*> {};

TEST_P(AboutBox, ShowsItsTextsAndClosesOnAClick) {
  QWidget main;
  bool seen = false;
  test::whenModal([&](QWidget* box) {
    seen = true;
    EXPECT_EQ(box->windowTitle(), " Kelpie   v2.1 for Linux (Qt 6)");
    EXPECT_EQ(box->findChild<QLabel*>("lblAbout")->text(),
              "\n" + QString(19, u' ') + "Kelpie net control log, 2026\n" + QString(20, u' ') +
                  "written by the Kelpie developers for net control operators");
    EXPECT_FALSE(box->findChild<QLabel*>("Image1")->pixmap().isNull());
    EXPECT_EQ(box->findChild<QPushButton*>("cmdAbout")->text(), "OK");
    QTest::mouseClick(box->findChild<QWidget*>(GetParam()), Qt::LeftButton);
  });
  showAboutBox(&main, "v2.1");
  EXPECT_TRUE(seen);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Parts, AboutBox, ::testing::Values("cmdAbout", "Image1"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace kelpie
