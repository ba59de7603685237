#include <cstdio>
#include <iostream>
#include <limits>

#include "console_driver.h"

#ifdef _WIN32
#include <windows.h>

#include <algorithm>
#include <string>
#else
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace {

#ifdef _WIN32
// Only a console can give more input after its end (Ctrl+Z and Enter);
// GetConsoleMode tells one apart, where _isatty is true for NUL as well.
bool isConsole(DWORD which) {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(which), &mode) != 0;
}

// After Ctrl+Z a C runtime may keep an end-of-file mark of its own on the
// descriptor, out of clearerr's reach (Wine's msvcrt does), so the Enter is
// read from the console itself, past the runtime. A console left without
// line input by whoever ran keno before gives Enter as a CR alone.
void awaitConsoleEnter() {
  HANDLE console = GetStdHandle(STD_INPUT_HANDLE);
  char line[64];
  DWORD read = 0;
  while (ReadConsoleA(console, line, sizeof line, &read, nullptr) && read > 0 &&
         std::find_if(line, line + read, [](char c) {
           return c == '\r' || c == '\n';
         }) == line + read) {
  }
}

// Text for a console, which shows its own code page (OEM), not the ANSI one
// that keno's narrow strings are in, such as the path from _getcwd: each
// flush converts what was written and hands the console UTF-16.
class ConsoleText : public std::streambuf {
 public:
  explicit ConsoleText(HANDLE console) : console_(console) {}

 protected:
  int_type overflow(int_type c) override {
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      pending_ += traits_type::to_char_type(c);
    }
    return traits_type::not_eof(c);
  }

  std::streamsize xsputn(const char* text, std::streamsize count) override {
    pending_.append(text, static_cast<std::size_t>(count));
    return count;
  }

  int sync() override {
    if (pending_.empty()) return 0;
    // As a text stream writes a line end.
    std::string text;
    for (const char ch : pending_) {
      if (ch == '\n') text += '\r';
      text += ch;
    }
    pending_.clear();
    const int size = static_cast<int>(text.size());
    std::wstring wide(text.size(), L'\0');
    const int converted =
        MultiByteToWideChar(CP_ACP, 0, text.data(), size, &wide[0], size);
    // Text that does not convert is still shown, as the runtime would.
    const bool wideText = converted > 0;
    const auto length = static_cast<DWORD>(wideText ? converted : size);
    DWORD written = 0;
    const BOOL shown =
        wideText
            ? WriteConsoleW(console_, wide.data(), length, &written, nullptr)
            : WriteConsoleA(console_, text.data(), length, &written, nullptr);
    return shown && written == length ? 0 : -1;
  }

 private:
  HANDLE console_;
  std::string pending_;
};
#else
// A terminal can give more input after its end (Ctrl+D); a pipe or a file
// cannot.
bool inputIsTerminal() { return isatty(STDIN_FILENO) == 1; }

// std::cin reads through stdio, whose end-of-file flag stays set after the
// terminal's end of input until it is cleared.
void awaitTerminalEnter() {
  std::clearerr(stdin);
  std::cin.clear();
  std::cin.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
}

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
#ifdef _WIN32
  const AwaitEnter awaitEnter =
      isConsole(STD_INPUT_HANDLE) ? awaitConsoleEnter : AwaitEnter();
  // Standard error in a console gets the path of a history not opened in
  // UTF-16, so that its letters of Windows' code page show right whatever
  // the console's code page; redirected, its bytes stay the runtime's.
  ConsoleText consoleText(GetStdHandle(STD_ERROR_HANDLE));
  std::ostream console(&consoleText);
  console.tie(&std::cout);
  console.setf(std::ios::unitbuf);
  std::ostream& err = isConsole(STD_ERROR_HANDLE) ? console : std::cerr;
#else
  bool outputWasClosed = false;
  if (!reopenClosedStandardDescriptors(outputWasClosed)) return 1;
  // Its text is lost all the same: runKeno reports it as output that could
  // not be written.
  if (outputWasClosed) std::cout.setstate(std::ios::badbit);
  const AwaitEnter awaitEnter =
      inputIsTerminal() ? awaitTerminalEnter : AwaitEnter();
  std::ostream& err = std::cerr;
#endif
  return runKeno(std::cin, std::cout, kHistoryFileName, err, awaitEnter);
}
