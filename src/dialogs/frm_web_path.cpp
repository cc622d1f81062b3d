#include "dialogs/frm_web_path.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStyle>
#include <algorithm>

#include "dialogs/kelpie_icon.h"
#include "dialogs/twips.h"

namespace kelpie {

namespace {

// BrowserPath is kept as the settings file holds it: Windows-1252 bytes.
QString fromWindows1252(const std::string& bytes) {
  QStringDecoder decode("windows-1252");
  return decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string toWindows1252(const QString& text) {
  QStringEncoder encode("windows-1252");
  QByteArray bytes = encode(text);
  // The encoder writes 0x1A for a character the code page cannot hold; the files want "?".
  bytes.replace('\x1a', '?');
  return bytes.toStdString();
}

bool containsExe(const std::string& s) {
  std::string lower = s;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) {
    return static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
  });
  return lower.find(".exe") != std::string::npos;
}

QString joinPath(const QString& folder, const QString& name) {
  return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

// Mount roots come first by "/" and then by name.
bool driveBefore(const QString& a, const QString& b) {
  if (a == QStringLiteral("/") || b == QStringLiteral("/"))
    return a == QStringLiteral("/") && a != b;
  return a.compare(b, Qt::CaseInsensitive) < 0;
}

constexpr int kPathRole = Qt::UserRole;

}  // namespace

std::string browserFolderFromPath(const std::string& browserPath) {
  if (!containsExe(browserPath)) return browserPath;
  // Positions are counted from 1; the scan runs from the last character down to the 10th.
  for (size_t i = browserPath.size(); i >= 10; --i) {
    if (browserPath[i - 1] == '/') return browserPath.substr(0, i - 1);
  }
  return browserPath;
}

QString pickerStartFolder(const QString& browserPath, const QString& appFolder) {
  const QString folder = fromWindows1252(browserFolderFromPath(toWindows1252(browserPath)));
  if (!folder.isEmpty() && QDir::isAbsolutePath(folder)) {
    const QFileInfo info(folder);
    if (info.isDir()) return QDir::cleanPath(folder);
    if (info.isFile()) return QDir::cleanPath(info.absolutePath());
  }
  return appFolder;
}

bool isProgramFile(const QFileInfo& info) {
  if (!info.isFile()) return false;
  return info.isExecutable() ||
         info.fileName().endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive);
}

