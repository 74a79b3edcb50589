// Which screen runs: the numbers the replays and the fault report know.
#pragma once

#include <cstdint>

extern uint8_t screen_state;

enum : uint8_t {
    screen_state_game_requested = 23, screen_state_title = 30, screen_state_score_table = 31,
    screen_state_options = 32, screen_state_name_entry = 34, screen_state_playing = 35
};
