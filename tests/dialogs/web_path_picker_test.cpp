// The browser path picker driven offscreen: layout, browsing, clicks, Done and the settings file.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "data/settings.h"
#include "data/text.h"
#include "dialog_test_util.h"
#include "dialogs/frm_web_path.h"

namespace kelpie {
namespace {

using test::clickItem;
using test::doubleClickItem;
using test::itemTexts;

class WebPathPicker : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tmp_.isValid());
    root_ = QDir(tmp_.path()).canonicalPath();
    ASSERT_TRUE(QDir().mkpath(app()));
    test::makeFile(browsers() + "/firefox", test::kExecutable);
    test::makeFile(browsers() + "/Fox.EXE", test::kPlain);
    test::makeFile(browsers() + "/notes.txt", test::kPlain);
    test::makeFile(browsers() + "/zeta", test::kExecutable);
    test::makeFile(browsers() + "/sub/inner", test::kExecutable);
    main_ = std::make_unique<QWidget>();
  }
  void TearDown() override {
    main_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  QString app() const { return root_ + "/app"; }
  QString browsers() const { return root_ + "/browsers"; }
  std::string bytes(const QString& s) const { return s.toStdString(); }

  // Opens the picker the way the main window does; the settings are written by the real writer.
  FrmWebPath* open() {
    return showWebPathPicker(main_.get(), settings_.browserPath, app(), [this] {
      ++writes_;
      std::string error;
      EXPECT_TRUE(writeSettingsFile(app().toStdString(), settings_, &error)) << error;
    });
  }
  template <typename T>
  T* child(FrmWebPath* picker, const char* name) {
    T* found = picker->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  std::string settingsLine(int number) {
    const ReadResult read = readLines(fs::path(app().toStdString()) / kSettingsFileName);
    if (!read.ok || static_cast<int>(read.lines.size()) < number) return "<missing>";
    return read.lines[static_cast<size_t>(number - 1)];
  }

  QTemporaryDir tmp_;
  QString root_;
  std::unique_ptr<QWidget> main_;
  NetSettings settings_;
  int writes_ = 0;
};

TEST_F(WebPathPicker, WindowTitleSizeColourAndControlsFollowTheLayout) {
  FrmWebPath* picker = open();
  EXPECT_EQ(picker->objectName(), "frmWebPath");
  EXPECT_EQ(picker->windowTitle(), "Set Path to web browser .exe");
  EXPECT_FALSE(picker->isModal());
  EXPECT_FALSE(picker->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(picker->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(picker->palette().color(QPalette::Window), QColor(192, 192, 192));

  const int dx = picker->logicalDpiX();
  const int dy = picker->logicalDpiY();
  auto px = [](int twips, int dpi) { return qRound(twips * dpi / 1440.0); };
  EXPECT_EQ(picker->minimumSize(), picker->maximumSize());
  EXPECT_EQ(picker->size(), QSize(px(3864, dx), px(3696, dy)));
  struct Place {
    const char* name;
    int left, top, width, height;
  };
  for (const Place& p :
       {Place{"cmdDone", 990, 3195, 1725, 375}, Place{"Drive2", 240, 105, 3375, 315},
        Place{"File2", 570, 1965, 2655, 1032}, Place{"Label1", 270, 1710, 3225, 225},
        Place{"Dir2", 240, 465, 3375, 1215}}) {
    QWidget* w = child<QWidget>(picker, p.name);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->geometry(),
              QRect(px(p.left, dx), px(p.top, dy), px(p.width, dx), px(p.height, dy)))
        << p.name;
  }

  auto* done = child<QPushButton>(picker, "cmdDone");
  EXPECT_EQ(done->text(), "Done");
  EXPECT_TRUE(done->font().bold());
  auto* label = child<QLabel>(picker, "Label1");
  EXPECT_EQ(label->text(), "Must double-click the folder to set it.");
  EXPECT_EQ(label->alignment(), Qt::AlignCenter);
  EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width());
}

TEST_F(WebPathPicker, OpensAtTheStoredBrowsersFolderWithItsProgramFiles) {
  settings_.browserPath = bytes(browsers() + "/Fox.EXE");
  FrmWebPath* picker = open();
  EXPECT_EQ(picker->currentFolder(), browsers());
  EXPECT_EQ(picker->fileListFolder(), browsers());
  EXPECT_EQ(itemTexts(child<QListWidget>(picker, "File2")),
            QStringList({"firefox", "Fox.EXE", "zeta"}));
  EXPECT_EQ(itemTexts(child<QListWidget>(picker, "Dir2")),
            QStringList({QDir::toNativeSeparators(browsers()), "..", "sub"}));
  EXPECT_EQ(child<QComboBox>(picker, "Drive2")->currentData().toString(),
            QStorageInfo(browsers()).rootPath());
}

TEST_F(WebPathPicker, ClickThenDoneStoresTheFileAndWritesTheSettingsOnce) {
  FrmWebPath* picker = open();  // first run: empty path, so the app folder
  ASSERT_EQ(picker->currentFolder(), app());
  auto* dirs = child<QListWidget>(picker, "Dir2");
  auto* files = child<QListWidget>(picker, "File2");

  ASSERT_TRUE(doubleClickItem(dirs, ".."));
  ASSERT_EQ(picker->currentFolder(), root_);
  ASSERT_TRUE(doubleClickItem(dirs, "browsers"));
  ASSERT_EQ(picker->currentFolder(), browsers());
  ASSERT_TRUE(clickItem(files, "firefox"));
  EXPECT_EQ(settings_.browserPath, bytes(browsers() + "/firefox"));
  EXPECT_EQ(writes_, 0);

  QTest::mouseClick(child<QPushButton>(picker, "cmdDone"), Qt::LeftButton);
  EXPECT_EQ(writes_, 1);
  EXPECT_FALSE(picker->isVisible());
  EXPECT_EQ(settingsLine(16), "[Path to web browser]");
  EXPECT_EQ(settingsLine(17), bytes(browsers() + "/firefox"));
}

TEST_F(WebPathPicker, DoubleClickOnAFileStoresItAndClosesInOneStep) {
  settings_.browserPath = bytes(browsers() + "/firefox");
  QPointer<FrmWebPath> picker = open();
  ASSERT_TRUE(doubleClickItem(child<QListWidget>(picker, "File2"), "zeta"));
  EXPECT_EQ(settings_.browserPath, bytes(browsers() + "/zeta"));
  EXPECT_EQ(writes_, 1);
  EXPECT_EQ(settingsLine(17), bytes(browsers() + "/zeta"));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(picker.isNull());
}

TEST_F(WebPathPicker, CloseBoxKeepsTheClickedFileButWritesNothing) {
  settings_.browserPath = bytes(browsers() + "/firefox");
  FrmWebPath* picker = open();
  ASSERT_TRUE(clickItem(child<QListWidget>(picker, "File2"), "Fox.EXE"));
  picker->close();
  EXPECT_EQ(settings_.browserPath, bytes(browsers() + "/Fox.EXE"));
  EXPECT_EQ(writes_, 0);
}

TEST_F(WebPathPicker, ASingleClickOnAFolderDoesNotOpenIt) {
  settings_.browserPath = bytes(browsers() + "/firefox");
  FrmWebPath* picker = open();
  ASSERT_TRUE(clickItem(child<QListWidget>(picker, "Dir2"), "sub"));
  EXPECT_EQ(picker->currentFolder(), browsers());
  EXPECT_EQ(itemTexts(child<QListWidget>(picker, "File2")),
            QStringList({"firefox", "Fox.EXE", "zeta"}));
}

TEST_F(WebPathPicker, EnterOnAFolderOpensItAndLeavesThePickerOpen) {
  settings_.browserPath = bytes(browsers() + "/firefox");
  FrmWebPath* picker = open();
  auto* dirs = child<QListWidget>(picker, "Dir2");
  dirs->setFocus();
  dirs->setCurrentItem(test::itemNamed(dirs, "sub"));
  QTest::keyClick(dirs, Qt::Key_Return);
  EXPECT_EQ(picker->currentFolder(), browsers() + "/sub");
  EXPECT_EQ(itemTexts(child<QListWidget>(picker, "File2")), QStringList({"inner"}));
  EXPECT_TRUE(picker->isVisible());
  EXPECT_EQ(writes_, 0);
}

TEST_F(WebPathPicker, TabOrderIsDoneDrivesFilesFoldersAndChangesNothing) {
  settings_.browserPath = bytes(browsers() + "/firefox");
  FrmWebPath* picker = open();
  ASSERT_TRUE(QTest::qWaitForWindowActive(picker));
  EXPECT_EQ(QApplication::focusWidget(), child<QWidget>(picker, "cmdDone"));
  for (const char* next : {"Drive2", "File2", "Dir2", "cmdDone"}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), child<QWidget>(picker, next)) << next;
  }
  EXPECT_EQ(picker->currentFolder(), browsers());
  EXPECT_EQ(settings_.browserPath, bytes(browsers() + "/firefox"));
}

