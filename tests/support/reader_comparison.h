#ifndef KENO_TESTS_SUPPORT_READER_COMPARISON_H_
#define KENO_TESTS_SUPPORT_READER_COMPARISON_H_

#include <sstream>
#include <string>

#include "chunked_source.h"
#include "field_reader.h"
#include "reference_reader.h"

// What a text stream on Windows makes of the bytes.
inline std::string dropCarriageReturnsBeforeLineFeeds(
    const std::string& bytes) {
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' || i + 1 == bytes.size() || bytes[i + 1] != '\n') {
      text += bytes[i];
    }
  }
  return text;
}

// Reads the header and then rows until two rows after the end with
// FieldReader, given the bytes `chunk` at a time, and with the reference
// reader on their text. Returns what first differed, or "" when nothing did.
inline std::string compareReaders(const std::string& bytes, std::size_t chunk) {
  ChunkedSource raw(bytes, chunk);
  bool failed = false;
  FieldReader fast(failed);
  fast.attach(&raw);
  std::istringstream text(dropCarriageReturnsBeforeLineFeeds(bytes));
  ReferenceReader reference(text);

  if (fast.readLine(kHeaderBufferSize - 1) !=
      reference.readLine(kHeaderBufferSize - 1)) {
    return "header";
  }
  if (fast.good() != reference.good()) return "state after the header";
  for (int row = 1, extra = 0; extra < 2; ++row) {
    if (!reference.good()) ++extra;
    FieldReader::Row got{};
    FieldReader::Row expected{};
    fast.readRow(got);
    reference.readRow(expected);
    if (got != expected) return "row " + std::to_string(row);
    if (fast.good() != reference.good()) {
      return "state after row " + std::to_string(row);
    }
  }
  return "";
}

#endif  // KENO_TESTS_SUPPORT_READER_COMPARISON_H_
