// The opening rule of the browser path picker: which folder a stored BrowserPath opens at.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "dialog_test_util.h"
#include "dialogs/frm_web_path.h"

namespace kelpie {
namespace {

struct FolderRow {
  const char* name;
  std::string browserPath;
  std::string folder;
};

class BrowserFolderFromPath : public ::testing::TestWithParam<FolderRow> {};

TEST_P(BrowserFolderFromPath, TakesTheTextBeforeTheLastSeparatorFromTheTenthCharacterOn) {
  EXPECT_EQ(browserFolderFromPath(GetParam().browserPath), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BrowserFolderFromPath,
    ::testing::Values(
        FolderRow{"ProgramInAFolder", "/usr/lib/firefox/firefox.exe", "/usr/lib/firefox"},
        FolderRow{"UpperCaseExe", "/home/ann/apps/Browser.EXE", "/home/ann/apps"},
        FolderRow{"MixedCaseExe", "/home/ann/apps/Browser.Exe", "/home/ann/apps"},
        // "/" at position 10 is the last one the scan takes: the first nine characters.
        FolderRow{"SeparatorAtTenth", "/abcdefgh/x.exe", "/abcdefgh"},
        // "/" at position 9 and before are never taken: the path comes back whole.
        FolderRow{"SeparatorsOnlyInFirstNine", "/abcdefg/x.exe", "/abcdefg/x.exe"},
        FolderRow{"ShortPath", "/a/b.exe", "/a/b.exe"},
        FolderRow{"NoExe", "/usr/bin/firefox", "/usr/bin/firefox"}, FolderRow{"EmptyPath", "", ""},
        FolderRow{"ExeInAFolderName", "/home/ann/my.exe.d/run", "/home/ann/my.exe.d"},
        FolderRow{"TrailingSeparator", "/home/ann/x.exe/", "/home/ann/x.exe"}),
    [](const auto& info) { return std::string(info.param.name); });

struct StartRow {
  const char* name;
  QString browserPath;  // "{tmp}" stands for the test's temporary folder
  QString folder;
};

class PickerStartFolder : public ::testing::TestWithParam<StartRow> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tmp_.isValid());
    ASSERT_TRUE(QDir().mkpath(root() + "/app"));
    test::makeFile(root() + "/browsers/firefox", test::kExecutable);
  }
  QString root() const { return QDir(tmp_.path()).canonicalPath(); }
  QString expand(QString text) const { return text.replace("{tmp}", root()); }

  QTemporaryDir tmp_;
};

TEST_P(PickerStartFolder, OpensAtTheBrowsersFolderOrElseTheAppFolder) {
  EXPECT_EQ(pickerStartFolder(expand(GetParam().browserPath), root() + "/app"),
            expand(GetParam().folder));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PickerStartFolder,
    ::testing::Values(StartRow{"PathWithFolder", "{tmp}/browsers/fox.exe", "{tmp}/browsers"},
                      StartRow{"UpperCaseExe", "{tmp}/browsers/FOX.EXE", "{tmp}/browsers"},
                      StartRow{"NoExeButAFolder", "{tmp}/browsers", "{tmp}/browsers"},
                      // Linux browsers carry no ".exe": the picker reopens beside the one chosen.
                      StartRow{"NoExeExistingProgram", "{tmp}/browsers/firefox", "{tmp}/browsers"},
                      StartRow{"NoExeNothingThere", "{tmp}/browsers/chromium", "{tmp}/app"},
                      StartRow{"EmptyPathOnFirstRun", "", "{tmp}/app"},
                      StartRow{"FolderNoLongerExists", "{tmp}/gone/fox.exe", "{tmp}/app"},
                      // /tmp exists, but its "/" stands in the first nine characters.
                      StartRow{"SeparatorsOnlyInFirstNine", "/tmp/kelpie-no-such-browser.exe",
                               "{tmp}/app"},
                      StartRow{"RelativePath", "browsers/fox.exe", "{tmp}/app"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kelpie
