// Throughput of the two passes over a history, and of the plain
// getline-per-field reading they are measured against.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <system_error>

#include "draw_analyzer.h"
#include "history_rows.h"
#include "reference_reader.h"

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace {

constexpr int kRows = 200000;

// A history of kRows draws of 20 distinct numbers, written once, under a
// name of this process's own, so that runs at the same time never share
// it; removed at exit.
struct History {
  History();
  ~History() {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
  }
  History(const History&) = delete;
  History& operator=(const History&) = delete;

  std::string path;
  std::int64_t bytes = 0;
  std::int64_t playedBytes = 0;  // the header and the rows the plays read
};

History::History() {
#ifdef _WIN32
  const int pid = _getpid();
#else
  const pid_t pid = getpid();
#endif
  path = (std::filesystem::temp_directory_path() /
          ("keno_bench_" + std::to_string(pid) + ".csv"))
             .string();
  std::ofstream out(path, std::ios::binary);
  std::string text = kHeader;
  std::uint32_t state = 2012;
  for (int r = 1; r <= kRows; ++r) {
    std::array<bool, kHighestNumber + 1> taken{};
    std::string numbers;
    for (int k = 0; k < kDrawnPerRow;) {
      state = state * 1664525U + 1013904223U;
      const auto n = static_cast<int>(state >> 16) % kHighestNumber + 1;
      if (taken[static_cast<std::size_t>(n)]) continue;
      taken[static_cast<std::size_t>(n)] = true;
      numbers += (k == 0 ? "" : ";") + std::to_string(n);
      ++k;
    }
    text += historyRow(r, numbers);
    if (r == kPlayCount) playedBytes = static_cast<std::int64_t>(text.size());
  }
  out << text;
  bytes = static_cast<std::int64_t>(text.size());
}

const History& history() {
  static const History made;
  return made;
}

void BM_FrequencyPass(benchmark::State& state) {
  std::ostream discard(nullptr);
  DrawAnalyzer keno(false, discard, history().path);
  for (auto _ : state) {
    keno.rewindHistory();
    keno.printFrequencies(0);
  }
  state.SetBytesProcessed(state.iterations() * history().bytes);
}
BENCHMARK(BM_FrequencyPass)->Unit(benchmark::kMillisecond);

void BM_ReferenceFrequencyPass(benchmark::State& state) {
  for (auto _ : state) {
    std::ifstream file(history().path, std::ios::binary);
    ReferenceReader reader(file);
    reader.readLine(kHeaderBufferSize - 1);
    std::array<std::int32_t, kHighestNumber + 1> frekvencia{};
    FieldReader::Row numbers{};
    while (reader.good()) {
      reader.readRow(numbers);
      for (const std::int32_t v : numbers) {
        if (v >= 1 && v <= kHighestNumber)
          ++frekvencia[static_cast<std::size_t>(v)];
      }
    }
    benchmark::DoNotOptimize(frekvencia);
  }
  state.SetBytesProcessed(state.iterations() * history().bytes);
}
BENCHMARK(BM_ReferenceFrequencyPass)->Unit(benchmark::kMillisecond);

void BM_PlayLoop(benchmark::State& state) {
  std::ostream discard(nullptr);
  for (auto _ : state) {
    DrawAnalyzer keno(false, discard, history().path);
    DrawAnalyzer::Ticket typ = {72, 3, 60, 17, 25};
    for (int play = 0; play < kPlayCount; ++play) keno.playDraw(typ, 0);
    benchmark::DoNotOptimize(typ);
  }
  state.SetBytesProcessed(state.iterations() * history().playedBytes);
}
BENCHMARK(BM_PlayLoop)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
