#include "frontend/game_controls.h"

#include <string>

#include "core/fault_report.h"
#include "core/frame_end.h"
#include "core/game_phase.h"
#include "core/input_actions.h"
#include "core/machine.h"
#include "frontend/highscore.h"
#include "frontend/menus.h"
#include "media/colours.h"
#include "media/media.h"
#include "world/level_state.h"
#include "world/world_frame.h"

int open_dialogs = 0;

namespace {


// One more open dialog for as long as it runs.
class dialog_scope {
public:
    dialog_scope() { ++open_dialogs; }
    ~dialog_scope() { --open_dialogs; }
    dialog_scope(const dialog_scope&) = delete;
    dialog_scope& operator=(const dialog_scope&) = delete;
};

// Unlike the menus', the dialogs' fade stops short of 1 and goes to 0.
void dialog_fade_step(screen_look& look) {
    look.fade -= 0.2f;
    if (look.fade < 1.0f) look.fade = 0.0f;
}

void begin_dialog_frame(const screen_look& look) {
    begin_blended_pass();
    clear_screen(black);
    draw_screen_text("  ZORBEL |", 0.01f, 0.4f, 4.0f, look.faded_alpha());
}

void end_dialog_frame(screen_look& look) {
    draw_ticker(look, 0.9f);
    end_blended_pass();
    present_frame();
    dialog_fade_step(look);
    // A further pause menu or quit dialog may open in here and return.
    handle_events();
    screen_frame_done();
}

bool quit_confirmed() { return game_state == game_state_quitting; }

}  // namespace

void init_game_controls_globals() { open_dialogs = 0; }

void pause_menu() {
    MARK_SITE("game_controls");
    if (open_dialogs >= max_open_dialogs) return;
    dialog_scope dialog;
    screen_look look;
    look_scope scope(look);
    for (;;) {
        const bool joypad = joypad_present != 0;
        begin_dialog_frame(look);
        draw_screen_text("  GAME PAUSED |", 0.7f, 0.4f, 0.8f, 255);
        draw_screen_text("  X TO CONTINUE |", 0.7f, 0.45f, 0.6f, 255);
        draw_screen_text("  B TO RESTART  |", 0.7f, 0.5f, 0.6f, 255);
        draw_screen_text(joypad ? "  SELECT FOR OPTIONS |" : "  S FOR OPTIONS  |", 0.7f, 0.55f,
                         0.6f, 255);
        draw_screen_text(joypad ? "  Y QUIT |" : "  Y QUIT  |", 0.7f, 0.6f, 0.6f, 255);
        end_dialog_frame(look);
        // A quit confirmed in a dialog above closes every pause menu at once:
        // the B still held must not restart the level on the way out.
        if (quit_confirmed()) return;
        switch (action_code) {
        case action_b: request(game_request::restart_level); return;
        case action_x: return;
        case action_select: options_menu(); return;
        case action_y:
            quit_dialog();
            if (quit_confirmed()) return;
            break;
        default: break;
        }
    }
}

void quit_dialog() {
    MARK_SITE("game_controls");
    // One place more than the pause menus have: the quit line of the
    // deepest pause menu still opens its dialog.
    if (open_dialogs > max_open_dialogs) return;
    dialog_scope dialog;
    screen_look look;
    look_scope scope(look);
    for (;;) {
        begin_dialog_frame(look);
        draw_screen_text("  QUIT GAME: |", 0.7f, 0.4f, 0.8f, 255);
        draw_screen_text("  B QUIT |", 0.7f, 0.45f, 0.6f, 255);
        draw_screen_text("  X CONTINUE |", 0.7f, 0.5f, 0.6f, 255);
        end_dialog_frame(look);
        if (action_code == action_b) {
            game_state = game_state_quitting;
            quit_requested = 1;
            request(game_request::game_over);
            return;
        }
        if (action_code == action_x) return;
    }
}
