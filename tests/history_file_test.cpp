#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "analysis/draw_analyzer.h"
#include "temp_history.h"

namespace {

// What a verbose play prints for a row of twenty numbers.
std::string drawText(const std::string& numbers, int hits) {
  return "Zrebovane cisla: \n" + numbers + "\nUhadol:" + std::to_string(hits) +
         "\n";
}

std::string runText(int first) {
  std::string text;
  for (int i = 0; i < 20; ++i) text += std::to_string(first + i) + ",";
  return text;
}

const std::string kZeros = [] {
  std::string text;
  for (int i = 0; i < 20; ++i) text += "0,";
  return text;
}();

// Plays `plays` verbose draws with a ticket that never hits and returns what
// the analyzer printed.
std::string play(const std::string& path, int plays) {
  std::ostringstream out;
  DrawAnalyzer keno(true, out, path);
  DrawAnalyzer::Ticket typ = {-1, -2, -3, -4, -5};
  for (int i = 0; i < plays; ++i) keno.playDraw(typ, 0);
  return out.str();
}

std::string rewind(DrawAnalyzer& keno, std::ostringstream& out) {
  out.str("");
  keno.rewindHistory();
  return out.str();
}

TEST(HistoryFileTest, MissingFileIsReportedAndReadsAsZeros) {
  std::ostringstream out;
  DrawAnalyzer keno(true, out, testing::TempDir() + "no_such_history.csv");
  EXPECT_EQ(out.str(), "Subor sa neda otvorit.\n");
  DrawAnalyzer::Ticket typ = {1, 2, 3, 4, 5};
  keno.playDraw(typ, 0);
  EXPECT_EQ(out.str(), "Subor sa neda otvorit.\n" + drawText(kZeros, 0));
  EXPECT_EQ(rewind(keno, out), "loooooooooool");
}

TEST(HistoryFileTest, EmptyFileOpensWithoutMessage) {
  TempHistory file("");
  EXPECT_EQ(play(file.path(), 2), drawText(kZeros, 0) + drawText(kZeros, 0));
  std::ostringstream out;
  DrawAnalyzer keno(false, out, file.path());
  EXPECT_EQ(rewind(keno, out), "loooooooooool");
}

TEST(HistoryFileTest, ReadOnlyFileOpens) {
  TempHistory file(kHeader + historyRow(1, numberRun(1)));
  namespace fs = std::filesystem;
  fs::permissions(
      file.path(),
      fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
      fs::perm_options::remove);
  EXPECT_EQ(play(file.path(), 1), drawText(runText(1), 0));
  fs::permissions(file.path(), fs::perms::owner_write, fs::perm_options::add);
}

TEST(HistoryFileTest, RowsAreReadInOrderThenZeros) {
  // The last row has no line end: it is still read whole.
  std::string rows =
      kHeader + historyRow(1, numberRun(1)) + historyRow(2, numberRun(61));
  rows.pop_back();
  TempHistory file(rows);
  EXPECT_EQ(
      play(file.path(), 3),
      drawText(runText(1), 0) + drawText(runText(61), 0) + drawText(kZeros, 0));
}

TEST(HistoryFileTest, HeaderOfAnyLengthIsSkipped) {
  for (const std::size_t length : {std::size_t{0}, std::size_t{127},
                                   std::size_t{128}, std::size_t{100000}}) {
    SCOPED_TRACE(length);
    TempHistory file(std::string(length, 'H') + "\r\n" +
                     historyRow(1, numberRun(11)));
    EXPECT_EQ(play(file.path(), 1), drawText(runText(11), 0));

    std::ostringstream out;
    DrawAnalyzer keno(false, out, file.path());
    EXPECT_EQ(
        rewind(keno, out),
        std::string(std::min<std::size_t>(length, 127), 'H') + "loooooooooool");
  }
}

TEST(HistoryFileTest, CrlfRowsReadAsLfRows) {
  TempHistory file("Tah;Datum\r\n1;d;x;" + numberRun(21) + "\r\n2;d;x;" +
                   numberRun(31) + "\r\n");
  EXPECT_EQ(play(file.path(), 2),
            drawText(runText(21), 0) + drawText(runText(31), 0));
}

}  // namespace
