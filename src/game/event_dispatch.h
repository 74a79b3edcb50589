// Keyboard and joypad to directions, actions and marker steps.
#pragma once

#include <cstdint>

// Directions: 6 up, 7 down, 8 left, 9 right, 16 none.
enum : uint8_t { stick_up = 6, stick_down = 7, stick_left = 8, stick_right = 9, stick_none = 16 };
// Actions of a frame; 16 none. Screens read action_code after handle_events.
enum : int32_t {
    action_a = 0, action_b = 1, action_x = 4, action_y = 5, action_right_trigger = 11,
    action_left_shoulder = 12, action_right_shoulder = 13, action_enter = 14,
    action_select = 15, action_none = 16, action_screenshot = 18, action_end = 20,
    action_back = 21, action_escape = 22, action_music = 23
};

extern uint8_t stick_direction;
extern int32_t action_code;
// The step of the current move, in cells and then in pixels. Held wider than
// a byte: a pixel step of a tile of 128 or more would not fit one.
extern int32_t step_dx, step_dy;
extern int32_t last_cell_x, last_cell_y;   // last non-negative target cell
// The action a screen ended on, when the next screen must wait for a press of
// its own: it counts for nothing until its key or button has been let go.
extern int32_t held_over_action;

void init_eventhandler_globals();

// Once per frame, in play and in every front-end screen.
void handle_events();
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
