// Keys as a person types them: a burst queued before any is handled, Shift with the capitals,
// and what the window shows while a procedure's box is up.
#include <gtest/gtest.h>

#include "app/gui_rig.h"

namespace kelpie::test {
namespace {

void post(QWidget* to, QEvent::Type type, int key, Qt::KeyboardModifiers mods, QString text = {}) {
  QCoreApplication::postEvent(to, new QKeyEvent(type, key, mods, text));
}

// Posts the keys of text ("\n" is Enter) as a keyboard sends them: capitals inside Shift.
void postTyped(QWidget* to, const QString& text) {
  for (const QChar c : text) {
    const bool shift = c.isUpper();
    const Qt::KeyboardModifiers mods = shift ? Qt::ShiftModifier : Qt::NoModifier;
    const int key = c == '\n' ? int(Qt::Key_Return) : int(c.toUpper().unicode());
    const QString t = c == '\n' ? QString("\r") : QString(c);
    if (shift) post(to, QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
    post(to, QEvent::KeyPress, key, mods, t);
    post(to, QEvent::KeyRelease, key, mods, t);
    if (shift) post(to, QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
  }
}

const std::vector<std::vector<std::string>> kStations{
    {"K1ABC", "BOB", "FN20", "1/1/2021", "2/2/2022", "-"},
    {"N2XYZ", "AL", "BOSTON", "3/3/2023", "4/4/2024", "-"},
    {"W3RST", "RAY", "PHILLY", "5/5/2025", "6/6/2026", "-"}};

TEST(KeyQueue, ABurstOfKeysIsHandledInOrderAsTyped) {
  GuiRig rig(kStations);
  QStringList asked;
  answerBoxes({"OK"}, [&](QWidget* box) { asked << box->windowTitle(); });
  // With the Space option on: a Shift taken for Space would mark check-ins.
  postTyped(rig.entry(), "k1Abc\nN2xyz\nW3RST\nk7aaa\nD2\nDL\nw");
  QCoreApplication::sendPostedEvents();
  QApplication::processEvents();
  EXPECT_EQ(asked, QStringList{" Delete last checkin !"});
  EXPECT_EQ(rig.lines(), (QStringList{"1    K1ABC   BOB   FN20   1/1/2021   2/2/2022",
                                      "2    W3RST   RAY   PHILLY   5/5/2025   6/6/2026"}));
  EXPECT_EQ(rig.entry()->text(), "w");
  EXPECT_EQ(rig.read("120526F.ILE"), "K1ABC\r\nBOB\r\nFN20\r\nW3RST\r\nRAY\r\nPHILLY\r\n");
}

TEST(KeyQueue, ModifierKeysAloneMarkNothingAndLeaveTheEntryAsTyped) {
  GuiRig rig(kStations);
  rig.type("K1ABC");
  QTest::keyClicks(rig.entry(), "n2");
  for (const Qt::Key k : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt, Qt::Key_AltGr, Qt::Key_Meta,
                          Qt::Key_CapsLock, Qt::Key_F5}) {
    for (const auto type : {QEvent::KeyPress, QEvent::KeyRelease}) {
      QKeyEvent e(type, k, type == QEvent::KeyPress ? Qt::ShiftModifier : Qt::NoModifier);
      QCoreApplication::sendEvent(rig.entry(), &e);
    }
  }
  EXPECT_EQ(rig.lines(), QStringList{"1    K1ABC   BOB   FN20  1/1/2021   2/2/2022"});
  EXPECT_EQ(rig.entry()->text(), "n2");
  QTest::keyClick(rig.entry(), Qt::Key_Space);  // Space itself still marks
  EXPECT_EQ(rig.lines()[0].left(12), "1  <Ack>  K1");
}

TEST(BoxesOverTheList, TheCallsignChangeReportIsShownWhileItsMessageIsUp) {
  GuiRig rig(kStations);
  rig.type("w9new");
  QStringList shown;
  answerBoxes({"k1abc", "w9new", "OK"}, [&](QWidget* box) {
    if (qobject_cast<QMessageBox*>(box)) shown = rig.lines();
  });
  rig.window->action("mUpdateToNewCall")->trigger();
  EXPECT_EQ(shown, (QStringList{"K1ABC      the old call", "BOB", "FN20", "1/1/2021", "2/2/2022",
                                "-", "", "changed to this:", "", "W9NEW      the new call", "BOB",
                                "FN20", "1/1/2021", "2/2/2022", "K1ABC      the old call"}));
  EXPECT_EQ(rig.lines().size(), 1);
}

}  // namespace
}  // namespace kelpie::test
