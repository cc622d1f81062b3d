// "T#", "P#", "R#" and "V#" on the entry line, the popup's tactical call and relay, and the
// texts they show and say.
#include "net/traffic.h"

#include "data/checkin_times.h"
#include "net/list_lines.h"
#include "net/session.h"
#include "net/spoken.h"

namespace kelpie {

namespace {
constexpr const char* kTrafficPrompt =
    "Traffic of %: count, precedence, where to (for example 2 P Boston)";
constexpr const char* kListingHelp =
    " is not a traffic listing. Type the number of messages (1 when left out), the precedence "
    "(E, P, W or R: Emergency, Priority, Welfare, Routine) and where to, for example 2 P "
    "Boston. 0 clears the listing.";

std::string withCall(const char* text, const std::string& call) {
  std::string s = text;
  s.replace(s.find('%'), 1, call);
  return s;
}

// Control characters out (they would break the side file's line), spaces around trimmed.
std::string cleaned(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 32 || c == 127) c = ' ';
  return trimSpaces(out);
}
}  // namespace

std::optional<Listing> parseListing(std::string_view answer) {
  const std::string text = cleaned(answer);
  if (text == "0") return Listing{};
  Listing l;
  size_t at = 0;
  auto word = [&] {
    const size_t a = text.find_first_not_of(' ', at);
    if (a == std::string::npos) return std::string();
    const size_t b = text.find(' ', a);
    at = b == std::string::npos ? text.size() : b;
    return text.substr(a, at - a);
  };
  std::string w = word();
  if (!w.empty() && w.find_first_not_of("0123456789") == std::string::npos) {
    if (w.size() > 2 || w == "0" || w == "00") return std::nullopt;
    l.count = std::stoi(w);
    w = word();
  } else {
    l.count = 1;
  }
  const std::string p = upper1252(w);
  for (const char c : kPrecedences)
    if (p.size() == 1 ? p[0] == c : p == upper1252(precedenceWord(c))) l.precedence = c;
  if (!l.precedence || p.empty()) return std::nullopt;
  l.dest = trimSpaces(text.substr(at));
  if (l.dest.size() > kMaxFactText) return std::nullopt;
  return l;
}

std::string factsSuffix(const CheckInFacts& f) {
  std::string s;
  if (f.count > 0)
    s += "   <Trf " + toDec(f.count) + f.precedence + (f.passedTo.empty() ? ">" : " passed>");
  if (!f.tactical.empty()) s += "   <Tac " + f.tactical + ">";
  if (!f.relay.empty()) s += "   <via " + f.relay + ">";
  if (!f.remark.empty()) s += "   <Rmk " + f.remark + ">";
  return s;
}

std::string spokenListing(const CheckInFacts& f) {
  std::string s = toDec(f.count) + " " + lower1252(precedenceWord(f.precedence)) + " traffic";
  if (!f.dest.empty()) s += " for " + f.dest;
  return s;
}

std::string spokenFacts(const CheckInFacts& f) {
  std::string s;
  if (f.count > 0) {
    s += ", " + spokenListing(f);
    if (!f.passedTo.empty()) s += ", passed to " + f.passedTo;
  }
  if (!f.tactical.empty()) s += ", tactical call " + f.tactical;
  if (!f.relay.empty()) s += ", relayed by " + f.relay;
  if (!f.remark.empty()) s += ", remark: " + f.remark;
  return s;
}

std::string withoutSpaces(std::string_view s) {
  std::string out;
  for (const char c : s)
    if (c != ' ') out += c;
  return out;
}

std::string tacticalRefusal(std::string_view tactical) {
  const std::string t = withoutSpaces(tactical);
  auto digit = [&](size_t i) { return i < t.size() && t[i] >= '0' && t[i] <= '9'; };
  if (t.size() < 3 || t[0] == '?')
    return "A tactical call has at least three letters or digits and does not start with ?.";
  if (digit(1) || digit(2))
    return std::string(tactical) +
           " could be taken for a callsign: a tactical call has no numeral in its 2nd or 3rd "
           "character.";
  if (tactical.size() > kMaxFactText)
    return "A tactical call has at most " + toDec(kMaxFactText) + " characters.";
  return {};
}

// ---- the session's side --------------------------------------------------------------------

