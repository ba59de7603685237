#ifndef KENO_APP_CONSOLE_DRIVER_H_
#define KENO_APP_CONSOLE_DRIVER_H_

#include <functional>
#include <iostream>
#include <string>

#include "game_constants.h"

// What to do when the input ends before five picks: a console can still
// give an Enter once its end of input is cleared, a pipe cannot.
struct EndedInput {
  bool wait = false;  // wait for Enter, as at the end of a run
  // Clears what the stream's own state does not cover, such as the C
  // runtime's end-of-file flag under std::cin; called only before a wait.
  std::function<void()> clearEnd;
};

// Runs the program once: reads the player's five picks from `in`, replays
// them on the history at `historyPath`, prints the report and the number
// frequencies to `out`, then waits for Enter. A history that cannot be
// opened is named on `err` with its full path. A history that could not be
// read to its end, or an `out` that could not be written, is reported on
// `err` before the wait, and so is a history of fewer draws than plays,
// which leaves the later plays on empty draws. Returns the exit status: 0,
// or 1 when the input ends before five picks were read or either failure
// happened.
int runKeno(std::istream& in = std::cin, std::ostream& out = std::cout,
            const std::string& historyPath = kHistoryFileName,
            std::ostream& err = std::cerr, const EndedInput& ended = {});

#endif  // KENO_APP_CONSOLE_DRIVER_H_
