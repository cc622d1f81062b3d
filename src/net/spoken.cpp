#include "net/spoken.h"

#include <string_view>

#include "net/traffic.h"

namespace kelpie {

namespace {
constexpr size_t kFoundSaid = 3;  // lines of a search's answer said after the count
constexpr int kLastSaid = 3;      // check-ins said by "Read the net so far"
constexpr const char* kFirstTime = "  First time check-in";

// Shown signs and their words; "&&" is how a caption keeps one "&".
constexpr std::pair<std::string_view, std::string_view> kSigns[] = {
    {"&&", "&"},         {"in&out", "in and out"}, {"<Ack>", "acknowledged"}, {"<Com>", "comments"},
    {"<Esc>", "Escape"}, {"<Enter>", "Enter"},     {"(in)", "checked in"},    {"\xB0", " degrees"},
};

std::string trimmed(std::string_view s) {
  const size_t a = s.find_first_not_of(' ');
  if (a == std::string_view::npos) return {};
  return std::string(s.substr(a, s.find_last_not_of(' ') - a + 1));
}

void add(std::string& out, const std::string& part) {
  if (part.empty()) return;
  if (!out.empty()) out += ", ";
  out += part;
}
}  // namespace

void speak(MainView& v, std::string text) {
  v.spoken = std::move(text);
  ++v.spokenRequests;
}

std::string spokenWords(const std::string& shown) {
  std::string text = shown;
  // A check-in's facts on its list line: "<Trf 2P passed>" said as "2 priority traffic passed".
  for (const auto& [sign, words] : {std::pair<std::string_view, std::string_view>{"<Trf ", ""},
                                    {"<Tac ", "tactical call "},
                                    {"<via ", "relayed by "},
                                    {"<Rmk ", "remark: "}}) {
    for (size_t at = text.find(sign); at != std::string::npos; at = text.find(sign, at)) {
      const size_t end = text.find('>', at);
      if (end == std::string::npos) break;
      std::string inner = text.substr(at + sign.size(), end - at - sign.size());
      if (words.empty()) {  // "2P" or "2P passed"
        const size_t p = inner.find_first_not_of("0123456789");
        if (p == std::string::npos || p == 0) break;
        inner = inner.substr(0, p) + " " + lower1252(precedenceWord(inner[p])) + " traffic" +
                inner.substr(p + 1);
      }
      text.replace(at, end + 1 - at, std::string(words) + inner);
    }
  }
  for (const auto& [sign, words] : kSigns) {
    for (size_t at = text.find(sign); at != std::string::npos;
         at = text.find(sign, at + words.size()))
      text.replace(at, sign.size(), words);
  }
  std::string out;
  for (const char c : text) {
    if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
    out += c;
  }
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::string spokenCheckIn(const CheckInRow& row, int n) {
  std::string out = toDec(n);
  add(out, spokenWords(row.f[1]));
  if (!row.f[8].empty()) add(out, "in and out");
  add(out, spokenWords(row.f[2]));
  // A first-timer's QTH text ends with the grid, which is said on its own below.
  std::string qth = row.f[3];
  const std::string& grid = row.f[6];
  if (!grid.empty() && qth.size() >= grid.size() &&
      qth.compare(qth.size() - grid.size(), grid.size(), grid) == 0)
    qth.resize(qth.size() - grid.size());
  add(out, spokenWords(qth));
  if (row.f[4] == kFirstTime) add(out, "first time");
  if (!grid.empty()) {
    const size_t gap = grid.find("  ");
    add(out, "grid " + spokenWords(grid.substr(0, gap)));
    if (gap != std::string::npos) add(out, "heading " + spokenWords(grid.substr(gap)));
  }
  return out + spokenFacts(row.facts);
}

std::string spokenDeleted(int n, const std::string& callsign) {
  return "Deleted " + toDec(n) + ", " + spokenWords(callsign);
}

std::string spokenNoCheckIn(const std::string& typed) { return "No check-in " + typed; }

std::string spokenMark(const CheckInRow* row, int n, int field, bool set) {
  if (!row) return spokenNoCheckIn(toDec(n));
  const char* mark = field == 7 ? (set ? "acknowledged" : "acknowledgement cleared")
                                : (set ? "comments" : "comments cleared");
  return toDec(n) + ", " + spokenWords(row->f[1]) + ", " + mark;
}

std::string spokenListLine(const std::string& line, int index, int count) {
  return toDec(index + 1) + " of " + toDec(count) + ", " + spokenWords(line);
}

std::string spokenFound(const std::vector<std::string>& lines, size_t found) {
  if (found == 0) return lines.empty() ? std::string() : spokenWords(lines.front());
  std::string out =
      toDec(static_cast<long long>(found)) + (found == 1 ? " station" : " stations") + " found";
  for (size_t i = 0; i < lines.size() && i < kFoundSaid; ++i) out += ". " + spokenWords(lines[i]);
  if (found > kFoundSaid)
    out += ". And " + toDec(static_cast<long long>(found - kFoundSaid)) + " more";
  return out;
}

std::string spokenReport(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines)
    if (trimmed(line) != "-") add(out, spokenWords(line));
  return out;
}

std::string spokenNetSoFar(CheckInTable& checkIns) {
  const int n = checkIns.count;
  if (n == 0) return "No check-ins yet";
  std::string out = toDec(n) + (n == 1 ? " check-in" : " check-ins");
  out += n == 1 ? ". It is " : ". The last, newest first: ";
  for (int i = n; i > 0 && i > n - kLastSaid; --i)
    out += (i == n ? "" : "; ") + spokenCheckIn(checkIns.row(i), i);
  int unpassed = 0;
  for (int i = 1; i <= n; ++i) unpassed += checkIns.row(i).facts.unpassed() ? 1 : 0;
  if (unpassed > 0)
    out += ". " + toDec(unpassed) +
           (unpassed == 1 ? " station with traffic not yet passed"
                          : " stations with traffic not yet passed");
  return out;
}

void mReadNet_Click(Session& s) { speak(s.view, spokenNetSoFar(s.checkIns)); }

}  // namespace kelpie
