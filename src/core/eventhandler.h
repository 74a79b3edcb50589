// Keyboard and joypad to directions, actions and marker steps.
#pragma once

#include <cstdint>

extern uint8_t stick_direction;
extern int32_t action_code;

void init_eventhandler_globals();
void handle_events();
