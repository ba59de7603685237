#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "analysis/draw_analyzer.h"

namespace {

struct Totals {
  int plays;  // on a history that cannot be opened: staked, never a hit
  int threes, fours, fives;
};

// The report after the given plays and winning bets.
std::string reportOf(const Totals& t) {
  std::ostringstream out;
  DrawAnalyzer keno(false, out, "");
  DrawAnalyzer::Ticket typ = {1, 2, 3, 4, 5};
  for (int i = 0; i < t.plays; ++i) keno.playDraw(typ, 0);
  for (int i = 0; i < t.threes; ++i) keno.settleBet(3);
  for (int i = 0; i < t.fours; ++i) keno.settleBet(4);
  for (int i = 0; i < t.fives; ++i) keno.settleBet(5);
  out.str("");
  keno.printReport();
  return out.str();
}

std::string report(const std::string& stake, const std::string& win,
                   const std::string& net, int stakes, int wins,
                   const std::string& moneyRate, const std::string& playRate) {
  return "\nVklad:" + stake + "\nVyhra:" + win +
         "\nCista vyhra(vyhra-vklad):" + net +
         "\nVkladov:" + std::to_string(stakes) +
         "\nVyhier:" + std::to_string(wins) +
         "\nTahov:" + std::to_string(stakes) +
         "\nUspesnost(vyhra/vklad): " + moneyRate +
         "%\nUspesnost2(vyhier/vkladov): " + playRate + "%\n";
}

TEST(ReportTest, PrintsTheTotalsAndRates) {
  const struct {
    const char* name;
    Totals totals;
    std::string expected;
  } cases[] = {
      {"no payout",
       {4876, 0, 0, 0},
       report("2438", "0", "-2438", 4876, 0, "0", "0")},
      {"one win in three",
       {3, 1, 0, 0},
       report("1.5", "1", "-0.5", 3, 1, "66.6667", "33.3333")},
      {"halves and whole amounts",
       {25, 5, 4, 0},
       report("12.5", "37", "24.5", 25, 9, "296", "36")},
      {"largest amounts in fixed notation",
       {4876, 0, 0, 4876},
       report("2438", "487600", "485162", 4876, 4876, "20000", "100")},
      // Rounding the money quotient to single precision before multiplying
      // would print 861.539, 941.177 and 513.044.
      {"money rate rounded once",
       {13, 0, 7, 0},
       report("6.5", "56", "49.5", 13, 7, "861.538", "53.8462")},
      {"money rate rounded once, up",
       {17, 0, 10, 0},
       report("8.5", "80", "71.5", 17, 10, "941.176", "58.8235")},
      {"money rate rounded once, many wins",
       {23, 59, 0, 0},
       report("11.5", "59", "47.5", 23, 59, "513.043", "256.522")},
      // Not rounding the play quotient first would print 91.3043, 25.8065
      // and 48.6486.
      {"play rate rounded twice",
       {23, 21, 0, 0},
       report("11.5", "21", "9.5", 23, 21, "182.609", "91.3044")},
      {"play rate rounded twice, down",
       {31, 8, 0, 0},
       report("15.5", "8", "-7.5", 31, 8, "51.6129", "25.8064")},
      {"play rate rounded twice, up",
       {37, 18, 0, 0},
       report("18.5", "18", "-0.5", 37, 18, "97.2973", "48.6487")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(reportOf(c.totals), c.expected);
  }
}

TEST(ReportTest, NothingStakedRatesAreZero) {
  EXPECT_EQ(reportOf({0, 0, 0, 0}), report("0", "0", "0", 0, 0, "0", "0"));
}

}  // namespace
