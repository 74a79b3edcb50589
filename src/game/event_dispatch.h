// Keyboard and joypad to directions, actions and marker steps.
#pragma once

#include <cstdint>

#include "core/input_actions.h"

// The step of the current move, in cells and then in pixels. Held wider than
// a byte: a pixel step of a tile of 128 or more would not fit one.
extern int32_t step_dx, step_dy;
extern int32_t last_cell_x, last_cell_y;   // last non-negative target cell

void init_eventhandler_globals();

// What handle_events does, registered by init_eventhandler_globals.
void handle_frame_events();
void read_actions();
void dispatch_screen_action(int32_t code);
void dispatch_global_action(int32_t code);
void options_direction(uint8_t direction);
// The window lost the focus: in play (no dialog open) the pause menu opens.
void pause_when_playing();
// One cell in `direction`, or a scroll of the view once the marker passes the
// middle of the screen; nothing toward a blocking cell.
void step_player(uint8_t direction);
int32_t non_negative_or(int32_t value, int32_t fallback);