bool Session::factsCommand(const std::string& typed) {
  const std::string e = upper1252(typed);
  if (e.size() < 2 || e.size() > 3 || std::string_view("TPRV").find(e[0]) == std::string::npos)
    return false;
  const std::string rest = e.substr(1);
  if (rest.find_first_not_of("0123456789") != std::string::npos) return false;
  view.entryText.clear();
  const int n = std::stoi(rest);
  if (rosterEditMode || n < 1 || n > checkIns.count) {
    updateCheckIns();
    speak(view, spokenNoCheckIn(rest));
    return true;
  }
  updateCheckIns();
  selectLine(n - 1);
  doEvents();
  switch (e[0]) {
    case 'T':
      askTraffic(n);
      break;
    case 'P':
      askPassed(n);
      break;
    case 'R':
      askRemark(n);
      break;
    default:
      askRelay(n);
      break;
  }
  return true;
}

namespace {
// A window that only watches a shared net changes nothing of it.
bool refusedReadOnly(Session& s) {
  if (!s.shareReadOnly()) return false;
  s.ui.dialogs.messageBox(
      "Nothing is changed: this window may only watch the shared net. "
      "Check-ins are logged on the loggers' windows.",
      "Read-only", Buttons::OK, Answer::OK);
  return true;
}
}  // namespace

void Session::factsChanged(int n, const std::string& said, const std::string& urgent) {
  renderCheckInLines(ackMode());
  setPrompt();
  selectLine(n - 1);
  if (!urgent.empty()) {
    if (!urgentHintShown) hintBeforeUrgent = view.label3;
    urgentHintShown = true;
    view.label3 = urgent;
  }
  saveLogFile();
  speak(view, said);
  doEvents();
}

void Session::askTraffic(int n) {
  if (refusedReadOnly(*this)) return;
  CheckInFacts& f = checkIns.row(n).facts;
  const std::string call = checkIns.field(n, 1);
  const std::string current =
      f.count > 0 ? toDec(f.count) + " " + f.precedence + (f.dest.empty() ? "" : " " + f.dest) : "";
  const std::string answer =
      ui.dialogs.inputBox(withCall(kTrafficPrompt, call), " Traffic", current);
  if (trimSpaces(answer).empty()) return;
  const std::optional<Listing> l = parseListing(answer);
  if (!l) {
    ui.dialogs.messageBox("\"" + cleaned(answer) + "\"" + kListingHelp, " Traffic", Buttons::OK,
                          Answer::OK);
    return;
  }
  CheckInFacts& g = checkIns.row(n).facts;  // the box may have let the list change
  if (checkIns.count < n || checkIns.field(n, 1) != call) return;
  g.count = l->count;
  g.precedence = l->precedence;
  g.dest = l->dest;
  g.listedAt = l->count ? isoTimeText(ui.clock.nowUtc()) : "";
  g.passedTo.clear();
  g.passedAt.clear();
  const std::string head = toDec(n) + ", " + call + ", ";
  const std::string said = head + (l->count ? spokenListing(g) : "traffic cleared");
  std::string urgent;
  if (l->precedence == 'E' || l->precedence == 'P')
    urgent = precedenceWord(l->precedence) + " traffic: " + toDec(n) + ", " + call + ", " +
             toDec(l->count) + (l->dest.empty() ? "" : " for " + l->dest);
  factsChanged(n, said, urgent);
}

void Session::askPassed(int n) {
  if (refusedReadOnly(*this)) return;
  const std::string call = checkIns.field(n, 1);
  if (checkIns.row(n).facts.count == 0) {
    speak(view, "No traffic listed for " + toDec(n) + ", " + call);
    return;
  }
  const std::string answer =
      cleaned(ui.dialogs.inputBox("Traffic of " + call + " passed to:", " Passed", ""));
  if (answer.empty() || checkIns.count < n || checkIns.field(n, 1) != call) return;
  if (answer.size() > kMaxFactText) {
    ui.dialogs.messageBox("Passed to: at most " + toDec(kMaxFactText) + " characters.", " Passed",
                          Buttons::OK, Answer::OK);
    return;
  }
  CheckInFacts& f = checkIns.row(n).facts;
  f.passedTo = upper1252(answer);
  f.passedAt = isoTimeText(ui.clock.nowUtc());
  factsChanged(n, "traffic of " + toDec(n) + ", " + call + ", passed to " + f.passedTo);
}

