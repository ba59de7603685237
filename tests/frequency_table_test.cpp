#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "draw_analyzer.h"
#include "test_support.h"

namespace {

// The counts the frequency pass prints over a history from its first row,
// checked for the table's form.
std::vector<int> frequencies(const std::string& path, int firstRow = 0) {
  std::ostringstream out;
  DrawAnalyzer keno(false, out, path);
  keno.rewindHistory();
  out.str("");
  keno.printFrequencies(firstRow);
  const std::string heading = "Frekvncia: \n";
  EXPECT_EQ(out.str().substr(0, heading.size()), heading);
  std::istringstream table(out.str().substr(heading.size()));
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

// The counts when each of `first` to `last` was drawn once.
std::vector<int> onceEach(int first, int last) {
  std::vector<int> counts(kHighestNumber + 1, 0);
  for (int n = first; n <= last; ++n) counts[static_cast<std::size_t>(n)] = 1;
  return counts;
}

TEST(FrequencyTableTest, NumbersOutsideOneToEightyAreNotCounted) {
  TempHistory file(kHeader +
                   "1;d;x;;0;81;200;-5;99999999999;-99999999999;x;7;8;9;10;"
                   "11;12;13;14;15;16;17; 18\r\n");
  EXPECT_EQ(frequencies(file.path()), onceEach(7, 18));
}

TEST(FrequencyTableTest, RowsBeforeFirstRowAreNotCounted) {
  TempHistory file(kHeader + historyRow(1, numberRun(1)) +
                   historyRow(2, numberRun(61)));
  EXPECT_EQ(frequencies(file.path(), 2), onceEach(61, 80));
}

}  // namespace