FrmWebPath::FrmWebPath(std::string& browserPath, const QString& appFolder,
                       std::function<void()> writeSettings, QWidget* parent)
    : QDialog(parent),
      browserPath_(browserPath),
      appFolder_(appFolder),
      writeSettings_(std::move(writeSettings)) {
  setObjectName(QStringLiteral("frmWebPath"));
  setWindowTitle(QStringLiteral("Set Path to web browser .exe"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setWindowIcon(kelpieIcon());
  setModal(false);
  setSizeGripEnabled(false);

  QPalette grey = palette();
  grey.setColor(QPalette::Window, QColor(192, 192, 192));
  setPalette(grey);
  setAutoFillBackground(true);
  // A small face, like the classic dialog font, so the captions fit the twips layout.
  QFont small = font();
  small.setPointSize(8);
  setFont(small);

  buildControls();
  connect(this, &QDialog::finished, this, [this] {
    closing_ = true;
    deleteLater();
  });
  Form_Load();
}

void FrmWebPath::buildControls() {
  setFixedSize(twipsSize(this, 3864, 3696));

  cmdDone_ = new QPushButton(QStringLiteral("Done"), this);
  cmdDone_->setObjectName(QStringLiteral("cmdDone"));
  QFont bold = cmdDone_->font();
  bold.setBold(true);
  cmdDone_->setFont(bold);
  cmdDone_->setGeometry(twipsRect(this, 990, 3195, 1725, 375));

  Drive2_ = new QComboBox(this);
  Drive2_->setObjectName(QStringLiteral("Drive2"));
  Drive2_->setGeometry(twipsRect(this, 240, 105, 3375, 315));

  File2_ = new QListWidget(this);
  File2_->setObjectName(QStringLiteral("File2"));
  File2_->setGeometry(twipsRect(this, 570, 1965, 2655, 1032));
  File2_->setSelectionMode(QAbstractItemView::SingleSelection);

  Label1_ = new QLabel(QStringLiteral("Must double-click the folder to set it."), this);
  Label1_->setObjectName(QStringLiteral("Label1"));
  Label1_->setAlignment(Qt::AlignCenter);
  Label1_->setGeometry(twipsRect(this, 270, 1710, 3225, 225));

  Dir2_ = new QListWidget(this);
  Dir2_->setObjectName(QStringLiteral("Dir2"));
  Dir2_->setGeometry(twipsRect(this, 240, 465, 3375, 1215));
  Dir2_->setSelectionMode(QAbstractItemView::SingleSelection);
  // Folder icons no taller than a line of text, so the short list shows several folders.
  const int line = Dir2_->fontMetrics().height();
  Dir2_->setIconSize(QSize(line, line));

  // The label takes no focus; the others follow the order cmdDone, Drive2, File2, Dir2.
  setTabOrder(cmdDone_, Drive2_);
  setTabOrder(Drive2_, File2_);
  setTabOrder(File2_, Dir2_);
  cmdDone_->setFocus();

  setDrives(mountedDriveRoots());
  connect(Drive2_, &QComboBox::currentIndexChanged, this, [this] { Drive2_Change(); });
  Drive2_->installEventFilter(this);
  connect(Dir2_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { enterFolder(item); });
  connect(Dir2_, &QListWidget::itemSelectionChanged, this, [this] { Dir2_Click(); });
  Dir2_->installEventFilter(this);
  connect(File2_, &QListWidget::itemSelectionChanged, this, [this] { File2_Click(); });
  connect(File2_, &QListWidget::itemDoubleClicked, this, [this] { File2_DblClick(); });
  connect(cmdDone_, &QPushButton::clicked, this, [this] { cmdDone_Click(); });
}

QStringList mountedDriveRoots() {
  QStringList roots{QStringLiteral("/")};
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    // Bind mounts of single files show up as volumes too; only folders can be browsed.
    if (!volume.isValid() || !volume.isReady() || !QFileInfo(volume.rootPath()).isDir()) continue;
    if (!roots.contains(volume.rootPath())) roots << volume.rootPath();
  }
  return roots;
}

void FrmWebPath::setDrives(const QStringList& roots) {
  QStringList sorted = roots;
  if (!sorted.contains(QStringLiteral("/"))) sorted << QStringLiteral("/");
  sorted.removeDuplicates();
  std::sort(sorted.begin(), sorted.end(), driveBefore);
  const QSignalBlocker quiet(Drive2_);
  Drive2_->clear();
  for (const QString& root : sorted) {
    const QStorageInfo volume(root);
    const bool named = volume.rootPath() == root && !volume.name().isEmpty();
    Drive2_->addItem(named ? root + QStringLiteral("  [") + volume.name() + u']' : root, root);
  }
  driveFolder_.clear();
  if (folder_.isEmpty()) return;
  const QString drive = driveOf(folder_);
  driveFolder_.insert(drive, folder_);
  Drive2_->setCurrentIndex(Drive2_->findData(drive));
}

QString FrmWebPath::driveOf(const QString& folder) const {
  QString best = QStringLiteral("/");
  for (int i = 0; i < Drive2_->count(); ++i) {
    const QString root = Drive2_->itemData(i).toString();
    const bool holds = folder == root || folder.startsWith(joinPath(root, QString()));
    if (holds && root.size() > best.size()) best = root;
  }
  return best;
}

void FrmWebPath::Form_Load() {
  setFolder(pickerStartFolder(fromWindows1252(browserPath_), appFolder_));
  setFileFolder(folder_);
}

// Drive2_Change and Drive2_GotFocus: the folder list goes to the chosen drive's folder.
void FrmWebPath::Drive2_Change() {
  const QString root = Drive2_->currentData().toString();
  if (root.isEmpty()) return;
  setFolder(driveFolder_.value(root, root));
}

void FrmWebPath::setFolder(const QString& folder) {
  const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
  if (clean == folder_) return;
  folder_ = clean;
  const QString root = driveOf(folder_);
  driveFolder_.insert(root, folder_);
  {
    const QSignalBlocker quiet(Drive2_);
    Drive2_->setCurrentIndex(Drive2_->findData(root));
  }

  const QSignalBlocker quiet(Dir2_);
  Dir2_->clear();
  QStyle* st = style();
  auto* here = new QListWidgetItem(st->standardIcon(QStyle::SP_DirOpenIcon),
                                   QDir::toNativeSeparators(folder_), Dir2_);
  here->setData(kPathRole, folder_);
  if (folder_ != QStringLiteral("/")) {
    auto* up = new QListWidgetItem(st->standardIcon(QStyle::SP_FileDialogToParent),
                                   QStringLiteral(".."), Dir2_);
    up->setData(kPathRole, QDir::cleanPath(folder_ + QStringLiteral("/..")));
  }
  const QFileInfoList subfolders =
      QDir(folder_).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  for (const QFileInfo& sub : subfolders) {
    auto* item = new QListWidgetItem(st->standardIcon(QStyle::SP_DirIcon), sub.fileName(), Dir2_);
    item->setData(kPathRole, sub.absoluteFilePath());
  }
  Dir2_Change();
}

void FrmWebPath::enterFolder(QListWidgetItem* item) {
  if (item) setFolder(item->data(kPathRole).toString());
}

void FrmWebPath::Dir2_Change() {
  setFileFolder(folder_);
  QCoreApplication::processEvents();
}

// A single click only selects a folder (the label says so); the file list stays with the
// folder shown.
void FrmWebPath::Dir2_Click() {
  setFileFolder(folder_);
  QCoreApplication::processEvents();
}

void FrmWebPath::setFileFolder(const QString& folder) {
  if (folder == fileFolder_) return;
  fileFolder_ = folder;
  const QSignalBlocker quiet(File2_);
  File2_->clear();
  const QFileInfoList files =
      QDir(folder).entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase);
  for (const QFileInfo& file : files) {
    if (isProgramFile(file)) File2_->addItem(file.fileName());
  }
}

