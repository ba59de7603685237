// Fuzzes a whole run: the input is a history file and, after the first
// "@@", what the player types (five valid picks when there is no "@@").
// Each history is also read by the plain reference reader, which must give
// the same rows.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "console_driver.h"
#include "reader_comparison.h"

namespace {

// A file of this process's own, so that fuzzers may run side by side.
const std::string& historyPath() {
  static const std::string path =
      (std::filesystem::temp_directory_path() /
       ("keno_fuzz_" + std::to_string(std::random_device{}()) + ".csv"))
          .string();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t marker = input.find("@@");
  const std::string history = input.substr(0, marker);
  const std::string typed = marker == std::string::npos
                                ? "72 3 60 17 25\n\n"
                                : input.substr(marker + 2);
  // Block ends anywhere: the reader is handed 1 to 16 bytes at a time.
  const std::string differs = compareReaders(history, 1 + size % 16);
  if (!differs.empty()) {
    std::fprintf(stderr, "FieldReader and the reference differ: %s\n",
                 differs.c_str());
    std::abort();
  }

  std::ofstream(historyPath(), std::ios::binary | std::ios::trunc) << history;
  std::istringstream in(typed);
  std::ostringstream out;
  runKeno(in, out, historyPath());
  std::remove(historyPath().c_str());
  return 0;
}
