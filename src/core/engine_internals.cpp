#include "core/engine_internals.h"

int32_t clock_frames;

// Filled in with the game clock.
void clock_step(int) {}
