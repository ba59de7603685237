#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "draw_analyzer.h"
#include "test_support.h"

namespace {

TEST(BetSimulationTest, CountHits) {
  const DrawAnalyzer::Draw draw = {3,  17, 5,  7,  9,  11, 13, 15, 19, 21,
                                   23, 27, 29, 31, 33, 35, 37, 39, 41, 43};
  const struct {
    DrawAnalyzer::Ticket ticket;
    std::int32_t hits;
  } cases[] = {
      {{2, 4, 6, 8, 10}, 0},     {{3, 4, 6, 8, 10}, 1},
      {{3, 17, 6, 8, 10}, 2},    {{3, 17, 5, 8, 10}, 3},
      {{3, 17, 5, 7, 10}, 4},    {{43, 41, 3, 17, 5}, 5},
      {{7, 7, 7, 7, 7}, 5},      {{3, 3, 17, 25, 60}, 3},
      {{0, 81, -3, 100, 80}, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DrawAnalyzer::countHits(c.ticket, draw), c.hits);
  }
  // An all-zero row, as read past the end of the history, against a 0 pick.
  EXPECT_EQ(DrawAnalyzer::countHits({0, 1, 2, 3, 4}, DrawAnalyzer::Draw{}), 20);
}

TEST(BetSimulationTest, VerbosePlaysAndTheirReport) {
  // A play of three hits on the row 1 to 20, and its report.
  const std::string threeHits =
      "Zrebovane cisla: \n1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,"
      "\nUhadol:3\n" +
      report("0.5", "1", "0.5", 1, 1, "200", "100");
  const struct {
    const char* name;
    std::string history;
    DrawAnalyzer::Ticket ticket;
    int plays;
    std::int32_t firstRow;
    std::string expected;
  } cases[] = {
      {"three hits pay the stake twice", kHeader + historyRow(1, numberRun(1)),
       DrawAnalyzer::Ticket{20, 1, 40, 2, 50}, 1, 0, threeHits},
      // Rows 1 and 2 would win: they use up plays but are not staked.
      {"rows before firstRow are skipped",
       kHeader + historyRow(1, numberRun(1)) + historyRow(2, numberRun(1)) +
           historyRow(3, numberRun(1)),
       DrawAnalyzer::Ticket{50, 3, 40, 2, 1}, 3, 3, threeHits},
      // Only a malformed row can give more than five hits.
      {"more than five hits pay nothing",
       kHeader + historyRow(1, numberRun(7, 0)),
       DrawAnalyzer::Ticket{7, 7, 7, 7, 7}, 1, 0,
       "Zrebovane cisla: \n7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,\n"
       "Uhadol:100\n" +
           report("0.5", "0", "-0.5", 1, 0, "0", "0")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempHistory file(c.history);
    std::ostringstream out;
    DrawAnalyzer keno(true, out, file.path());
    DrawAnalyzer::Ticket typ = c.ticket;
    for (int i = 0; i < c.plays; ++i) keno.playDraw(typ, c.firstRow);
    keno.printReport();
    EXPECT_EQ(out.str(), c.expected);
    // Each play sorts the ticket in place.
    EXPECT_TRUE(std::is_sorted(typ.begin(), typ.end()));
    EXPECT_TRUE(std::is_permutation(typ.begin(), typ.end(), c.ticket.begin()));
  }
}

}  // namespace
