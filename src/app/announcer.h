// Hands the screen reader what the core decided the operator is to hear, said at once wherever
// the keyboard is: on Qt 6.8 and later as an announcement; before that through a small
// notification of the window that shows itself again with the text as its name, which Orca says.
#pragma once

#include <QString>
#include <QWidget>

#include "net/session.h"

namespace kelpie {

// The notification: nothing to see, one pixel in a corner of the window.
class SpokenNotice : public QWidget {
  Q_OBJECT
 public:
  explicit SpokenNotice(QWidget* parent);
};

class Announcer {
 public:
  // window: the widget the notification sits in (the window's client area).
  explicit Announcer(QWidget* window);
  // Says text now (again, if it is the last one said).
  void say(const QString& text);
  // Says the view state's text when a procedure has given a new one.
  void draw(const MainView& v);

 private:
  QWidget* window_;
  SpokenNotice* notice_ = nullptr;
  int saidRequests_ = 0;
};

}  // namespace kelpie
