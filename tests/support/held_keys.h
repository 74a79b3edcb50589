// Keys held, or pressed again and again, from the current frame on. The
// front-end screens wait for a player; a test that runs into one (the end of
// a game opens the name entry, the table and the title menu) presses Return
// to pass through them: each of these screens wants a press of its own.
#pragma once

#include <vector>

#include "media/media.h"

inline void hold_keys_from_now(const std::vector<int>& keys, int frames = 2000) {
    std::vector<input_frame> script(size_t(frame_number() + frames));
    for (size_t f = size_t(frame_number()); f < script.size(); ++f) script[f].keys = keys;
    set_input_script(std::move(script));
}

// Held one frame, let go the next, and so on.
inline void press_keys_from_now(const std::vector<int>& keys, int frames = 2000) {
    std::vector<input_frame> script(size_t(frame_number() + frames));
    for (size_t f = size_t(frame_number()); f < script.size(); f += 2) script[f].keys = keys;
    set_input_script(std::move(script));
}

constexpr int return_key = 0x1C;
