// Kelpie: net control logging for amateur-radio nets.
#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>

#include "app/app_folder.h"
#include "app/main_window.h"
#include "data/flusher.h"
#include "dialogs/frm_share.h"
#include "dialogs/kelpie_icon.h"
#include "platform/qt/password_store.h"
#include "platform/qt/qt_help_viewer.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_printer.h"
#include "share/share_url.h"

int main(int argc, char** argv) {
  QStringList args;
  for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  const kelpie::CommandLine cmd = kelpie::parseCommandLine(args);
  switch (cmd.action) {
    case kelpie::CommandLine::Help:
      std::fputs(kelpie::usageText().toLocal8Bit().constData(), stdout);
      return 0;
    case kelpie::CommandLine::Version:
      std::puts("Kelpie v2.1");
      return 0;
    case kelpie::CommandLine::Refuse:
      std::fputs(kelpie::usageText().toLocal8Bit().constData(), stderr);
      return 2;
    case kelpie::CommandLine::Run:
      break;
  }
  kelpie::share::ShareSettings share;
  if (!cmd.share.isEmpty()) {
    std::string error;
    if (!kelpie::share::parseShareUrl(cmd.share.toStdString(), share, error)) {
      std::fprintf(stderr, "kelpie: %s\n", error.c_str());
      return 2;
    }
  }

  // Kelpie's menus live in its window, where its keyboard handling opens them by their letters;
  // a desktop-wide menu bar would take them out of it.
  QApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
  QApplication app(argc, argv);
  QApplication::setApplicationName("Kelpie");

  QString folder = cmd.folder;
  if (folder.isEmpty())
    folder = kelpie::defaultDataFolder(
        QCoreApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
  folder = QDir(folder).absolutePath();
  if (!QDir().mkpath(folder)) {
    std::fprintf(stderr, "kelpie: cannot create the data folder %s\n",
                 folder.toLocal8Bit().constData());
    return 1;
  }

  kelpie::QtDialogs dialogs;
  kelpie::QtClock clock;
  kelpie::QtEvents events;
  kelpie::QtLauncher launcher;
  kelpie::QtHelpViewer help;
  kelpie::Session* sessionPtr = nullptr;
  kelpie::QtPrinter printer(
      [&] { return sessionPtr ? sessionPtr->logFolder.string() : std::string(); });
  kelpie::Platform platform{dialogs, clock, events, launcher, printer, help};
  kelpie::Session session(platform, folder.toLocal8Bit().toStdString());
  sessionPtr = &session;

  kelpie::MainWindow window(session);
  dialogs.parent = [&]() -> QWidget* { return window.isVisible() ? &window : nullptr; };
  events.render = [&] { window.render(); };
  dialogs.beforeBox = [&] { window.render(); };
  window.restorePlacement();
  QObject::connect(&window, &kelpie::MainWindow::finished, &app, &QCoreApplication::quit,
                   Qt::QueuedConnection);

  if (!session.Form_Load()) return 0;  // the restart question was refused
  window.render();
  window.show();
  window.raise();
  window.activateWindow();  // needed on a display without a window manager
  // The icon is decoded once the window is up: the window appears that much sooner, and the
  // window manager takes the icon a moment later.
  QTimer::singleShot(0, &app, [] { QApplication::setWindowIcon(kelpie::kelpieIcon()); });
  if (!cmd.share.isEmpty()) {
    // What the address does not say (the CA file, the operator's callsign) is taken from the
    // last time this broker was shared with.
    kelpie::share::ShareSettings remembered;
    kelpie::loadRememberedShare(remembered);
    if (remembered.host == share.host) share.caFile = remembered.caFile;
    share.operatorCall = remembered.operatorCall.empty() ? share.user : remembered.operatorCall;
    // A broker that asks for no login needs no password.
    if (share.user.empty() || kelpie::sharePasswordFor(&window, share)) window.startSharing(share);
  }
  const int code = QApplication::exec();
  kelpie::waitForFlushes();  // every file on the disk before the program ends
  return code;
}
