#ifndef KENO_APP_CONSOLE_DRIVER_H_
#define KENO_APP_CONSOLE_DRIVER_H_

#include <functional>
#include <iostream>
#include <string>

#include "game_constants.h"

// Waits for Enter once the input ended before five picks, where more can
// still be typed after the end (a console, a terminal); empty where nothing
// more can come (a pipe, a file, the null device). How it reads depends on
// the platform, so main supplies it.
using AwaitEnter = std::function<void()>;

// Runs the program once: reads the player's five picks from `in`, replays
// them on the history at `historyPath`, prints the report and the number
// frequencies to `out`, then waits for Enter. A history that cannot be
// opened is named on `err` with its full path. A history that could not be
// read to its end, or an `out` that could not be written, is reported on
// `err` before the wait, and so is a history of fewer draws than plays,
// which leaves the later plays on empty draws. Input that ends before five
// picks is told on `out`, then `awaitEnter`, where given, keeps the message
// on screen. Returns the exit status: 0, or 1 when the input ended early or
// either failure happened.
int runKeno(std::istream& in = std::cin, std::ostream& out = std::cout,
            const std::string& historyPath = kHistoryFileName,
            std::ostream& err = std::cerr, const AwaitEnter& awaitEnter = {});

#endif  // KENO_APP_CONSOLE_DRIVER_H_
