#ifndef KENO_TESTS_SUPPORT_REFERENCE_READER_H_
#define KENO_TESTS_SUPPORT_REFERENCE_READER_H_

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <istream>
#include <limits>
#include <string>

#include "field_reader.h"
#include "game_constants.h"

// The plain way to read a history: std::getline into a string for every
// field, then the C library's conversion. It reads a text stream, so a
// carriage return before a line feed must already be gone. Kept as the
// yardstick for FieldReader's speed and results, never used by keno.
class ReferenceReader {
 public:
  explicit ReferenceReader(std::istream& in) : in_(in) {}

  bool good() const { return in_.good(); }

  std::string readLine(std::size_t keep) {
    std::string line;
    std::getline(in_, line);
    return line.substr(0, keep);
  }

  void readRow(FieldReader::Row& numbers) {
    for (int f = 0; f < kFieldsPerRow; ++f) {
      const char separator = f + 1 < kFieldsPerRow ? ';' : '\n';
      std::int32_t number = 0;  // a failed read gives 0
      if (std::getline(in_, riadok_, separator)) number = toNumber(riadok_);
      if (f >= kLeadingFields) {
        numbers[static_cast<std::size_t>(f - kLeadingFields)] = number;
      }
    }
  }

 private:
  // atoi, but defined beyond the 32-bit range: it saturates there.
  static std::int32_t toNumber(const std::string& text) {
    const long long n = std::strtoll(text.c_str(), nullptr, 10);
    return static_cast<std::int32_t>(
        std::clamp<long long>(n, std::numeric_limits<std::int32_t>::min(),
                              std::numeric_limits<std::int32_t>::max()));
  }

  std::istream& in_;
  std::string riadok_;
};

#endif  // KENO_TESTS_SUPPORT_REFERENCE_READER_H_
