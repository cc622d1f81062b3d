#include "platform/qt/qt_log_chooser.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QStringDecoder>

namespace kelpie {

std::string chooseLogFileQt(QWidget* parent, const std::string& title, const std::string& folder) {
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
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return {};
  return QFile::encodeName(QDir::toNativeSeparators(chosen.first())).toStdString();
}

}  // namespace kelpie
