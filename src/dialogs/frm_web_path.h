// The browser path picker frmWebPath: a small window in which the operator points Kelpie at the
// web browser's program file by browsing the mounted file systems, their folders and programs.
#pragma once

#include <QDialog>
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>

class QComboBox;
class QFileInfo;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace kelpie {

// The folder the opening rule takes from BrowserPath. When the path holds ".exe" (any letter
// case) it is the text before the last "/" that stands at or after the 10th character; a "/"
// in the first nine characters never counts. Otherwise, or when there is no such "/", it is
// the path unchanged.
std::string browserFolderFromPath(const std::string& browserPath);

// The folder the picker opens at: the folder of the rule above when it exists; the folder of
// the file the path names when that file exists (browsers on Linux carry no ".exe"); else
// appFolder (first run, a removed folder, a path whose only "/" stand in its first nine
// characters).
QString pickerStartFolder(const QString& browserPath, const QString& appFolder);

// A file the file list offers: one the user may execute, or one whose name ends in ".exe" in
// any letter case.
bool isProgramFile(const QFileInfo& info);

// The root folders of the mounted file systems, "/" included.
QStringList mountedDriveRoots();

class FrmWebPath : public QDialog {
  Q_OBJECT

 public:
  // browserPath (Windows-1252 bytes) is changed in place as the operator picks a file;
  // writeSettings writes the settings file when the operator is done.
  FrmWebPath(std::string& browserPath, const QString& appFolder,
             std::function<void()> writeSettings, QWidget* parent = nullptr);

  // The folder the folder list shows, and the one the file list shows.
  QString currentFolder() const { return folder_; }
  QString fileListFolder() const { return fileFolder_; }
  // True once the picker has been closed; it is deleted soon after.
  bool isClosing() const { return closing_; }
  // The file systems the drive list offers, "/" first; the mounted ones unless told otherwise.
  void setDrives(const QStringList& roots);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildControls();
  QString driveOf(const QString& folder) const;
  void setFolder(const QString& folder);
  void setFileFolder(const QString& folder);
  void enterFolder(QListWidgetItem* item);
  QString chosenFilePath() const;

  void Form_Load();
  void Drive2_Change();
  void Dir2_Change();
  void Dir2_Click();
  void File2_Click();
  void File2_DblClick();
  void cmdDone_Click();

  std::string& browserPath_;
  QString appFolder_;
  std::function<void()> writeSettings_;
  QString folder_;
  QString fileFolder_;
  // The folder last shown on each mounted file system, so a drive change returns there.
  QHash<QString, QString> driveFolder_;
  bool closing_ = false;

  QPushButton* cmdDone_ = nullptr;
  QComboBox* Drive2_ = nullptr;
  QListWidget* File2_ = nullptr;
  QLabel* Label1_ = nullptr;
  QListWidget* Dir2_ = nullptr;
};

// Set > "Path to web browser": creates the picker as a child of the main window, or brings
// the open one forward. Not modal. Returns the picker shown.
FrmWebPath* showWebPathPicker(QWidget* mainWindow, std::string& browserPath,
                              const QString& appFolder, std::function<void()> writeSettings);

}  // namespace kelpie
