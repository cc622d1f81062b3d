// The one-pass ADIF lookup for many stations must answer exactly as the single lookup does.
#include "reports/adif_batch.h"

#include <gtest/gtest.h>

#include <random>

#include "geo/adif.h"
#include "support/fake_platform.h"

namespace kelpie {
namespace {

using test::TempFolder;

void writeFile(const fs::path& path, const std::string& bytes) {
  ASSERT_TRUE(writeBytesAtomic(path, bytes));
}

// Every answer of the batch compared with the single lookup, for several block sizes so that
// line ends and marks fall across block boundaries.
void expectSameAsSingleLookups(const fs::path& file, const std::vector<std::string>& calls) {
  for (std::size_t block : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{7},
                            std::size_t{64}, std::size_t{1} << 20}) {
    const auto batch = findAdifGridValues(file, calls, block);
    ASSERT_EQ(batch.size(), calls.size());
    for (std::size_t i = 0; i < calls.size(); ++i) {
      EXPECT_EQ(batch[i], findAdifGridValue(file, calls[i]))
          << "call '" << calls[i] << "' block " << block;
    }
  }
}

TEST(AdifBatch, FirstQualifyingLineForEachStation) {
  TempFolder dir;
  const fs::path file = dir / "vhf4k.adi";
  writeFile(file,
            "header <EOH>\r\n"
            "<CALL:4>W1AW, <NAME:3>Bob <EOR>\r\n"         // no grid tag: passed over
            "<CALL:4>W1AW, <gridsquare:4>EM12 <EOR>\r\n"  // first with a grid
            "<CALL:4>W1AW, <GRIDSQUARE:4>JO01 <EOR>\r\n"
            "<CALL:5>W1AWX, <GRIDSQUARE:4>FN31 <EOR>\n"       // head of a longer call
            "<CALL:5>KW1AW, <GRIDSQUARE:4>FN42 <EOR>\r"       // tail of a longer call
            "<CALL:4>K1ZZ <GRIDSQUARE:4>FN20 <EOR>\r\n"       // space, not comma
            "<CALL:4>N1XX, <GRIDSQUARE:X>FN20 <EOR>\r\n"      // length not a digit
            "<CALL:4>N1XX, <GRIDSQUARE:8>FN20XA12 <EOR>\r\n"  // eight characters
            "<CALL:4>N2YY, <GRIDSQUARE:6>FN2");               // cut at the end of the file
  const std::vector<std::string> calls{"W1AW", "W1AWX", "KW1AW", "K1ZZ", "N1XX",
                                       "N2YY", "",      "W1AW",  "AW",   "w1aw"};
  const auto got = findAdifGridValues(file, calls);
  EXPECT_EQ(got[0], std::optional<std::string>("EM12"));
  EXPECT_EQ(got[1], std::optional<std::string>("FN31"));
  EXPECT_EQ(got[2], std::optional<std::string>("FN42"));
  EXPECT_EQ(got[3], std::nullopt);
  EXPECT_EQ(got[4], std::optional<std::string>("FN20XA12"));
  EXPECT_EQ(got[5], std::optional<std::string>("FN2"));
  EXPECT_EQ(got[6], std::nullopt);
  EXPECT_EQ(got[7], std::optional<std::string>("EM12"));  // a station twice in the log
  EXPECT_EQ(got[8], std::nullopt);
  EXPECT_EQ(got[9], std::nullopt);
  expectSameAsSingleLookups(file, calls);
}

TEST(AdifBatch, MissingFileAnswersNothing) {
  TempFolder dir;
  const auto got = findAdifGridValues(dir / "vhf4k.adi", {"W1AW", "K1ZZ"});
  EXPECT_EQ(got, (std::vector<std::optional<std::string>>{std::nullopt, std::nullopt}));
}

TEST(AdifBatch, AgreesWithSingleLookupsOnRandomFiles) {
  TempFolder dir;
  const fs::path file = dir / "vhf4k.adi";
  std::mt19937 rng(20261205);
  auto pick = [&](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
  };
  // Small alphabets make collisions, partial marks and odd line ends common.
  const std::vector<std::string> calls{"A1",   "A1B",           "B1", "1B",
                                       "A1,B", "<GRIDSQUARE:4", "Q",  "A>1"};
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
                                        "<gridsquare:",
                                        "4",
                                        "2",
                                        ">FN20",
                                        "<EOR>",
                                        "X",
                                        "<G",
                                        "Q",
                                        "<GRIDSQUARE:6>"};
  for (int round = 0; round < 300; ++round) {
    std::string bytes;
    const std::size_t n = 1 + pick(40);
    for (std::size_t i = 0; i < n; ++i) bytes += pieces[pick(pieces.size())];
    writeFile(file, bytes);
    expectSameAsSingleLookups(file, calls);
    if (HasFailure()) {
      ADD_FAILURE() << "file was: " << ::testing::PrintToString(bytes);
      return;
    }
  }
}

}  // namespace
}  // namespace kelpie
