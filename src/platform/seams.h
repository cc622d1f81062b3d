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

// A moment to the second, in UTC or in local time as the caller says.
struct DateTime {
  Date date;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// The answer of a save-file dialog: the path (empty on cancel) and the file type that was
// selected, as an index into the types offered.
struct SaveChoice {
  std::string path;
  int type = 0;
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
  // The same dialog with the file selectedName (in folder) selected when it opens.
  virtual std::string chooseLogFileSelecting(const std::string& title, const std::string& folder,
                                             const std::string& /*selectedName*/) {
    return chooseLogFile(title, folder);
  }
  // File-save dialog starting at startPath (folder and proposed name), offering types such as
  // "CSV (*.csv)". It does not ask about replacing a file: the caller does, once it knows the
  // final name. The default is a dialog that is always cancelled.
  virtual SaveChoice chooseSaveFile(const std::string& /*title*/, const std::string& /*startPath*/,
                                    const std::vector<std::string>& /*types*/) {
    return {};
  }
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual Date today() = 0;
  // The present moment in UTC.
  virtual DateTime nowUtc() = 0;
  // The operator's local time at the UTC moment utc.
  virtual DateTime localTime(const DateTime& utc) = 0;
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

// A ruled form laid out for the page: its lines and its texts, in points from the top left
// corner of the paper. Texts are Windows-1252 bytes, drawn in the forms' sans-serif face with
// y at the baseline; the layout has already wrapped them to fit their cells.
struct SheetLine {
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0, width = 0.5;
};
struct SheetText {
  double x = 0, y = 0;
  std::string text;
  double size = 9;
  bool bold = false;
};
struct SheetPage {
  std::vector<SheetLine> lines;
  std::vector<SheetText> texts;
};
struct Sheet {
  std::string title;  // the document's name (a print job, a PDF's title)
  double width = 612, height = 792;
  std::vector<SheetPage> pages;
};

// Where the ICS forms go: a PDF file or the printer.
class FormPrinter {
 public:
  virtual ~FormPrinter() = default;
  // The paper the forms are laid out for: Letter or A4, in points, as the printer (or, without
  // one, the locale) has it.
  virtual void paper(double& width, double& height) = 0;
  // The width in points of text in the forms' face at size points.
  virtual double textWidth(const std::string& text, double size, bool bold) = 0;
  // Writes the pages as a PDF file at path (whole or not at all); false with the reason.
  virtual bool savePdf(const Sheet& sheet, const std::string& path, std::string* error) = 0;
  // Prints the pages on the default printer; false with the reason (no printer is set up).
  virtual bool print(const Sheet& sheet, std::string* error) = 0;
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
