#include "platform/qt/qt_help_viewer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

#include "dialogs/kelpie_icon.h"

// install.cmake tells where the share folder lies from the bin folder when it differs.
#ifndef KELPIE_HELP_FROM_BINDIR
#define KELPIE_HELP_FROM_BINDIR "../share/kelpie"
#endif

namespace kelpie {

QStringList helpDocumentCandidates() {
  const QDir bin(QCoreApplication::applicationDirPath());
  const QString name = QString::fromLatin1(kHelpFileName);
  return {
      QDir::cleanPath(bin.filePath(name)),
      QDir::cleanPath(bin.filePath(QStringLiteral(KELPIE_HELP_FROM_BINDIR) + u'/' + name)),
  };
}

QString findHelpDocument() {
  const QStringList candidates = helpDocumentCandidates();
  for (const QString& path : candidates) {
    if (QFileInfo(path).isFile()) return path;
  }
  const bool installed = QDir(QCoreApplication::applicationDirPath()).dirName() == u"bin";
  return installed ? candidates.at(1) : candidates.at(0);
}

QString helpAnchor(int context) {
  return context == 0 ? QString() : QStringLiteral("context-%1").arg(context);
}

QString missingHelpText(const QString& path) {
  return QStringLiteral("The help file is missing: ") + QDir::toNativeSeparators(path);
}

QtHelpViewer::QtHelpViewer(QString documentPath) : path_(std::move(documentPath)) {}

QtHelpViewer::~QtHelpViewer() { delete window_.data(); }

void QtHelpViewer::createWindow() {
  window_ = new QWidget(nullptr, Qt::Window);
  window_->setObjectName(QStringLiteral("helpWindow"));
  window_->setWindowTitle(QStringLiteral("Kelpie Help"));
  window_->setWindowIcon(kelpieIcon());
  browser_ = new QTextBrowser(window_);
  browser_->setObjectName(QStringLiteral("helpBrowser"));
  browser_->setOpenExternalLinks(true);
  auto* layout = new QVBoxLayout(window_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  window_->resize(720, 600);
}

void QtHelpViewer::showHelp(int context) {
  if (!window_) createWindow();
  anchor_ = helpAnchor(context);
  // Shown first, so the document is laid out at the window's width before it is scrolled.
  window_->show();
  window_->raise();
  window_->activateWindow();

  if (!QFileInfo(path_).isFile()) {
    browser_->setSource(QUrl());
    browser_->setPlainText(missingHelpText(path_));
    return;
  }
  const QUrl page = QUrl::fromLocalFile(path_);
  if (browser_->source().adjusted(QUrl::RemoveFragment) != page) browser_->setSource(page);
  if (anchor_.isEmpty()) {
    browser_->verticalScrollBar()->setValue(0);
  } else {
    browser_->scrollToAnchor(anchor_);
  }
}

int QtHelpViewer::scrollPosition() const {
  return browser_ ? browser_->verticalScrollBar()->value() : 0;
}

}  // namespace kelpie
