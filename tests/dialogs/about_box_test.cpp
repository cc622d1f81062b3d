// The About box: its texts, and a click on its icon closes it as OK does.
#include <gtest/gtest.h>

#include <QLabel>

#include "dialog_test_util.h"
#include "dialogs/frm_about.h"

namespace kelpie {
namespace {

TEST(AboutBox, ShowsItsTextsAndClosesOnAClickOnTheIcon) {
  QWidget main;
  test::whenModal([&](QWidget* box) {
    EXPECT_EQ(box->windowTitle(), " Kelpie   v2.1 for Linux (Qt 6)");
    EXPECT_EQ(box->findChild<QLabel*>("lblAbout")->text(),
              "\n" + QString(19, u' ') + "Kelpie net control log, 2026\n" + QString(20, u' ') +
                  "written by the Kelpie developers for net control operators");
    QTest::mouseClick(box->findChild<QWidget*>("Image1"), Qt::LeftButton);
  });
  showAboutBox(&main, "v2.1");
}

}  // namespace
}  // namespace kelpie
