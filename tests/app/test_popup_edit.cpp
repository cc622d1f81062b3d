// The list's popup menu in the real window: a right press on the selected line opens it, and
// "Edit name" goes through the real input box to the list and today's log.
#include <gtest/gtest.h>

#include <QMenu>

#include "app/gui_rig.h"

namespace kelpie::test {
namespace {

// Answers the next input box by typing text into its line edit and accepting it; seen gets the
// box's title, label and text as it came up.
void typeIntoInputBox(const QString& text, QStringList& seen) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, text, &seen] {
    auto* dlg = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    auto* edit = dlg ? dlg->findChild<QLineEdit*>() : nullptr;
    if (!edit) return;
    timer->stop();
    timer->deleteLater();
    seen = {dlg->windowTitle(), dlg->labelText(), edit->text()};
    edit->setText(text);
    dlg->accept();
  });
  timer->start();
}

TEST(PopupEditGui, RightPressOnTheSelectedLineThenEditName) {
  GuiRig rig;
  rig.writeRoster({{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", "-"},
                   {"N2XYZ", "AL", "BOSTON", "3/3/2023", "4/4/2024", "-"}});
  rig.writeSettings();
  ASSERT_TRUE(rig.start());
  rig.type("K1ABC");
  rig.type("N2XYZ");
  ASSERT_EQ(rig.lines().size(), 2);

  QListWidget* list = rig.list();
  const QPoint second = list->visualItemRect(list->item(1)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
  ASSERT_EQ(list->currentRow(), 1);

  // The right press opens the popup over the line without moving the selection.
  const QPoint first = list->visualItemRect(list->item(0)).center();
  QTest::mousePress(list->viewport(), Qt::RightButton, {}, first);
  QTest::mouseRelease(list->viewport(), Qt::RightButton, {}, first);
  QMenu* popup = rig.window->popupMenu();
  ASSERT_TRUE(QTest::qWaitFor([popup] { return popup->isVisible(); }, 2000));
  EXPECT_EQ(list->currentRow(), 1);
  EXPECT_EQ(rig.session.selectedCheckIn, 2);

  QAction* editName = rig.window->action("mnuPopUpName");
  ASSERT_NE(editName, nullptr);
  QStringList seen;
  typeIntoInputBox("al smith", seen);
  QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(editName).center());
  ASSERT_TRUE(QTest::qWaitFor([&seen] { return !seen.isEmpty(); }, 5000));
  QApplication::processEvents();

  EXPECT_EQ(seen, (QStringList{" Edit Name", "Enter Name to change, then hit <Enter>.", "AL"}));
  EXPECT_EQ(rig.lines(), (QStringList{"1    K1ABC   BOB   FN20   1/1/2021   2/2/2022",
                                      "2    N2XYZ   AL SMITH   BOSTON   3/3/2023   4/4/2024"}));
  EXPECT_EQ(rig.read("120526F.ILE"), "K1ABC\r\nBOB\r\nFN20\r\nN2XYZ\r\nAL SMITH\r\nBOSTON\r\n");
  EXPECT_FALSE(popup->isVisible());
}

}  // namespace
}  // namespace kelpie::test
