// Where Kelpie keeps its data files, and the command line that can name that folder.
#pragma once

#include <QString>
#include <QStringList>

namespace kelpie {

struct CommandLine {
  enum Action { Run, Help, Version, Refuse } action = Run;
  QString folder;  // empty: choose the usual folder
  QString share;   // --share URL: share the net from the start
};

CommandLine parseCommandLine(const QStringList& args);
QString usageText();

// The data folder when none is given: the program's own folder when it already holds Kelpie's
// files (a portable install or files carried over), else the per-user data folder.
QString defaultDataFolder(const QString& programFolder, const QString& userDataFolder);

}  // namespace kelpie
