#include <gtest/gtest.h>

#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/draw_analyzer.h"
#include "temp_history.h"

namespace {

// The counts printed by the frequency pass, checked for the table's form.
std::vector<int> countsOf(const std::string& printed) {
  const std::string heading = "Frekvncia: \n";
  EXPECT_EQ(printed.substr(0, heading.size()), heading);
  std::istringstream table(printed.substr(heading.size()));
  std::vector<int> counts;
  for (int n = 0; n <= kHighestNumber; ++n) {
    std::string index;
    int count = 0;
    char comma = 0;
    table >> index >> count >> comma;
    EXPECT_EQ(index, "[" + std::to_string(n) + "]");
    EXPECT_EQ(comma, ',');
    counts.push_back(count);
  }
  EXPECT_EQ(table.get(), '\n');
  return counts;
}

// Runs the frequency pass over a history from its first row.
std::vector<int> frequencies(const std::string& path, int firstRow = 0) {
  std::ostringstream out;
  DrawAnalyzer keno(false, out, path);
  keno.rewindHistory();
  out.str("");
  keno.printFrequencies(firstRow);
  return countsOf(out.str());
}

std::vector<int> expectedCounts(std::initializer_list<int> drawn) {
  std::vector<int> counts(kHighestNumber + 1, 0);
  for (const int n : drawn) ++counts[static_cast<std::size_t>(n)];
  return counts;
}

TEST(FrequencyTableTest, EveryNumberOfEveryRowIsCounted) {
  std::string rows = kHeader;
  for (int r = 0; r < 100; ++r)
    rows += historyRow(r + 1, numberRun(1 + r % 61));
  TempHistory file(rows);
  const std::vector<int> counts = frequencies(file.path());
  EXPECT_EQ(std::accumulate(counts.begin(), counts.end(), 0), 20 * 100);
  EXPECT_EQ(counts[0], 0);
  EXPECT_EQ(counts[1], 2);    // runs from 1 in rows 1 and 62
  EXPECT_EQ(counts[61], 20);  // runs from 42 to 61
  EXPECT_EQ(counts[80], 1);   // only the run from 61 reaches 80
}

TEST(FrequencyTableTest, NumbersOutsideOneToEightyAreNotCounted) {
  TempHistory file(kHeader +
                   "1;d;x;;0;81;200;-5;99999999999;-99999999999;x;7;8;9;10;"
                   "11;12;13;14;15;16;17; 18\r\n");
  EXPECT_EQ(frequencies(file.path()),
            expectedCounts({7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}));
}

TEST(FrequencyTableTest, HistoriesWithoutRowsCountNothing) {
  TempHistory headerOnly(kHeader);
  TempHistory empty("");
  const std::vector<int> zeros(kHighestNumber + 1, 0);
  EXPECT_EQ(frequencies(headerOnly.path()), zeros);
  EXPECT_EQ(frequencies(empty.path()), zeros);
  EXPECT_EQ(frequencies(testing::TempDir() + "absent.csv"), zeros);
}

TEST(FrequencyTableTest, FileCutInsideAFieldCountsItOnce) {
  TempHistory file(kHeader + historyRow(1, numberRun(1)) + "2;d;x;45;4");
  std::vector<int> counts = expectedCounts({45, 4});
  for (int n = 1; n <= 20; ++n) ++counts[static_cast<std::size_t>(n)];
  EXPECT_EQ(frequencies(file.path()), counts);
}

TEST(FrequencyTableTest, RowsBeforeFirstRowAreNotCounted) {
  TempHistory file(kHeader + historyRow(1, numberRun(1)) +
                   historyRow(2, numberRun(61)));
  std::vector<int> counts(kHighestNumber + 1, 0);
  for (int n = 61; n <= 80; ++n) counts[static_cast<std::size_t>(n)] = 1;
  EXPECT_EQ(frequencies(file.path(), 2), counts);
}

TEST(FrequencyTableTest, SecondPassCountsAfterThePlaysRanOut) {
  TempHistory file(kHeader + historyRow(1, numberRun(1)));
  std::ostringstream out;
  DrawAnalyzer keno(false, out, file.path());
  DrawAnalyzer::Ticket typ = {1, 2, 3, 4, 5};
  for (int i = 0; i < 3; ++i) keno.playDraw(typ, 0);
  out.str("");
  keno.rewindHistory();
  EXPECT_EQ(out.str(), kHeader.substr(0, kHeader.size() - 1) + "loooooooooool");
  out.str("");
  keno.printFrequencies(0);
  std::vector<int> counts(kHighestNumber + 1, 0);
  for (int n = 1; n <= 20; ++n) counts[static_cast<std::size_t>(n)] = 1;
  EXPECT_EQ(countsOf(out.str()), counts);
}

}  // namespace
