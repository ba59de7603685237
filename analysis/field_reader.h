#ifndef KENO_ANALYSIS_FIELD_READER_H_
#define KENO_ANALYSIS_FIELD_READER_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "byte_source.h"
#include "game_constants.h"
#include "number_parser.h"

// Reads the draw history's lines and fields from a byte source, keeping
// only what the numbers need. It behaves as delimited reads on a text stream
// would: a field ends only at its own separator, so a ";" field runs on past
// a line end; a read that meets the end of the file leaves the reader no
// longer good, and a read on a reader that is not good takes nothing.
// A source that fails to read ends the text after the last byte it gave, as
// its end would, and the reader tells its owner.
// The text is read in large blocks and no field's text is ever stored, so
// memory stays the same whatever a line or a field holds.
class FieldReader {
 public:
  using Row = std::array<std::int32_t, kDrawnPerRow>;

  // The most a read of the source asks for: large enough that a read costs
  // one system call per 64 KiB, small enough to keep memory flat. A build
  // may ask for another size (KENO_BLOCK_SIZE), so that the tests are run
  // where blocks end elsewhere.
#ifdef KENO_BLOCK_SIZE
  static_assert(KENO_BLOCK_SIZE > 0, "KENO_BLOCK_SIZE is a number of bytes");
  static constexpr std::size_t kBlockSize = KENO_BLOCK_SIZE;
#else
  static constexpr std::size_t kBlockSize = std::size_t{64} * 1024;
#endif

  // Sets `failed` whenever reading a source fails, and never clears it, so
  // that its owner learns of a failure where it happens, in any source.
  explicit FieldReader(bool& failed);
  // Its read position points into its own block, which a copy or a move
  // would share or take away: it is neither copied nor moved.
  FieldReader(const FieldReader&) = delete;
  FieldReader& operator=(const FieldReader&) = delete;

  // Starts reading `source` from its current position; null stands for a
  // file that could not be opened, which has no text at all.
  void attach(ByteSource* source);

  // True until a read meets the end of the source or a failure to read it.
  bool good() const { return good_; }

  // Reads the rest of the current line and its line feed; returns the line's
  // first `keep` characters. A carriage return right before the line feed is
  // not part of the line, as in a text file read on Windows.
  std::string readLine(std::size_t keep);

  // Reads the text up to the next `separator` (consumed, not kept) or the
  // end of the source, and returns the number it begins with, as atoi reads
  // it. A read that fails, because the reader is not good or the source
  // ends before any character, gives 0.
  std::int32_t readNumber(char separator) {
    // Nearly every field of a history is one or two digits and a separator:
    // those are read here, inline; anything else takes the general path.
    // A reader that is not good has no text left in its block, so this
    // never reads on after the end of the source.
    if (end_ - next_ >= 3 && NumberParser::isDigit(next_[0])) {
      const int first = next_[0] - '0';
      if (next_[1] == separator) {
        next_ += 2;
        return first;
      }
      if (NumberParser::isDigit(next_[1]) && next_[2] == separator) {
        const int number = first * 10 + (next_[1] - '0');
        next_ += 3;
        return number;
      }
    }
    return readNumberSlowly(separator);
  }

  // Reads the text up to the next `separator` like readNumber, ignoring it.
  void skipField(char separator);

  // Reads one history row: the leading fields, skipped, then the drawn
  // numbers in file order. All but the last field end at ";", the last at
  // the line end.
  void readRow(Row& numbers);

 private:
  // readNumber for any text, wherever the field ends.
  std::int32_t readNumberSlowly(char separator);

  // Loads the next block; false at the end of the source or when it fails.
  bool refill();

  ByteSource* source_ = nullptr;
  std::unique_ptr<char[]> block_;
  const char* next_ = nullptr;
  const char* end_ = nullptr;
  bool good_ = false;
  bool& failed_;
};

#endif  // KENO_ANALYSIS_FIELD_READER_H_
