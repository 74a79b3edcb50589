// The front-end screens on the headless media layer: a small screen, the
// virtual clock (pauses cost nothing), a scripted player and a record of
// every front-end frame, taken through the screens' frame listener.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "content/sound_list.h"
#include "core/eventhandler.h"
#include "core/startup.h"
#include "core/system_ini.h"
#include "frontend/game_controls.h"
#include "frontend/highscore.h"
#include "frontend/menus.h"
#include "frontend/profile_editor.h"
#include "frontend/user_keyboard.h"
#include "media/media.h"
#include "support/sound_files.h"
#include "support/test_support.h"
#include "world/world.h"

namespace front {

namespace fs = std::filesystem;

constexpr int escape = 0x01, backspace = 0x0E, y = 0x15, enter = 0x1C, a = 0x1E, s = 0x1F,
              d = 0x20, x = 0x2D, c = 0x2E, b = 0x30, m = 0x32, up = 0xC8, left = 0xCB,
              right = 0xCD, down = 0xD0;

inline input_frame keys(std::vector<int> held, std::string text = "") {
    input_frame frame;
    frame.keys = std::move(held);
    frame.text = std::move(text);
    return frame;
}

inline input_frame pad(int axis_x, int axis_y, std::vector<int> buttons) {
    input_frame frame;
    frame.joypad = true;
    frame.axis_x = axis_x;
    frame.axis_y = axis_y;
    frame.buttons = std::move(buttons);
    return frame;
}

inline std::vector<input_frame> repeated(const input_frame& frame, int count) {
    return std::vector<input_frame>(size_t(count), frame);
}

inline std::vector<input_frame> operator+(std::vector<input_frame> first,
                                          const std::vector<input_frame>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

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
inline void record_frame() {
    seen.push_back({frame_number(), screen_state, open_dialogs,
                    current_look ? current_look->fade : -1.0f,
                    current_look ? current_look->ticker_x : -1.0f, action_code});
    if (each_frame) each_frame();
}

inline std::vector<std::string> heard;
inline void listen(const std::string& name) { heard.push_back(name); }

// The input script from the current frame on: frames[0] is what the next
// snapshot of this frame sees. After its end nothing is held.
inline void play_from_now(const std::vector<input_frame>& frames) {
    std::vector<input_frame> script(static_cast<size_t>(frame_number()));
    script.insert(script.end(), frames.begin(), frames.end());
    set_input_script(std::move(script));
}

inline size_t count_screen(uint8_t screen) {
    size_t n = 0;
    for (const seen_frame& f : seen) n += f.screen == screen ? 1 : 0;
    return n;
}

class front_end : public ::testing::Test {
protected:
    static constexpr int width = 320, height = 240;

    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        init_globals();
        open_headless_screen(width, height);
        start_sound_service();
        start_keyboard_service();
        screen_width = float(width);
        screen_height = float(height);
        cfg_profiles = folder.path() + "/PROFILES/";
        fs::create_directories(folder.path() + "/PROFILES");
        heard.clear();
        sound_effect_heard = listen;
        seen.clear();
        each_frame = nullptr;
        screen_frame_seen = record_frame;
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
        for (const char* name : names)
            folder.write(std::string("MUSIC/") + name, sound_files::ogg());
        cfg_ingamemusic = folder.path() + "/MUSIC/";
        load_music_list();
    }
    int tracks_playing() const {
        int n = 0;
        for (const music_track& track : music_tracks) n += music_exists(track.sound) ? 1 : 0;
        return n;
    }
    std::vector<std::string> files_ending(const std::string& ending) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder.path() + "/PROFILES")) {
            const std::string name = entry.path().filename().string();
            if (name.size() >= ending.size() &&
                name.compare(name.size() - ending.size(), ending.size(), ending) == 0)
                names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    temp_folder folder;
};

}  // namespace front
