#include "console_driver.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "test_support.h"

namespace {

const std::string kInvalid = "Neplatne cislo, zadajte ho znova:";
const std::string kEnded = "\nVstup sa skoncil pred zadanim 5 cisel.\n";

// What a played run tells on standard error of a history of `draws` rows.
std::string shortNote(const std::string& path, int draws) {
  return "Upozornenie: subor " + path + " ma len " + std::to_string(draws) +
         " tahov; zvysnych " + std::to_string(kPlayCount - draws) +
         " hier sa hralo bez tahu.\n";
}

TEST(ConsoleDriverTest, PickInput) {
  const struct {
    const char* name;
    std::string input;
    int status;
    std::string afterPrompt;  // up to the echo's line end
    std::string unread;       // what the final wait leaves of the input
    bool console = false;     // more can be typed once the input ended
  } cases[] = {
      {"one line", "72 3 60 17 25\n\n", 0, "Typovane:72,3,60,17,25,", ""},
      {"signs and zeros", "+1 -2 007 0 80\n\n", 0, "Typovane:1,-2,7,0,80,", ""},
      {"32-bit ends", "-2147483648 2147483647 1 2 3\n\n", 0,
       "Typovane:-2147483648,2147483647,1,2,3,", ""},
      {"letters skipped alone", "1 2 x 9 9\n7\n\n", 0,
       kInvalid + "Typovane:1,2,9,9,7,", ""},
      {"a line of letters", "a b c\n1 2 3 4 5\n\n", 0,
       kInvalid + "Typovane:1,2,3,4,5,", ""},
      {"one message a line", "x\ny z\n1 2 3 4 5\n\n", 0,
       kInvalid + kInvalid + "Typovane:1,2,3,4,5,", ""},
      {"fifth pick on a line with letters", "1 2 x 3 4 5\n\n", 0,
       "Typovane:1,2,3,4,5,", ""},
      {"tabs and commas", "1,2\t3,\t 4,\n5\n\n", 0, "Typovane:1,2,3,4,5,", ""},
      {"digits then text", "12abc 1\n1 2 3 4 5\n\n", 0,
       kInvalid + "Typovane:1,1,2,3,4,", ""},
      {"lone sign", "1 2 3 4 -\n5\n\n", 0, kInvalid + "Typovane:1,2,3,4,5,",
       ""},
      {"above the range", "2147483648\n1 2 3 4 5\n\n", 0,
       kInvalid + "Typovane:1,2,3,4,5,", ""},
      {"below the range", "-2147483649\n1 2 3 4 5\n\n", 0,
       kInvalid + "Typovane:1,2,3,4,5,", ""},
      {"text after the fifth pick", "1 2 3 4 5,6 7\n\nx", 0,
       "Typovane:1,2,3,4,5,", "x", true},
      {"line typed ahead", "1 2 3 4 5\nab\ncd\n", 0, "Typovane:1,2,3,4,5,",
       "b\ncd\n"},
      {"no input", "", 1, kEnded, ""},
      {"ends after two picks", "1 2", 1, kEnded, ""},
      {"ends at a console, which waits", "1 2", 1, kEnded, "", true},
      {"ends after a refused pick", "1 x\n", 1, kInvalid + kEnded, ""},
      {"ends on a refused pick's line", "1 x", 1, kInvalid + kEnded, ""},
  };
  TempHistory file(kHeader);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::stringstream in(c.input, std::ios::in | std::ios::out | std::ios::ate);
    std::ostringstream out;
    std::ostringstream err;
    // Only input that ended early waits this way, its message already out.
    std::string shownAtWait = "no wait";
    const AwaitEnter awaitEnter = [&] { shownAtWait = out.str(); };
    EXPECT_EQ(runKeno(in, out, file.path(), err,
                      c.console ? awaitEnter : AwaitEnter()),
              c.status);
    // The picks' messages belong on standard output; a played run on this
    // history of no draws gets its note, and nothing else goes here.
    EXPECT_EQ(err.str(), c.status == 0 ? shortNote(file.path(), 0) : "");
    const std::string start =
        "Keno - analyza historie zrebovani\n"
        "Zadajte 5 typovanych cisel:" +
        c.afterPrompt;
    EXPECT_EQ(out.str().substr(0, start.size()), start);
    std::string unread;
    std::getline(in, unread, '\0');
    EXPECT_EQ(unread, c.unread);
    EXPECT_EQ(shownAtWait, c.console && c.status ? out.str() : "no wait");
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
  EXPECT_EQ(err.str(),
            shortNote(file.path(), 1) + "Chyba pri zapise vystupu.\n");
  // The final wait is still there and takes its one character.
  std::string unread;
  std::getline(in, unread, '\0');
  EXPECT_EQ(unread, "x");
}

}  // namespace
