#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "analysis/draw_analyzer.h"
#include "temp_history.h"

namespace {

DrawAnalyzer::Draw drawOf(std::initializer_list<std::int32_t> numbers) {
  DrawAnalyzer::Draw draw{};
  std::copy(numbers.begin(), numbers.end(), draw.begin());
  return draw;
}

TEST(BetSimulationTest, CountHits) {
  const DrawAnalyzer::Draw draw =
      drawOf({3,  17, 5,  7,  9,  11, 13, 15, 19, 21,
              23, 27, 29, 31, 33, 35, 37, 39, 41, 43});
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

// The report lines that settling bets changes.
std::string winLines(const std::string& report) {
  std::istringstream lines(report);
  std::string line;
  std::string wins;
  while (std::getline(lines, line)) {
    if (line.rfind("Vyhra:", 0) == 0 || line.rfind("Vyhier:", 0) == 0) {
      wins += line + "|";
    }
  }
  return wins;
}

TEST(BetSimulationTest, SettleBetPaysTheMultipleOfTheStake) {
  const struct {
    std::int32_t hits;
    const char* wins;
  } cases[] = {
      {0, "Vyhra:0|Vyhier:0|"}, {1, "Vyhra:0|Vyhier:0|"},
      {2, "Vyhra:0|Vyhier:0|"}, {3, "Vyhra:1|Vyhier:1|"},
      {4, "Vyhra:8|Vyhier:1|"}, {5, "Vyhra:100|Vyhier:1|"},
      {6, "Vyhra:0|Vyhier:0|"}, {20, "Vyhra:0|Vyhier:0|"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.hits);
    std::ostringstream out;
    DrawAnalyzer keno(false, out, "");
    keno.settleBet(c.hits);
    out.str("");
    keno.printReport();
    EXPECT_EQ(winLines(out.str()), c.wins);
  }
}

std::string playReport(const std::string& history, DrawAnalyzer::Ticket ticket,
                       int plays, std::int32_t firstRow) {
  TempHistory file(history);
  std::ostringstream out;
  DrawAnalyzer keno(false, out, file.path());
  for (int i = 0; i < plays; ++i) keno.playDraw(ticket, firstRow);
  out.str("");
  keno.printReport();
  return out.str();
}

std::string report(const char* stake, const char* win, const char* net,
                   int stakes, int wins, int draws, const char* moneyRate,
                   const char* playRate) {
  std::ostringstream text;
  text << "\nVklad:" << stake << "\nVyhra:" << win
       << "\nCista vyhra(vyhra-vklad):" << net << "\nVkladov:" << stakes
       << "\nVyhier:" << wins << "\nTahov:" << draws
       << "\nUspesnost(vyhra/vklad): " << moneyRate
       << "%\nUspesnost2(vyhier/vkladov): " << playRate << "%\n";
  return text.str();
}

TEST(BetSimulationTest, PlayDrawSortsTheTicketInPlace) {
  TempHistory file(kHeader + historyRow(1, numberRun(1)));
  std::ostringstream out;
  DrawAnalyzer keno(false, out, file.path());
  DrawAnalyzer::Ticket typ = {72, 3, 60, 17, 25};
  keno.playDraw(typ, 0);
  EXPECT_EQ(typ, (DrawAnalyzer::Ticket{3, 17, 25, 60, 72}));
}

TEST(BetSimulationTest, RowsBeforeFirstRowAreSkipped) {
  // Rows 1 and 2 would win; they use up plays but are not staked.
  const std::string history = kHeader + historyRow(1, numberRun(1)) +
                              historyRow(2, numberRun(1)) +
                              historyRow(3, numberRun(41));
  EXPECT_EQ(playReport(history, {1, 2, 3, 4, 5}, 3, 3),
            report("0.5", "0", "-0.5", 1, 0, 1, "0", "0"));
}

TEST(BetSimulationTest, MalformedRowWithManyHitsPaysNothing) {
  std::string sevens = "7";
  for (int i = 1; i < 20; ++i) sevens += ";7";
  const std::string history = kHeader + historyRow(1, sevens);
  EXPECT_EQ(playReport(history, {7, 7, 7, 7, 7}, 1, 0),
            report("0.5", "0", "-0.5", 1, 0, 1, "0", "0"));
}

TEST(BetSimulationTest, VerbosePlayPrintsTheDrawAndHits) {
  TempHistory file(kHeader + historyRow(1, numberRun(1)));
  std::ostringstream out;
  DrawAnalyzer keno(true, out, file.path());
  DrawAnalyzer::Ticket typ = {20, 1, 40, 2, 50};
  keno.playDraw(typ, 0);
  EXPECT_EQ(out.str(),
            "Zrebovane cisla: \n1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,"
            "19,20,\nUhadol:3\n");
}

}  // namespace
