#ifndef KENO_TESTS_TEST_SUPPORT_H_
#define KENO_TESTS_TEST_SUPPORT_H_

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "history_rows.h"

// A history file with the given bytes, named after the running test so that
// tests may run in parallel; removed when it goes out of scope. A file that
// cannot be written fails the test, which would read something else.
class TempHistory {
 public:
  explicit TempHistory(const std::string& bytes) {
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    path_ = testing::TempDir() + "keno_" + test->test_suite_name() + "_" +
            test->name() + ".csv";
    std::ofstream file(path_, std::ios::binary);
    file << bytes;
    file.close();
    if (!file) ADD_FAILURE() << "Cannot write " << path_;
  }
  ~TempHistory() { std::remove(path_.c_str()); }
  TempHistory(const TempHistory&) = delete;
  TempHistory& operator=(const TempHistory&) = delete;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The report's text for the given values; every play counts as a draw.
inline std::string report(const std::string& stake, const std::string& win,
                          const std::string& net, int stakes, int wins,
                          const std::string& moneyRate,
                          const std::string& playRate) {
  return "\nVklad:" + stake + "\nVyhra:" + win +
         "\nCista vyhra(vyhra-vklad):" + net +
         "\nVkladov:" + std::to_string(stakes) +
         "\nVyhier:" + std::to_string(wins) +
         "\nTahov:" + std::to_string(stakes) +
         "\nUspesnost(vyhra/vklad): " + moneyRate +
         "%\nUspesnost2(vyhier/vkladov): " + playRate + "%\n";
}

#endif  // KENO_TESTS_TEST_SUPPORT_H_
