#ifndef KENO_TESTS_SUPPORT_CHUNKED_SOURCE_H_
#define KENO_TESTS_SUPPORT_CHUNKED_SOURCE_H_

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>
#include <utility>

#include "byte_source.h"

// A source over fixed bytes that hands them out at most `chunk` at a time,
// so that a block reader meets a block's end at every position. With
// `failAt`, every read from that byte on fails, as a bad sector would.
class ChunkedSource final : public ByteSource {
 public:
  static constexpr std::size_t kNever = std::numeric_limits<std::size_t>::max();

  ChunkedSource(std::string bytes, std::size_t chunk,
                std::size_t failAt = kNever)
      : bytes_(std::move(bytes)),
        chunk_(std::max<std::size_t>(chunk, 1)),
        failAt_(failAt) {}

  std::ptrdiff_t read(char* to, std::size_t size) override {
    if (next_ >= failAt_) return -1;
    const std::size_t n =
        std::min({size, chunk_, std::min(bytes_.size(), failAt_) - next_});
    std::memcpy(to, bytes_.data() + next_, n);
    next_ += n;
    return static_cast<std::ptrdiff_t>(n);
  }

 private:
  std::string bytes_;
  std::size_t chunk_;
  std::size_t failAt_;
  std::size_t next_ = 0;
};

#endif  // KENO_TESTS_SUPPORT_CHUNKED_SOURCE_H_
