// The About box: its texts, and OK or a click on the icon closes it.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "dialog_test_util.h"
#include "dialogs/frm_about.h"

namespace kelpie {
namespace {

TEST(AboutBox, ShowsItsTextsAndClosesOnAClickOnOKOrTheIcon) {
  for (const char* closer : {"cmdAbout", "Image1"}) {
    QWidget main;
    test::whenModal([&](QWidget* box) {
      EXPECT_EQ(box->windowTitle(), " Kelpie   v2.1 for Linux (Qt 6)");
      EXPECT_EQ(box->findChild<QLabel*>("lblAbout")->text(),
                "\n" + QString(19, u' ') + "Kelpie net control log, 2026\n" + QString(20, u' ') +
                    "written by the Kelpie developers for net control operators");
      EXPECT_FALSE(box->findChild<QLabel*>("Image1")->pixmap().isNull());
      QTest::mouseClick(box->findChild<QWidget*>(closer), Qt::LeftButton);
    });
    showAboutBox(&main, "v2.1");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << closer;
  }
}

}  // namespace
}  // namespace kelpie
