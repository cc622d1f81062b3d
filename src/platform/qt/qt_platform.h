// Qt implementations of the dialog, clock, event and launcher seams.
#pragma once

#include <functional>

#include "platform/seams.h"

class QWidget;

namespace kelpie {

class QtDialogs : public Dialogs {
 public:
  std::function<QWidget*()> parent = [] { return nullptr; };
  // Brings the window up to the view state before a box covers it, as pending events would.
  std::function<void()> beforeBox;
  Answer messageBox(const std::string& text, const std::string& title, Buttons buttons,
                    Answer defaultButton) override;
  std::string inputBox(const std::string& prompt, const std::string& title,
                       const std::string& defaultText) override;
  std::string chooseLogFile(const std::string& title, const std::string& folder) override;
  std::string chooseLogFileSelecting(const std::string& title, const std::string& folder,
                                     const std::string& selectedName) override;
  SaveChoice chooseSaveFile(const std::string& title, const std::string& startPath,
                            const std::vector<std::string>& types) override;
};

class QtClock : public Clock {
 public:
  Date today() override;
  DateTime nowUtc() override;
  DateTime localTime(const DateTime& utc) override;
};

class QtEvents : public Events {
 public:
  std::function<void()> render;  // shows the view state before events run
  void doEvents() override;
};

class QtLauncher : public Launcher {
 public:
  bool startDetached(const std::string& program, const std::vector<std::string>& args) override;
  bool openDocument(const std::string& path) override;
};

}  // namespace kelpie