TEST_F(WebPathPicker, ChoosingAnotherDriveGoesThereAndBackToTheFolderLastShown) {
  settings_.browserPath = bytes(browsers() + "/sub/inner.exe");
  FrmWebPath* picker = open();
  // Stand-in mount points, so the test does not depend on the disks of the machine.
  picker->setDrives({browsers(), app(), "/"});
  auto* drives = child<QComboBox>(picker, "Drive2");
  EXPECT_EQ(drives->itemData(0).toString(), "/");
  // The folder belongs to the innermost mount point that holds it.
  EXPECT_EQ(drives->currentData().toString(), browsers());

  drives->setCurrentIndex(drives->findData(app()));
  EXPECT_EQ(picker->currentFolder(), app());
  EXPECT_EQ(picker->fileListFolder(), app());
  drives->setCurrentIndex(drives->findData("/"));
  EXPECT_EQ(picker->currentFolder(), "/");
  drives->setCurrentIndex(drives->findData(browsers()));
  EXPECT_EQ(picker->currentFolder(), browsers() + "/sub");
  EXPECT_EQ(itemTexts(child<QListWidget>(picker, "File2")), QStringList({"inner"}));
}

TEST_F(WebPathPicker, NamesAreStoredAsWindows1252) {
  const QString cafe = root_ + QString::fromUtf8("/caf\u00e9");
  test::makeFile(cafe + QString::fromUtf8("/navigateur\u20ac"), test::kExecutable);
  test::makeFile(cafe + QString::fromUtf8("/\u0436.exe"), test::kPlain);
  // Stored in 1252: e-acute is 0xE9, and the picker must open in that folder.
  settings_.browserPath = root_.toStdString() + "/caf\xE9/old.exe";
  FrmWebPath* picker = open();
  ASSERT_EQ(picker->currentFolder(), cafe);
  auto* files = child<QListWidget>(picker, "File2");
  ASSERT_TRUE(clickItem(files, QString::fromUtf8("navigateur\u20ac")));
  EXPECT_EQ(settings_.browserPath, root_.toStdString() + "/caf\xE9/navigateur\x80");
  ASSERT_TRUE(clickItem(files, QString::fromUtf8("\u0436.exe")));
  EXPECT_EQ(settings_.browserPath, root_.toStdString() + "/caf\xE9/?.exe");
}

TEST_F(WebPathPicker, OnlyOnePickerAtATime) {
  settings_.browserPath = bytes(browsers() + "/firefox");
  FrmWebPath* first = open();
  EXPECT_EQ(open(), first);
  EXPECT_EQ(main_->findChildren<FrmWebPath*>().size(), 1);

  ASSERT_TRUE(clickItem(child<QListWidget>(first, "Dir2"), "sub"));
  ASSERT_TRUE(doubleClickItem(child<QListWidget>(first, "Dir2"), "sub"));
  ASSERT_TRUE(doubleClickItem(child<QListWidget>(first, "File2"), "inner"));
  // After Done a fresh picker opens, at the folder of the program just chosen.
  FrmWebPath* second = open();
  EXPECT_NE(second, first);
  EXPECT_TRUE(second->isVisible());
  EXPECT_EQ(second->currentFolder(), browsers() + "/sub");
}

}  // namespace
}  // namespace kelpie
