// The input of a frame as directions and actions, and the one place that
// reads it: handle_events, whose work the game layer registers.
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
// The action a screen ended on, when the next screen must wait for a press of
// its own: it counts for nothing until its key or button has been let go.
extern int32_t held_over_action;

void init_input_action_globals();

// Once per frame, in play and in every front-end screen: reads the input and
// acts on it through the registered handler (the screens' dispatch, the
// marker's step). Core knows no screen.
void handle_events();
void register_event_handler(void (*handler)());
