// Fuzzes the ADIF grid lookup over vhf4k.adi: the input's first line is the callsign, the rest
// is the file. The lookup reads the file in blocks; whatever the block size, it must give what
// reading the file line by line gives, and the grid text must be the value with its heading.
#include <optional>

#include "fuzz_support.h"
#include "geo/adif.h"
#include "support/fake_platform.h"

using namespace kelpie;

namespace {
// The rule read plainly, one whole line at a time.
std::optional<std::string> lineByLine(const std::string& file, const std::string& call) {
  if (call.empty()) return std::nullopt;
  const std::string mark = ">" + call + ",";
  for (const std::string& line : splitLines(file)) {
    if (line.find(mark) == std::string::npos) continue;
    const size_t p = lower1252(line).find("<gridsquare:");
    if (p == std::string::npos) continue;
    const size_t digit = p + 12;
    if (digit >= line.size() || line[digit] < '0' || line[digit] > '9') continue;
    const size_t from = digit + 2;
    if (from >= line.size()) return std::string();
    return line.substr(from, static_cast<size_t>(line[digit] - '0'));
  }
  return std::nullopt;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::CallAndFile in = fuzz::splitFirstLine(fuzz::asText(data, size));
  static const test::TempFolder folder;  // made once the set-up has chosen the temp folder
  const fs::path adif = folder / "vhf4k.adi";
  KELPIE_FUZZ_CHECK(writeBytesAtomic(adif, in.file));

  const std::optional<std::string> plain = lineByLine(in.file, in.call);
  // A small block from the input's own length puts block edges all over the file.
  const size_t small = 1 + in.file.size() % 61;
  for (const size_t block : {small, size_t{64}, kAdifReadBlock})
    KELPIE_FUZZ_CHECK(findAdifGridValue(adif, in.call, block) == plain);

  const AdifGrid g = getADIFGrid(adif, in.call, "FN20XA", "Miles");
  KELPIE_FUZZ_CHECK(g.found == plain.has_value());
  if (!g.found) {
    KELPIE_FUZZ_CHECK(g.gridText.empty());
  } else if (g.status == BeamStatus::Ok) {
    // value, two spaces, whole degrees 0 to 360, the degree sign
    const std::string& t = g.gridText;
    KELPIE_FUZZ_CHECK(t.compare(0, plain->size() + 2, *plain + "  ") == 0);
    KELPIE_FUZZ_CHECK(t.back() == '\xB0');
    const std::string deg = t.substr(plain->size() + 2, t.size() - plain->size() - 3);
    KELPIE_FUZZ_CHECK(!deg.empty() && deg.size() <= 3 &&
                      deg.find_first_not_of("0123456789") == std::string::npos);
    KELPIE_FUZZ_CHECK(std::stoi(deg) <= 360);
    KELPIE_FUZZ_CHECK(g.distance >= 0 && g.distance < 12500);  // half the Earth, in miles
  } else {
    KELPIE_FUZZ_CHECK(g.gridText == *plain);
  }
  return 0;
}
