#include "analysis/draw_analyzer.h"

namespace {

// A share in per cent; nothing staked counts as no success.
float percent(double part, double whole) {
  return whole == 0.0 ? 0.0F : static_cast<float>(part / whole * 100.0);
}

}  // namespace

void DrawAnalyzer::printReport() const {
  // The play share is rounded to single precision before it becomes a
  // percentage, the money share only afterwards; the printed digits of
  // both depend on it.
  const float playShare =
      stakesPlaced == 0
          ? 0.0F
          : static_cast<float>(static_cast<double>(winningDraws) /
                               static_cast<double>(stakesPlaced));
  out << std::endl;
  out << "Vklad:" << stakeTotal << std::endl;
  out << "Vyhra:" << winTotal << std::endl;
  out << "Cista vyhra(vyhra-vklad):"
      << static_cast<float>(static_cast<double>(winTotal) - stakeTotal)
      << std::endl;
  out << "Vkladov:" << stakesPlaced << std::endl;
  out << "Vyhier:" << winningDraws << std::endl;
  out << "Tahov:" << drawsCounted << std::endl;
  out << "Uspesnost(vyhra/vklad): " << percent(winTotal, stakeTotal) << "%"
      << std::endl;
  out << "Uspesnost2(vyhier/vkladov): "
      << static_cast<float>(playShare * 100.0) << "%" << std::endl;
}
