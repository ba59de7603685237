#include "app/console_driver.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "temp_history.h"

namespace {

struct RunResult {
  int status;
  std::string output;
  std::string unread;  // input the run left unconsumed
};

RunResult runWith(const std::string& input, const std::string& historyPath) {
  std::istringstream in(input);
  std::ostringstream out;
  const int status = runKeno(in, out, historyPath);
  return {status, out.str(), in.eof() ? "" : in.str().substr(in.tellg())};
}

const char kBanner[] = "Keno - analyza historie zrebovani\n";
const char kPrompt[] = "Zadajte 5 typovanych cisel:";

std::string frequencies(int first, int last) {
  std::string counts;
  for (int n = 0; n <= 80; ++n) {
    counts += "[" + std::to_string(n) + "] " +
              (n >= first && n <= last ? "1" : "0") + ",";
  }
  return "Najviac padane cisla od roku 1999 po rok 2012: \nFrekvncia: \n" +
         counts + "\n";
}

TEST(ConsoleDriverTest, FullRunPrintsEveryPhaseInOrder) {
  TempHistory file("Hlavicka\n" + historyRow(1, numberRun(1)));
  const RunResult run = runWith("72 3 60 17 5\n\n", file.path());
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.output,
            std::string(kBanner) + kPrompt + "Typovane:72,3,60,17,5,\n\n" +
                "\nVklad:2438\nVyhra:1\nCista vyhra(vyhra-vklad):-2437\n"
                "Vkladov:4876\nVyhier:1\nTahov:4876\n"
                "Uspesnost(vyhra/vklad): 0.0410172%\n"
                "Uspesnost2(vyhier/vkladov): 0.0205086%\n"
                "Hlavickaloooooooooool\n" +
                frequencies(1, 20));
}

TEST(ConsoleDriverTest, MissingHistoryIsTheFirstLine) {
  const RunResult run =
      runWith("1 2 3 4 5\n\n", testing::TempDir() + "absent.csv");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.output.rfind(std::string("Subor sa neda otvorit.\n") + kBanner +
                                 kPrompt + "Typovane:1,2,3,4,5,\n",
                             0),
            0U);
  EXPECT_NE(run.output.find("\nVklad:2438\nVyhra:0\n"), std::string::npos);
  EXPECT_NE(run.output.find("\nloooooooooool\n"), std::string::npos);
}

TEST(ConsoleDriverTest, PickInput) {
  const std::string invalid = "Neplatne cislo, zadajte ho znova:";
  const struct {
    const char* name;
    std::string input;
    std::string echo;  // what follows the prompt
    std::string unread;
  } cases[] = {
      {"one line", "72 3 60 17 25\n\n", "Typovane:72,3,60,17,25,", ""},
      {"one per line", "1\n2\n3\n4\n5\n\n", "Typovane:1,2,3,4,5,", ""},
      {"signs and zeros", "+1 -2 007 0 80\n\n", "Typovane:1,-2,7,0,80,", ""},
      {"letters", "1 2 x 9 9\n3 4 5\n\n", invalid + "Typovane:1,2,3,4,5,", ""},
      {"lone sign", "1 2 3 4 -\n5\n\n", invalid + "Typovane:1,2,3,4,5,", ""},
      {"too large", "99999999999 1 2\n1 2 3 4 5\n\n",
       invalid + "Typovane:1,2,3,4,5,", ""},
      {"digits then text", "12abc 1\n1 2 3 4 5\n\n",
       invalid + "Typovane:1,2,3,4,5,", ""},
      {"lowest", "-2147483648 2147483647 1 2 3\n\n",
       "Typovane:-2147483648,2147483647,1,2,3,", ""},
      {"out of range below", "-2147483649\n1 2 3 4 5\n\n",
       invalid + "Typovane:1,2,3,4,5,", ""},
      {"text after the fifth pick", "1 2 3 4 5 6 7\n\n", "Typovane:1,2,3,4,5,",
       ""},
      {"line typed ahead", "1 2 3 4 5\nab\ncd\n", "Typovane:1,2,3,4,5,",
       "b\ncd\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempHistory file(kHeader);
    const RunResult run = runWith(c.input, file.path());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output.substr(0, run.output.find('\n', sizeof kBanner)),
              kBanner + std::string(kPrompt) + c.echo);
    EXPECT_EQ(run.unread, c.unread);
  }
}

TEST(ConsoleDriverTest, InputEndingEarlyStopsWithoutPlaying) {
  for (const std::string input : {"", "1 2", "1 2\n", "1 x\n"}) {
    SCOPED_TRACE(input);
    const RunResult run = runWith(input, testing::TempDir() + "absent.csv");
    EXPECT_EQ(run.status, 1);
    const std::string tail =
        std::string(kPrompt) +
        (input == "1 x\n" ? "Neplatne cislo, zadajte ho znova:" : "") +
        "\nVstup sa skoncil pred zadanim 5 cisel.\n";
    ASSERT_GE(run.output.size(), tail.size());
    EXPECT_EQ(run.output.substr(run.output.size() - tail.size()), tail);
  }
}

}  // namespace
