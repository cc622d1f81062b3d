// The ADIF grid lookup, single and for many stations at once, against the rule read plainly.
#include "geo/adif.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "reports/adif_batch.h"
#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

// The rule read plainly, one whole line at a time.
std::optional<std::string> byTheRule(const std::string& file, const std::string& call) {
  if (call.empty()) return std::nullopt;
  for (const std::string& line : splitLines(file)) {
    const size_t p = lower1252(line).find("<gridsquare:"), digit = p + 12;
    if (line.find(">" + call + ",") == std::string::npos || p == std::string::npos ||
        digit >= line.size() || line[digit] < '0' || line[digit] > '9')
      continue;
    return digit + 2 >= line.size() ? "" : line.substr(digit + 2, size_t(line[digit] - '0'));
  }
  return std::nullopt;
}

// Random files from small pieces (no CALL field, so only the comma rule can answer), so collisions,
// partial marks and odd line ends are common, read in blocks of several sizes so that marks, tags
// and line ends fall across them.
TEST(AdifLookup, SingleAndBatchAgreeWithTheRuleOnRandomFiles) {
  TempFolder dir;
  const fs::path file = dir / "vhf4k.adi";
  const std::vector<std::string> calls{"A1", "A1B", "B1", "1B", "A1,B", "a1", "", "A>1"};
  const std::vector<std::string> pieces{">",
                                        ",",
                                        "A1",
                                        "B",
                                        "1",
                                        "\r",
                                        "\n",
                                        "\r\n",
                                        " ",
                                        "<GRIDSQUARE:",
                                        "4",
                                        ">FN20",
                                        "X",
                                        "2",
                                        "<G",
                                        "<EOR>",
                                        "<gridsquare:",
                                        "<GRIDSQUARE:6>",
                                        "<GridSquare:9>"};
  std::mt19937 rng(20261205);
  std::uniform_int_distribution<size_t> piece(0, pieces.size() - 1), count(1, 40);
  for (int round = 0; round < 300 && !HasFailure(); ++round) {
    std::string bytes = round % 50 ? "" : std::string(kAdifReadBlock - 9 + round / 50, 'y');
    for (size_t n = count(rng); n > 0; --n) bytes += pieces[piece(rng)];
    ASSERT_TRUE(writeBytesAtomic(file, bytes));
    std::vector<std::optional<std::string>> want;
    for (const auto& call : calls) want.push_back(byTheRule(bytes, call));
    for (const size_t block : round % 50 ? std::vector<size_t>{1, 3, 64, kAdifReadBlock}
                                         : std::vector<size_t>{kAdifReadBlock}) {
      EXPECT_EQ(findAdifGridValues(file, calls, block), want) << block;
      for (size_t i = 0; i < calls.size(); ++i)
        EXPECT_EQ(findAdifGridValue(file, calls[i], block), want[i]) << calls[i] << " " << block;
    }
    if (HasFailure()) ADD_FAILURE() << ::testing::PrintToString(bytes);
  }
  EXPECT_EQ(findAdifGridValues(dir / "missing.adi", calls),
            std::vector<std::optional<std::string>>(calls.size()));
}

// The grid text: the value with its heading, the bare value when it is no locator, nothing
// without a file; the file is read afresh, so the operator's edits during a net are seen.
TEST(AdifLookup, GridTextAndEditsBetweenLookups) {
  TempFolder dir;
  const fs::path file = dir / "vhf4k.adi";
  const std::pair<std::string, std::string> rows[] = {
      {"<CALL:5>K1ABC,<GRIDSQUARE:4>JO01 <EOR>", "JO01  50\xB0 3549"},
      {"<CALL:5>K1ABC,<GRIDSQUARE:4>EM12 <EOR>", "EM12  255\xB0 1378"},  // same size: seen
      {"<CALL:5>K1ABC,<GRIDSQUARE:8>FN20XA <EOR>", "FN20XA < found"},
      {"<CALL:5>K1ABC,<GRIDSQUARE:4>", " found"},
      {"<CALL:5>K1ABC <GRIDSQUARE:4>JO01 <EOR>", "JO01  50\xB0 3549"}};  // as ADIF 3
  for (const auto& [bytes, want] : rows) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;  // in place, as an editor
    const AdifGrid g = getADIFGrid(file, "K1ABC", "FN20XA", "Miles");
    EXPECT_EQ(g.gridText + " " +
                  (g.status == BeamStatus::Ok ? toDec(distanceToInt16(g.distance))
                   : g.found                  ? "found"
                                              : ""),
              want);
  }
  EXPECT_EQ(getADIFGrid(dir / "none.adi", "K1ABC", "FN20XA", "kM").gridText, "");
}

}  // namespace
}  // namespace kelpie::test