QString FrmWebPath::chosenFilePath() const {
  const QListWidgetItem* item = File2_->currentItem();
  if (!item || !item->isSelected()) return QString();
  return joinPath(fileFolder_, item->text());
}

void FrmWebPath::File2_Click() {
  const QString chosen = chosenFilePath();
  if (chosen.isEmpty()) return;
  setFileFolder(folder_);
  browserPath_ = toWindows1252(chosen);
  QCoreApplication::processEvents();
}

void FrmWebPath::File2_DblClick() {
  const QString chosen = chosenFilePath();
  if (chosen.isEmpty()) return;
  browserPath_ = toWindows1252(chosen);
  cmdDone_Click();
}

void FrmWebPath::cmdDone_Click() {
  QCoreApplication::processEvents();
  close();
  if (writeSettings_) writeSettings_();
}

bool FrmWebPath::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Drive2_ && event->type() == QEvent::FocusIn) {
    Drive2_Change();
  } else if (watched == Dir2_ && event->type() == QEvent::KeyPress) {
    // Enter opens the folder under the cursor; it must not reach the dialog's Done button.
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      enterFolder(Dir2_->currentItem());
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

FrmWebPath* showWebPathPicker(QWidget* mainWindow, std::string& browserPath,
                              const QString& appFolder, std::function<void()> writeSettings) {
  FrmWebPath* picker = nullptr;
  const auto open = mainWindow->findChildren<FrmWebPath*>(QString(), Qt::FindDirectChildrenOnly);
  for (FrmWebPath* candidate : open) {
    if (!candidate->isClosing()) picker = candidate;
  }
  if (!picker)
    picker = new FrmWebPath(browserPath, appFolder, std::move(writeSettings), mainWindow);
  picker->show();
  picker->raise();
  picker->activateWindow();
  return picker;
}

}  // namespace kelpie
