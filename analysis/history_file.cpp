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
  failedBefore = readFailed();
  reader.attach(history.open(historyPath) ? &history : nullptr);
  return reader.readLine(kHeaderBufferSize - 1);
}

void DrawAnalyzer::readDraw(Draw& row, std::int32_t firstRow) {
  reader.readRow(row);
  ++rowCursor;
  if (rowCursor >= firstRow) ++drawsCounted;
}

void DrawAnalyzer::rewindHistory() {
  out << openHistory() << "loooooooooool";
  rowCursor = 0;
}
