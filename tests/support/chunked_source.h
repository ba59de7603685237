#ifndef KENO_TESTS_SUPPORT_CHUNKED_BUFFER_H_
#define KENO_TESTS_SUPPORT_CHUNKED_BUFFER_H_

#include <algorithm>
#include <cstring>
#include <streambuf>
#include <string>
#include <utility>

// A stream buffer over fixed bytes that hands them out at most `chunk` at a
// time, so that a block reader meets a block's end at every position.
class ChunkedBuffer : public std::streambuf {
 public:
  ChunkedBuffer(std::string bytes, std::size_t chunk)
      : bytes_(std::move(bytes)), chunk_(std::max<std::size_t>(chunk, 1)) {}

 protected:
  std::streamsize xsgetn(char* to, std::streamsize count) override {
    const std::size_t n = std::min(
        {static_cast<std::size_t>(count), chunk_, bytes_.size() - next_});
    std::memcpy(to, bytes_.data() + next_, n);
    next_ += n;
    return static_cast<std::streamsize>(n);
  }

  int_type underflow() override {
    return next_ == bytes_.size() ? traits_type::eof()
                                  : traits_type::to_int_type(bytes_[next_]);
  }

  int_type uflow() override {
    return next_ == bytes_.size() ? traits_type::eof()
                                  : traits_type::to_int_type(bytes_[next_++]);
  }

 private:
  std::string bytes_;
  std::size_t chunk_;
  std::size_t next_ = 0;
};

#endif  // KENO_TESTS_SUPPORT_CHUNKED_BUFFER_H_
