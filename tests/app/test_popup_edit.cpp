// The list's popup menu: the menu key opens it with its first item active, a right press on
// the list opens it without moving the selection, and "Edit name" goes through the real input
// box to the list and today's log.
#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QMenu>

#include "app/gui_rig.h"

namespace kelpie::test {
namespace {

TEST(PopupEditGui, MenuKeyAndRightPressThenEditName) {
  GuiRig rig({{"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", "-"},
              {"N2XYZ", "AL", "BOSTON", "3/3/2023", "4/4/2024", "-"}});
  rig.type("K1ABC");
  rig.type("N2XYZ");
  QListWidget* list = rig.list();
  auto at = [list](int row) { return list->visualItemRect(list->item(row)).center(); };
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at(1));
  QMenu* popup = rig.window->popupMenu();
  QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, at(1));
  QCoreApplication::sendEvent(list->viewport(), &menuKey);
  ASSERT_TRUE(popup->isVisible());
  EXPECT_EQ(popup->activeAction(), rig.window->action("mnuQRZConnect"));
  popup->hide();
  QTest::mousePress(list->viewport(), Qt::RightButton, {}, at(0));
  ASSERT_TRUE(popup->isVisible());
  EXPECT_EQ(popup->activeAction(), nullptr);
  EXPECT_EQ(list->currentRow(), 1);
  QStringList seen;
  answerBoxes({"al smith"}, [&](QWidget* box) {
    seen = {box->windowTitle(), qobject_cast<QInputDialog*>(box)->textValue()};
  });
  QTest::mouseClick(popup, Qt::LeftButton, {},
                    popup->actionGeometry(rig.window->action("mnuPopUpName")).center());
  ASSERT_TRUE(QTest::qWaitFor([&seen] { return !seen.isEmpty(); }));
  EXPECT_EQ(seen, (QStringList{" Edit Name", "AL"}));
  EXPECT_EQ(rig.lines()[1], "2    N2XYZ   AL SMITH   BOSTON   3/3/2023   4/4/2024");
  EXPECT_EQ(rig.read("120526F.ILE"), "K1ABC\r\nBOB\r\nFN20\r\nN2XYZ\r\nAL SMITH\r\nBOSTON\r\n");
}

}  // namespace
}  // namespace kelpie::test
