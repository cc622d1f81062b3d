// Fuzzes the ADIF grid lookups (first line a callsign, the rest vhf4k.adi): at every block size
// both lookups give what the rules read plainly give (old comma lines first, else ADIF 3 records).
#include <optional>
#include <regex>

#include "fuzz_harness.h"
#include "geo/adif.h"
#include "reports/adif_batch.h"

namespace kelpie::fuzz {
namespace {
std::string fold(std::string t) {
  for (char& c : t) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
  return t;
}

// Records as "<NAME:LENGTH:TYPE>value" runs of the whole text.
std::optional<std::string> byRecords(const std::string& s, const std::string& call) {
  static const std::regex kTag(R"(([^:]*)(:([0-9]+)(:[\s\S]*)?)?)");
  const std::string folded = fold(s);
  std::optional<std::string> recCall, grid;  // the first CALL, the first non-empty GRIDSQUARE
  const auto hit = [&] { return recCall && grid && fold(*recCall) == fold(call); };
  for (size_t i = 0, lt; (lt = s.find('<', i)) != std::string::npos;) {
    const size_t close = s.find_first_of("<>", lt + 1);
    std::smatch m;
    const bool ok = close != std::string::npos && s[close] == '>' &&
                    std::regex_match(s.cbegin() + lt + 1, s.cbegin() + close, m, kTag);
    const unsigned long long n = ok ? std::strtoull(m[3].str().c_str(), nullptr, 10) : 0;
    if (!ok || n > s.size() - close - 1) {  // spoiled: on after the next <EOR> or <EOH>
      i = std::min(folded.find("<eor>", lt + 1), folded.find("<eoh>", lt + 1));
      if (i == std::string::npos) return std::nullopt;
      i += 5, recCall.reset(), grid.reset();
      continue;
    }
    const std::string name = fold(m[1]), value = s.substr(close + 1, n);
    i = close + 1 + n;
    if (name == "call" && !recCall) recCall = value;
    if (name == "gridsquare" && !grid && n > 0) grid = value;
    if (name == "eor" && hit()) return grid;
    if (name == "eor" || name == "eoh") recCall.reset(), grid.reset();
  }
  return hit() ? grid : std::nullopt;  // the last record may lack its <EOR>
}

// The old rule, one whole line at a time; the records only when no line qualifies.
std::optional<std::string> plainly(const std::string& file, const std::string& call) {
  if (call.empty() || call.find_first_of("\r\n") != std::string::npos) return std::nullopt;
  for (const std::string& line : splitLines(file)) {
    if (line.find(">" + call + ",") == std::string::npos) continue;
    const size_t tag = lower1252(line).find("<gridsquare:"), d = tag + 12;
    if (tag != std::string::npos && d < line.size() && line[d] >= '0' && line[d] <= '9')
      return d + 2 >= line.size() ? "" : line.substr(d + 2, size_t(line[d] - '0'));
  }
  return byRecords(file, call);
}
}  // namespace

void run(std::string_view in) {
  const auto [call, file] = splitFirstLine(in);
  static const test::TempFolder folder;  // made once the set-up has chosen the temp folder
  const fs::path adif = folder / "vhf4k.adi";
  FUZZ_CHECK(writeBytesAtomic(adif, file));
  const std::vector<std::string> calls{call, fold(call)};
  std::vector<std::optional<std::string>> want;
  for (const std::string& c : calls) want.push_back(plainly(file, c));
  // A small block from the input's own length puts block edges all over the file.
  for (const size_t block : {1 + file.size() % 61, size_t{64}, kAdifReadBlock}) {
    FUZZ_CHECK(findAdifGridValues(adif, calls, block) == want);
    for (size_t i = 0; i < calls.size(); ++i)
      FUZZ_CHECK(findAdifGridValue(adif, calls[i], block) == want[i]);
  }
}

}  // namespace kelpie::fuzz
