// A game in play, headless: a 1024 x 768 screen, 32-pixel tiles and the sounds it plays.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/configuration.h"
#include "core/machine.h"
#include "core/screens.h"
#include "core/sound_list.h"
#include "frontend/menus.h"
#include "game/event_dispatch.h"
#include "game/game_clock.h"
#include "game/startup.h"
#include "media/media.h"
#include "support/held_keys.h"
#include "support/sound_files.h"
#include "support/test_support.h"
#include "world/overlay.h"
#include "world/world.h"

namespace play {

using namespace scripted;

inline std::vector<std::string> heard;

class Game : public ::testing::Test {
protected:
    static constexpr int width = 1024, height = 768;

    void SetUp() override {
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
        sound_effect_heard = [](const std::string& name) { heard.push_back(name); };
    }
    void TearDown() override { close_headless_screen(); }

    // The game's input handling for each scripted frame; `each` looks at the state after it.
    template <class Look>
    void run(const std::vector<input_frame>& script, Look&& each) {
        play_from_now(script);
        for (size_t frame = 0; frame < script.size(); ++frame) {
            handle_events();
            each(int(frame));
            flip_screen();
        }
    }
    void run(const std::vector<input_frame>& script) { run(script, [](int) {}); }

    temp_folder folder;
};

}  // namespace play
