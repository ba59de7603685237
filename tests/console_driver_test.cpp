#include "console_driver.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "test_support.h"

namespace {

const std::string kInvalid = "Neplatne cislo, zadajte ho znova:";
const std::string kEnded = "\nVstup sa skoncil pred zadanim 5 cisel.\n";

TEST(ConsoleDriverTest, PickInput) {
  const struct {
    const char* name;
    std::string input;
    int status;
    std::string afterPrompt;  // up to the echo's line end
    std::string unread;       // what the final wait leaves of the input
  } cases[] = {
      {"one line", "72 3 60 17 25\n\n", 0, "Typovane:72,3,60,17,25,", ""},
      {"signs and zeros", "+1 -2 007 0 80\n\n", 0, "Typovane:1,-2,7,0,80,", ""},
      {"32-bit ends", "-2147483648 2147483647 1 2 3\n\n", 0,
       "Typovane:-2147483648,2147483647,1,2,3,", ""},
      {"letters drop their line", "1 2 x 9 9\n3 4 5\n\n", 0,
       kInvalid + "Typovane:1,2,3,4,5,", ""},
      {"digits then text", "12abc 1\n1 2 3 4 5\n\n", 0,
       kInvalid + "Typovane:1,2,3,4,5,", ""},
      {"lone sign", "1 2 3 4 -\n5\n\n", 0, kInvalid + "Typovane:1,2,3,4,5,",
       ""},
      {"above the range", "2147483648\n1 2 3 4 5\n\n", 0,
       kInvalid + "Typovane:1,2,3,4,5,", ""},
      {"below the range", "-2147483649\n1 2 3 4 5\n\n", 0,
       kInvalid + "Typovane:1,2,3,4,5,", ""},
      {"text after the fifth pick", "1 2 3 4 5 6 7\n\nx", 0,
       "Typovane:1,2,3,4,5,", "x"},
      {"line typed ahead", "1 2 3 4 5\nab\ncd\n", 0, "Typovane:1,2,3,4,5,",
       "b\ncd\n"},
      {"no input", "", 1, kEnded, ""},
      {"ends after two picks", "1 2", 1, kEnded, ""},
      {"ends after a refused pick", "1 x\n", 1, kInvalid + kEnded, ""},
  };
  TempHistory file(kHeader);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::istringstream in(c.input);
    std::ostringstream out;
    EXPECT_EQ(runKeno(in, out, file.path()), c.status);
    const std::string start =
        "Keno - analyza historie zrebovani\n"
        "Zadajte 5 typovanych cisel:" +
        c.afterPrompt;
    EXPECT_EQ(out.str().substr(0, start.size()), start);
    std::string unread;
    std::getline(in, unread, '\0');
    EXPECT_EQ(unread, c.unread);
  }
}

// Takes no output, as a full disk or a closed descriptor.
class RefusingBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
};

TEST(ConsoleDriverTest, OutputThatCannotBeWrittenEndsWithStatusOne) {
  TempHistory file(kHeader + historyRow(1, numberRun(1)));
  std::istringstream in("1 2 3 4 5\n\nx");
  RefusingBuffer refusing;
  std::ostream out(&refusing);
  std::ostringstream err;
  EXPECT_EQ(runKeno(in, out, file.path(), err), 1);
  EXPECT_EQ(err.str(), "Chyba pri zapise vystupu.\n");
  // The final wait is still there and takes its one character.
  std::string unread;
  std::getline(in, unread, '\0');
  EXPECT_EQ(unread, "x");
}

}  // namespace
