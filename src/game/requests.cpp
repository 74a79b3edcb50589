#include "game/requests.h"

#include <algorithm>

#include "core/configuration.h"
#include "core/fault_report.h"
#include "core/frame_end.h"
#include "core/game_phase.h"
#include "core/machine.h"
#include "core/sound_list.h"
#include "frontend/highscore.h"
#include "frontend/menus.h"
#include "media/blend_factors.h"
#include "media/colours.h"
#include "media/media.h"
#include "text/text_engine.h"
#include "world/level_state.h"
#include "world/world_frame.h"

namespace {

constexpr int text_alpha = 240;

// The level is built again, with the score it began with; points still
// counting up belonged to the attempt given up.
void restart_dimension() {
    loaded_dimension = -1;
    score = level_score;
    score_to_count = 0;
    score_target = std::min(score_target, level_score);
}

}  // namespace

void act_on_request() {
    const game_request what = pending_request;
    pending_request = game_request::none;
    switch (what) {
    case game_request::time_up: enter_high_score(); break;
    case game_request::game_over:
        if (quit_requested == 1 && score > 0) enter_high_score();
        play_sound_effect(cfg_gameover, 0);
        show_game_over(cfg_smooth);
        break;
    case game_request::trapped: end_game(); break;
    case game_request::restart_level: restart_dimension(); break;
    case game_request::none: break;
    }
}

void show_game_over(uint8_t smooth) {
    MARK_SITE("requests");
    set_blending(normal_source, normal_destination);
    grab_frame();
    for (float a = 0.0f, b = 1.0f; b < screen_width; a += 0.05f, b += 20.0f) {
        clear_screen(black);
        begin_blended_pass();
        set_blending(normal_source, normal_destination);
        set_filtering(smooth == 1);
        draw_blended(grabbed_sprite, 0, 0, 255);
        set_filtering(false);
        draw_text("  GAME OVER |", screen_width * (0.3f - a / 10.0f), 0.3f * screen_height, 3.0f,
                  0.0f, text_alpha, a, light_source, light_destination);
        end_blended_pass();
        present_frame();
    }
    set_blending(normal_source, normal_destination);
    end_game();
}

void end_game() {
    MARK_SITE("requests");
    // Heard as the game ends, not at the start of the next one.
    play_sound_effect(cfg_gameover, 0);
    if (quit_requested == 0)
        title_menu();
    else
        end_program();
}
