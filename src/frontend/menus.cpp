#include "frontend/menus.h"

#include <algorithm>
#include <cmath>

#include "content/floaters.h"
#include "core/configuration.h"
#include "core/fault_report.h"
#include "core/frame_end.h"
#include "core/input_actions.h"
#include "core/machine.h"
#include "core/screens.h"
#include "core/sound_list.h"
#include "frontend/game_controls.h"
#include "frontend/highscore.h"
#include "frontend/user_keyboard.h"
#include "media/blend_factors.h"
#include "media/colours.h"
#include "media/media.h"
#include "media/random.h"
#include "text/text_engine.h"
#include "world/level_state.h"
#include "world/world.h"

int32_t menu_background = 0, menu_background_3d = 0;
const screen_look* current_look = nullptr;
screen_frame_listener screen_frame_seen = nullptr;

const std::string credits_ticker =
    "  ZORBEL,     COPYRIGHT 2013 THE ZORBEL TEAM,     PROGRAMMING: THE ZORBEL TEAM,     "
    "GRAPHICS: THE ZORBEL TEAM,     IN-GAME MUSIC COMPOSED BY THE ZORBEL TEAM,     "
    "MUSIC MADE WITH ZORBEL-PACK, THE TEAM'S OWN SYNTHESISER,     "
    "DEVELOPED WITH ZORBEL-TOOL |";
// The title draws it from the middle of the screen: it must fit the right half.
const std::string rights_notice = "  2013 ZORBEL TEAM. ALL RIGHTS RESERVED.|";

namespace {


// Title menus running now (nested only through the end of a game), and the
// request of an options screen, closed before any game, to start the
// innermost one afresh instead of opening another inside it.
int titles_running = 0;
bool title_restart_requested = false;

enum class title_end { game_requested, left_alone, options_closed };

const std::string& joypad_or_keys(const std::string& keys, const std::string& joypad) {
    return joypad_present != 0 ? joypad : keys;
}

// One title menu, from its entry to the frame that ends it.
title_end run_title_screen() {
    MARK_SITE("menus");
    menu_screen_entry(screen_state_title, "menu.ogg");
    screen_look look;
    look_scope scope(look);
    int32_t frames = 0;
    title_restart_requested = false;
    for (;;) {
        draw_menu_background();
        draw_menu_floaters(1);
        draw_screen_text("  ZORBEL |", 0.1f, 0.4f, 6.0f, look.faded_alpha());
        draw_ticker(look, 0.85f);
        draw_screen_text(joypad_or_keys("  PRESS  ENTER  ON KEYBOARD TO CONTINUE|",
                                        "  PRESS START ON JOYPAD CONTINUE|"),
                         0.1f, 0.65f, 0.8f, look.faded_alpha());
        draw_screen_text(joypad_or_keys("  PRESS  S  ON KEYBOARD FOR OPTIONS|",
                                        "  PRESS SELECT ON JOYPAD FOR OPTIONS|"),
                         0.1f, 0.7f, 0.8f, look.faded_alpha());
        draw_screen_text(rights_notice, 0.5f, 0.95f, 0.6f, 255);
        fade_step(look);
        // Still inside the pass: an options screen opened here runs its own.
        handle_events();
        end_blended_pass();
        if (title_restart_requested) {
            // The options have shown their last frame; a new title follows.
            title_restart_requested = false;
            return title_end::options_closed;
        }
        present_frame();
        screen_frame_done();
        if (++frames > 1000) return title_end::left_alone;
        if (screen_state == screen_state_game_requested) return title_end::game_requested;
    }
}

}  // namespace

int screen_look::faded_alpha() const { return int(std::lround(255.0f - fade)); }

void init_frontend_globals() {
    // The media layer may have been restarted (tests): dropped, not freed.
    menu_background = menu_background_3d = 0;
    current_look = nullptr;
    titles_running = 0;
    title_restart_requested = false;
    init_profile_globals();
    init_highscore_globals();
    init_name_entry_globals();
    init_game_controls_globals();
}

void screen_frame_done() {
    if (screen_frame_seen) screen_frame_seen();
}

void hold_ms(int ms) {
    // In slices, pumping the window's events, so the window never looks hung.
    constexpr int slice = 25;
    for (int left = ms; left > 0; left -= slice) {
        sleep_ms(std::min(left, slice));
        if (pump_events()) end_program();
    }
}

