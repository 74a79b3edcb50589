// Input scripts: what the player held and typed, frame by frame, as plain
// text. A recorded game played back gives the same level, score and matrix.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "media/media.h"

struct input_script {
    uint32_t seed = 0;
    int end_frame = 0;                 // the run ends after this many frames
    std::vector<input_frame> frames;   // one entry per frame, 0..end_frame-1
};

// Parses the text form; false with a message naming the line when it is not one.
bool parse_input_script(const std::string& text, input_script& script, std::string& error);
std::string format_input_script(const input_script& script);

// "replay frames=N dimension=D score=S critical_mass=C time_left=T matrix=HEX"
// The line a replay prints at its end; the game layer sets it.
extern std::string (*replay_summary)();

// Command-line modes: set up before start-up, finished by end_program.
bool start_recording(const std::string& path);
bool start_replay(const std::string& path);
void finish_input_script_modes();
bool replaying();
