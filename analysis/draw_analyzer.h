#ifndef KENO_ANALYSIS_DRAW_ANALYZER_H_
#define KENO_ANALYSIS_DRAW_ANALYZER_H_

#include <array>
#include <cstdint>
#include <iostream>
#include <string>

#include "byte_source.h"
#include "field_reader.h"
#include "game_constants.h"

// Replays a Keno ticket on a draw history and counts how often each number
// was drawn. Owns the history file and the betting statistics of the run;
// everything it prints goes to the stream given at construction.
//
// A history that is missing, may not be read or is a folder prints
// "Subor sa neda otvorit." at construction and then reads as zeros. A read
// that fails, in either pass and at any byte, ends that pass after the last
// byte the file gave, as its end would: the rows before it count and every
// operation still prints. A reopen that fails after the first open worked
// leaves the second pass with nothing to read. Either is a read failure,
// which readFailed() tells the caller from then on, whatever a later pass
// reads. Nothing throws.
class DrawAnalyzer {
 public:
  using Draw = FieldReader::Row;
  using Ticket = std::array<std::int32_t, kPickCount>;

  // Opens the history and skips its header line; when the file cannot be
  // opened, says so on `output` and goes on with a history that reads as
  // zeros.
  explicit DrawAnalyzer(bool isVerbose, std::ostream& output = std::cout,
                        std::string path = kHistoryFileName);
  DrawAnalyzer(const DrawAnalyzer&) = delete;
  DrawAnalyzer& operator=(const DrawAnalyzer&) = delete;

  // Reads the next history row into `row`, in file order, and counts it as
  // a draw when its 1-based number is at least `firstRow`.
  void readDraw(Draw& row, std::int32_t firstRow);

  // Reopens the history for a second pass and prints its header line, up
  // to a NUL byte, followed by "loooooooooool", leaving the line open.
  void rewindHistory();

  // Plays the ticket on the next history row: sorts `picks` in place, stakes
  // and settles the bet. Rows numbered below `firstRow` are read and skipped.
  void playDraw(Ticket& picks, std::int32_t firstRow);

  // Counts the pairs of a pick and a drawn number that are equal.
  static std::int32_t countHits(const Ticket& picks, const Draw& row);

  // Credits the payout for a play with `hits` hits.
  void settleBet(std::int32_t hits);

  // Prints an empty line and the eight result lines of the plays so far.
  void printReport() const;

  // Reads the history to its end and prints how often each number 0 to 80
  // was drawn in the rows numbered from `firstRow` on.
  void printFrequencies(std::int32_t firstRow);

  // True when the history could be opened at construction.
  bool historyOpened() const { return historyFound; }

  // The draws the last frequency pass read: its rows with at least one
  // number from 1 to 80, so that blank lines, a file of "," fields or of
  // UTF-16 text hold none.
  std::int32_t historyDraws() const { return drawsRead; }

  // True once a read of the history has failed, or its reopen did although
  // the first open worked; a later pass that reads well does not clear it.
  bool readFailed() const { return readError; }

 private:
  // Opens the history from its start and skips the header; returns its
  // first kHeaderBufferSize - 1 characters.
  std::string openHistory();

  float stakeTotal = 0.0F;
  float winTotal = 0.0F;
  std::int32_t drawsCounted = 0;
  std::int32_t stakesPlaced = 0;
  std::int32_t winningDraws = 0;
  std::int32_t rowCursor = 0;
  std::int32_t drawsRead = 0;
  bool verbose;
  Draw drawn{};
  FileSource history;
  bool historyFound = false;  // the first open worked
  // A read failed, or a reopen after a good first open did; never cleared.
  bool readError = false;
  FieldReader reader{readError};
  std::ostream& out;
  std::string historyPath;
};

#endif  // KENO_ANALYSIS_DRAW_ANALYZER_H_
