// The browser path picker driven offscreen: clicks, Done, Windows-1252 names, the settings file.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTemporaryDir>

#include "data/settings.h"
#include "dialog_test_util.h"
#include "dialogs/frm_web_path.h"

namespace kelpie {
namespace {

TEST(WebPathPicker, ListsProgramsThenClickAndDoneStoresTheFileOnceAsWindows1252) {
  QTemporaryDir tmp;
  const QString root = QDir(tmp.path()).canonicalPath(), app = root + "/app";
  const QString cafe = root + QString::fromUtf8("/caf\u00e9");
  QDir().mkpath(app);
  test::makeFile(cafe + QString::fromUtf8("/navigateur\u20ac"), true);
  test::makeFile(cafe + "/zeta", true);
  test::makeFile(cafe + "/notes.txt", false);
  NetSettings settings;
  int writes = 0;
  auto main = std::make_unique<QWidget>();
  FrmWebPath* picker = showWebPathPicker(main.get(), settings.browserPath, app, [&] {
    ++writes;
    EXPECT_TRUE(writeSettingsFile(app.toStdString(), settings, nullptr));
  });
  auto list = [picker](const char* name) { return picker->findChild<QListWidget*>(name); };
  ASSERT_EQ(picker->currentFolder(), app);           // first run: the app folder
  ASSERT_TRUE(test::clickItem(list("Dir2"), ".."));  // a single click opens no folder
  EXPECT_EQ(picker->currentFolder(), app);
  ASSERT_TRUE(test::clickItem(list("Dir2"), "..", true));
  ASSERT_TRUE(test::clickItem(list("Dir2"), QString::fromUtf8("caf\u00e9"), true));
  EXPECT_EQ(list("File2")->count(), 2);  // programs only
  ASSERT_TRUE(test::clickItem(list("File2"), QString::fromUtf8("navigateur\u20ac")));
  EXPECT_EQ(writes, 0);
  QTest::mouseClick(picker->findChild<QPushButton*>("cmdDone"), Qt::LeftButton);
  EXPECT_EQ(writes, 1);
  std::string file;
  ASSERT_TRUE(readBytes(fs::path(app.toStdString()) / kSettingsFileName, file));
  EXPECT_NE(
      file.find("[Path to web browser]\r\n" + root.toStdString() + "/caf\xE9/navigateur\x80\r\n"),
      std::string::npos);
  main.reset();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace
}  // namespace kelpie
