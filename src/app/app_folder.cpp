#include "app/app_folder.h"

#include <QDir>
#include <QFileInfo>

#include "share/share_url.h"

namespace kelpie {

CommandLine parseCommandLine(const QStringList& args) {
  CommandLine c;
  for (qsizetype i = 1; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a == "--help" || a == "-h") {
      c.action = CommandLine::Help;
      return c;
    }
    if (a == "--version") {
      c.action = CommandLine::Version;
      return c;
    }
    if (a == "--share" && i + 1 < args.size() && c.share.isEmpty()) {
      c.share = args[++i];
      continue;
    }
    if (a.startsWith("--share=") && c.share.isEmpty()) {
      c.share = a.mid(8);
      continue;
    }
    if (a.startsWith('-') || !c.folder.isEmpty()) {
      c.action = CommandLine::Refuse;
      return c;
    }
    c.folder = a;
  }
  return c;
}

QString usageText() {
  return QStringLiteral(
             "Usage: kelpie [FOLDER] [--share URL]\n"
             "Kelpie logs the check-ins of an amateur-radio net.\n\n"
             "  FOLDER     keep the data files (roster, settings, logs) in FOLDER,\n"
             "             created if missing. Without it Kelpie uses its own folder when\n"
             "             that holds NETCONT.ROL or Kelpie_Control.ini, else the per-user\n"
             "             data folder.\n"
             "  --help     show this text\n"
             "  --version  show the version\n") +
         QString::fromUtf8(share::kShareUsage);
}

QString defaultDataFolder(const QString& programFolder, const QString& userDataFolder) {
  const QDir dir(programFolder);
  for (const QString& entry : dir.entryList(QDir::Files | QDir::Hidden)) {
    const QString lower = entry.toLower();
    if (lower == "netcont.rol" || lower == "kelpie_control.ini") return programFolder;
  }
  return userDataFolder;
}

}  // namespace kelpie
