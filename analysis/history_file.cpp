#include <utility>

#include "draw_analyzer.h"

DrawAnalyzer::DrawAnalyzer(bool isVerbose, std::ostream& output,
                           std::string path)
    : verbose(isVerbose), out(output), historyPath(std::move(path)) {
  openHistory();  // the header is shown by the second pass only
  historyFound = history.isOpen();
  if (!historyFound) out << "Subor sa neda otvorit." << std::endl;
}

std::string DrawAnalyzer::openHistory() {
  const bool opened = history.open(historyPath);
  // A file gone since the first open leaves the second pass nothing.
  if (historyFound && !opened) readError = true;
  reader.attach(opened ? &history : nullptr);
  return reader.readLine(kHeaderBufferSize - 1);
}

void DrawAnalyzer::readDraw(Draw& row, std::int32_t firstRow) {
  reader.readRow(row);
  ++rowCursor;
  if (rowCursor >= firstRow) ++drawsCounted;
}

void DrawAnalyzer::rewindHistory() {
  // The header is echoed as text, which ends at its first NUL byte: a
  // history saved as UTF-16 shows its byte order mark and first letter,
  // not a line of letters and NULs.
  const std::string header = openHistory();
  out << header.substr(0, header.find('\0')) << "loooooooooool";
  rowCursor = 0;
}
