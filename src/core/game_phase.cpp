#include "core/game_phase.h"

#include "core/screens.h"

int32_t game_state;
uint8_t screen_state;
game_request pending_request;

// The first request of a frame wins: a level lost to its trap is not also
// timed out.
void request(game_request what) {
    if (pending_request == game_request::none) pending_request = what;
}

void init_game_phase_globals() {
    game_state = game_state_running;
    screen_state = 0;
    pending_request = game_request::none;
}
