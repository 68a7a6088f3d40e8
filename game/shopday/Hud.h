// Texts of the head-up display that tests and tools share with the board.
#pragma once

#include <string>

// "m:ss" of a tick count: minutes = ticks / 6000, seconds = (ticks / 100) mod 60.
std::string ClockText(int ticks);
