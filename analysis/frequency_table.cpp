#include <limits>

#include "draw_analyzer.h"
#include "print_numbers.h"

namespace {

// Counting stops at the top of the range instead of overflowing; only a
// history of several gigabytes gets there.
void countUp(std::int32_t& counter) {
  if (counter < std::numeric_limits<std::int32_t>::max()) ++counter;
}

}  // namespace

void DrawAnalyzer::printFrequencies(std::int32_t firstRow) {
  std::array<std::int32_t, kHighestNumber + 1> frekvencia{};
  Draw numbers{};
  rowsRead = 0;
  // Tested before each row only: after a final line end one more pass reads
  // nothing but zeros, which are not counted.
  while (reader.good()) {
    countUp(rowCursor);
    const std::uint64_t rowStart = reader.position();
    reader.readRow(numbers);
    if (reader.position() != rowStart) countUp(rowsRead);
    if (rowCursor < firstRow) continue;
    for (const std::int32_t v : numbers) {
      // Numbers outside 1 to 80 are no draw of Keno and have no counter.
      if (v >= 1 && v <= kHighestNumber) {
        countUp(frekvencia[static_cast<std::size_t>(v)]);
      }
    }
  }
  out << "Frekvncia: " << std::endl;
  printNumbers(frekvencia.data(), kHighestNumber + 1, true, out);
}
