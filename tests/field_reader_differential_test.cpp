// FieldReader reads blocks and never keeps a field's text; the reference
// reader is the plain getline-per-field reading. On any input both must
// give the same header, numbers and stream states.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "reader_comparison.h"

namespace {

void expectSameReading(const std::string& bytes, std::size_t chunk = 1 << 20) {
  EXPECT_EQ(compareReaders(bytes, chunk), "");
}

class Generator {
 public:
  explicit Generator(std::uint32_t seed) : rng_(seed) {}

  std::size_t below(std::size_t n) { return rng_() % n; }

  // Bytes drawn mostly from what a history holds, and some it should not.
  std::string soup(std::size_t length) {
    static const char kAlphabet[] = "0123456789;;;;;\n\n\r  -+x\t";
    std::string bytes;
    for (std::size_t i = 0; i < length; ++i) {
      bytes += below(50) == 0 ? '\0' : kAlphabet[below(sizeof kAlphabet - 1)];
    }
    return bytes;
  }

  std::string number() {
    switch (below(8)) {
      case 0:
        return "";
      case 1:
        return std::string(1 + below(25), '9');
      case 2:
        return "-" + std::to_string(below(100));
      case 3:
        return " " + std::to_string(below(100));
      default:
        return std::to_string(1 + below(80));
    }
  }

  // A history of rows, some of them of the wrong shape.
  std::string history(std::size_t rows, bool crlf) {
    std::string bytes = "Tah;Datum;Den\n";
    for (std::size_t r = 0; r < rows; ++r) {
      const std::size_t fields = below(10) == 0 ? below(30) : kFieldsPerRow;
      for (std::size_t f = 0; f < fields; ++f) {
        bytes += (f == 0 ? "" : ";") + number();
      }
      bytes += crlf ? "\r\n" : "\n";
      if (below(20) == 0) bytes += "\n";
    }
    return bytes;
  }

  // Cuts the bytes short at a random place.
  std::string cut(const std::string& bytes) {
    return bytes.substr(0, below(bytes.size() + 1));
  }

 private:
  std::mt19937 rng_;
};

TEST(FieldReaderDifferentialTest, RandomBytes) {
  Generator generate(1);
  for (std::size_t i = 0; i < 2000; ++i) {
    SCOPED_TRACE(i);
    expectSameReading(generate.soup(generate.below(400)), 1 + i % 7);
  }
}

TEST(FieldReaderDifferentialTest, HistoriesOfWrongShapesCutAnywhere) {
  Generator generate(2);
  for (std::size_t i = 0; i < 300; ++i) {
    SCOPED_TRACE(i);
    const std::string bytes = generate.history(generate.below(40), i % 2);
    expectSameReading(bytes);
    expectSameReading(generate.cut(bytes), 1 + i % 5);
  }
}

TEST(FieldReaderDifferentialTest, InputsAcrossBlockBoundaries) {
  Generator generate(3);
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    expectSameReading(generate.cut(generate.history(2500, i % 2)));
    expectSameReading(generate.soup(70000 + generate.below(70000)));
  }
  // A header longer than a block, ending in CR LF across the boundary.
  expectSameReading(std::string(FieldReader::kBlockSize - 1, 'h') +
                    "\r\n1;2;3;4\n");
}

}  // namespace
