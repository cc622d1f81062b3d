// The platform seams: every question Kelpie's core asks the operator and every outside
// effect it needs (date, repaint, other programs, printer, help) goes through these.
// The Qt shell implements them with real widgets; tests use scripted fakes.
#pragma once

#include <string>
#include <vector>

namespace kelpie {

struct Date {
  int year = 2000;
  int month = 1;
  int day = 1;
};

enum class Buttons { OK, OKCancel, YesNo };
enum class Answer { OK, Cancel, Yes, No };

// Texts are Windows-1252 bytes, as the data files hold them.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // An empty title means the program's own name.
  virtual Answer messageBox(const std::string& text, const std::string& title, Buttons buttons,
                            Answer defaultButton) = 0;
  // Returns the typed text; Cancel gives empty text.
  virtual std::string inputBox(const std::string& prompt, const std::string& title,
                               const std::string& defaultText) = 0;
  // File-open dialog over "*.ile" files starting in folder; full path or empty on cancel.
  virtual std::string chooseLogFile(const std::string& title, const std::string& folder) = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual Date today() = 0;
};

class Events {
 public:
  virtual ~Events() = default;
  // Shows the current view state and lets pending window events run.
  virtual void doEvents() = 0;
};

class Launcher {
 public:
  virtual ~Launcher() = default;
  // Starts program with args, detached, never through a shell. False when it cannot start.
  virtual bool startDetached(const std::string& program, const std::vector<std::string>& args) = 0;
  // Opens a document with the desktop's default application. False when nothing opened it.
  virtual bool openDocument(const std::string& path) = 0;
};

class Printer {
 public:
  virtual ~Printer() = default;
  // Names the next document after the command that prints it (a PDF file takes this name).
  virtual void setJobName(const std::string& /*name*/) {}
  virtual void setFont(const std::string& name, int pointSize, bool bold, bool italic,
                       bool underline) = 0;
  virtual void printLine(const std::string& text) = 0;
  // Ends the document and sends it out. Returns a note for the operator when the pages went
  // somewhere other than a printer (a PDF file), else empty text; sets ok false on failure.
  virtual std::string endDoc(bool& ok) = 0;
};

class HelpViewer {
 public:
  virtual ~HelpViewer() = default;
  // context 0 opens the contents; any other number opens that topic.
  virtual void showHelp(int context) = 0;
};

// The one bundle of seams the session is given.
struct Platform {
  Dialogs& dialogs;
  Clock& clock;
  Events& events;
  Launcher& launcher;
  Printer& printer;
  HelpViewer& help;
};

}  // namespace kelpie
