// Kelpie's help: its own help window, a text browser over the help document shipped with the
// program, opened at the contents or at the topic of a context number.
#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTextBrowser>
#include <QWidget>

#include "platform/seams.h"

namespace kelpie {

inline constexpr const char* kHelpFileName = "kelpie-help.html";

// The places the help document may be, in the order they are tried: beside the program (a build
// folder), then the installed share folder.
QStringList helpDocumentCandidates();
// The first candidate that exists; when none does, the one an installed or built Kelpie should
// have (the share folder when the program runs from a "bin" folder, else beside the program).
QString findHelpDocument();
// The anchor a context number opens: empty for 0 (the contents at the top), else "context-N".
QString helpAnchor(int context);
// The line the help window shows when the document is missing.
QString missingHelpText(const QString& path);

class QtHelpViewer : public HelpViewer {
 public:
  explicit QtHelpViewer(QString documentPath = findHelpDocument());
  ~QtHelpViewer() override;
  QtHelpViewer(const QtHelpViewer&) = delete;
  QtHelpViewer& operator=(const QtHelpViewer&) = delete;

  void showHelp(int context) override;

  // For tests and the main window: the help window (null before the first showHelp), its text
  // browser, the anchor last asked for and the vertical scroll position.
  QWidget* window() const { return window_; }
  QTextBrowser* browser() const { return browser_; }
  QString currentAnchor() const { return anchor_; }
  int scrollPosition() const;
  QString documentPath() const { return path_; }

 private:
  void createWindow();

  QString path_;
  QString anchor_;
  QPointer<QWidget> window_;
  QPointer<QTextBrowser> browser_;
};

}  // namespace kelpie
