#ifndef KENO_ANALYSIS_GAME_CONSTANTS_H_
#define KENO_ANALYSIS_GAME_CONSTANTS_H_

#include <array>
#include <cstdint>

// Numbers on the player's ticket.
inline constexpr int kPickCount = 5;
// Numbers drawn in one Keno draw.
inline constexpr int kDrawnPerRow = 20;
// Keno draws its numbers from 1 to 80.
inline constexpr int kHighestNumber = 80;
// A history row: three leading fields (skipped), then the drawn numbers.
inline constexpr int kLeadingFields = 3;
inline constexpr int kFieldsPerRow = kLeadingFields + kDrawnPerRow;
// The ticket is replayed on this many draws, whatever the history holds.
inline constexpr int kPlayCount = 4876;
// Money staked on one play.
inline constexpr double kStake = 0.5;
// Payout multipliers of the stake, indexed by the number of hits (0 to 5).
inline constexpr std::array<std::int32_t, kPickCount + 1> nasobok = {
    0, 0, 0, 2, 16, 200};
// The header echo shows at most kHeaderBufferSize - 1 characters: the
// history's header was always read into a buffer of this size.
inline constexpr int kHeaderBufferSize = 128;
// The draw history, looked up in the working directory.
inline constexpr char kHistoryFileName[] = "keno10.csv";

#endif  // KENO_ANALYSIS_GAME_CONSTANTS_H_
