#include "draw_analyzer.h"

// The two rates round at different steps; the printed digits depend on it.
// With nothing staked there is no success to speak of: both are 0.
namespace {

// Money won per money staked, in per cent; only the percentage is rounded.
float moneyRate(float won, float staked) {
  if (staked == 0.0F) return 0.0F;
  return static_cast<float>(static_cast<double>(won) / staked * 100.0);
}

// Winning plays per play, in per cent; the share is rounded to single
// precision before it becomes a percentage.
float playRate(std::int32_t wins, std::int32_t plays) {
  if (plays == 0) return 0.0F;
  const auto share = static_cast<float>(static_cast<double>(wins) / plays);
  return static_cast<float>(share * 100.0);
}

}  // namespace

void DrawAnalyzer::printReport() const {
  out << std::endl;
  out << "Vklad:" << stakeTotal << std::endl;
  out << "Vyhra:" << winTotal << std::endl;
  out << "Cista vyhra(vyhra-vklad):"
      << static_cast<float>(static_cast<double>(winTotal) - stakeTotal)
      << std::endl;
  out << "Vkladov:" << stakesPlaced << std::endl;
  out << "Vyhier:" << winningDraws << std::endl;
  out << "Tahov:" << drawsCounted << std::endl;
  out << "Uspesnost(vyhra/vklad): " << moneyRate(winTotal, stakeTotal) << "%"
      << std::endl;
  out << "Uspesnost2(vyhier/vkladov): " << playRate(winningDraws, stakesPlaced)
      << "%" << std::endl;
}
