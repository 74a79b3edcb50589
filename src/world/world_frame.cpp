#include "world/world_frame.h"

#include <cmath>

#include "core/configuration.h"
#include "core/fault_report.h"
#include "core/frame_end.h"
#include "core/game_phase.h"
#include "core/machine.h"
#include "core/sound_list.h"
#include "media/blend_factors.h"
#include "media/colours.h"
#include "media/media.h"
#include "text/text_engine.h"
#include "world/enemy_ai.h"
#include "world/level_state.h"
#include "world/overlay.h"
#include "world/tile_rules.h"
#include "world/world.h"

int32_t score, score_to_count, score_target, level_score, highscore_best;
uint8_t quit_requested;
int32_t grabbed_image, grabbed_sprite;

namespace {

constexpr int text_alpha = 240;

void free_grab() {
    if (blended_exists(grabbed_sprite)) free_blended(grabbed_sprite);
    if (sprite_exists(grabbed_image)) free_sprite(grabbed_image);
    grabbed_sprite = grabbed_image = 0;
}

// The frame stretched back over the whole screen (magnified when
// FULLSCREENZOOM is below 1). The frame is taken, not copied: one draw of it
// covers the new back buffer, so there is nothing to clear either.
void full_screen_pass() {
    set_filtering(false);
    set_blending(normal_source, normal_destination);
    free_grab();
    set_default_colour_key(magenta);
    set_filtering(cfg_smooth == 1);
    grabbed_image = take_frame(1, 1, nearest_int(screen_width * cfg_fullscreenzoom - 1.0f),
                               nearest_int(screen_height * cfg_fullscreenzoom - 1.0f));
    grabbed_sprite = create_blended(grabbed_image);
    zoom_blended(grabbed_sprite, nearest_int(screen_width), nearest_int(screen_height));
    present_full_screen(5, grabbed_sprite);
    set_filtering(false);
}

// Visible cells: their neighbourhood rules, then their drawing, so a tile
// fixed this frame shows its new look at once.
void tile_pass() {
    walk_visible_window([](int32_t x, int32_t y, int32_t column, int32_t row) {
        const world_cell& cell = world_matrix[x][y];
        if (cell.alpha <= 0 || cell.active != 1) return;
        fix_blue_tile(x, y);
        fix_pink_tile(x, y);
        draw_tile(x, y, column, row);
    });
}

}  // namespace

void grab_frame() {
    free_grab();
    grabbed_image = grab_sprite(1, 1, nearest_int(screen_width * cfg_fullscreenzoom - 1.0f),
                             nearest_int(screen_height * cfg_fullscreenzoom - 1.0f));
    grabbed_sprite = create_blended(grabbed_image);
}

void init_world_frame_globals() {
    score = score_to_count = score_target = level_score = highscore_best = 0;
    quit_requested = 0;
    // The media layer may be gone already (tests restart it): dropped, not freed.
    grabbed_image = grabbed_sprite = 0;
}

void world_frame() {
    MARK_SITE("world_frame");
    if (cfg_usesprite3d == 1) update_world();
    if (pending_request == game_request::trapped) return;   // the game is over, not the level
    if (critical_mass < 1) {
        play_sound_effect(cfg_leveldone, 0);
        level_score = score;
        level_done();
    }
}

void update_world() {
    MARK_SITE("world_frame");
    clear_screen(black);
    draw_floaters(1);
    tile_pass();
    draw_cell_objects();
    painters_pass();
    erasers_pass();
    player_step();
    if (pending_request == game_request::trapped) return;
    draw_player();
    if (new_level_banner == 1) show_dimension_banner();
    full_screen_pass();
    draw_hud();
    if (cfg_usetopglass == 1) draw_top_glass(light_source, light_destination);
}

std::array<hud_line, 5> hud_lines() {
    const float w = screen_width, h = screen_height;
    // A new record shows at once.
    const int32_t best = score <= highscore_best ? highscore_best : score;
    return {{
        {" SCORE " + std::to_string(score) + "|", 0.70f * w, 0.05f * h, 1.0f},
        {" TIME " + std::to_string(time_left) + "|", 0.06f * w, 0.01f * h, 1.0f},
        {" CRITICAL MASS " + std::to_string(critical_mass) + "|", 0.40f * w, 0.01f * h, 1.0f},
        {" DIMENSION " + std::to_string(dimension) + "|", 0.70f * w, 0.01f * h, 1.0f},
        {" HIGHSCORE:  " + std::to_string(best) + "|", 0.40f * w, 0.05f * h, 0.5f},
    }};
}

void draw_hud() {
    if (score_to_count > 0) {
        score += 1;
        score_to_count -= 1;
    } else if (score < score_target) {
        score += 1;
    }
    if (critical_mass < 1) critical_mass = 0;
    for (const hud_line& line : hud_lines())
        draw_text(line.text, line.x, line.y, line.zoom, 0.0f, text_alpha, 1.0f, 0, 0);
}

void show_dimension_banner() {
    MARK_SITE("world_frame");
    grab_frame();
    const std::string text = "  DIMENSION " + std::to_string(dimension) + "| ";
    // The text shrinks from huge towards zoom 2.5 while it slides left and its
    // letters spread.
    for (float a = 0.0f, b = 1.0f; b < screen_width; a += 0.025f, b += 5.0f) {
        clear_screen(black);
        begin_blended_pass();
        set_blending(normal_source, normal_destination);
        draw_blended(grabbed_sprite, 0, 0, 255);
        // The first frame's zoom, 10 / 0, has no size: that frame shows no text.
        if (a > 0.0f)
            draw_text(text, screen_width * (0.4f - a / 6.0f), 0.3f * screen_height, 10.0f / a,
                      0.0f, text_alpha, a, light_source, light_destination);
        if (cfg_usetopglass == 1) draw_top_glass(light_source, light_destination);
        end_blended_pass();
        present_frame();
    }
    // The text's closing blank would move the first text of the next frame.
    text_pen_x = text_pen_y = 0.0f;
    new_level_banner = 0;
    free_grab();
}

void level_done() {
    dimension += 1;
    time_left = 0;
    // The clock starts its tick afresh: a tick in this same frame would take
    // the zeroed clock below 0 and end the game the player just advanced in.
    clock_frames = 0;
}
