// The main window's controls and their drawing: built on the client area, placed there in
// proportion to its size and the zoom, showing the view state and handing the operator's edits
// back to it.
#pragma once

#include <QFont>
#include <string>
#include <vector>

#include "net/session.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QWidget;

namespace kelpie {

class CheckInsList;

class WindowView {
 public:
  // Builds the controls on client, the window's client area; base is their font at zoom 100.
  WindowView(QWidget* client, const QFont& base);

  QLabel* label1 = nullptr;
  QPushButton* command2 = nullptr;
  QLabel* label2 = nullptr;
  QLineEdit* entry = nullptr;
  CheckInsList* list = nullptr;
  QLabel* label3 = nullptr;
  QRadioButton* ack = nullptr;
  QRadioButton* comment = nullptr;
  QPushButton* cmdExit = nullptr;
  QListWidget* file1 = nullptr;

  // Shows the view state in the controls (the menus and the title are the window's).
  void draw(const MainView& v, const std::vector<std::string>& logFiles);
  // Takes what the operator typed and selected into the view state.
  void pull(MainView& v);
  // True while draw() runs: a control's change then is the program's, not the operator's.
  bool drawing() const { return drawing_; }
  // Places the controls and sizes every text for the client area's size and the zoom.
  void layout(int zoomPercent, bool fixedFont);
  // The client area for the controls at their designed size.
  static QSize designedSize(double dpi);

 private:
  QWidget* client_;
  QFont baseFont_;
  std::vector<std::string> shownLines_;
  // The entry line's text as the window last took it from the line or wrote it there: the
  // line is written only when a procedure changed the text since.
  std::string shownEntry_;
  int shownFocusRequests_ = 0;
  bool drawing_ = false;
};

// The zoom after a zoom key (Ctrl+Plus, Ctrl+Minus, Ctrl+0), or -1 for any other key.
int zoomAfterKey(int key, Qt::KeyboardModifiers mods, int percent);
inline constexpr int kZoomMin = 50;
inline constexpr int kZoomMax = 200;

}  // namespace kelpie
