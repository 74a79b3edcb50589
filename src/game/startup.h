// Start-up, the main loop and the frame driver.
#pragma once

#include <cstdint>
#include <string>


// Options of the command line (tests, tools and benchmarks); none by default.
struct run_options {
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
int zorbel_main(int argc, char** argv);
