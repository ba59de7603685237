#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "draw_analyzer.h"
#include "test_support.h"

namespace {

// The report after `plays` plays on a history that cannot be opened (staked,
// never a hit) and bets settled for each of `hits`.
std::string reportOf(int plays, const std::vector<std::int32_t>& hits) {
  std::ostringstream out;
  DrawAnalyzer keno(false, out, "");
  DrawAnalyzer::Ticket typ = {5, 4, 3, 2, 1};
  for (int i = 0; i < plays; ++i) keno.playDraw(typ, 0);
  EXPECT_TRUE(plays == 0 || (typ == DrawAnalyzer::Ticket{1, 2, 3, 4, 5}));
  for (const std::int32_t h : hits) keno.settleBet(h);
  out.str("");
  keno.printReport();
  return out.str();
}

// `count` bets of `hits` hits each.
std::vector<std::int32_t> bets(int count, std::int32_t hits) {
  return std::vector<std::int32_t>(static_cast<std::size_t>(count), hits);
}

std::vector<std::int32_t> operator+(std::vector<std::int32_t> a,
                                    const std::vector<std::int32_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(ReportTest, PrintsTheTotalsAndRates) {
  const struct {
    const char* name;
    int plays;
    std::vector<std::int32_t> hits;
    std::string expected;
  } cases[] = {
      {"nothing staked", 0, {}, report("0", "0", "0", 0, 0, "0", "0")},
      {"no payout", 4876, {}, report("2438", "0", "-2438", 4876, 0, "0", "0")},
      {"no payout below three hits or above five", 2,
       std::vector<std::int32_t>{0, 1, 2, 6, 20},
       report("1", "0", "-1", 2, 0, "0", "0")},
      {"one win in three", 3, bets(1, 3),
       report("1.5", "1", "-0.5", 3, 1, "66.6667", "33.3333")},
      {"halves and whole amounts", 25, bets(5, 3) + bets(4, 4),
       report("12.5", "37", "24.5", 25, 9, "296", "36")},
      {"largest amounts in fixed notation", 4876, bets(4876, 5),
       report("2438", "487600", "485162", 4876, 4876, "20000", "100")},
      // Rounding the money quotient to single precision before multiplying
      // would print 861.539, 941.177 and 513.044.
      {"money rate rounded once", 13, bets(7, 4),
       report("6.5", "56", "49.5", 13, 7, "861.538", "53.8462")},
      {"money rate rounded once, up", 17, bets(10, 4),
       report("8.5", "80", "71.5", 17, 10, "941.176", "58.8235")},
      {"money rate rounded once, many wins", 23, bets(59, 3),
       report("11.5", "59", "47.5", 23, 59, "513.043", "256.522")},
      // Not rounding the play quotient first would print 91.3043, 25.8065
      // and 48.6486.
      {"play rate rounded twice", 23, bets(21, 3),
       report("11.5", "21", "9.5", 23, 21, "182.609", "91.3044")},
      {"play rate rounded twice, down", 31, bets(8, 3),
       report("15.5", "8", "-7.5", 31, 8, "51.6129", "25.8064")},
      {"play rate rounded twice, up", 37, bets(18, 3),
       report("18.5", "18", "-0.5", 37, 18, "97.2973", "48.6487")},
      {"one five-hit play", 1, bets(1, 5),
       report("0.5", "100", "99.5", 1, 1, "20000", "100")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(reportOf(c.plays, c.hits), c.expected);
  }
}

}  // namespace
