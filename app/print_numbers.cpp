#include "print_numbers.h"

void printNumbers(const std::int32_t* values, int count, bool withIndex,
                  std::ostream& out) {
  for (int i = 0; i < count; ++i) {
    if (withIndex) out << '[' << i << "] ";
    out << values[i] << ',';
  }
  out << std::endl;
}
