// Runs a command in this process's console and keeps a copy of the
// console's screen in a file while it runs and once it has ended, so that
// a test can read what a player would see. Exits with the command's status.
//
//   keno_console_screen.exe SCREEN COMMAND LINE...
//
// SCREEN holds the screen's text in UTF-16, one line a row, each row without
// its trailing blanks, down to the cursor's row. It is replaced whole, so a
// reader never sees it half written.
#include <windows.h>

#include <fstream>
#include <string>

namespace {

std::wstring screenText(HANDLE console) {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(console, &info)) return L"";
  std::wstring text;
  for (SHORT y = 0; y <= info.dwCursorPosition.Y; ++y) {
    std::wstring row(static_cast<std::size_t>(info.dwSize.X), L' ');
    DWORD read = 0;
    if (!ReadConsoleOutputCharacterW(console, &row[0], info.dwSize.X, {0, y},
                                     &read)) {
      break;
    }
    row.resize(read);
    // npos + 1 is 0: a blank row is left empty.
    row.erase(row.find_last_not_of(L' ') + 1);
    text += row + L'\n';
  }
  return text;
}

void saveScreen(HANDLE console, const std::string& path) {
  const std::string partial = path + ".part";
  const std::wstring text = screenText(console);
  // Closed at the end of the statement, before the file is moved.
  std::ofstream(partial, std::ios::binary)
      .write(reinterpret_cast<const char*>(text.data()),
             static_cast<std::streamsize>(text.size() * sizeof(wchar_t)));
  MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  HANDLE console = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
  if (console == INVALID_HANDLE_VALUE) return 2;
  // Wide enough that no run's line wraps, tall enough that none scrolls away.
  SetConsoleScreenBufferSize(console, {1000, 300});
  // A Slovak console's code page, in which the ANSI one's bytes show wrong.
  SetConsoleOutputCP(852);
  std::string command = argv[2];
  for (int i = 3; i < argc; ++i) command += std::string(" ") + argv[i];
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr,
                      nullptr, &startup, &process)) {
    return 2;
  }
  while (WaitForSingleObject(process.hProcess, 100) == WAIT_TIMEOUT) {
    saveScreen(console, argv[1]);
  }
  saveScreen(console, argv[1]);
  DWORD status = 2;
  GetExitCodeProcess(process.hProcess, &status);
  return static_cast<int>(status);
}
