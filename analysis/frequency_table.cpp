#include <algorithm>
#include <limits>

#include "draw_analyzer.h"
#include "print_numbers.h"

namespace {

// Counting stops at the top of the range instead of overflowing; only a
// history of several gigabytes gets there.
void countUp(std::int32_t& counter) {
  if (counter < std::numeric_limits<std::int32_t>::max()) ++counter;
}

// Numbers outside 1 to 80 are no draw of Keno and have no counter; a row
// with none of Keno's numbers is no draw.
bool isDrawn(std::int32_t v) { return v >= 1 && v <= kHighestNumber; }

}  // namespace

void DrawAnalyzer::printFrequencies(std::int32_t firstRow) {
  std::array<std::int32_t, kHighestNumber + 1> frekvencia{};
  Draw numbers{};
  drawsRead = 0;
  // Tested before each row only: after a final line end one more pass reads
  // nothing but zeros, which are not counted.
  while (reader.good()) {
    countUp(rowCursor);
    reader.readRow(numbers);
    if (std::any_of(numbers.begin(), numbers.end(), isDrawn)) {
      countUp(drawsRead);
    }
    if (rowCursor < firstRow) continue;
    for (const std::int32_t v : numbers) {
      if (isDrawn(v)) countUp(frekvencia[static_cast<std::size_t>(v)]);
    }
  }
  out << "Frekvncia: " << std::endl;
  printNumbers(frekvencia.data(), kHighestNumber + 1, true, out);
}
