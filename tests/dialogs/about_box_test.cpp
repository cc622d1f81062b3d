// The About box: its texts, its parts, where it stands, and the two ways to close it.
#include <gtest/gtest.h>

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "dialog_test_util.h"
#include "dialogs/frm_about.h"

namespace kelpie {
namespace {

TEST(AboutBox, LabelIsLineBreak19SpacesProgramLineBreak20SpacesCredit) {
  const QStringList lines = aboutLabelText().split(u'\n');
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1], QString(19, u' ') + "Kelpie net control log, 2026");
  EXPECT_EQ(lines[2],
            QString(20, u' ') + "written by the Kelpie developers for net control operators");
}

TEST(AboutBox, TitleIsKelpieThreeSpacesVersionAndBuildNote) {
  EXPECT_EQ(aboutTitle("v2.1"), " Kelpie   v2.1 for Linux (Qt 6)");
}

TEST(AboutBox, ShowsModalCentredWithItsPartsAndClosesOnOk) {
  QWidget main;
  bool seen = false;
  test::whenModal([&](QWidget* box) {
    seen = true;
    EXPECT_EQ(box->objectName(), "frmAbout");
    EXPECT_EQ(box->windowTitle(), " Kelpie   v2.1 for Linux (Qt 6)");
    EXPECT_EQ(box->palette().color(QPalette::Window), QColor(192, 192, 192));
    auto* frame = box->findChild<QFrame*>("fraAbout");
    ASSERT_NE(frame, nullptr);
    auto* image = frame->findChild<QLabel*>("Image1");
    ASSERT_NE(image, nullptr);
    EXPECT_FALSE(image->pixmap().isNull());  // the icon is built into the program
    auto* label = frame->findChild<QLabel*>("lblAbout");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), aboutLabelText());
    EXPECT_GE(label->width(), label->sizeHint().width());
    const QRect screen = box->screen()->geometry();
    EXPECT_NEAR(box->x(), screen.left() + (screen.width() - box->width()) / 2, 1);
    EXPECT_NEAR(box->y(), screen.top() + (screen.height() - box->height()) / 2, 1);
    auto* ok = box->findChild<QPushButton*>("cmdAbout");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "OK");
    QTest::mouseClick(ok, Qt::LeftButton);
  });
  showAboutBox(&main, "v2.1");
  EXPECT_TRUE(seen);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(AboutBox, AClickOnTheIconClosesItLikeOk) {
  bool seen = false;
  test::whenModal([&](QWidget* box) {
    seen = true;
    auto* image = box->findChild<QLabel*>("Image1");
    ASSERT_NE(image, nullptr);
    QTest::mouseClick(image, Qt::LeftButton);
    EXPECT_FALSE(box->isVisible());
  });
  showAboutBox(nullptr, "v2.1");
  EXPECT_TRUE(seen);
}

}  // namespace
}  // namespace kelpie
