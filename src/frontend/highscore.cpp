#include "frontend/highscore.h"

#include "core/configuration.h"
#include "core/fault_report.h"
#include "core/frame_end.h"
#include "core/game_phase.h"
#include "core/input_actions.h"
#include "core/machine.h"
#include "core/sound_list.h"
#include "frontend/menus.h"
#include "frontend/user_keyboard.h"
#include "media/media.h"
#include "text/font_engine.h"
#include "text/text_engine.h"
#include "world/world_frame.h"

std::vector<score_row> score_table;

namespace {

// The debug keys open a name entry on any screen, in every frame they are
// held: one end-of-game sequence at a time, or they would nest without end.
bool name_entry_running = false;

std::string str(int32_t n) { return std::to_string(n); }

}  // namespace

void init_highscore_globals() {
    score_table.clear();
    name_entry_running = false;
}

void enter_high_score() {
    MARK_SITE("highscore");
    if (name_entry_running) return;
    name_entry_running = true;
    menu_screen_entry(screen_state_name_entry, "score.ogg");
    std::string name;
    screen_look look;
    {
        look_scope scope(look);
        enable_text_input(true);
        do {
            handle_events();
            if (joypad_present == 0)
                keyboard_edit_step(name);
            else
                joypad_edit_step(name);
            draw_menu_background();
            draw_screen_text("  ZORBEL |", 0.01f, 0.4f, 4.0f, look.faded_alpha());
            if (score >= highscore_best)
                draw_screen_text("  NEW HIGHSCORE:   " + str(score) + "|", 0.3f, 0.25f, 1.0f, 255);
            else
                draw_screen_text("  YOUR SCORE:   " + str(score) + "|", 0.3f, 0.3f, 0.8f, 240);
            draw_screen_text("  ENTER NAME:  " + name + joypad_letter_text + ">   |", 0.3f, 0.35f,
                             0.6f, 240);
            draw_screen_text(continue_prompt(), 0.01f, 0.55f, 0.8f, look.faded_alpha());
            draw_screen_text(rights_notice, 0.01f, 0.65f, 0.4f, 255);
            fade_step(look);
            draw_ticker(look, 0.9f);
            end_blended_pass();
            present_frame();
            screen_frame_done();
        } while (action_code != action_enter);
        enable_text_input(false);
    }
    // The Return that ends the entry must not also end the table.
    held_over_action = action_enter;
    // Stored as typed, even empty.
    save_profile(name);
    scan_profiles();
    load_profiles();
    sort_score_table();
    scan_profiles();
    load_profiles();
    show_score_table();
    name_entry_running = false;
}

void show_score_table() {
    MARK_SITE("highscore");
    score_table_screen();
    // After a quit the game-over display follows, and the end.
    if (game_state != game_state_quitting) title_menu();
}

void score_table_screen() {
    MARK_SITE("highscore");
    menu_screen_entry(screen_state_score_table, "score.ogg");
    screen_look look;
    {
        look_scope scope(look);
        float row_offset = 0.0f, scroll = 0.0f;
        int32_t laps = 0;
        const float w = screen_width, h = screen_height;
        do {
            draw_menu_background();
            draw_ticker(look, 0.9f);
            // Every row counts toward a lap, drawn or not.
            const float lap_length = float(score_table.size()) * float(font_height) * 0.6f + h;
            for (size_t i = 0; i < score_table.size(); ++i) {
                const score_row& row = score_table[i];
                if (row.profile_score <= 0) continue;
                const float y = h * (1.0f + row_offset) - scroll;
                draw_text("  " + str(int32_t(i + 1)) + ". |", 0.5f * w, y, 0.6f, 0.0f, 255, 1.0f,
                          0, 0);
                draw_text("  " + row.profile_name + " |", 0.6f * w, y, 0.6f, 0.0f, 255, 1.0f, 0, 0);
                draw_text("  " + str(row.profile_score) + " |", 0.7f * w, y, 0.6f, 0.0f, 255,
                          1.0f, 0, 0);
                row_offset += 0.04f;
                if (scroll > lap_length) {
                    scroll = 0.0f;
                    laps += 1;
                }
            }
            row_offset = 0.0f;
            draw_screen_text("  ZORBEL |", 0.01f, 0.4f, 4.0f, look.faded_alpha());
            const score_row first = score_table.empty() ? score_row{} : score_table.front();
            draw_screen_text("  GLOBAL HIGHSCORE BY: " + first.profile_name + " SCORE: " +
                                 str(first.profile_score) + "  PLAYER SCORE: " + str(score) + "|",
                             0.01f, 0.55f, 0.4f, 230);
            draw_screen_text("  ONLINE HIGHSCORE IS NOT IMPLEMENTED FOR NOW |", 0.01f, 0.57f,
                             0.4f, 230);
            draw_screen_text(continue_prompt(), 0.01f, 0.6f, 0.8f, look.faded_alpha());
            draw_screen_text(rights_notice, 0.01f, 0.65f, 0.4f, 230);
            fade_step(look);
            end_blended_pass();
            scroll += 1.0f;
            present_frame();
            handle_events();
            screen_frame_done();
        } while (action_code != action_enter && laps <= 1);
    }
    // Nor may the Return that ends the table start a game from the title.
    if (action_code == action_enter) held_over_action = action_enter;
    scan_profiles();
    load_profiles();
}

void sort_score_table() {
    score_table.clear();
    std::string best_name;
    do {
        int32_t best_score = 0;
        size_t best_at = profiles.size();   // none
        for (size_t i = 0; i < profiles.size(); ++i) {
            if (profiles[i].profile_score < best_score) continue;
            best_score = profiles[i].profile_score;
            best_name = profiles[i].profile_name;
            best_at = i;
        }
        score_table.push_back({best_name, best_score});
        // Only scores below 0, which loading drops, are never chosen: stop
        // rather than add rows for ever.
        if (best_at == profiles.size()) break;
        profiles.erase(profiles.begin() + std::ptrdiff_t(best_at));
    } while (!profiles.empty());
}
