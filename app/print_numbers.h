#ifndef KENO_APP_PRINT_NUMBERS_H_
#define KENO_APP_PRINT_NUMBERS_H_

#include <cstdint>
#include <iostream>

// Prints `count` values on one line, each followed by ",", and ends the
// line; with `withIndex`, each value is preceded by "[i] ".
void printNumbers(const std::int32_t* values, int count, bool withIndex,
                  std::ostream& out = std::cout);

#endif  // KENO_APP_PRINT_NUMBERS_H_
