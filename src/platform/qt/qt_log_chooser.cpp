#include "platform/qt/qt_log_chooser.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>

namespace kelpie {

std::string chooseLogFileQt(QWidget* parent, const std::string& title, const std::string& folder,
                            const std::string& selectedName) {
  QStringDecoder decode("windows-1252");
  const QString caption =
      decode(QByteArrayView(title.data(), static_cast<qsizetype>(title.size())));
  QFileDialog dialog(parent, caption, QFile::decodeName(QByteArray::fromStdString(folder)),
                     QString::fromLatin1(kLogChooserFilter));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  // Qt's own dialog, whose file model can match names without regard to letter case: logs
  // copied from Windows are often named 120526F.ILE, and the desktop's dialogs would hide them.
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
  if (!selectedName.empty())
    dialog.selectFile(QFile::decodeName(QByteArray::fromStdString(selectedName)));
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return {};
  return QFile::encodeName(QDir::toNativeSeparators(chosen.first())).toStdString();
}

SaveChoice chooseSaveFileQt(QWidget* parent, const std::string& title, const std::string& startPath,
                            const std::vector<std::string>& types) {
  QStringDecoder decode("windows-1252");
  const QString caption =
      decode(QByteArrayView(title.data(), static_cast<qsizetype>(title.size())));
  QStringList filters;
  for (const std::string& t : types)
    filters << QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
  const QString start = QFile::decodeName(QByteArray::fromStdString(startPath));
  QFileDialog dialog(parent, caption);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  // Kelpie asks itself, once the format has settled the final name.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  dialog.setNameFilters(filters);
  const QFileInfo info(start);
  dialog.setDirectory(info.absolutePath());
  dialog.selectFile(info.fileName());
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return {};
  SaveChoice c;
  c.path = QFile::encodeName(QDir::toNativeSeparators(chosen.first())).toStdString();
  c.type = std::max<int>(0, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())));
  return c;
}

}  // namespace kelpie
