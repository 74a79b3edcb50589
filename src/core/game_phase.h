// The game's phase and the one request the main loop acts on next.
#pragma once

#include <cstdint>

extern int32_t game_state;

enum : int32_t { game_state_quitting = 25, game_state_running = 30 };

// Code anywhere asks; the main loop acts once, at the start of its next pass,
// so no screen runs inside the rule or dialog that asked.
enum class game_request : uint8_t {
    none,
    time_up,        // the clock ran out: name entry, table, title
    game_over,      // a quit confirmed: the game-over display, then the title or the end
    trapped,        // HARDCORE: the player walled in; the level stops at once
    restart_level,  // the dimension is built again with the score it began with
};
extern game_request pending_request;

void request(game_request what);
void init_game_phase_globals();
