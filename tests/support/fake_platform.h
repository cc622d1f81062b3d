// Scripted stand-ins for the platform seams: they record every box shown and answer from
// queues, so core tests can assert Kelpie's exact words without a display.
#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "data/text.h"
#include "net/session.h"
#include "platform/seams.h"

namespace kelpie::test {

struct ShownBox {
  std::string kind;  // "message", "input" or "chooser"
  std::string text;  // message text, input prompt or the chooser's folder
  std::string title;
  Buttons buttons = Buttons::OK;
  Answer defaultButton = Answer::OK;
  std::string defaultText;
};

class FakeDialogs : public Dialogs {
 public:
  std::vector<ShownBox> shown;
  std::deque<Answer> messageAnswers;       // the default button when empty
  std::deque<std::string> inputAnswers;    // an unexpected box fails the test when empty
  std::deque<std::string> chooserAnswers;  // empty (Cancel) when the queue is empty
  std::deque<SaveChoice> saveAnswers;      // Cancel when the queue is empty
  std::function<void()> onMessage;         // called as each message box comes up
  Answer messageBox(const std::string& text, const std::string& title, Buttons buttons,
                    Answer defaultButton) override;
  std::string inputBox(const std::string& prompt, const std::string& title,
                       const std::string& defaultText) override;
  std::string chooseLogFile(const std::string& title, const std::string& folder) override;
  // Recorded as "chooser" with the selected name as defaultText.
  std::string chooseLogFileSelecting(const std::string& title, const std::string& folder,
                                     const std::string& selectedName) override;
  // Recorded as "save": text the start path, defaultText the types joined by "|".
  SaveChoice chooseSaveFile(const std::string& title, const std::string& startPath,
                            const std::vector<std::string>& types) override;
  std::vector<ShownBox> messages() const { return ofKind("message"); }
  std::vector<ShownBox> inputs() const { return ofKind("input"); }
  std::vector<ShownBox> ofKind(const std::string& kind) const;
  std::string boxes() const;  // every box shown, a "title / text" line each
};

struct FakeClock : Clock {
  Date date{2026, 12, 5};
  Date today() override { return date; }
  DateTime utc{{2026, 12, 6}, 1, 30, 0};
  int localOffsetMinutes = -300;  // the operator's zone, UTC-5
  DateTime nowUtc() override { return utc; }
  DateTime localTime(const DateTime& t) override;
};

struct FakeEvents : Events {
  int calls = 0;
  std::function<void()> onDoEvents;  // what the window would draw then
  void doEvents() override {
    if (++calls, onDoEvents) onDoEvents();
  }
};

struct FakeLauncher : Launcher {
  struct Start {
    std::string program;
    std::vector<std::string> args;
  };
  std::vector<Start> started;
  std::vector<std::string> opened;
  bool startSucceeds = true, openSucceeds = true;
  bool startDetached(const std::string& program, const std::vector<std::string>& args) override {
    return started.push_back({program, args}), startSucceeds;
  }
  bool openDocument(const std::string& path) override {
    return opened.push_back(path), openSucceeds;
  }
};

struct FakePrinter : Printer {
  struct Doc {
    std::string font;
    int size = 0;
    bool bold = false, italic = false, underline = false;
    std::vector<std::string> lines;
  };
  std::vector<Doc> documents;  // ended documents
  Doc current;
  bool failEnd = false;
  void setFont(const std::string& name, int size, bool bold, bool italic, bool underline) override {
    current = {name, size, bold, italic, underline, current.lines};
  }
  void printLine(const std::string& text) override { current.lines.push_back(text); }
  std::string endDoc(bool& ok) override {
    ok = !failEnd;
    documents.push_back(std::exchange(current, {}));
    return {};
  }
};

struct FakeHelp : HelpViewer {
  std::vector<int> contexts;
  void showHelp(int context) override { contexts.push_back(context); }
};

// A fresh temporary folder removed at the end of the test.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// A roster file with the header and the given station records (6 fields each, "-" filled in),
// and a settings file with the given grid and otherwise first-run values.
void writeRosterFile(const std::filesystem::path& folder,
                     const std::vector<std::vector<std::string>>& stations,
                     const std::string& band = "222 MHz", const std::string& call = "W1NC");
void writeSettingsFile(const std::filesystem::path& folder, const std::string& grid = "FN20XA");

// The bytes of tests/golden/<name>: an expected output kept as a file, compared byte for byte.
std::string golden(const std::string& name);

// Everything a core test needs: the fakes, a data folder, and a session over them.
struct Rig {
  TempFolder folder;
  FakeDialogs dialogs;
  FakeClock clock;
  FakeEvents events;
  FakeLauncher launcher;
  FakePrinter printer;
  FakeHelp help;
  Platform platform{dialogs, clock, events, launcher, printer, help};
  Session session{platform, folder.path()};

  // A data file in the folder: lines with CR LF after each, or bytes as they are.
  void write(const std::string& name, const Lines& lines) const {
    writeBytes(name, joinCrLf(lines));
  }
  void writeBytes(const std::string& name, const std::string& bytes) const;
  std::string read(const std::string& name) const;
  bool exists(const std::string& name) const { return std::filesystem::exists(folder / name); }
  void writeRoster(const std::vector<std::vector<std::string>>& stations,
                   const std::string& band = "222 MHz", const std::string& call = "W1NC") const {
    writeRosterFile(folder.path(), stations, band, call);
  }
  void writeSettings(const std::string& grid = "FN20XA") const {
    writeSettingsFile(folder.path(), grid);
  }
  // Starts the session as the window would (settings and roster written first if missing).
  bool start();
  // Types text on the entry line and presses Enter; enterAll types each in turn, the message
  // boxes they bring up answered from answers.
  void enter(const std::string& text);
  void enterAll(const std::vector<std::string>& entries, const std::deque<Answer>& answers = {});
};

}  // namespace kelpie::test
