// The browser path picker: the folder it opens at, and the picker driven offscreen (clicks,
// Done, Windows-1252 names and the settings file).
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTemporaryDir>

#include "data/settings.h"
#include "dialog_test_util.h"
#include "dialogs/frm_web_path.h"

namespace kelpie {
namespace {

using test::clickItem;

class WebPathPicker : public ::testing::Test {
 protected:
  void TearDown() override {
    main_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  // Opens the picker the way the main window does; the settings are written by the real writer.
  FrmWebPath* open(const std::string& browserPath) {
    QDir().mkpath(app_);
    settings_.browserPath = browserPath;
    return showWebPathPicker(main_.get(), settings_.browserPath, app_, [this] {
      ++writes_;
      EXPECT_TRUE(writeSettingsFile(app_.toStdString(), settings_, nullptr));
    });
  }
  static QListWidget* list(FrmWebPath* p, const char* n) { return p->findChild<QListWidget*>(n); }

  QTemporaryDir tmp_;
  QString root_ = QDir(tmp_.path()).canonicalPath(), app_ = root_ + "/app";
  std::unique_ptr<QWidget> main_ = std::make_unique<QWidget>();
  NetSettings settings_;
  int writes_ = 0;
};

TEST_F(WebPathPicker, StartFolderFromTheStoredPath) {
  test::makeFile(root_ + "/b/firefox", true);
  EXPECT_EQ(browserFolderFromPath("/home/ann/my.exe.d/run"), "/home/ann/my.exe.d");
  EXPECT_EQ(browserFolderFromPath("/abcdefg/x.exe"), "/abcdefg/x.exe");  // "/" only in 1 to 9
  const std::pair<QString, QString> rows[] = {
      {root_ + "/b/firefox", root_ + "/b"}, {root_ + "/b/chromium", app_}, {"", app_}};
  for (const auto& [path, folder] : rows) EXPECT_EQ(pickerStartFolder(path, app_), folder);
}

TEST_F(WebPathPicker, ListsProgramsThenClickAndDoneStoresTheFileOnceAsWindows1252) {
  const QString cafe = root_ + QString::fromUtf8("/caf\u00e9");
  test::makeFile(cafe + QString::fromUtf8("/navigateur\u20ac"), true);
  test::makeFile(cafe + "/zeta", true);
  test::makeFile(cafe + "/notes.txt", false);
  FrmWebPath* picker = open("");  // first run: the app folder
  ASSERT_EQ(picker->currentFolder(), app_);
  ASSERT_TRUE(clickItem(list(picker, "Dir2"), ".."));  // a single click opens no folder
  EXPECT_EQ(picker->currentFolder(), app_);
  ASSERT_TRUE(clickItem(list(picker, "Dir2"), "..", true));
  ASSERT_TRUE(clickItem(list(picker, "Dir2"), QString::fromUtf8("caf\u00e9"), true));
  EXPECT_EQ(list(picker, "File2")->count(), 2);  // programs only
  ASSERT_TRUE(clickItem(list(picker, "File2"), QString::fromUtf8("navigateur\u20ac")));
  EXPECT_EQ(writes_, 0);
  QTest::mouseClick(picker->findChild<QPushButton*>("cmdDone"), Qt::LeftButton);
  EXPECT_EQ(writes_, 1);
  std::string file;
  ASSERT_TRUE(readBytes(fs::path(app_.toStdString()) / kSettingsFileName, file));
  EXPECT_NE(
      file.find("[Path to web browser]\r\n" + root_.toStdString() + "/caf\xE9/navigateur\x80\r\n"),
      std::string::npos);
}

}  // namespace
}  // namespace kelpie
