// The browser path picker: the folder it opens at, and the picker driven offscreen (clicks,
// Done and the settings file).
#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <memory>

#include "data/settings.h"
#include "dialog_test_util.h"
#include "dialogs/frm_web_path.h"

namespace kelpie {
namespace {

using test::clickItem;

struct FolderRow {
  const char* name;
  std::string browserPath;  // in a picker row "{tmp}" stands for the test's temporary folder
  std::string folder;
};

class BrowserFolderFromPath : public ::testing::TestWithParam<FolderRow> {};

TEST_P(BrowserFolderFromPath, TakesTheTextBeforeTheLastSeparatorFromTheTenthCharacterOn) {
  EXPECT_EQ(browserFolderFromPath(GetParam().browserPath), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BrowserFolderFromPath,
    ::testing::Values(FolderRow{"UpperCaseExe", "/home/ann/apps/Browser.EXE", "/home/ann/apps"},
                      FolderRow{"SeparatorAtTenth", "/abcdefgh/x.exe", "/abcdefgh"},
                      FolderRow{"SeparatorsOnlyInFirstNine", "/abcdefg/x.exe", "/abcdefg/x.exe"},
                      FolderRow{"ExeInAFolderName", "/home/ann/my.exe.d/run",
                                "/home/ann/my.exe.d"}),
    [](const auto& info) { return std::string(info.param.name); });

// A temporary folder with the program's folder "app" and a folder of browsers.
class PickerFolders {
 protected:
  PickerFolders() {
    root_ = QDir(tmp_.path()).canonicalPath();
    QDir().mkpath(app());
    test::makeFile(browsers() + "/firefox", true);
    test::makeFile(browsers() + "/Fox.EXE", false);
    test::makeFile(browsers() + "/notes.txt", false);
    test::makeFile(browsers() + "/zeta", true);
  }
  QString app() const { return root_ + "/app"; }
  QString browsers() const { return root_ + "/browsers"; }

  QTemporaryDir tmp_;
  QString root_;
};

class PickerStartFolder : public PickerFolders, public ::testing::TestWithParam<FolderRow> {
 protected:
  QString expand(const std::string& text) const {
    return QString::fromStdString(text).replace("{tmp}", root_);
  }
};

TEST_P(PickerStartFolder, OpensAtTheBrowsersFolderOrElseTheAppFolder) {
  EXPECT_EQ(pickerStartFolder(expand(GetParam().browserPath), app()), expand(GetParam().folder));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PickerStartFolder,
    ::testing::Values(FolderRow{"PathWithFolder", "{tmp}/browsers/fox.exe", "{tmp}/browsers"},
                      // Linux browsers carry no ".exe": the picker reopens beside the one chosen.
                      FolderRow{"NoExeExistingProgram", "{tmp}/browsers/firefox", "{tmp}/browsers"},
                      FolderRow{"NoExeNothingThere", "{tmp}/browsers/chromium", "{tmp}/app"},
                      FolderRow{"EmptyPathOnFirstRun", "", "{tmp}/app"},
                      FolderRow{"FolderNoLongerExists", "{tmp}/gone/fox.exe", "{tmp}/app"},
                      // /tmp exists, but its "/" stands in the first nine characters.
                      FolderRow{"SeparatorsOnlyInFirstNine", "/tmp/kelpie-no-such-browser.exe",
                                "{tmp}/app"}),
    [](const auto& info) { return std::string(info.param.name); });

class WebPathPicker : public PickerFolders, public ::testing::Test {
 protected:
  void TearDown() override {
    main_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  // Opens the picker the way the main window does; the settings are written by the real writer.
  FrmWebPath* open(const std::string& browserPath) {
    settings_.browserPath = browserPath;
    return showWebPathPicker(main_.get(), settings_.browserPath, app(), [this] {
      ++writes_;
      std::string error;
      EXPECT_TRUE(writeSettingsFile(app().toStdString(), settings_, &error)) << error;
    });
  }
  // A stored path (Windows-1252, here plain ASCII) of a file in the browsers' folder.
  std::string inBrowsers(const char* name) const { return (browsers() + "/" + name).toStdString(); }
  static QListWidget* list(FrmWebPath* picker, const char* name) {
    return picker->findChild<QListWidget*>(name);
  }

  std::unique_ptr<QWidget> main_ = std::make_unique<QWidget>();
  NetSettings settings_;
  int writes_ = 0;
};

TEST_F(WebPathPicker, OpensAtTheStoredFolderListingOnlyPrograms) {
  FrmWebPath* picker = open(inBrowsers("Fox.EXE"));
  EXPECT_EQ(picker->windowTitle(), "Set Path to web browser .exe");
  EXPECT_EQ(picker->findChild<QLabel*>("Label1")->text(),
            "Must double-click the folder to set it.");
  EXPECT_EQ(picker->currentFolder(), browsers());
  EXPECT_EQ(open(inBrowsers("firefox")), picker);  // only one picker at a time
  QStringList files;
  for (int i = 0; i < list(picker, "File2")->count(); ++i)
    files << list(picker, "File2")->item(i)->text();
  EXPECT_EQ(files, QStringList({"firefox", "Fox.EXE", "zeta"}));
}

TEST_F(WebPathPicker, ClickThenDoneStoresTheFileAndWritesTheSettingsOnce) {
  FrmWebPath* picker = open("");  // first run: the app folder
  ASSERT_EQ(picker->currentFolder(), app());
  ASSERT_TRUE(clickItem(list(picker, "Dir2"), ".."));  // a single click opens no folder
  EXPECT_EQ(picker->currentFolder(), app());
  ASSERT_TRUE(clickItem(list(picker, "Dir2"), "..", true));
  ASSERT_TRUE(clickItem(list(picker, "Dir2"), "browsers", true));
  ASSERT_EQ(picker->currentFolder(), browsers());
  ASSERT_TRUE(clickItem(list(picker, "File2"), "firefox"));
  EXPECT_EQ(settings_.browserPath, inBrowsers("firefox"));
  EXPECT_EQ(writes_, 0);

  QTest::mouseClick(picker->findChild<QPushButton*>("cmdDone"), Qt::LeftButton);
  EXPECT_EQ(writes_, 1);
  EXPECT_FALSE(picker->isVisible());
  std::string file;
  ASSERT_TRUE(readBytes(fs::path(app().toStdString()) / kSettingsFileName, file));
  EXPECT_NE(file.find("\r\n[Path to web browser]\r\n" + inBrowsers("firefox") + "\r\n"),
            std::string::npos)
      << file;
}

TEST_F(WebPathPicker, DoubleClickOnAFileStoresItAndClosesInOneStep) {
  QPointer<FrmWebPath> picker = open(inBrowsers("firefox"));
  ASSERT_TRUE(clickItem(list(picker, "File2"), "zeta", true));
  EXPECT_EQ(settings_.browserPath, inBrowsers("zeta"));
  EXPECT_EQ(writes_, 1);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(picker.isNull());
  EXPECT_TRUE(open(inBrowsers("zeta"))->isVisible());  // after Done a fresh picker opens
}

TEST_F(WebPathPicker, NamesAreStoredAsWindows1252) {
  const QString cafe = root_ + QString::fromUtf8("/caf\u00e9");
  test::makeFile(cafe + QString::fromUtf8("/navigateur\u20ac"), true);
  test::makeFile(cafe + QString::fromUtf8("/\u0436.exe"), false);
  // Stored in 1252: e-acute is 0xE9, and the picker must open in that folder.
  FrmWebPath* picker = open(root_.toStdString() + "/caf\xE9/old.exe");
  ASSERT_EQ(picker->currentFolder(), cafe);
  ASSERT_TRUE(clickItem(list(picker, "File2"), QString::fromUtf8("navigateur\u20ac")));
  EXPECT_EQ(settings_.browserPath, root_.toStdString() + "/caf\xE9/navigateur\x80");
  ASSERT_TRUE(clickItem(list(picker, "File2"), QString::fromUtf8("\u0436.exe")));
  EXPECT_EQ(settings_.browserPath, root_.toStdString() + "/caf\xE9/?.exe");
}

}  // namespace
}  // namespace kelpie
