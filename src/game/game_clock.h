// The game clock: frames become ticks of time_left.
#pragma once

#include <cstdint>


// direction +1 or -1 (the frame driver passes -1); other values do nothing.
// A tick comes every clock_tick_limit + 1 frames; the last ten ticks warn, and
// a clock run below 0 ends the game.
void clock_step(int direction);
