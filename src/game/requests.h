// What the main loop does with a pending request, once, at the start of a pass.
#pragma once

#include <cstdint>

void act_on_request();

// The game-over display, then end_game.
void show_game_over(uint8_t smooth);
// The title menu after a lost game; the end of the program after a quit.
void end_game();
