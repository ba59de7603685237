#include <ios>
#include <utility>

#include "draw_analyzer.h"

DrawAnalyzer::DrawAnalyzer(bool isVerbose, std::ostream& output,
                           std::string path)
    : verbose(isVerbose), out(output), historyPath(std::move(path)) {
  openHistory();  // the header is shown by the second pass only
  if (!history.is_open()) out << "Subor sa neda otvorit." << std::endl;
}

std::string DrawAnalyzer::openHistory() {
  failedBefore = readFailed();
  history.close();
  // Binary, so that the reader alone decides what a line end is and the
  // history reads the same on every platform.
  const bool opened =
      history.open(historyPath, std::ios::in | std::ios::binary) != nullptr;
  reader.attach(opened ? &history : nullptr);
  std::string header = reader.readLine(kHeaderBufferSize - 1);
  // On Linux a folder opens and fails at its first read; on Windows it
  // fails to open. Either way it is a history that cannot be opened.
  if (reader.failedAtStart()) {
    history.close();
    reader.attach(nullptr);
  }
  return header;
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