namespace {
// A free-text fact: an empty answer changes nothing, "-" removes it. Nothing when unchanged.
std::optional<std::string> askText(Session& s, const std::string& prompt, const char* title,
                                   const std::string& current, size_t most, bool upper) {
  std::string answer = cleaned(s.ui.dialogs.inputBox(prompt, title, current));
  if (answer.empty()) return std::nullopt;
  if (answer == "-") return std::string();
  if (answer.size() > most) {
    s.ui.dialogs.messageBox(std::string(title).substr(1) + ": at most " + toDec(most) +
                                " characters; this has " +
                                toDec(static_cast<long long>(answer.size())) + ".",
                            title, Buttons::OK, Answer::OK);
    return std::nullopt;
  }
  return upper ? upper1252(answer) : answer;
}
}  // namespace

// The three free-text facts: how each is asked for and said.
struct Session::FactText {
  const char* prompt;  // "%" stands for the callsign
  const char* title;
  std::string CheckInFacts::*text;
  std::string CheckInFacts::*at;
  size_t most;
  bool upper;
  const char* said;     // ", remark: " and the text
  const char* removed;  // ", remark removed"
};

void Session::askFactText(int n, const FactText& kind) {
  if (refusedReadOnly(*this)) return;
  const std::string call = checkIns.field(n, 1);
  const auto text = askText(*this, withCall(kind.prompt, call), kind.title,
                            checkIns.row(n).facts.*kind.text, kind.most, kind.upper);
  if (!text || checkIns.count < n || checkIns.field(n, 1) != call) return;
  if (kind.text == &CheckInFacts::tactical && !text->empty()) {
    std::string refusal = tacticalRefusal(*text);
    const int holder = tacticalCheckIn(*text);
    if (refusal.empty() && holder != 0 && holder != n)
      refusal = *text + " is already the tactical call of " + toDec(holder) + ", " +
                checkIns.field(holder, 1) + ".";
    if (!refusal.empty()) {
      ui.dialogs.messageBox(refusal, kind.title, Buttons::OK, Answer::OK);
      return;
    }
  }
  CheckInFacts& f = checkIns.row(n).facts;
  f.*kind.text = *text;
  f.*kind.at = text->empty() ? "" : isoTimeText(ui.clock.nowUtc());
  factsChanged(n, toDec(n) + ", " + call + (text->empty() ? kind.removed : kind.said + *text));
}

void Session::askRemark(int n) {
  askFactText(n, {"Remark for %:", " Remark", &CheckInFacts::remark, &CheckInFacts::remarkAt,
                  kMaxRemark, false, ", remark: ", ", remark removed"});
}

void Session::askRelay(int n) {
  askFactText(n, {"% was relayed by:", " Relayed by", &CheckInFacts::relay, &CheckInFacts::relayAt,
                  kMaxFactText, true, ", relayed by ", ", relay removed"});
}

void Session::askTactical(int n) {
  askFactText(n, {"Tactical call for %:", " Tactical call", &CheckInFacts::tactical,
                  &CheckInFacts::tacticalAt, kMaxFactText, true, ", tactical call ",
                  ", tactical call removed"});
}

void Session::mnuPopUpTactical_Click() {
  if (viewOnlyLog || rosterEditMode) return;
  if (const int row = shownCheckInRow(*this)) askTactical(row);
}

void Session::mnuPopUpRelay_Click() {
  if (viewOnlyLog || rosterEditMode) return;
  if (const int row = shownCheckInRow(*this)) askRelay(row);
}

int Session::tacticalCheckIn(const std::string& typed) {
  const std::string want = withoutSpaces(upper1252(typed));
  if (want.empty()) return 0;
  for (int i = 1; i <= checkIns.count; ++i) {
    const std::string& t = checkIns.row(i).facts.tactical;
    if (!t.empty() && withoutSpaces(t) == want) return i;
  }
  return 0;
}

std::vector<std::string> Session::unpassedTraffic() {
  std::vector<std::string> calls;
  for (int i = 1; i <= checkIns.count; ++i)
    if (checkIns.row(i).facts.unpassed()) calls.push_back(checkIns.field(i, 1));
  return calls;
}

}  // namespace kelpie
