// The one-pass ADIF lookup for many stations must answer exactly as the single lookup does.
#include "reports/adif_batch.h"

#include <gtest/gtest.h>

#include <random>

#include "geo/adif.h"
#include "support/fake_platform.h"

namespace kelpie {
namespace {

using test::TempFolder;

// The batch and the single lookup at small block sizes (marks, tags and line ends across the
// blocks) against the single lookup reading the file in one block.
void expectSameAsSingleLookups(const fs::path& file, const std::vector<std::string>& calls) {
  for (std::size_t block : {std::size_t{1}, std::size_t{3}, std::size_t{64}}) {
    const auto batch = findAdifGridValues(file, calls, block);
    ASSERT_EQ(batch.size(), calls.size());
    for (std::size_t i = 0; i < calls.size(); ++i) {
      const auto single = findAdifGridValue(file, calls[i]);
      EXPECT_EQ(batch[i], single) << "batch, call '" << calls[i] << "' block " << block;
      EXPECT_EQ(findAdifGridValue(file, calls[i], block), single)
          << "single, call '" << calls[i] << "' block " << block;
    }
  }
}

// Random files from small pieces, so collisions, partial marks and odd line ends are common.
TEST(AdifBatch, AgreesWithSingleLookupsOnRandomFiles) {
  TempFolder dir;
  const fs::path file = dir / "vhf4k.adi";
  std::mt19937 rng(20261205);
  const std::vector<std::string> calls{"A1", "A1B", "B1",  "1B",           "A1,B",
                                       "a1", "",    "A>1", "<GRIDSQUARE:4"};
  const std::vector<std::string> pieces{
      ">", ",",     "A1", "B", "1",  "\r",    "\n",           "\r\n",          " ", "<GRIDSQUARE:",
      "4", ">FN20", "X",  "2", "<G", "<EOR>", "<gridsquare:", "<GRIDSQUARE:6>"};
  std::uniform_int_distribution<std::size_t> piece(0, pieces.size() - 1), count(1, 40);
  for (int round = 0; round < 200 && !HasFailure(); ++round) {
    std::string bytes;
    for (std::size_t n = count(rng); n > 0; --n) bytes += pieces[piece(rng)];
    ASSERT_TRUE(writeBytesAtomic(file, bytes));
    expectSameAsSingleLookups(file, calls);
    if (HasFailure()) ADD_FAILURE() << "file was: " << ::testing::PrintToString(bytes);
  }
  EXPECT_EQ(findAdifGridValues(dir / "missing.adi", calls),
            std::vector<std::optional<std::string>>(calls.size()));
}

}  // namespace
}  // namespace kelpie
