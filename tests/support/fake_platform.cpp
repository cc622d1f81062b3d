#include "support/fake_platform.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <fstream>

#include "data/checkin_times.h"

namespace kelpie::test {

Answer FakeDialogs::messageBox(const std::string& text, const std::string& title, Buttons buttons,
                               Answer defaultButton) {
  shown.push_back({"message", text, title, buttons, defaultButton, ""});
  if (messageAnswers.empty()) return defaultButton;
  const Answer a = messageAnswers.front();
  messageAnswers.pop_front();
  return a;
}

std::string FakeDialogs::inputBox(const std::string& prompt, const std::string& title,
                                  const std::string& defaultText) {
  shown.push_back({"input", prompt, title, Buttons::OKCancel, Answer::OK, defaultText});
  if (inputAnswers.empty()) {
    ADD_FAILURE() << "unexpected input box: " << prompt;
    throw std::runtime_error("no scripted answer for input box");
  }
  std::string a = inputAnswers.front();
  inputAnswers.pop_front();
  return a;
}

std::string FakeDialogs::chooseLogFile(const std::string& title, const std::string& folder) {
  shown.push_back({"chooser", folder, title, Buttons::OKCancel, Answer::OK, ""});
  if (chooserAnswers.empty()) return {};
  std::string a = chooserAnswers.front();
  chooserAnswers.pop_front();
  return a;
}

std::string FakeDialogs::chooseLogFileSelecting(const std::string& title, const std::string& folder,
                                                const std::string& selectedName) {
  const std::string a = chooseLogFile(title, folder);
  shown.back().defaultText = selectedName;
  return a;
}

SaveChoice FakeDialogs::chooseSaveFile(const std::string& title, const std::string& startPath,
                                       const std::vector<std::string>& types) {
  std::string joined;
  for (const auto& t : types) joined += (joined.empty() ? "" : "|") + t;
  shown.push_back({"save", startPath, title, Buttons::OKCancel, Answer::OK, joined});
  if (saveAnswers.empty()) return {};
  SaveChoice a = saveAnswers.front();
  saveAnswers.pop_front();
  return a;
}

std::vector<ShownBox> FakeDialogs::messages() const {
  std::vector<ShownBox> r;
  for (const auto& b : shown)
    if (b.kind == "message") r.push_back(b);
  return r;
}

std::vector<ShownBox> FakeDialogs::inputs() const {
  std::vector<ShownBox> r;
  for (const auto& b : shown)
    if (b.kind == "input") r.push_back(b);
  return r;
}

DateTime FakeClock::localTime(const DateTime& t) { return addMinutes(t, localOffsetMinutes); }

bool FakeLauncher::startDetached(const std::string& program, const std::vector<std::string>& args) {
  started.push_back({program, args});
  return startSucceeds;
}

bool FakeLauncher::openDocument(const std::string& path) {
  opened.push_back(path);
  return openSucceeds;
}

void FakePrinter::setFont(const std::string& name, int pointSize, bool bold, bool italic,
                          bool underline) {
  current.font = name;
  current.size = pointSize;
  current.bold = bold;
  current.italic = italic;
  current.underline = underline;
}

void FakePrinter::printLine(const std::string& text) { current.lines.push_back(text); }

std::string FakePrinter::endDoc(bool& ok) {
  ok = !failEnd;
  documents.push_back(current);
  current = {};
  return {};
}

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  path_ = std::filesystem::temp_directory_path() /
          ("kelpie-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void Rig::write(const std::string& name, const Lines& lines) const {
  writeBytes(name, joinCrLf(lines));
}

void Rig::writeBytes(const std::string& name, const std::string& bytes) const {
  std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string Rig::read(const std::string& name) const {
  std::string s;
  readBytes(folder / name, s);
  return s;
}

bool Rig::exists(const std::string& name) const { return std::filesystem::exists(folder / name); }

void writeRosterFile(const std::filesystem::path& folder,
                     const std::vector<std::vector<std::string>>& stations, const std::string& band,
                     const std::string& call) {
  Lines lines{band,           call, "1/2/2020", "initial check-in date", "last check-in date",
              "old call sign"};
  for (const auto& st : stations) {
    for (size_t f = 0; f < 6; ++f) lines.push_back(f < st.size() ? st[f] : "-");
  }
  writeLinesAtomic(folder / "NETCONT.ROL", lines);
}

void writeSettingsFile(const std::filesystem::path& folder, const std::string& grid) {
  NetSettings s;
  s.logFolder = folder.string();
  s.netControlCall = "W1NC";
  s.netBand = "222 MHz";
  s.netControlGrid = grid;
  writeLinesAtomic(folder / "Kelpie_Control.ini", settingsFileLines(s));
}

void Rig::writeRoster(const std::vector<std::vector<std::string>>& stations,
                      const std::string& band, const std::string& call) const {
  writeRosterFile(folder.path(), stations, band, call);
}

void Rig::writeSettings(const std::string& grid) const { writeSettingsFile(folder.path(), grid); }

bool Rig::start() {
  if (!exists("NETCONT.ROL")) writeRoster({});
  if (!exists("Kelpie_Control.ini")) writeSettings();
  return session.Form_Load();
}

void Rig::enter(const std::string& text) {
  session.view.entryText = text;
  int key = kKeyEnter;
  session.Form_KeyDown(kKeyEnter, 0);
  session.CallSignInput_KeyPress(key);
}

}  // namespace kelpie::test
