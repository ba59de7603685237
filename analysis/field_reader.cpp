#include "field_reader.h"

#include <algorithm>
#include <cstring>

namespace {

const char* find(const char* from, const char* to, char c) {
  return static_cast<const char*>(
      std::memchr(from, c, static_cast<std::size_t>(to - from)));
}

}  // namespace

FieldReader::FieldReader(bool& failed)
    : block_(new char[kBlockSize]), failed_(failed) {}

void FieldReader::attach(ByteSource* source) {
  source_ = source;
  next_ = end_ = block_.get();
  good_ = source != nullptr;
}

bool FieldReader::refill() {
  const std::ptrdiff_t got = source_->read(block_.get(), kBlockSize);
  if (got < 0) failed_ = true;
  next_ = block_.get();
  end_ = next_ + std::max<std::ptrdiff_t>(got, 0);
  return next_ != end_;
}

std::string FieldReader::readLine(std::size_t keep) {
  std::string line;
  if (!good_) return line;
  // One character more than kept, so that a carriage return closing the
  // line can be told from one that is the last kept character.
  const std::size_t stored = keep + 1;
  std::size_t length = 0;
  bool endsInCarriageReturn = false;
  for (;;) {
    if (next_ == end_ && !refill()) {
      good_ = false;
      endsInCarriageReturn = false;  // only a line feed drops it
      break;
    }
    const char* lineFeed = find(next_, end_, '\n');
    const char* stop = lineFeed ? lineFeed : end_;
    const auto piece = static_cast<std::size_t>(stop - next_);
    if (line.size() < stored) {
      line.append(next_, std::min(piece, stored - line.size()));
    }
    if (piece > 0) endsInCarriageReturn = stop[-1] == '\r';
    length += piece;
    next_ = stop;
    if (lineFeed) {
      ++next_;
      break;
    }
  }
  if (endsInCarriageReturn) --length;
  line.resize(std::min({line.size(), keep, length}));
  return line;
}

std::int32_t FieldReader::readNumberSlowly(char separator) {
  if (!good_) return 0;
  NumberParser number;
  for (;;) {
    if (next_ == end_ && !refill()) {
      good_ = false;
      return number.value();
    }
    const char* p = next_;
    while (p != end_) {
      const char c = *p++;
      if (c == separator) {
        next_ = p;
        return number.value();
      }
      if (!number.take(c)) {
        // The number is complete; the rest of the field only needs skipping.
        next_ = p;
        skipField(separator);
        return number.value();
      }
    }
    next_ = end_;
  }
}

void FieldReader::skipField(char separator) {
  if (!good_) return;
  for (;;) {
    if (next_ == end_ && !refill()) {
      good_ = false;
      return;
    }
    if (const char* found = find(next_, end_, separator)) {
      next_ = found + 1;
      return;
    }
    next_ = end_;
  }
}

void FieldReader::readRow(Row& numbers) {
  for (int f = 0; f < kLeadingFields; ++f) skipField(';');
  for (std::size_t i = 0; i + 1 < numbers.size(); ++i) {
    numbers[i] = readNumber(';');
  }
  numbers.back() = readNumber('\n');
}
