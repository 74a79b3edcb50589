// Scripted input: the one scan-code table of the tests, input frames, and repeated presses.
#pragma once

#include <string>
#include <vector>

#include "media/media.h"

namespace scripted {

constexpr int escape = 0x01, backspace = 0x0E, e = 0x12, y = 0x15, enter = 0x1C, left_ctrl = 0x1D, a = 0x1E,
              s = 0x1F, d = 0x20, x = 0x2D, c = 0x2E, b = 0x30, m = 0x32, space = 0x39, f12 = 0x58, up = 0xC8,
              page_up = 0xC9, left = 0xCB, right = 0xCD, down = 0xD0, page_down = 0xD1;

inline input_frame keys(std::vector<int> held, std::string text = "") {
    input_frame frame;
    frame.keys = std::move(held);
    frame.text = std::move(text);
    return frame;
}

// A joypad frame; `held` keys lie on the keyboard beside it.
inline input_frame pad(int axis_x, int axis_y, std::vector<int> buttons, std::vector<int> held = {}) {
    input_frame frame = keys(std::move(held));
    frame.joypad = true;
    frame.axis_x = axis_x;
    frame.axis_y = axis_y;
    frame.buttons = std::move(buttons);
    return frame;
}

inline std::vector<input_frame> repeated(const input_frame& frame, int count) {
    return std::vector<input_frame>(size_t(count), frame);
}

inline std::vector<input_frame> operator+(std::vector<input_frame> first, const std::vector<input_frame>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// The input script from the current frame on; after its end nothing is held.
inline void play_from_now(const std::vector<input_frame>& frames) {
    std::vector<input_frame> script(static_cast<size_t>(frame_number()));
    script.insert(script.end(), frames.begin(), frames.end());
    set_input_script(std::move(script));
}

}  // namespace scripted

// Held one frame, let go the next, and so on.
inline void press_keys_from_now(const std::vector<int>& keys, int frames = 2000) {
    std::vector<input_frame> script(static_cast<size_t>(frames));
    for (size_t f = 0; f < script.size(); f += 2) script[f].keys = keys;
    scripted::play_from_now(script);
}
