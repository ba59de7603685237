#include "field_reader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

struct NumberCase {
  const char* name;
  std::string text;
  char separator;
  std::int32_t number;
  bool goodAfter;
};

TEST(FieldReaderTest, ReadsTheNumberAFieldBeginsWith) {
  const NumberCase cases[] = {
      {"plain", "7;", ';', 7, true},
      {"leading blank", " 7;", ';', 7, true},
      {"leading zero", "07;", ';', 7, true},
      {"carriage return", "7\r\n", '\n', 7, true},
      {"empty field", ";", ';', 0, true},
      {"not numeric", "abc;", ';', 0, true},
      {"digits then text", "12abc;", ';', 12, true},
      {"signs", "-5;", ';', -5, true},
      {"plus sign", "+5;", ';', 5, true},
      {"lone sign", "-;", ';', 0, true},
      {"sign then blank", "- 5;", ';', 0, true},
      {"runs past a line end", "\n7;", ';', 7, true},
      {"number before a line end", "3\n7;", ';', 3, true},
      {"nul ends the text", std::string(1, '\0') + "7;", ';', 0, true},
      {"largest", "2147483647;", ';', 2147483647, true},
      {"lowest", "-2147483648;", ';', -2147483647 - 1, true},
      {"saturates high", "2147483648;", ';', 2147483647, true},
      {"saturates far", "99999999999999999999;", ';', 2147483647, true},
      {"saturates low", "-99999999999;", ';', -2147483647 - 1, true},
      {"end of file after text", "42", ';', 42, false},
      {"end of file at once", "", ';', 0, false},
      {"last field without line end", "9", '\n', 9, false},
  };
  for (const NumberCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::stringbuf source(c.text);
    FieldReader reader;
    reader.attach(&source);
    EXPECT_EQ(reader.readNumber(c.separator), c.number);
    EXPECT_EQ(reader.good(), c.goodAfter);
  }
}

}  // namespace
