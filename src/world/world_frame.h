// One frame of play: the rules and the drawing in their fixed order, the
// in-game display, the level banner, the end of a level and of a game.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "world/level_state.h"

// Game counters (critical_mass and time_left belong to the level, level_state.h).
extern int32_t score;
// Points of collected objects still to be counted onto the score, one a frame.
extern int32_t score_to_count;
// What those objects were worth in this game: a floor the score climbs back
// to, one a frame, after losses.
extern int32_t score_target;
extern int32_t level_score;    // the score when the current level began
extern int32_t highscore_best;
// Set by the quit dialog: the game-over display then ends the program.
extern uint8_t quit_requested;

// The frame grabbed from the back buffer (a sprite and its blended sprite),
// replaced at every use.
extern int32_t grabbed_image, grabbed_sprite;

void init_world_frame_globals();
// The frame drawn so far, from (1, 1), into grabbed_sprite.
void grab_frame();

// Called by the frame driver inside a blended pass.
void world_frame();
void update_world();
void draw_hud();
// Runs frame loops of its own, blocking the game until it ends.
void show_dimension_banner();
void level_done();

// One text of the in-game display: what it says, where (screen pixels) and
// how large.
struct hud_line {
    std::string text;
    float x = 0, y = 0, zoom = 1;
};
// The five texts as the counters stand now: score, time, critical mass,
// dimension and the best score.
std::array<hud_line, 5> hud_lines();
