// The list's popup menu in the real window: a right press on the selected line opens it without
// moving the selection, the keyboard's menu key opens it with its first item active, and
// "Edit name" goes through the real input box to the list and today's log.
#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QMenu>

#include "app/gui_rig.h"

namespace kelpie::test {
namespace {

TEST(PopupEditGui, RightPressOnTheSelectedLineThenEditName) {
  GuiRig rig({{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", "-"},
              {"N2XYZ", "AL", "BOSTON", "3/3/2023", "4/4/2024", "-"}});
  ASSERT_TRUE(rig.start());
  rig.type("K1ABC");
  rig.type("N2XYZ");
  QListWidget* list = rig.list();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(1)).center());
  ASSERT_EQ(list->currentRow(), 1);
  QMenu* popup = rig.window->popupMenu();
  QContextMenuEvent menuKey(QContextMenuEvent::Keyboard,
                            list->visualItemRect(list->item(1)).center());
  QCoreApplication::sendEvent(list->viewport(), &menuKey);
  ASSERT_TRUE(popup->isVisible());
  EXPECT_EQ(popup->activeAction(), rig.window->action("mnuQRZConnect"));
  popup->hide();

  const QPoint first = list->visualItemRect(list->item(0)).center();
  QTest::mousePress(list->viewport(), Qt::RightButton, {}, first);
  QTest::mouseRelease(list->viewport(), Qt::RightButton, {}, first);
  ASSERT_TRUE(popup->isVisible());
  EXPECT_EQ(popup->activeAction(), nullptr);
  EXPECT_EQ(list->currentRow(), 1);
  EXPECT_EQ(rig.session.selectedCheckIn, 2);

  QStringList seen;
  answerBoxes({"al smith"}, [&](QWidget* box) {
    auto* dlg = qobject_cast<QInputDialog*>(box);
    seen = {dlg->windowTitle(), dlg->labelText(), dlg->textValue()};
  });
  QTest::mouseClick(popup, Qt::LeftButton, {},
                    popup->actionGeometry(rig.window->action("mnuPopUpName")).center());
  ASSERT_TRUE(QTest::qWaitFor([&seen] { return !seen.isEmpty(); }, 5000));
  EXPECT_EQ(seen, (QStringList{" Edit Name", "Enter Name to change, then hit <Enter>.", "AL"}));
  EXPECT_EQ(rig.lines()[1], "2    N2XYZ   AL SMITH   BOSTON   3/3/2023   4/4/2024");
  EXPECT_EQ(rig.read("120526F.ILE"), "K1ABC\r\nBOB\r\nFN20\r\nN2XYZ\r\nAL SMITH\r\nBOSTON\r\n");
}

}  // namespace
}  // namespace kelpie::test
