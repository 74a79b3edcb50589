// The one random number generator of the game. Its arithmetic is fixed, so a
// level built from a stored seed comes out the same everywhere.
#pragma once

#include <cstdint>

void random_seed(int32_t seed);
int32_t random(int32_t max);   // 0..max inclusive; negative max gives INT32_MIN
void random_reset();           // back to the unseeded start state (start-up, tests)
