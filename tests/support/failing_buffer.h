#ifndef KENO_TESTS_SUPPORT_FAILING_BUFFER_H_
#define KENO_TESTS_SUPPORT_FAILING_BUFFER_H_

#include <ios>
#include <string>

#include "chunked_buffer.h"

// Hands out the first `failAt` bytes `chunk` at a time, then throws
// std::ios_base::failure from the next sgetn, as GCC's filebuf does when
// read() fails. FieldReader reads with sgetn alone.
class FailingBuffer : public ChunkedBuffer {
 public:
  FailingBuffer(const std::string& bytes, std::size_t failAt, std::size_t chunk)
      : ChunkedBuffer(bytes.substr(0, failAt), chunk) {}

 protected:
  std::streamsize xsgetn(char* to, std::streamsize count) override {
    const std::streamsize got = ChunkedBuffer::xsgetn(to, count);
    if (got == 0 && count > 0) {
      throw std::ios_base::failure("error reading the file",
                                   std::make_error_code(std::io_errc::stream));
    }
    return got;
  }
};

#endif  // KENO_TESTS_SUPPORT_FAILING_BUFFER_H_
