#include <sys/stat.h>
#include <sys/types.h>

#include <algorithm>
#include <cerrno>
#include <climits>

#include "byte_source.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32

int openForReading(const char* path) {
  int fd = -1;
  // Binary: the reader alone decides what a line end is.
  return _sopen_s(&fd, path, _O_RDONLY | _O_BINARY, _SH_DENYNO, 0) == 0 ? fd
                                                                        : -1;
}

bool isFolder(int fd) {
  struct _stat64 info {};
  return _fstat64(fd, &info) == 0 && (info.st_mode & _S_IFMT) == _S_IFDIR;
}

std::ptrdiff_t readOnce(int fd, char* to, std::size_t size) {
  return _read(fd, to,
               static_cast<unsigned>(std::min<std::size_t>(size, INT_MAX)));
}

void closeFile(int fd) { _close(fd); }

#else

int openForReading(const char* path) {
  int fd = -1;
  do {
    fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

bool isFolder(int fd) {
  struct stat info {};
  return fstat(fd, &info) == 0 && S_ISDIR(info.st_mode);
}

std::ptrdiff_t readOnce(int fd, char* to, std::size_t size) {
  return ::read(fd, to, std::min<std::size_t>(size, SSIZE_MAX));
}

// Whatever close says, the descriptor is gone, and nothing was written.
void closeFile(int fd) { ::close(fd); }

#endif

}  // namespace

bool FileSource::open(const std::string& path) {
  close();
  fd_ = openForReading(path.c_str());
  // On Linux a folder opens, on Windows it does not: here it never does.
  if (fd_ >= 0 && isFolder(fd_)) close();
  return isOpen();
}

void FileSource::close() {
  if (fd_ >= 0) closeFile(fd_);
  fd_ = -1;
}

std::ptrdiff_t FileSource::read(char* to, std::size_t size) {
  if (fd_ < 0) return -1;
  std::ptrdiff_t got = 0;
  do {
    got = readOnce(fd_, to, size);
  } while (got < 0 && errno == EINTR);
  return got < 0 ? -1 : got;
}
