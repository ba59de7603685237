#include "analysis/field_reader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

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
      {"nul ends the text",
       std::string("\0"
                   "7;",
                   3),
       ';', 0, true},
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

TEST(FieldReaderTest, ReadAfterTheEndGivesZero) {
  // A file cut inside a field: the cut field counts once, then zeros.
  std::stringbuf source("15");
  FieldReader reader;
  reader.attach(&source);
  EXPECT_EQ(reader.readNumber(';'), 15);
  EXPECT_EQ(reader.readNumber(';'), 0);
  EXPECT_EQ(reader.readNumber('\n'), 0);
  EXPECT_FALSE(reader.good());
}

TEST(FieldReaderTest, NoSourceReadsZeros) {
  FieldReader reader;
  reader.attach(nullptr);
  EXPECT_FALSE(reader.good());
  EXPECT_EQ(reader.readLine(127), "");
  EXPECT_EQ(reader.readNumber(';'), 0);
}

struct LineCase {
  const char* name;
  std::string text;
  std::string line;
  bool goodAfter;
};

TEST(FieldReaderTest, ReadLineKeepsTheStartOfTheLine) {
  const std::string a127(127, 'a');
  const std::string a128(128, 'a');
  const LineCase cases[] = {
      {"short", "abc\n1;2", "abc", true},
      {"crlf", "abc\r\n", "abc", true},
      {"cr cr lf keeps one", "abc\r\r\n", "abc\r", true},
      {"inner cr stays", "a\rb\n", "a\rb", true},
      {"empty file", "", "", false},
      {"empty line", "\nrest", "", true},
      {"no line end", "abc", "abc", false},
      {"cr at end of file stays", "abc\r", "abc\r", false},
      {"127 characters", a127 + "\n", a127, true},
      {"128 characters", a128 + "\n", a127, true},
      {"127 characters crlf", a127 + "\r\n", a127, true},
      {"126 characters cr cr lf", a127.substr(1) + "\r\r\n",
       a127.substr(1) + "\r", true},
      {"long", std::string(300000, 'a') + "\r\nx", a127, true},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::stringbuf source(c.text);
    FieldReader reader;
    reader.attach(&source);
    EXPECT_EQ(reader.readLine(127), c.line);
    EXPECT_EQ(reader.good(), c.goodAfter);
  }
}

TEST(FieldReaderTest, LineEndSplitAcrossBlocksIsStillOneLineEnd) {
  // 64 KiB blocks: put the carriage return last in the first block.
  const std::string text = std::string(64 * 1024 - 1, 'x') + "\r\nnext\n";
  for (const std::size_t keep :
       {std::size_t{127}, std::size_t{65534}, std::size_t{70000}}) {
    SCOPED_TRACE(keep);
    std::stringbuf source(text);
    FieldReader reader;
    reader.attach(&source);
    EXPECT_EQ(reader.readLine(keep),
              std::string(std::min<std::size_t>(keep, 64 * 1024 - 1), 'x'));
    EXPECT_EQ(reader.readLine(keep), "next");
  }
}

TEST(FieldReaderTest, NumberSplitAcrossBlocks) {
  for (std::size_t pad = 64 * 1024 - 4; pad <= 64 * 1024; ++pad) {
    SCOPED_TRACE(pad);
    std::stringbuf source(std::string(pad, ' ') + "-1234;56;" +
                          std::string(70000, 'z') + ";7\n");
    FieldReader reader;
    reader.attach(&source);
    EXPECT_EQ(reader.readNumber(';'), -1234);
    EXPECT_EQ(reader.readNumber(';'), 56);
    EXPECT_EQ(reader.readNumber(';'), 0);
    EXPECT_EQ(reader.readNumber('\n'), 7);
    EXPECT_TRUE(reader.good());
  }
}

std::vector<FieldReader::Row> readRows(const std::string& text, int count) {
  std::stringbuf source(text);
  FieldReader reader;
  reader.attach(&source);
  std::vector<FieldReader::Row> rows(static_cast<std::size_t>(count));
  for (FieldReader::Row& row : rows) reader.readRow(row);
  return rows;
}

FieldReader::Row run(int first) {
  FieldReader::Row row{};
  for (int i = 0; i < kDrawnPerRow; ++i) row[i] = first + i;
  return row;
}

std::string fields(int first) {
  std::string text;
  for (int i = 0; i < kDrawnPerRow; ++i) {
    text += ";" + std::to_string(first + i);
  }
  return text;
}

TEST(FieldReaderTest, RowsWithTheWrongShape) {
  const std::string lead = "1;d;x";
  const std::string row1 = lead + fields(1) + "\n";
  const std::string row2 = lead + fields(41) + "\n";

  // Extra fields end up in the last field, which still reads its number.
  auto rows = readRows(lead + fields(1) + ";99;98\n" + row2, 2);
  EXPECT_EQ(rows[0], run(1));
  EXPECT_EQ(rows[1], run(41));

  // A ";" after the last field changes nothing.
  rows = readRows(lead + fields(1) + ";\n" + row2, 2);
  EXPECT_EQ(rows[0], run(1));
  EXPECT_EQ(rows[1], run(41));

  // An empty line joins the next row's first field, which is skipped.
  rows = readRows(row1 + "\n" + row2, 2);
  EXPECT_EQ(rows[1], run(41));

  // A short row runs into the next line, whose numbers are lost: "6\n1"
  // reads as 6, row 2's "d" and "x" as zeros, and its last field, which
  // takes the rest of the line, as 56.
  rows = readRows("1;d;x;5;6\n" + row2 + row1, 2);
  FieldReader::Row shortRow = {5, 6, 0, 0};
  for (int i = 4; i < kDrawnPerRow; ++i) shortRow[i] = 37 + i;
  EXPECT_EQ(rows[0], shortRow);
  EXPECT_EQ(rows[1], run(1));
}

}  // namespace
