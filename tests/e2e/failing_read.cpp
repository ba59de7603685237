// Preloaded by the end-to-end tests to make reads of keno10.csv fail with
// EIO from a given byte offset on, as a failing disk would:
//   KENO_FAIL_READ_AT     offset in the file from which reads fail
//   KENO_FAIL_READ_TIMES  how many reads fail before reads work again
//                         (unset: all of them)
// Other files, standard input among them, are read as usual.
#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using ReadFunction = ssize_t (*)(int, void*, size_t);

ReadFunction realRead() {
  static const ReadFunction real = [] {
    ReadFunction found = nullptr;
    void* symbol = dlsym(RTLD_NEXT, "read");
    std::memcpy(&found, &symbol, sizeof found);
    return found;
  }();
  return real;
}

bool isHistory(int fd) {
  const std::string link = "/proc/self/fd/" + std::to_string(fd);
  char target[4096];
  const ssize_t length = readlink(link.c_str(), target, sizeof target - 1);
  if (length < 0) return false;
  const std::string path(target, static_cast<std::size_t>(length));
  const std::string name = "/keno10.csv";
  return path.size() >= name.size() &&
         path.compare(path.size() - name.size(), name.size(), name) == 0;
}

long failuresLeft = -1;  // -1: not read from the environment yet

}  // namespace

extern "C" ssize_t read(int fd, void* buffer, size_t count) {
  const char* at = std::getenv("KENO_FAIL_READ_AT");
  if (at == nullptr || !isHistory(fd)) return realRead()(fd, buffer, count);
  if (failuresLeft == -1) {
    const char* times = std::getenv("KENO_FAIL_READ_TIMES");
    failuresLeft = times ? std::atol(times) : 1L << 30;
  }
  const off_t failAt = std::atol(at);
  const off_t offset = lseek(fd, 0, SEEK_CUR);
  if (failuresLeft == 0 || offset < 0) return realRead()(fd, buffer, count);
  if (offset >= failAt) {
    --failuresLeft;
    errno = EIO;
    return -1;
  }
  // Stops at the offset, so that the next read is the one that fails.
  const auto before = static_cast<size_t>(failAt - offset);
  return realRead()(fd, buffer, count < before ? count : before);
}
