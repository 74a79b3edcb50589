#include "frontend/highscore.h"

#include "core/engine_internals.h"
#include "frontend/menus.h"

// Until the name entry and the table arrive, the end of a game starts the next
// one, as the title menu will.
void enter_high_score() {
    reset_game_counters();
    clock_frames = 0;
}
