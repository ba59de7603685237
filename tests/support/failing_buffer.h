#ifndef KENO_TESTS_SUPPORT_FAILING_BUFFER_H_
#define KENO_TESTS_SUPPORT_FAILING_BUFFER_H_

#include <ios>
#include <string>

#include "chunked_buffer.h"

// Hands out the first `failAt` bytes `chunk` at a time, then throws
// std::ios_base::failure on the next read, as GCC's filebuf does when
// read() fails.
class FailingBuffer : public ChunkedBuffer {
 public:
  FailingBuffer(const std::string& bytes, std::size_t failAt, std::size_t chunk)
      : ChunkedBuffer(bytes.substr(0, failAt), chunk) {}

 protected:
  std::streamsize xsgetn(char* to, std::streamsize count) override {
    const std::streamsize got = ChunkedBuffer::xsgetn(to, count);
    if (got == 0 && count > 0) fail();
    return got;
  }

  int_type underflow() override { return orFail(ChunkedBuffer::underflow()); }

  int_type uflow() override { return orFail(ChunkedBuffer::uflow()); }

 private:
  static void fail() {
    throw std::ios_base::failure("error reading the file",
                                 std::make_error_code(std::io_errc::stream));
  }

  static int_type orFail(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) fail();
    return c;
  }
};

#endif  // KENO_TESTS_SUPPORT_FAILING_BUFFER_H_
