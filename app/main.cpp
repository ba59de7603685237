#include <cstdio>
#include <iostream>

#include "console_driver.h"

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace {

// A console can give more input after its end (Ctrl+Z and Enter on
// Windows, Ctrl+D on a terminal); a pipe or a file cannot.
bool inputIsConsole() {
#ifdef _WIN32
  return _isatty(_fileno(stdin)) != 0;
#else
  return isatty(STDIN_FILENO) == 1;
#endif
}

#ifndef _WIN32
// A standard descriptor that whoever started keno closed would be the next
// one open() hands out, and the history would take its place: read as the
// picks, or handed the output. Each closed one is reopened on /dev/null
// before anything else is opened. Returns false when that cannot be done.
bool reopenClosedStandardDescriptors(bool& outputWasClosed) {
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    if (fd == 1) outputWasClosed = true;
    // The lower ones are open, so open() returns fd itself.
    if (open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) != fd) return false;
  }
  return true;
}
#endif

}  // namespace

int main() {
#ifndef _WIN32
  bool outputWasClosed = false;
  if (!reopenClosedStandardDescriptors(outputWasClosed)) return 1;
  // Its text is lost all the same: runKeno reports it as output that could
  // not be written.
  if (outputWasClosed) std::cout.setstate(std::ios::badbit);
#endif
  // std::cin reads through stdio, whose end-of-file flag stays set after
  // the console's end of input until it is cleared.
  const EndedInput ended{inputIsConsole(), [] { std::clearerr(stdin); }};
  return runKeno(std::cin, std::cout, kHistoryFileName, std::cerr, ended);
}
