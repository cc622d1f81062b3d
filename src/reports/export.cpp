#include "reports/export.h"

#include <chrono>
#include <cstdio>
#include <unordered_map>

#include "geo/locator.h"
#include "net/session.h"
#include "reports/report_commands.h"
#include "reports/reports.h"

namespace kelpie {

namespace {

// ADIF bands with their edges in MHz.
struct BandEdge {
  double lo, hi;
  const char* name;
};
constexpr BandEdge kBands[] = {
    {0.1357, 0.1378, "2190m"}, {0.472, 0.479, "630m"},  {0.501, 0.504, "560m"},
    {1.8, 2.0, "160m"},        {3.5, 4.0, "80m"},       {5.06, 5.45, "60m"},
    {7.0, 7.3, "40m"},         {10.1, 10.15, "30m"},    {14.0, 14.35, "20m"},
    {18.068, 18.168, "17m"},   {21.0, 21.45, "15m"},    {24.89, 24.99, "12m"},
    {28.0, 29.7, "10m"},       {40, 45, "8m"},          {50, 54, "6m"},
    {54.000001, 69.9, "5m"},   {70, 71, "4m"},          {144, 148, "2m"},
    {222, 225, "1.25m"},       {420, 450, "70cm"},      {902, 928, "33cm"},
    {1240, 1300, "23cm"},      {2300, 2450, "13cm"},    {3300, 3500, "9cm"},
    {5650, 5925, "6cm"},       {10000, 10500, "3cm"},   {24000, 24250, "1.25cm"},
    {47000, 47200, "6mm"},     {75500, 81000, "4mm"},   {119980, 123000, "2.5mm"},
    {134000, 149000, "2mm"},   {241000, 250000, "1mm"}, {300000, 7500000, "submm"},
};

// The band named by a wavelength in the given unit ("m", "cm" or "mm").
std::string bandByWavelength(double length, const std::string& unit) {
  for (const BandEdge& b : kBands) {
    const std::string name = b.name;
    if (name.size() <= unit.size() || name.compare(name.size() - unit.size(), unit.size(), unit))
      continue;
    const std::string number = name.substr(0, name.size() - unit.size());
    if (number.find_first_not_of("0123456789.") != std::string::npos) continue;  // "submm"
    if (unit == "m" && (number.back() == 'c' || number.back() == 'm')) continue;
    if (std::stod(number) == length) return name;
  }
  return {};
}

std::string bandByFrequency(double mhz) {
  for (const BandEdge& b : kBands)
    if (mhz >= b.lo && mhz <= b.hi) return b.name;
  return {};
}

// Windows-1252 0x80 to 0x9F as Unicode; the five unassigned bytes keep their C1 code, as
// Windows converts them.
constexpr char16_t k1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// ASCII stand-ins for 0x80 to 0xFF ("" means "?").
constexpr const char* kAsciiHigh[128] = {
    "EUR", "",    ",",   "f", "\"", "...", "+",  "+", "^", "%", "S",  "<",   "OE", "",   "Z",
    "",    "",    "'",   "'", "\"", "\"",  "*",  "-", "-", "~", "TM", "s",   ">",  "oe", "",
    "z",   "Y",   " ",   "!", "c",  "L",   "",   "Y", "|", "S", "",   "(c)", "a",  "\"", "",
    "-",   "(R)", "",    "",  "+-", "2",   "3",  "'", "u", "P", ".",  "",    "1",  "o",  "\"",
    "1/4", "1/2", "3/4", "?", "A",  "A",   "A",  "A", "A", "A", "AE", "C",   "E",  "E",  "E",
    "E",   "I",   "I",   "I", "I",  "D",   "N",  "O", "O", "O", "O",  "O",   "x",  "O",  "U",
    "U",   "U",   "U",   "Y", "TH", "ss",  "a",  "a", "a", "a", "a",  "a",   "ae", "c",  "e",
    "e",   "e",   "e",   "i", "i",  "i",   "i",  "d", "n", "o", "o",  "o",   "o",  "o",  "/",
    "o",   "u",   "u",   "u", "u",  "y",   "th", "y"};

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool isValidLocatorWord(std::string_view w, bool allowField) {
  return (w.size() == 4 || w.size() == 6 || (allowField && w.size() == 2)) && decodeLocator(w);
}

std::string normalLocator(std::string_view w) {
  std::string s(w);
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (i < 2 && c >= 'a' && c <= 'z') s[i] = static_cast<char>(c - 'a' + 'A');
    if (i >= 4 && c >= 'A' && c <= 'Z') s[i] = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

void adifField(std::string& out, const char* name, const std::string& value) {
  if (value.empty()) return;
  out += '<';
  out += name;
  out += ':';
  out += toDec(static_cast<long long>(value.size()));
  out += '>';
  out += value;
  out += ' ';
}

std::string compactDate(const Date& d) {
  char b[16];
  std::snprintf(b, sizeof b, "%04d%02d%02d", d.year, d.month, d.day);
  return b;
}

std::string compactTime(const DateTime& t) {
  char b[16];
  std::snprintf(b, sizeof b, "%02d%02d%02d", t.hour, t.minute, t.second);
  return b;
}

bool endsWithCI(const std::string& s, const char* ext) {
  const std::string e = ext;
  return s.size() >= e.size() && lower1252(s.substr(s.size() - e.size())) == e;
}

}  // namespace

std::string dateIso(const Date& d) {
  char b[32];
  std::snprintf(b, sizeof b, "%04d-%02d-%02d", d.year, d.month, d.day);
  return b;
}

std::string hhmm(const DateTime& t) {
  char b[16];
  std::snprintf(b, sizeof b, "%02d:%02d", t.hour, t.minute);
  return b;
}

std::string adifBand(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && !(text[i] >= '0' && text[i] <= '9')) ++i;
  if (i == text.size()) return {};
  const size_t start = i;
  while (i < text.size() && ((text[i] >= '0' && text[i] <= '9') || text[i] == '.')) ++i;
  const std::string number(text.substr(start, i - start));
  if (number.find('.') != number.rfind('.') || number.back() == '.') return {};
  const double value = std::stod(number);
  while (i < text.size() && text[i] == ' ') ++i;
  size_t u = i;
  while (u < text.size() &&
         ((text[u] >= 'a' && text[u] <= 'z') || (text[u] >= 'A' && text[u] <= 'Z')))
    ++u;
  const std::string unit = lower1252(text.substr(i, u - i));
  if (unit == "m" || unit == "meter" || unit == "meters" || unit == "metre" || unit == "metres" ||
      unit == "mtr" || unit == "mtrs")
    return bandByWavelength(value, "m");
  if (unit == "cm" || unit == "mm") return bandByWavelength(value, unit);
  if (unit == "khz") return bandByFrequency(value / 1000);
  if (unit == "mhz" || unit == "mc") return value == 220 ? "1.25m" : bandByFrequency(value);
  if (unit == "ghz") return bandByFrequency(value * 1000);
  const std::string named = bandByWavelength(value, "m");
  if (!named.empty()) return named;
  return value == 220 ? "1.25m" : bandByFrequency(value);
}

std::string utf8From1252(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80)
      out += ch;
    else if (c < 0xA0)
      appendUtf8(out, k1252High[c - 0x80]);
    else
      appendUtf8(out, c);
  }
  return out;
}

