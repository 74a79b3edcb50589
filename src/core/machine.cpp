#include "core/machine.h"

#include "media/media.h"

uint32_t start_time_ms;
float screen_width, screen_height, screen_scale;
int game_window, game_screen;
std::atomic<uint8_t> joypad_present{0};

void init_machine_globals() {
    start_time_ms = milliseconds();
    screen_width = screen_height = screen_scale = 1.0f;
    game_window = game_screen = 0;
    joypad_present = 0;
}
