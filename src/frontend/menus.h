// The front-end screens: credits, title menu, options and music, and what
// the menu screens share (background, ticker, fade, prompts).
#pragma once

#include <cstdint>
#include <string>

#include "core/screens.h"
#include "core/sound_list.h"   // play_music, music_on
#include "frontend/profile_editor.h"   // scan_profiles, init_profiles: start-up calls them with these

// Which screen runs: 30 title, 23 game requested, 32 options, 35 playing,
// 34 name entry, 31 high-score table.

// The full-screen background of the menu screens (a sprite and its blended
// sprite); one copy at a time.
extern int32_t menu_background, menu_background_3d;

// The long line of credits that scrolls along the bottom of the screens, and
// the rights line under the menus.
extern const std::string credits_ticker;
extern const std::string rights_notice;

void init_frontend_globals();

// The three credits pages of start-up (about 12 s, not skippable).
void show_credits();
// Runs title menus until a game is requested (screen_state 23). A title left
// alone gives way to the high-score table and comes back, in this loop.
void title_menu();
// The options screen; returns to the title menu or to the running game.
void options_menu();

// "  PLAY INGAME MUSIC :   ON |" or "...OFF |", as the options screen shows it.
std::string music_option_line();

// Counters of a fresh game, set by the title menu's start action.
void reset_game_counters();


// ---- what the screens share ----

// Fade-in and ticker of one screen, fresh at each entry.
struct screen_look {
    float fade = 255.0f;     // faded texts are drawn with alpha 255 - fade
    float ticker_x = 1.0f;   // the ticker's left edge, a fraction of the screen width
    int faded_alpha() const;
};
// The innermost screen running now, or nothing in play (tests and tools look).
extern const screen_look* current_look;

// Makes `look` the current one for as long as its screen runs.
class look_scope {
public:
    explicit look_scope(const screen_look& look) : saved_(current_look) { current_look = &look; }
    ~look_scope() { current_look = saved_; }
    look_scope(const look_scope&) = delete;
    look_scope& operator=(const look_scope&) = delete;

private:
    const screen_look* saved_;
};

// Called at the end of every front-end frame, after its flip and input
// (tests and tools watch the screens through it); nothing by default.
using screen_frame_listener = void (*)();
extern screen_frame_listener screen_frame_seen;

// Sets screen_state, reloads the background and starts the screen's track.
void menu_screen_entry(uint8_t state, const std::string& track);
// Begins the blended pass, clears to black and draws the background.
void draw_menu_background();
void draw_ticker(screen_look& look, float y_fraction);
// The menus' fade step: 0.2 a frame down to 0.
void fade_step(screen_look& look);
// The text with the screen's usual settings: angle 0, spacing 1, normal blending.
void draw_screen_text(const std::string& text, float x_fraction, float y_fraction, float zoom,
                      int alpha);
// "  PRESS  ENTER  ON KEYBOARD TO CONTINUE|" or the joypad's START prompt.
const std::string& continue_prompt();
// The end of a front-end frame, after its flip and input: tells the listener.
void screen_frame_done();
// Holds the whole game for `ms` milliseconds, keeping the window alive.
void hold_ms(int ms);
