// The screen, the start time and the joypad, as start-up found them.
#pragma once

#include <atomic>
#include <cstdint>

extern uint32_t start_time_ms;
extern float screen_width, screen_height, screen_scale;
extern int game_window, game_screen;
extern std::atomic<uint8_t> joypad_present;   // written by the joypad watch thread

void init_machine_globals();
