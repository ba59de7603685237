#ifndef KENO_ANALYSIS_NUMBER_PARSER_H_
#define KENO_ANALYSIS_NUMBER_PARSER_H_

#include <algorithm>
#include <cstdint>
#include <limits>

// Turns text, fed one character at a time, into a number the way atoi reads
// it: leading white space, an optional sign, then decimal digits up to the
// first other character. Text without digits is 0. Unlike atoi it never
// overflows: a number beyond the 32-bit range saturates.
class NumberParser {
 public:
  // Takes the next character. Returns false once the number is complete;
  // from then on every character is refused.
  bool take(char c) {
    switch (phase_) {
      case Phase::kSpace:
        if (isSpace(c)) return true;
        if (c == '+' || c == '-') {
          negative_ = c == '-';
          phase_ = Phase::kSign;
          return true;
        }
        [[fallthrough]];
      case Phase::kSign:
        if (!isDigit(c)) break;
        phase_ = Phase::kDigits;
        [[fallthrough]];
      case Phase::kDigits:
        if (!isDigit(c)) break;
        // Past the limit the digits change nothing but the overflow.
        if (magnitude_ <= kNegativeLimit) {
          magnitude_ = magnitude_ * 10 + (c - '0');
        }
        return true;
      case Phase::kDone:
        return false;
    }
    phase_ = Phase::kDone;
    return false;
  }

  // The number read so far, saturated to the 32-bit range.
  std::int32_t value() const {
    return static_cast<std::int32_t>(
        negative_ ? -std::min(magnitude_, kNegativeLimit)
                  : std::min(magnitude_, kNegativeLimit - 1));
  }

  // True when the text taken so far, leading white space aside, is a sign
  // and digits with at least one digit, and no character was refused.
  bool isWholeNumber() const { return phase_ == Phase::kDigits; }

  // True when the digits taken fit a 32-bit integer with their sign.
  bool fits() const {
    return magnitude_ <= (negative_ ? kNegativeLimit : kNegativeLimit - 1);
  }

  // A decimal digit, whatever the locale.
  static bool isDigit(char c) { return c >= '0' && c <= '9'; }

 private:
  enum class Phase { kSpace, kSign, kDigits, kDone };

  // 2^31, the magnitude of the lowest 32-bit value.
  static constexpr std::int64_t kNegativeLimit =
      -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min());

  // The C locale's white space, which is what atoi skips.
  static bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

  Phase phase_ = Phase::kSpace;
  bool negative_ = false;
  std::int64_t magnitude_ = 0;
};

#endif  // KENO_ANALYSIS_NUMBER_PARSER_H_
