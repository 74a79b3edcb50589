// Start-up, the main loop and the frame driver.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

extern std::string base_folder;
extern std::string ini_path;
extern uint32_t start_time_ms;
extern float screen_width, screen_height, screen_scale;
extern int game_window, game_screen;
extern int32_t game_state;
extern int32_t dimension, loaded_dimension;
extern uint8_t new_level_banner;
extern std::atomic<uint8_t> joypad_present;   // written by the joypad watch thread

// Options of the command line (tests, tools and benchmarks); none by default.
struct run_options {
    long frame_limit = -1;   // end through end_program after this many frames
    bool virtual_clock = false;
    std::string record_path;
    std::string replay_path;
    std::string data_folder;  // --data: a pack to play instead of the installed one
    bool fullscreen = false;  // start in desktop fullscreen rather than the window
    bool show_help = false, show_version = false;
};
extern run_options options;

void init_globals();
void measure_screen();
void open_game_window();
void open_game_screen(int window);
void run_frame();
void main_loop_pass();
// Flip and, when a frame limit is set, end the program once it is reached.
void present_frame();
int zorbel_main(int argc, char** argv);
