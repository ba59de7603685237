#include <ios>
#include <utility>

#include "analysis/draw_analyzer.h"

DrawAnalyzer::DrawAnalyzer(bool verbose, std::ostream& out,
                           std::string historyPath)
    : verbose(verbose), out(out), historyPath(std::move(historyPath)) {
  openHistory();  // the header is shown by the second pass only
  if (!history.is_open()) out << "Subor sa neda otvorit." << std::endl;
}

std::string DrawAnalyzer::openHistory() {
  history.close();
  // Binary, so that the reader alone decides what a line end is and the
  // history reads the same on every platform.
  const bool opened =
      history.open(historyPath, std::ios::in | std::ios::binary) != nullptr;
  reader.attach(opened ? &history : nullptr);
  return reader.readLine(kHeaderBufferSize - 1);
}

void DrawAnalyzer::readDraw(Draw& drawn, std::int32_t firstRow) {
  reader.readRow(drawn);
  ++rowCursor;
  if (rowCursor >= firstRow) ++drawsCounted;
}

void DrawAnalyzer::rewindHistory() {
  out << openHistory() << "loooooooooool";
  rowCursor = 0;
}
