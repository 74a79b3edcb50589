// The game clock: frames become ticks of time_left.
#pragma once

#include <cstdint>

extern int32_t clock_frames;

void clock_step(int direction);
