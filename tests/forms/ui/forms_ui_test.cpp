// The ICS forms drawn by Qt: their PDFs read back with pdftotext against golden text, the
// dialog's fields and buttons, and the menu after Tools. Offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStandardPaths>
#include <cstdlib>

#include "app/window_menus.h"
#include "dialogs/frm_ics.h"
#include "platform/qt/qt_form_printer.h"
#include "support/fake_platform.h"

namespace kelpie {
namespace {

using test::Rig;

// A net of 7 p.m. (UTC-5): a check-in a minute, every fifth with traffic passed ten minutes on,
// one with a remark long enough to wrap, one with text a station could type to upset a form.
FormNet longNet(int checkIns) {
  FormNet net{"120526F.ILE", false, {}, {"KC1LOG"}};
  for (int i = 0; i < checkIns; ++i) {
    char t[32];
    std::snprintf(t, sizeof t, "2026-12-06T%02d:%02d:00Z", i / 60, i % 60);
    NetCheckIn c{"W" + toDec(i) + "ABC", "Op", t, i % 7 == 3, i == 2, {}};
    if (i % 5 == 1) {
      c.facts.count = 1 + i % 3;
      c.facts.precedence = kPrecedences[static_cast<size_t>(i) % 4];
      c.facts.dest = "Springfield";
      c.facts.listedAt = t;
      std::snprintf(t, sizeof t, "2026-12-06T%02d:%02d:30Z", (i + 10) / 60, (i + 10) % 60);
      if (i < checkIns - 10) c.facts.passedTo = "N3PASS", c.facts.passedAt = t;
    }
    net.checkIns.push_back(std::move(c));
  }
  net.checkIns[4].facts.remark =
      "Shelter at the \311cole Saint-Andr\351 is open, 40 cots, generator fuel for 12 hours, needs "
      "water";
  net.checkIns[6].facts.tactical = "SHELTER\t1\r\n";
  return net;
}

FormHeader header(const FormNet& net, Clock& clock) {
  const Period p = periodOf(netEvents(net, clock));
  const DateTime prepared{{2026, 12, 5}, 21, 2, 0};
  return {"Winter Storm", "26-014", p.from,    p.to,     "2m net",
          "Pat Doe",      "W1NC",   "Lee Roy", "KC1LOG", "Net Control Operator",
          "ARES Unit 4",  prepared};
}

// Each form saved as a PDF on Letter paper, its text as pdftotext lays it out: page breaks,
// repeated heads, wrapped cells and page numbers. KELPIE_WRITE_GOLDEN=1 writes the texts anew.
TEST(FormPdf, ReadsBackAsTheGoldenText) {
  const struct {
    IcsForm form;
    int checkIns;
    std::string golden;
  } cases[] = {{IcsForm::Log309, 70, "ics309.txt"}, {IcsForm::Activity214, 40, "ics214.txt"}};
  for (const auto& c : cases) {
    Rig rig;
    QtFormPrinter printer;
    printer.setPaper(QPageSize::Letter);
    const FormNet net = longNet(c.checkIns);
    const std::string pdf = pathText(rig.folder / "form.pdf"), txt = pdf + ".txt";
    std::string error, text;
    ASSERT_TRUE(printer.savePdf(
        formSheet({c.form, net, header(net, rig.clock)}, rig.clock, printer), pdf, &error))
        << error;
    ASSERT_EQ(std::system(("pdftotext -layout '" + pdf + "' '" + txt + "'").c_str()), 0);
    readBytes(txt, text);
    if (std::getenv("KELPIE_WRITE_GOLDEN"))
      writeBytesAtomic(fs::path(KELPIE_SOURCE_DIR "/tests/golden/forms") / c.golden, text);
    EXPECT_EQ(text, test::golden("forms/" + c.golden)) << c.golden;
  }
}

TEST(FormDialog, FieldsInOrderAndSavePdfBesideTheLog) {
  Rig rig;
  rig.session.todayLogName = "120526F.ILE";
  rig.session.checkIns.row(1).f[1] = "W1AAA";
  rig.session.checkIns.row(1).timeIn = "2026-12-06T00:05:00Z";
  rig.session.checkIns.count = 1;
  rig.session.settings.netBand = "2m";
  rig.session.settings.netControlCall = "W1NC";
  QtFormPrinter printer;
  FrmIcs dialog(IcsForm::Activity214, rig.session, printer);
  std::vector<std::string> names;
  for (QWidget* w = dialog.focusWidget() ? dialog.focusWidget() : dialog.nextInFocusChain();
       names.size() < 12; w = w->nextInFocusChain())
    if (!w->accessibleName().isEmpty()) names.push_back(w->accessibleName().toStdString());
  EXPECT_EQ(names, (std::vector<std::string>{
                       "Which net", "Incident name", "Incident or activation number",
                       "Operational period from", "Operational period to", "Radio net name",
                       "Radio operator name", "Radio operator callsign", "Prepared by name",
                       "Prepared by callsign", "ICS position", "Home agency and unit"}));
  const FormHeader h = dialog.job().header;  // filled in from the settings and the net
  EXPECT_EQ(h.netName + ", " + h.operatorCall + ", " + h.position + ", " + formTime(h.from) +
                " to " + formTime(h.to),
            "2m net, W1NC, Net Control Operator, 19:05 to 19:05");
  EXPECT_EQ(dialog.saveCsvButton(), nullptr);
  dialog.savePdfButton()->click();
  EXPECT_EQ(rig.launcher.opened,
            std::vector<std::string>{pathText(rig.folder / "120526F ICS-214.pdf")});
}

TEST(FormMenu, AfterToolsOpenedByAltI) {
  QWidget owner;
  QMenuBar bar(&owner);
  std::vector<std::string> run;
  WindowMenus menus(&bar, &owner, [&](const std::string& name) { run.push_back(name); });
  owner.show();  // a menu opens only over a window on a screen
  const QList<QAction*> top = bar.actions();
  ASSERT_GE(top.size(), 2);
  std::string titles = (top[top.size() - 2]->text() + "|" + top.back()->text()).toStdString();
  for (QAction* a : top.back()->menu()->actions()) titles += "|" + a->text().toStdString();
  EXPECT_EQ(titles, "Tools|ICS forms|Communications log (ICS 309)...|Activity log (ICS 214)...");
  const QKeyEvent altI(QEvent::KeyPress, Qt::Key_I, Qt::AltModifier);
  EXPECT_TRUE(menus.openTopMenu(&altI));
  EXPECT_EQ(bar.activeAction(), top.back());
  top.back()->menu()->actions().back()->trigger();
  EXPECT_EQ(run, std::vector<std::string>{"mIcs214"});
  EXPECT_TRUE(menuHandler("mIcs309") && menuHandler("mIcs214"));
}

}  // namespace
}  // namespace kelpie

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QStandardPaths::setTestModeEnabled(true);  // the remembered fields go to Qt's test folders
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
