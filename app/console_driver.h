#ifndef KENO_APP_CONSOLE_DRIVER_H_
#define KENO_APP_CONSOLE_DRIVER_H_

#include <iostream>
#include <string>

#include "game_constants.h"

// Runs the program once: reads the player's five picks from `in`, replays
// them on the history at `historyPath`, prints the report and the number
// frequencies to `out`, then waits for Enter. A history that could not be
// read to its end, or an `out` that could not be written, is reported on
// `err` before the wait. Returns the exit status: 0, or 1 when the input
// ends before five picks were read or either failure happened.
int runKeno(std::istream& in = std::cin, std::ostream& out = std::cout,
            const std::string& historyPath = kHistoryFileName,
            std::ostream& err = std::cerr);

#endif  // KENO_APP_CONSOLE_DRIVER_H_
