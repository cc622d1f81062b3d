// The printed-line layout: texts, number items and column moves, byte for byte.
#include "reports/print_layout.h"

#include <gtest/gtest.h>

#include "reports/printouts.h"

namespace kelpie {
namespace {

struct LayoutRow {
  const char* name;
  std::vector<PrintItem> items;
  Lines expected;
};

class LayoutLine : public ::testing::TestWithParam<LayoutRow> {};

TEST_P(LayoutLine, GivesTheseLines) {
  EXPECT_EQ(layoutLine(GetParam().items), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LayoutLine,
    ::testing::Values(
        LayoutRow{"NoItemsIsOneEmptyLine", {}, {""}},
        LayoutRow{
            "TextsFollowEachOther", {printText("ab"), printText(""), printText("c")}, {"abc"}},
        LayoutRow{"ColumnOneAtStartAddsNothing", {printColumn(1), printText("x")}, {"x"}},
        LayoutRow{"ColumnTwoAtStartIsOneSpace", {printColumn(2), printText("x")}, {" x"}},
        LayoutRow{"ColumnPadsUpToIt", {printText("ab"), printColumn(5), printText("c")}, {"ab  c"}},
        LayoutRow{"AtTheColumnNothingIsAdded",
                  {printText("abcd"), printColumn(5), printText("e")},
                  {"abcde"}},
        LayoutRow{"PastTheColumnANewLineIsPadded",
                  {printText("abcde"), printColumn(5), printText("f")},
                  {"abcde", "    f"}},
        LayoutRow{"ColumnAtTheEndLeavesTheSpaces", {printText("a"), printColumn(4)}, {"a  "}},
        LayoutRow{"ColumnBelowOneCountsAsOne",
                  {printText("a"), printColumn(0), printText("b")},
                  {"a", "b"}},
        LayoutRow{"NumberHasASpaceEachSide",
                  {printText("n"), printNumber(23), printText("|")},
                  {"n 23 |"}},
        LayoutRow{"ZeroIsANumberToo", {printNumber(0)}, {" 0 "}},
        LayoutRow{"MinusTakesTheFirstSpace",
                  {printText("n"), printNumber(-7), printText("|")},
                  {"n-7 |"}},
        LayoutRow{"TwoOverflowsMakeThreeLines",
                  {printText("123456"), printColumn(3), printText("abcdef"), printColumn(4),
                   printText("z")},
                  {"123456", "  abcdef", "   z"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Record rows of both log printouts: the callsign from column 2, the name from 15, the QTH
// from 30, with the new-line rule at each column.
struct RecordRow {
  const char* name;
  LogRecord record;
  Lines expected;
};

class RecordLines : public ::testing::TestWithParam<RecordRow> {};

TEST_P(RecordLines, MostCheckinsPrintout) {
  EXPECT_EQ(logRecordPrintLines(GetParam().record), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RecordLines,
    ::testing::Values(
        RecordRow{"Short", {"W1AW", "Bob", "Boston"}, {" W1AW         Bob            Boston"}},
        RecordRow{"Callsign13FitsBeforeTheName",
                  {"ABCDEFGHIJKLM", "Bob", "Q"},
                  {" ABCDEFGHIJKLMBob            Q"}},
        RecordRow{"Callsign14PushesTheNameDown",
                  {"ABCDEFGHIJKLMN", "Bob", "Q"},
                  {" ABCDEFGHIJKLMN", std::string(14, ' ') + "Bob" + std::string(12, ' ') + "Q"}},
        RecordRow{"Name15FitsBeforeTheQth",
                  {"W1AW", "Abcdefghijklmno", "Q"},
                  {" W1AW         AbcdefghijklmnoQ"}},
        RecordRow{"Name16PushesTheQthDown",
                  {"W1AW", "Abcdefghijklmnop", "Q"},
                  {" W1AW         Abcdefghijklmnop", std::string(29, ' ') + "Q"}},
        RecordRow{"EmptyFieldsStillPad", {"", "", ""}, {std::string(29, ' ')}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PastLogPrintout, PathFromColumnFiveBetweenEmptyLines) {
  EXPECT_EQ(pastLogPrintLines("/net/032515F.ILE", {}), (Lines{"", "    /net/032515F.ILE", ""}));
}

TEST(MostCheckinsPrintout, HeadingWithTheCountAsANumberItem) {
  const Lines lines = mostCheckinsPrintLines("C:\\Net\\032515F.ILE", 23, {{"W1AW", "Bob", "Q"}});
  EXPECT_EQ(lines,
            (Lines{"", " C:\\Net\\032515F.ILE   23  total", "", " W1AW         Bob            Q"}));
}

TEST(ShortcutsPrintout, TwelveLinesInOrder) {
  const Lines lines = shortcutPrintLines();
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1], "       Keyboard shortcuts");
  EXPECT_EQ(lines[2], "");
  EXPECT_EQ(lines[3], "  <Esc> re-sets, cursor goes to the callsign input");
  EXPECT_EQ(lines[4], "  <Enter> - on a blank input changes modes, if option is selected");
  EXPECT_EQ(lines[5], "  # - marks <Ack> or <Com> while in those modes");
  EXPECT_EQ(lines[6], "  A - changes the mode to Acknowledge");
  EXPECT_EQ(lines[7], "  C - changes the mode to Comments");
  EXPECT_EQ(lines[8], "  C# - clears <Ack> or <Com> while in those modes");
  EXPECT_EQ(lines[9], "  D# - deletes the # check-in");
  EXPECT_EQ(lines[10], "  DL - enter DL to delete the last check-in entry");
  EXPECT_EQ(lines[11], "  <Space bar> marks <Ack> or <Com> in those modes, if option selected.");
}

}  // namespace
}  // namespace kelpie
