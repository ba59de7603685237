#include <algorithm>

#include "draw_analyzer.h"
#include "print_numbers.h"

void DrawAnalyzer::playDraw(Ticket& picks, std::int32_t firstRow) {
  std::sort(picks.begin(), picks.end());
  readDraw(drawn, firstRow);
  if (rowCursor < firstRow) return;

  stakeTotal = static_cast<float>(stakeTotal + kStake);
  ++stakesPlaced;
  const std::int32_t hits = countHits(picks, drawn);
  settleBet(hits);

  if (verbose) {
    out << "Zrebovane cisla: " << std::endl;
    printNumbers(drawn.data(), kDrawnPerRow, false, out);
    out << "Uhadol:" << hits << std::endl;
  }
}

std::int32_t DrawAnalyzer::countHits(const Ticket& picks, const Draw& row) {
  std::int32_t hits = 0;
  // Every pair counts, so a pick written twice on the ticket hits twice.
  for (const std::int32_t number : row) {
    for (const std::int32_t pick : picks) hits += pick == number ? 1 : 0;
  }
  return hits;
}

void DrawAnalyzer::settleBet(std::int32_t hits) {
  // More than five hits only come from malformed rows; they win nothing.
  if (hits < 0 || hits >= static_cast<std::int32_t>(nasobok.size())) return;
  const std::int32_t multiplier = nasobok[static_cast<std::size_t>(hits)];
  winTotal = static_cast<float>(winTotal + multiplier * kStake);
  if (multiplier > 0) ++winningDraws;
}