void menu_screen_entry(uint8_t state, const std::string& track) {
    screen_state = state;
    if (blended_exists(menu_background_3d)) free_blended(menu_background_3d);
    if (sprite_exists(menu_background)) free_sprite(menu_background);
    menu_background = menu_background_3d = 0;
    play_music(track);
    set_default_colour_key(magenta);
    menu_background = load_sprite(cfg_loadintroscreen, true);
    if (menu_background != 0) menu_background_3d = create_blended(menu_background);
    if (blended_exists(menu_background_3d))
        zoom_blended(menu_background_3d, nearest_int(screen_width), nearest_int(screen_height));
}

void draw_menu_background() {
    begin_blended_pass();
    clear_screen(black);
    if (blended_exists(menu_background_3d)) {
        set_blending(normal_source, normal_destination);
        draw_blended(menu_background_3d, 0, 0, 255);
    }
}

void draw_ticker(screen_look& look, float y_fraction) {
    if (look.ticker_x < -2.0f) look.ticker_x = 1.0f;
    look.ticker_x += -0.001f;
    draw_text(credits_ticker, screen_width * look.ticker_x, screen_height * y_fraction, 0.5f,
              0.0f, 200, 1.0f, 0, 0);
}

void fade_step(screen_look& look) {
    if (look.fade > 0.0f)
        look.fade -= 0.2f;
    else
        look.fade = 0.0f;
}

void draw_screen_text(const std::string& text, float x_fraction, float y_fraction, float zoom,
                      int alpha) {
    draw_text(text, screen_width * x_fraction, screen_height * y_fraction, zoom, 0.0f, alpha,
              1.0f, 0, 0);
}

const std::string& continue_prompt() {
    static const std::string keys = "  PRESS  ENTER  ON KEYBOARD TO CONTINUE|";
    static const std::string joypad = "  PRESS START ON JOYPAD CONTINUE|";
    return joypad_or_keys(keys, joypad);
}

void title_menu() {
    MARK_SITE("menus");
    // Left alone, the title menu shows the high-score table and the table
    // a new title menu, for ever; options closed before a game show a new
    // title menu too. Each new one is a turn of this loop, not a call inside
    // the last, so the nesting stays flat however long nobody plays.
    ++titles_running;
    for (;;) {
        const title_end end = run_title_screen();
        if (end == title_end::game_requested) break;
        if (end == title_end::left_alone) {
            scan_profiles();
            load_profiles();
            sort_score_table();
            score_table_screen();
        }
    }
    --titles_running;
}

void options_menu() {
    MARK_SITE("menus");
    // Opened from a title menu it goes back to one, also after a game (when
    // a level has been built); opened from the pause menu it goes back to play.
    const bool from_title = screen_state == screen_state_title;
    menu_screen_entry(screen_state_options, "options.ogg");
    screen_look look;
    {
        look_scope scope(look);
        do {
            draw_menu_background();
            draw_ticker(look, 0.9f);
            draw_screen_text("  ZORBEL |", 0.01f, 0.4f, 4.0f, look.faded_alpha());
            draw_screen_text("  OPTIONS : |", 0.7f, 0.4f, 0.8f, 255);
            draw_screen_text(music_option_line(), 0.7f, 0.45f, 0.6f, 255);
            draw_screen_text(joypad_or_keys("  PRESS  A  ON KEYBOARD TO CONTINUE|",
                                            "  PRESS A ON JOYPAD CONTINUE|"),
                             0.01f, 0.62f, 0.8f, look.faded_alpha());
            draw_screen_text(rights_notice, 0.01f, 0.67f, 0.4f, 230);
            fade_step(look);
            end_blended_pass();
            present_frame();
            // Before the input: switched off on the last frame, silent on this one.
            if (music_on == 0) free_music();
            handle_events();
            screen_frame_done();
        } while (action_code != action_a);
    }
    if (from_title && titles_running > 0) {
        title_restart_requested = true;
        return;
    }
    if (from_title || loaded_dimension < 1) {
        title_menu();
        return;
    }
    screen_state = screen_state_playing;
    if (music_on == 1) play_music("");
}

std::string music_option_line() {
    return std::string("  PLAY INGAME MUSIC :   ") + (music_on == 0 ? "OFF" : "ON") + " |";
}

void reset_game_counters() {
    dimension = 1;
    loaded_dimension = 0;
    score = 0;
    level_score = 0;
    // Points of the last game never count up in this one.
    score_to_count = 0;
    score_target = 0;
}
