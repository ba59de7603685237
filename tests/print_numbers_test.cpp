#include "app/print_numbers.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(PrintNumbersTest, EveryValueCarriesItsComma) {
  const std::int32_t picks[] = {3, 17, 25, 60, 72};
  std::ostringstream out;
  printNumbers(picks, 5, false, out);
  EXPECT_EQ(out.str(), "3,17,25,60,72,\n");
}

TEST(PrintNumbersTest, IndexedEntriesAreNotSeparatedByBlanks) {
  const std::int32_t counts[] = {0, 412, -398};
  std::ostringstream out;
  printNumbers(counts, 3, true, out);
  EXPECT_EQ(out.str(), "[0] 0,[1] 412,[2] -398,\n");
}

}  // namespace
