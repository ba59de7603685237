#include "field_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chunked_source.h"
#include "test_support.h"

namespace {

TEST(FieldReaderTest, ReadsTheNumberAFieldBeginsWith) {
  const struct {
    const char* name;
    std::string text;
    char separator;
    std::int32_t number;
    bool goodAfter;
  } cases[] = {
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
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ChunkedSource source(c.text, c.text.size());
    bool failed = false;
    FieldReader reader(failed);
    reader.attach(&source);
    EXPECT_EQ(reader.readNumber(c.separator), c.number);
    EXPECT_EQ(reader.good(), c.goodAfter);
  }
}

// The header, then every row up to one past the end, with the state after.
std::vector<std::string> readAll(ByteSource& source, FieldReader& reader) {
  reader.attach(&source);
  std::vector<std::string> read = {reader.readLine(kHeaderBufferSize - 1)};
  for (bool more = true; more; more = reader.good()) {
    FieldReader::Row row{};
    reader.readRow(row);
    read.emplace_back();
    for (const std::int32_t n : row) read.back() += std::to_string(n) + ",";
    read.back() += reader.good() ? "good" : "ended";
  }
  return read;
}

TEST(FieldReaderTest, AFailedReadEndsTheTextWhereItFailed) {
  const std::string bytes = kHeader + historyRow(1, numberRun(1)) +
                            historyRow(2, numberRun(61)) + "3;x;y;45;4";
  for (const std::size_t chunk : {std::size_t{1}, std::size_t{64}}) {
    for (std::size_t failAt = 0; failAt < bytes.size(); ++failAt) {
      SCOPED_TRACE("chunk " + std::to_string(chunk) + ", fails at " +
                   std::to_string(failAt));
      ChunkedSource failing(bytes, chunk, failAt);
      ChunkedSource cut(bytes.substr(0, failAt), chunk);
      bool failed = false;
      bool plainFailed = false;
      FieldReader reader(failed);
      FieldReader plain(plainFailed);
      EXPECT_EQ(readAll(failing, reader), readAll(cut, plain));
      EXPECT_TRUE(failed);
      // The end of a source is no failure.
      EXPECT_FALSE(plainFailed);
    }
  }
}

}  // namespace
