// The export: band names, CSV quoting and formula guard, the QTH's grid, and a stored log of 200
// check-ins exported both ways.
#include "reports/export.h"

#include <gtest/gtest.h>

#include <map>

#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

TEST(Export, BandNamesAndCsvQuoting) {
  // Each line of reports/bands.txt: a band's name and its ADIF band (ADIF 3.1 edges: on one is in
  // the band, half a MHz past it not; a unit ends at a non-letter).
  const std::string bands = golden("reports/bands.txt");
  std::string got;
  for (const std::string& row : splitLines(bands))
    if (!row.empty())
      got += row.substr(0, row.find('\t')) + "\t" + adifBand(row.substr(0, row.find('\t'))) + "\n";
  EXPECT_EQ(got, bands);
  // clang-format off
  // A spreadsheet runs a cell starting with = + - @ tab or CR: those are marked as text.
  const std::map<std::string, std::string> cells{
      {"plain", "plain"}, {"a,b", "\"a,b\""}, {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"2\r\nlines", "\"2\r\nlines\""}, {"", ""}, {"=1+2", "\"'=1+2\""}, {"-", "\"'-\""},
      {"+1 club", "\"'+1 club\""}, {"@SUM(A1)", "\"'@SUM(A1)\""}, {"\tx", "\"'\tx\""},
      {"\r", "\"'\r\""}, {"=\"a\",b", "\"'=\"\"a\"\",b\""}, {"\nx", "\"\nx\""},
      {" =x", " =x"}, {"a-b", "a-b"}, {"'x", "'x"}};
  const std::map<std::string, std::string> grids{  // locator|place, the locator as ADIF writes it
      {"Hill fn31PR  90\xB0", "FN31pr|Hill"}, {"em  5\xB0", "EM|"}, {"FN Troy", "|FN Troy"},
      {"fn31Pr Troy", "FN31pr|fn31Pr Troy"}, {"Hill  FN3  9\xB0", "|Hill  FN3  9\xB0"}};
  // clang-format on
  for (const auto& [text, field] : cells) EXPECT_EQ(csvField(text), field) << text;
  for (const auto& [qth, grid] : grids)
    EXPECT_EQ(splitQthGrid(qth).locator + "|" + splitQthGrid(qth).place, grid) << qth;
}

TEST(Export, StoredLogOf200BothWaysAndFailures) {
  Rig rig;
  rig.writeRoster({{"K3X", "Bob", "x", "11/28/2026", "11/28/2026", "-"}});  // first time: K3X
  ASSERT_TRUE(rig.start());
  Lines log, times;
  for (int i = 1; i <= 200; ++i) {
    const std::string n = toDec(i), call = "K" + n + "X", m = toDec(10 + i % 50);
    log.insert(log.end(), {call, i % 3 ? "Ann \"Jo\", J\xFCrgen" : "Bob",
                           i % 2 ? "Town " + n : "Hill  EM" + m + "  90\xB0"});
    times.push_back(call + "\t" + (i % 7 ? "2026-11-28T23:" + m + ":00Z" : "") +
                    (i % 3 ? "" : "\tin&out"));
  }
  rig.write("112826F.ILE", log), rig.write("112826f.tim", times);
  auto exportAs = [&](const std::string& name, int type) {
    rig.dialogs.chooserAnswers = {(rig.folder / "112826F.ILE").string()};
    rig.dialogs.saveAnswers = {{(rig.folder / name).string(), type}};
    mExport_Click(rig.session);
    return rig.dialogs.messages().back().text;
  };
  const std::string f = rig.folder.path().string() + "/";
  EXPECT_EQ(exportAs("net.ADI", 0), "200 check-ins exported to " + f + "net.ADI.");
  const auto& box = rig.dialogs.shown;  // today's log preselected, the save dialog's start
  EXPECT_EQ(box[0].defaultText + box[1].text + box[1].defaultText,
            "120526F.ILE" + f + "222 MHz 2026-11-28.csvCSV (*.csv)|ADIF (*.adi)");
  EXPECT_EQ(rig.read("net.ADI"), golden("reports/export_200.adi"));
  exportAs("net", 0);  // no extension: the selected type's
  const std::string python = "python3 " KELPIE_SOURCE_DIR "/tests/reports/csv_readback.py '" + f;
  ASSERT_EQ(std::system((python + "net.csv' '" + f + "rows.txt'").c_str()), 0);
  EXPECT_EQ(rig.read("rows.txt"), golden("reports/export_200_rows.txt"));
  const std::string csv = rig.read("net.csv");
  rig.dialogs.messageAnswers = {Answer::No};
  EXPECT_EQ(exportAs("net.csv", 1), f + "net.csv already exists.\r\n\r\nReplace it?");
  EXPECT_EQ(rig.read("net.csv"), csv);
  EXPECT_EQ(exportAs("no/x.adi", 0),
            "Kelpie could not write " + f +
                "no/x.adi (No such file or directory). Nothing was exported.");
}

// A log with a side file: its facts in columns after the others (guarded like them), its
// remarks as ADIF notes; the check-in without facts gets empty cells.
TEST(Export, TrafficTacticalCallsRelaysAndRemarksAfterTheOtherColumns) {
  Rig rig;
  ASSERT_TRUE(rig.start());
  rig.write("112826F.ILE", {"K1A", "Al", "Troy", "K1B", "Bo", "Hill", "K1C", "Cy", "Erie"});
  rig.write("112826F.TRF", {"K1C\t0\t\t\t\t\t\tSHELTER 1\t2026-11-28T23:05:00Z\tK1A\t"
                            "2026-11-28T23:06:00Z\t=cmd()\t2026-11-28T23:07:00Z",
                            "K1A\t2\tP\tBoston, MA\t2026-11-28T23:01:00Z\tW2XYZ 3.910\t"
                            "2026-11-29T00:02:00Z\t\t\t\t\tLow \"batt\"\t2026-11-28T23:03:00Z"});
  const std::string f = rig.folder.path().string() + "/";
  for (const auto& [name, type] : {std::pair{"t.csv", 0}, {"t.adi", 1}}) {
    rig.dialogs.chooserAnswers = {f + "112826F.ILE"};
    rig.dialogs.saveAnswers = {{f + name, type}};
    mExport_Click(rig.session);
  }
  const std::string python = "python3 " KELPIE_SOURCE_DIR "/tests/reports/csv_readback.py '" + f;
  ASSERT_EQ(std::system((python + "t.csv' '" + f + "rows.txt'").c_str()), 0);
  EXPECT_EQ(rig.read("rows.txt"), golden("reports/export_traffic_rows.txt"));
  const std::string adi = rig.read("t.adi");
  EXPECT_NE(adi.find("time unknown <NOTES:10>Low \"batt\" <EOR>"), std::string::npos);
  EXPECT_NE(adi.find("<NOTES:6>=cmd() <EOR>"), std::string::npos);
  EXPECT_EQ(adi.find("<NOTES", adi.find("K1B")), adi.find("<NOTES:6>"));
}

}  // namespace
}  // namespace kelpie::test
