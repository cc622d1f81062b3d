#include "support/fake_platform.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <fstream>

#include "data/checkin_times.h"

namespace kelpie::test {
namespace {
template <class T>
T next(std::deque<T>& queue, T whenEmpty) {
  if (queue.empty()) return whenEmpty;
  T a = queue.front();
  queue.pop_front();
  return a;
}
}  // namespace

Answer FakeDialogs::messageBox(const std::string& text, const std::string& title, Buttons buttons,
                               Answer defaultButton) {
  shown.push_back({"message", text, title, buttons, defaultButton, ""});
  if (onMessage) onMessage();
  return next(messageAnswers, defaultButton);
}

std::string FakeDialogs::inputBox(const std::string& prompt, const std::string& title,
                                  const std::string& defaultText) {
  shown.push_back({"input", prompt, title, Buttons::OKCancel, Answer::OK, defaultText});
  if (inputAnswers.empty()) {
    ADD_FAILURE() << "unexpected input box: " << prompt;
    throw std::runtime_error("no scripted answer for input box");
  }
  return next(inputAnswers, std::string());
}

std::string FakeDialogs::chooseLogFile(const std::string& title, const std::string& folder) {
  shown.push_back({"chooser", folder, title, Buttons::OKCancel, Answer::OK, ""});
  return next(chooserAnswers, std::string());
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
  return next(saveAnswers, SaveChoice{});
}

DateTime FakeClock::localTime(const DateTime& t) { return addMinutes(t, localOffsetMinutes); }

std::vector<ShownBox> FakeDialogs::ofKind(const std::string& kind) const {
  std::vector<ShownBox> r;
  for (const auto& b : shown)
    if (b.kind == kind) r.push_back(b);
  return r;
}

std::string FakeDialogs::boxes() const {
  std::string all;
  for (const ShownBox& b : shown) all += b.title + " / " + b.text + "\n";
  return all;
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

void writeRosterFile(const std::filesystem::path& folder,
                     const std::vector<std::vector<std::string>>& stations, const std::string& band,
                     const std::string& call) {
  Lines lines{band,           call, "1/2/2020", "initial check-in date", "last check-in date",
              "old call sign"};
  for (const auto& st : stations)
    for (size_t f = 0; f < 6; ++f) lines.push_back(f < st.size() ? st[f] : "-");
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

void Rig::writeBytes(const std::string& name, const std::string& bytes) const {
  std::ofstream(folder / name, std::ios::binary | std::ios::trunc) << bytes;
}

std::string Rig::read(const std::string& name) const {
  std::string s;
  readBytes(folder / name, s);
  return s;
}

std::string golden(const std::string& name) {
  std::string s;
  EXPECT_TRUE(readBytes(std::filesystem::path(KELPIE_TEST_GOLDEN_DIR) / name, s)) << name;
  return s;
}

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

void Rig::enterAll(const std::vector<std::string>& entries, const std::deque<Answer>& answers) {
  dialogs.messageAnswers = answers;
  for (const auto& e : entries) enter(e);
}

}  // namespace kelpie::test