std::string asciiFrom1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 0x20 && c < 0x7F) {
      out += ch;
    } else if (c < 0x80) {
      out += ' ';  // tabs and other controls
    } else {
      const char* s = kAsciiHigh[c - 0x80];
      out += *s ? s : "?";
    }
  }
  return out;
}

std::string csvField(std::string_view s) {
  // Names and places come from other operators (a shared net, a club list): a cell a
  // spreadsheet would run as a formula is marked as text with a leading quote.
  const bool formula =
      !s.empty() && std::string_view("=+-@\t\r").find(s[0]) != std::string_view::npos;
  if (!formula && s.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(s);
  std::string out = formula ? "\"'" : "\"";
  for (const char c : s) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

QthGrid splitQthGrid(std::string_view qth) {
  QthGrid r;
  // Grid text as the station lookup writes it: locator, two spaces, heading digits, degree sign.
  if (!qth.empty() && qth.back() == '\xB0') {
    size_t end = qth.size() - 1;
    size_t d = end;
    while (d > 0 && qth[d - 1] >= '0' && qth[d - 1] <= '9') --d;
    if (d < end && d >= 2 && qth.substr(d - 2, 2) == "  ") {
      const std::string_view before = qth.substr(0, d - 2);
      const size_t sp = before.rfind(' ');
      const std::string_view word = sp == std::string_view::npos ? before : before.substr(sp + 1);
      if (isValidLocatorWord(word, true)) {
        r.locator = normalLocator(word);
        r.place = trimSpaces(before.substr(0, before.size() - word.size()));
        return r;
      }
    }
  }
  r.place = std::string(qth);
  const size_t sp = qth.find(' ');
  const std::string_view first = qth.substr(0, sp);
  if (isValidLocatorWord(first, false)) r.locator = normalLocator(first);
  return r;
}

std::optional<Date> netDateFromLogName(std::string_view name) {
  if (name.size() != 11 || lower1252(name.substr(6)) != "f.ile") return std::nullopt;
  for (size_t i = 0; i < 6; ++i)
    if (name[i] < '0' || name[i] > '9') return std::nullopt;
  auto two = [&](size_t at) { return (name[at] - '0') * 10 + (name[at + 1] - '0'); };
  const Date d{2000 + two(4), two(0), two(2)};
  const std::string iso = dateIso(d) + "T00:00:00Z";
  if (!parseIsoTime(iso)) return std::nullopt;  // no such day
  return d;
}

ExportNet exportNet(const std::string& logName, const Date& date, const std::string& band,
                    const std::vector<LogRecord>& records, const std::vector<CheckInTime>& times,
                    const Roster& roster, bool todaysLog, const std::vector<CheckInFacts>& facts) {
  ExportNet net{logName, date, band, {}};
  std::unordered_map<std::string, const RosterEntry*> byCall;
  for (int r = roster.count(); r >= 2; --r) byCall[roster.row(r).callSign] = &roster.row(r);
  const std::string netDay = dateText(date);
  net.rows.reserve(records.size());
  for (size_t k = 0; k < records.size(); ++k) {
    const LogRecord& rec = records[k];
    ExportRow row;
    row.callSign = rec.callSign;
    row.name = rec.name;
    QthGrid g = splitQthGrid(rec.qth);
    row.qth = std::move(g.place);
    row.grid = std::move(g.locator);
    if (k < times.size() && times[k].callSign == rec.callSign) {
      row.inOut = times[k].inOut;
      row.utc = parseIsoTime(times[k].time);
    }
    auto it = byCall.find(rec.callSign);
    row.firstTime = it == byCall.end() ? todaysLog : it->second->initialCheckInDate == netDay;
    if (k < facts.size()) row.facts = facts[k];
    net.rows.push_back(std::move(row));
  }
  return net;
}

std::string exportCsv(const ExportNet& net, Clock& clock) {
  std::string out = "\xEF\xBB\xBF";  // spreadsheets take the file for UTF-8 only with the mark
  out.reserve(64 + net.rows.size() * 96);
  bool withFacts = false;
  for (const ExportRow& r : net.rows) withFacts = withFacts || !r.facts.empty();
  out += "Number,Callsign,Name,QTH,Grid,In and out,First time,Date,Time UTC,Time local";
  out += withFacts ? ",Traffic count,Precedence,Destination,Passed to,Passed at,Tactical call,"
                     "Relayed by,Remark\r\n"
                   : "\r\n";
  const std::string date = dateIso(net.date);
  int n = 0;
  for (const ExportRow& r : net.rows) {
    out += toDec(++n);
    for (const std::string* s : {&r.callSign, &r.name, &r.qth, &r.grid}) {
      out += ',';
      out += csvField(utf8From1252(*s));
    }
    out += r.inOut ? ",yes" : ",no";
    out += r.firstTime ? ",yes," : ",no,";
    out += date;
    out += ',';
    if (r.utc) out += hhmm(*r.utc);
    out += ',';
    if (r.utc) out += hhmm(clock.localTime(*r.utc));
    if (withFacts) {
      const CheckInFacts& f = r.facts;
      out += ',';
      if (f.count > 0) out += toDec(f.count);
      out += ',' + precedenceWord(f.precedence);
      const std::optional<DateTime> passed = parseIsoTime(f.passedAt);
      const std::string passedAt = passed ? hhmm(clock.localTime(*passed)) : "";
      for (const std::string* t :
           {&f.dest, &f.passedTo, &passedAt, &f.tactical, &f.relay, &f.remark})
        out += ',' + csvField(utf8From1252(*t));
    }
    out += "\r\n";
  }
  return out;
}

std::string exportAdif(const ExportNet& net, const DateTime& created, const std::string& version) {
  std::string out;
  out.reserve(256 + net.rows.size() * 160);
  out += "Check-ins of the " + asciiFrom1252(net.band) + " net of " + dateIso(net.date) + " (" +
         asciiFrom1252(net.logName) + "), exported by Kelpie\r\n";
  const std::string stamp = compactDate(created.date) + " " + compactTime(created);
  for (const auto& [name, value] : {std::pair<const char*, std::string>{"ADIF_VER", "3.1.4"},
                                    {"PROGRAMID", "Kelpie"},
                                    {"PROGRAMVERSION", asciiFrom1252(version)},
                                    {"CREATED_TIMESTAMP", stamp}}) {
    adifField(out, name, value);
    out.back() = '\r';
    out += '\n';
  }
  out += "<EOH>\r\n";
  const std::string band = adifBand(net.band);
  for (const ExportRow& r : net.rows) {
    adifField(out, "CALL", asciiFrom1252(r.callSign));
    adifField(out, "QSO_DATE", compactDate(r.utc ? r.utc->date : net.date));
    if (r.utc) adifField(out, "TIME_ON", compactTime(*r.utc));
    adifField(out, "BAND", band);
    adifField(out, "NAME", trimSpaces(asciiFrom1252(r.name)));
    adifField(out, "QTH", trimSpaces(asciiFrom1252(r.qth)));
    adifField(out, "GRIDSQUARE", r.grid);
    adifField(out, "COMMENT",
              std::string("Net check-in") + (r.inOut ? ", in and out" : "") +
                  (r.utc ? "" : ", time unknown"));
    adifField(out, "NOTES", trimSpaces(asciiFrom1252(r.facts.remark)));
    out += "<EOR>\r\n";
  }
  return out;
}

ExportFormat exportFormatFor(std::string& path, int selectedType) {
  if (endsWithCI(path, ".csv")) return ExportFormat::Csv;
  if (endsWithCI(path, ".adi")) return ExportFormat::Adif;
  const ExportFormat f = selectedType == 1 ? ExportFormat::Adif : ExportFormat::Csv;
  path += f == ExportFormat::Adif ? ".adi" : ".csv";
  return f;
}

namespace {
// The date of a log whose name gives none: the day it was last written, in local time.
Date lastWrittenDate(Session& s, const fs::path& path) {
  std::error_code ec;
  const auto when = fs::last_write_time(path, ec);
  if (ec) return s.ui.clock.today();
  const auto sys = std::chrono::file_clock::to_sys(when);
  const long long minutes =
      std::chrono::duration_cast<std::chrono::minutes>(sys.time_since_epoch()).count();
  return s.ui.clock.localTime(addMinutes(DateTime{{1970, 1, 1}, 0, 0, 0}, minutes)).date;
}

std::string safeFileName(std::string s) {
  for (char& c : s)
    if (c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
        c == '>' || c == '|')
      c = '-';
  return trimSpaces(s);
}
}  // namespace

void mExport_Click(Session& s) {
  const fs::path today = s.todayLogPath();
  std::error_code ec;
  const std::string preselect = fs::is_regular_file(today, ec) ? today.filename().string() : "";
  const std::string chosen =
      s.ui.dialogs.chooseLogFileSelecting(kExportChooserTitle, pathText(s.logFolder), preselect);
  if (chosen.empty()) return;
  const std::string logName = nameOfChosenPath(chosen);
  const fs::path path = chosenLogPath(s, logName);
  const ReportLog log = readReportLog(path);
  if (!log.ok) {
    reportUnreadableLog(s, path, log.error);
    return;
  }
  const Date date = netDateFromLogName(path.filename().string()).value_or(lastWrittenDate(s, path));

  const std::string proposed = safeFileName(s.settings.netBand) + " " + dateIso(date) + ".csv";
  SaveChoice where = s.ui.dialogs.chooseSaveFile(kExportTitle, pathText(s.logFolder / proposed),
                                                 {kCsvFileType, kAdifFileType});
  if (where.path.empty()) return;
  const ExportFormat format = exportFormatFor(where.path, where.type);
  const fs::path target(where.path);
  if (fs::exists(target, ec) &&
      s.ui.dialogs.messageBox(pathText(target) + " already exists.\r\n\r\nReplace it?",
                              kExportTitle, Buttons::YesNo, Answer::No) != Answer::Yes)
    return;

  std::vector<std::string> calls;
  calls.reserve(log.records.size());
  for (const LogRecord& r : log.records) calls.push_back(r.callSign);
  const bool todaysLog = lower1252(path.filename().string()) == lower1252(s.todayLogName);
  const ExportNet net =
      exportNet(path.filename().string(), date, s.settings.netBand, log.records,
                readTimesFor(path, calls), s.roster, todaysLog, readFactsFor(path, calls));
  const std::string version = startsWith(s.versionTag, "v") ? s.versionTag.substr(1) : s.versionTag;
  const std::string bytes = format == ExportFormat::Csv
                                ? exportCsv(net, s.ui.clock)
                                : exportAdif(net, s.ui.clock.nowUtc(), version);
  std::string error;
  if (!writeBytesAtomic(target, bytes, &error)) {
    s.ui.dialogs.messageBox(
        "Kelpie could not write " + pathText(target) + " (" + error + "). Nothing was exported.",
        kExportTitle, Buttons::OK, Answer::OK);
    return;
  }
  s.ui.dialogs.messageBox(toDec(static_cast<long long>(net.rows.size())) +
                              " check-ins exported to " + pathText(target) + ".",
                          kExportTitle, Buttons::OK, Answer::OK);
}

}  // namespace kelpie
