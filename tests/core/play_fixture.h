// A game in play for the event handler and clock tests: the headless media
// layer with a 1024 x 768 screen, 32-pixel tiles over an empty matrix, and
// a step and a timer sound whose playing the tests hear.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "content/sound_list.h"
#include "core/engine_internals.h"
#include "core/eventhandler.h"
#include "core/startup.h"
#include "core/super_gfx.h"
#include "core/system_ini.h"
#include "frontend/menus.h"
#include "media/media.h"
#include "support/sound_files.h"
#include "support/test_support.h"
#include "world/world.h"

namespace play {

constexpr int escape = 0x01, backspace = 0x0E, e = 0x12, y = 0x15, enter = 0x1C,
              left_ctrl = 0x1D, a = 0x1E, s = 0x1F, d = 0x20, h = 0x23, x = 0x2D, c = 0x2E,
              b = 0x30, m = 0x32, left_alt = 0x38, space = 0x39, f12 = 0x58, up = 0xC8,
              page_up = 0xC9, left = 0xCB, right = 0xCD, down = 0xD0, page_down = 0xD1;

inline std::vector<std::string> heard;
inline void listen(const std::string& name) { heard.push_back(name); }

inline input_frame keys(std::vector<int> held) {
    input_frame frame;
    frame.keys = std::move(held);
    return frame;
}

inline input_frame pad(int axis_x, int axis_y, std::vector<int> buttons,
                       std::vector<int> held = {}) {
    input_frame frame;
    frame.joypad = true;
    frame.axis_x = axis_x;
    frame.axis_y = axis_y;
    frame.buttons = std::move(buttons);
    frame.keys = std::move(held);
    return frame;
}

class game : public ::testing::Test {
protected:
    static constexpr int width = 1024, height = 768;

    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        init_globals();
        init_sound_list_globals();
        init_frontend_globals();
        init_overlay_globals();
        open_headless_screen(width, height);
        start_sound_service();
        start_keyboard_service();
        screen_width = float(width);
        screen_height = float(height);
        apply_configuration_entry("RESOLUTION", "32");
        apply_configuration_entry("CURSORSPEED", "255");   // a step every frame
        cfg_scrsave = folder.path() + "/shots/zorbel";
        screen_state = 35;

        folder.write("SFX/step.ogg", sound_files::wav());
        folder.write("SFX/timer.ogg", sound_files::wav());
        cfg_soundfxpath = folder.path() + "/SFX/";
        load_sound_effects();
        cfg_deftilesound = "step.ogg";
        cfg_timersound = "timer.ogg";
        heard.clear();
        sound_effect_heard = listen;
    }
    void TearDown() override { close_headless_screen(); }

    // One frame of the game's input handling per scripted frame, as the main
    // loop runs it; `each` looks at the state after every frame.
    template <class Look>
    void run(std::vector<input_frame> script, Look&& each) {
        // The script is read by frame number: earlier frames of the test stay empty.
        const size_t frames = script.size();
        script.insert(script.begin(), size_t(frame_number()), input_frame{});
        set_input_script(std::move(script));
        for (size_t frame = 0; frame < frames; ++frame) {
            handle_events();
            each(int(frame));
            flip_screen();
        }
    }
    void run(std::vector<input_frame> script) {
        run(std::move(script), [](int) {});
    }

    temp_folder folder;
};

}  // namespace play
