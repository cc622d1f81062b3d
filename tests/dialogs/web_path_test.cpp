// The browser path picker: the folder it opens at, and the picker driven offscreen (clicks,
// Done and the settings file).
#include <gtest/gtest.h>

#include <QLabel>
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
  WebPathPicker() {
    QDir().mkpath(app());
    for (const char* exe : {"firefox", "zeta"}) test::makeFile(browsers() + "/" + exe, true);
    for (const char* other : {"Fox.EXE", "notes.txt"})
      test::makeFile(browsers() + "/" + other, false);
  }
  void TearDown() override {
    main_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  QString app() const { return root_ + "/app"; }
  QString browsers() const { return root_ + "/browsers"; }
  std::string inBrowsers(const char* name) const { return (browsers() + "/" + name).toStdString(); }
  // Opens the picker the way the main window does; the settings are written by the real writer.
  FrmWebPath* open(const std::string& browserPath) {
    settings_.browserPath = browserPath;
    return showWebPathPicker(main_.get(), settings_.browserPath, app(), [this] {
      ++writes_;
      EXPECT_TRUE(writeSettingsFile(app().toStdString(), settings_, nullptr));
    });
  }
  static QListWidget* list(FrmWebPath* picker, const char* name) {
    return picker->findChild<QListWidget*>(name);
  }

  QTemporaryDir tmp_;
  QString root_ = QDir(tmp_.path()).canonicalPath();
  std::unique_ptr<QWidget> main_ = std::make_unique<QWidget>();
  NetSettings settings_;
  int writes_ = 0;
};

TEST_F(WebPathPicker, StartFolderFromTheStoredPath) {
  const std::pair<std::string, std::string> folderRows[] = {
      {"/home/ann/apps/Browser.EXE", "/home/ann/apps"},
      {"/abcdefgh/x.exe", "/abcdefgh"},
      {"/abcdefg/x.exe", "/abcdefg/x.exe"},  // separators only in the first nine characters
      {"/home/ann/my.exe.d/run", "/home/ann/my.exe.d"}};
  for (const auto& [path, folder] : folderRows) EXPECT_EQ(browserFolderFromPath(path), folder);
  const std::pair<QString, QString> startRows[] = {
      {browsers() + "/fox.exe", browsers()}, {browsers() + "/firefox", browsers()},
      {browsers() + "/chromium", app()},     {"", app()},
      {root_ + "/gone/fox.exe", app()},      {"/tmp/kelpie-no-such-browser.exe", app()}};
  for (const auto& [path, folder] : startRows) EXPECT_EQ(pickerStartFolder(path, app()), folder);
}

TEST_F(WebPathPicker, ListsProgramsThenClickAndDoneStoresTheFileOnce) {
  FrmWebPath* picker = open("");  // first run: the app folder
  EXPECT_EQ(picker->windowTitle(), "Set Path to web browser .exe");
  ASSERT_EQ(picker->currentFolder(), app());
  ASSERT_TRUE(clickItem(list(picker, "Dir2"), ".."));  // a single click opens no folder
  EXPECT_EQ(picker->currentFolder(), app());
  ASSERT_TRUE(clickItem(list(picker, "Dir2"), "..", true));
  ASSERT_TRUE(clickItem(list(picker, "Dir2"), "browsers", true));
  QStringList files;
  for (int i = 0; i < list(picker, "File2")->count(); ++i)
    files << list(picker, "File2")->item(i)->text();
  EXPECT_EQ(files, QStringList({"firefox", "Fox.EXE", "zeta"}));
  ASSERT_TRUE(clickItem(list(picker, "File2"), "firefox"));
  EXPECT_EQ(writes_, 0);
  QTest::mouseClick(picker->findChild<QPushButton*>("cmdDone"), Qt::LeftButton);
  EXPECT_EQ(writes_, 1);
  std::string file;
  ASSERT_TRUE(readBytes(fs::path(app().toStdString()) / kSettingsFileName, file));
  EXPECT_NE(file.find("\r\n[Path to web browser]\r\n" + inBrowsers("firefox") + "\r\n"),
            std::string::npos);
}

TEST_F(WebPathPicker, NamesAreStoredAsWindows1252AndADoubleClickStoresAndCloses) {
  const QString cafe = root_ + QString::fromUtf8("/caf\u00e9");
  test::makeFile(cafe + QString::fromUtf8("/navigateur\u20ac"), true);
  test::makeFile(cafe + QString::fromUtf8("/\u0436.exe"), false);
  QPointer<FrmWebPath> picker = open(root_.toStdString() + "/caf\xE9/old.exe");
  ASSERT_EQ(picker->currentFolder(), cafe);
  ASSERT_TRUE(clickItem(list(picker, "File2"), QString::fromUtf8("\u0436.exe")));
  EXPECT_EQ(settings_.browserPath, root_.toStdString() + "/caf\xE9/?.exe");
  ASSERT_TRUE(clickItem(list(picker, "File2"), QString::fromUtf8("navigateur\u20ac"), true));
  EXPECT_EQ(settings_.browserPath, root_.toStdString() + "/caf\xE9/navigateur\x80");
  EXPECT_EQ(writes_, 1);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(picker.isNull());
}

}  // namespace
}  // namespace kelpie
