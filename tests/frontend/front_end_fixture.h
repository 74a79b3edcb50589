// The front-end screens headless, with a record of every front-end frame.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/configuration.h"
#include "core/machine.h"
#include "core/screens.h"
#include "core/sound_list.h"
#include "frontend/game_controls.h"
#include "frontend/highscore.h"
#include "frontend/menus.h"
#include "frontend/profile_editor.h"
#include "frontend/user_keyboard.h"
#include "game/event_dispatch.h"
#include "game/startup.h"
#include "media/media.h"
#include "support/held_keys.h"
#include "support/sound_files.h"
#include "support/test_support.h"
#include "world/world.h"

namespace front {

namespace fs = std::filesystem;
using namespace scripted;

// One front-end frame as the listener saw it, at the end of the frame.
struct seen_frame {
    int frame;
    uint8_t screen;
    int dialogs;
    float fade;     // of the innermost screen; -1 without one
    float ticker;   // its ticker's place
    int32_t action;
};

inline std::vector<seen_frame> seen;
inline std::function<void()> each_frame;   // more to do at each frame (tests set it)
inline std::vector<std::string> heard;

class FrontEnd : public ::testing::Test {
protected:
    static constexpr int width = 320, height = 240;

    void SetUp() override {
        init_globals();
        open_headless_screen(width, height);
        start_sound_service();
        start_keyboard_service();
        screen_width = float(width);
        screen_height = float(height);
        cfg_profiles = folder.path() + "/PROFILES/";
        fs::create_directories(folder.path() + "/PROFILES");
        heard.clear();
        sound_effect_heard = [](const std::string& name) { heard.push_back(name); };
        seen.clear();
        each_frame = nullptr;
        screen_frame_seen = [] {
            seen.push_back({frame_number(), screen_state, open_dialogs, current_look ? current_look->fade : -1.0f,
                            current_look ? current_look->ticker_x : -1.0f, action_code});
            if (each_frame) each_frame();
        };
    }
    void TearDown() override {
        screen_frame_seen = nullptr;
        each_frame = nullptr;
        sound_effect_heard = nullptr;
        set_input_script({});
        close_headless_screen();
    }

    // Music tracks by name (a real Ogg file each), loaded as the music list.
    void music(std::initializer_list<const char*> names) {
        for (const char* name : names) folder.write(std::string("MUSIC/") + name, sound_files::ogg());
        cfg_ingamemusic = folder.path() + "/MUSIC/";
        load_music_list();
    }
    int tracks_playing() const {
        return int(std::count_if(music_tracks.begin(), music_tracks.end(),
                                 [](const music_track& t) { return music_exists(t.sound); }));
    }
    std::vector<std::string> files_ending(const std::string& ending) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder.path() + "/PROFILES"))
            if (entry.path().filename().string().ends_with(ending)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    temp_folder folder;
};

using front_end = FrontEnd;   // the name the desktop tests use

}  // namespace front
