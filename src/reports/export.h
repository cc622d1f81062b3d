// The export of a stored check-in log for other programs: a CSV table for spreadsheets
// (RFC 4180, UTF-8) and an ADIF 3.1 .adi file for the operators' logbooks.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/checkin_facts.h"
#include "data/checkin_log.h"
#include "data/checkin_times.h"
#include "data/roster.h"
#include "platform/seams.h"

namespace kelpie {

class Session;

enum class ExportFormat { Csv, Adif };

inline constexpr const char* kExportChooserTitle = " Select Check-in log file to export...";
inline constexpr const char* kExportTitle = " Export check-ins";
inline constexpr const char* kCsvFileType = "CSV (*.csv)";
inline constexpr const char* kAdifFileType = "ADIF (*.adi)";

// One check-in as both formats need it. Texts are Windows-1252 bytes.
struct ExportRow {
  std::string callSign, name, qth;
  std::string grid;  // a valid locator, or empty
  bool inOut = false;
  bool firstTime = false;
  std::optional<DateTime> utc;  // the moment of the check-in, when known
  CheckInFacts facts;           // from the side file beside the log
};

struct ExportNet {
  std::string logName;
  Date date;         // the net's date
  std::string band;  // the net's band text, as the operator wrote it
  std::vector<ExportRow> rows;
};

// The ADIF band ("2m", "1.25m", "70cm") a net's band text names, or empty text. The text is a
// number with an optional unit: m or meters (a band's name), cm, mm, kHz, MHz or GHz (a
// frequency inside the band). A bare number is a band's name in metres when there is such a
// band ("2", "40"), else a frequency in MHz ("146.52", "440"); "220" is 1.25m as it is
// commonly called.
std::string adifBand(std::string_view bandText);

std::string utf8From1252(std::string_view text);
// ADIF .adi strings hold only ASCII 32 to 126: letters lose their accents ("Jürgen" gives
// "Jurgen", "ß" gives "ss"); other characters become "?".
std::string asciiFrom1252(std::string_view text);
// One CSV field, quoted when it holds a comma, a quote or a line break. A field that starts
// with =, +, -, @, a tab or a CR is quoted and starts with a single quote inside the quotes, so
// a spreadsheet shows it as text instead of running it as a formula.
std::string csvField(std::string_view utf8);

// A QTH text split into the place and the locator at the start of the grid text it holds
// ("Boston  FN42AB  123°" or "FN42AB  123°"), or that it starts with ("FN42 Boston").
struct QthGrid {
  std::string place;
  std::string locator;  // first pair upper case, subsquare lower case; empty when none
};
QthGrid splitQthGrid(std::string_view qth);

// "2026-12-05" and "19:05".
std::string dateIso(const Date& d);
std::string hhmm(const DateTime& t);

// The date a log's name gives (MMDDYYF.ILE in any letter case), or nothing.
std::optional<Date> netDateFromLogName(std::string_view name);

// The rows of a stored log: the times from its times file, the facts from its side file (one
// per record, or none), first time when the roster's first check-in date is the net's date (or,
// for today's log, when the station is not in it yet).
ExportNet exportNet(const std::string& logName, const Date& date, const std::string& band,
                    const std::vector<LogRecord>& records, const std::vector<CheckInTime>& times,
                    const Roster& roster, bool todaysLog,
                    const std::vector<CheckInFacts>& facts = {});

// The whole CSV file (UTF-8 with a byte-order mark, CR LF line ends) and the whole ADIF file.
// clock gives the local times; created is the ADIF file's UTC creation time. A net with traffic,
// tactical calls, relays or remarks gets their columns after the others in the CSV file, and
// its remarks as ADIF NOTES; a net without them is exported as it always was.
std::string exportCsv(const ExportNet& net, Clock& clock);
std::string exportAdif(const ExportNet& net, const DateTime& created, const std::string& version);

// The format for a name typed in the save dialog and the name to write: the extension decides
// (".csv" or ".adi" in any letter case), else the selected type, whose extension is added.
ExportFormat exportFormatFor(std::string& path, int selectedType);

// Tools > "Export check-ins...".
void mExport_Click(Session& s);

}  // namespace kelpie
