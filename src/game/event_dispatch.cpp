#include "game/event_dispatch.h"

#include <algorithm>
#include <cmath>

#include "core/configuration.h"
#include "core/fault_report.h"
#include "core/game_phase.h"
#include "core/machine.h"
#include "core/screens.h"
#include "core/sound_list.h"
#include "frontend/game_controls.h"
#include "frontend/highscore.h"
#include "frontend/menus.h"
#include "game/desktop.h"
#include "game/screenshot.h"
#include "media/media.h"
#include "world/level_state.h"
#include "world/marker_states.h"
#include "world/world.h"

int32_t step_dx, step_dy;
int32_t last_cell_x, last_cell_y;

namespace {

// Keyboard scan codes (PC set 1).
namespace scan {
constexpr int escape = 0x01, backspace = 0x0E, e = 0x12, y = 0x15, enter = 0x1C,
              left_ctrl = 0x1D, a = 0x1E, s = 0x1F, d = 0x20, h = 0x23, x = 0x2D, c = 0x2E,
              b = 0x30, m = 0x32, left_alt = 0x38, space = 0x39, f12 = 0x58, up = 0xC8,
              page_up = 0xC9, left = 0xCB, right = 0xCD, down = 0xD0, page_down = 0xD1;
}  // namespace scan


// A "released" key is one held at the previous snapshot and up now, so a
// second snapshot in the same frame would swallow every release: the
// keyboard is read once per frame, whoever asks first.
int keyboard_frame = -1;

void keyboard_snapshot_of_this_frame() {
    if (keyboard_frame == frame_number()) return;
    keyboard_frame = frame_number();
    snapshot_keyboard();
}

void read_keyboard_direction() {
    if (key_down(scan::up)) stick_direction = stick_up;
    if (key_down(scan::left)) stick_direction = stick_left;
    if (key_down(scan::right)) stick_direction = stick_right;
    if (key_down(scan::down)) stick_direction = stick_down;
}

void debug_keys() {
    if (key_released(scan::page_down)) dimension -= 1;
    if (key_released(scan::page_up)) dimension += 1;
    if (key_down(scan::h) && key_down(scan::left_alt)) request(game_request::time_up);
}

// Two arrows at once mean no direction at all.
void cancel_crossed_arrows() {
    const bool up = key_down(scan::up), down = key_down(scan::down);
    const bool left = key_down(scan::left), right = key_down(scan::right);
    if ((up && (left || right || down)) || (down && (left || right)) || (left && right))
        stick_direction = stick_none;
}

void read_joypad_direction() {
    snapshot_joypad();
    if (joypad_axis_x() == 1) stick_direction = stick_right;
    if (joypad_axis_x() == -1) stick_direction = stick_left;
    if (joypad_axis_y() == 1) stick_direction = stick_down;
    if (joypad_axis_y() == -1) stick_direction = stick_up;
}

void read_keyboard_actions() {
    keyboard_snapshot_of_this_frame();
    if (key_down(scan::space) || key_down(scan::a)) action_code = action_a;
    if (key_down(scan::b)) action_code = action_b;
    if (key_down(scan::m)) action_code = action_music;
    if (key_down(scan::s)) action_code = action_select;
    if (key_down(scan::c) || key_down(scan::x)) action_code = action_x;
    if (key_down(scan::d) || key_down(scan::y)) action_code = action_y;
    if (key_down(scan::escape)) action_code = action_escape;
    if (key_down(scan::enter)) action_code = action_enter;
    if (key_released(scan::f12)) action_code = action_screenshot;
    if (key_down(scan::backspace)) action_code = action_back;
}

void read_joypad_actions() {
    static constexpr int32_t by_button[] = {action_x,      action_a,      action_b,
                                            action_y,      action_left_shoulder,
                                            action_right_shoulder, action_music,
                                            action_right_trigger,  action_select,
                                            action_enter};
    snapshot_joypad();
    for (int button = 1; button <= 10; ++button) {
        if (!joypad_button(button)) continue;
        action_code = by_button[button - 1];
        return;
    }
}

// Nearest integer of a cell position, bounded so that a nonsense tile size
// (zero, negative) cannot overflow the conversion.
int32_t nearest_cell(double value) {
    if (!(value > -1.0e6)) return -1000000;   // also not a number
    if (value > 1.0e6) return 1000000;
    return int32_t(std::lround(value));
}

}  // namespace

void init_eventhandler_globals() {
    init_input_action_globals();
    register_event_handler(handle_frame_events);
    step_dx = step_dy = 0;
    last_cell_x = last_cell_y = 0;
    keyboard_frame = -1;
}

int32_t non_negative_or(int32_t value, int32_t fallback) { return value < 0 ? fallback : value; }

void handle_frame_events() {
    MARK_SITE("event_dispatch");
    stick_direction = stick_none;
    action_code = action_none;
    // Read once: the joypad watch thread may change it between frames.
    const bool joypad = joypad_present != 0;
    // The keyboard is read with a joypad too, for the way out below; nothing
    // else looks at it then.
    keyboard_snapshot_of_this_frame();
    if (!joypad) {
        read_keyboard_direction();
        if (cfg_debugmode == 1) debug_keys();
        cancel_crossed_arrows();
    } else {
        read_joypad_direction();
    }
    if (key_down(scan::left_ctrl) && key_down(scan::e)) {
        action_code = action_end;
        end_program();
    }
    read_actions();
    // Read every frame, so a loss while a menu runs is spent there.
    if (window_focus_lost()) pause_when_playing();
    watch_joypad();
    options_direction(stick_direction);
    player.step_counter += 1;
    if (player.step_counter > cursor_delay) {
        if (stick_direction != stick_none) step_player(stick_direction);
        player.step_counter = 0;
    }
}

void read_actions() {
    action_code = action_none;
    if (joypad_present == 0)
        read_keyboard_actions();
    else
        read_joypad_actions();
    if (held_over_action != action_none) {
        if (action_code == held_over_action)
            action_code = action_none;
        else
            held_over_action = action_none;
    }
    if (action_code == action_none) return;
    dispatch_screen_action(action_code);
    // A dialog opened above may leave its own action behind; that one counts.
    dispatch_global_action(action_code);
}

void dispatch_screen_action(int32_t code) {
    switch (screen_state) {
    case screen_state_playing:
        if (code == action_enter) pause_menu();
        if (code == action_escape) quit_dialog();
        if (code == action_music) play_music("");
        break;
    case screen_state_title:
        if (code == action_enter) {
            reset_game_counters();
            screen_state = screen_state_game_requested;
        }
        if (code == action_select) options_menu();
        break;
    case screen_state_score_table:
        if (code == action_enter) screen_state = screen_state_title;
        break;
    default: break;
    }
}

void dispatch_global_action(int32_t code) {
    if (code == action_screenshot)
        save_screenshot(cfg_scrsave + format_date(local_time_now(), "%yyyy%mm%dd%hh%ii%ss"));
    if (code == action_end) end_program();
}

void pause_when_playing() {
    // Players switching away expect the game to wait for them; a dialog
    // already open waits anyway.
    if (screen_state == screen_state_playing && open_dialogs == 0) pause_menu();
}

void options_direction(uint8_t direction) {
    if (screen_state != screen_state_options) return;
    if (direction == stick_left) music_on = 0;
    if (direction == stick_right && music_on == 0) {
        music_on = 1;
        play_music("options.ogg");
    }
}

void step_player(uint8_t direction) {
    MARK_SITE("event_dispatch");
    step_dx = step_dy = 0;
    if (direction == stick_left) step_dx = -1;
    if (direction == stick_right) step_dx = 1;
    if (direction == stick_up) step_dy = -1;
    if (direction == stick_down) step_dy = 1;

    const int32_t target_x = nearest_cell(std::floor(double(player.x) / double(tile_width)) +
                                          double(view_x) + step_dx);
    const int32_t target_y = nearest_cell(std::floor(double(player.y) / double(tile_height)) +
                                          double(view_y) + step_dy);
    if (target_x >= 0) last_cell_x = target_x;
    if (target_y >= 0) last_cell_y = target_y;
    const int32_t cell_x = non_negative_or(target_x, last_cell_x);
    const int32_t cell_y = non_negative_or(target_y, last_cell_y);
    // A target beyond the matrix blocks as well: standing in the last good
    // cell for it would let the marker walk off the left or top edge.
    if (cell_at(cell_x, cell_y).use_collision != 0 || !in_matrix(target_x, target_y))
        step_dx = step_dy = 0;

    player.state = marker_idle;
    if (step_dx == -1) player.state = marker_left;
    if (step_dx == 1) player.state = marker_right;
    if (step_dy == -1) player.state = marker_up;
    if (step_dy == 1) player.state = marker_down;
    if (player.state == marker_idle) return;
    play_sound_effect(cfg_deftilesound, 0);

    step_dx = int32_t(std::lround(double(step_dx) * double(tile_width)));
    step_dy = int32_t(std::lround(double(step_dy) * double(tile_height)));
    const float half_width = screen_width / 2.0f, half_height = screen_height / 2.0f;
    switch (player.state) {
    case marker_right:
        if (player.x + float(step_dx) > half_width)
            view_x += 1.0f;
        else
            player.x += float(step_dx);
        break;
    case marker_left:
        if (player.x < half_width) {
            view_x -= 1.0f;
            if (view_x < 1.0f) {
                // The view goes back no further than column 1, and from the
                // start of a level (column 0) not at all: the marker moves.
                player.x += float(step_dx);
                view_x = std::min(view_x + 1.0f, 1.0f);
            }
        } else {
            player.x += float(step_dx);
        }
        break;
    case marker_down:
        if (player.y + float(step_dy) > half_height)
            view_y += 1.0f;
        else
            player.y += float(step_dy);
        break;
    case marker_up:
        if (player.y <= half_height) {
            view_y -= 1.0f;
            if (view_y < 1.0f) {
                player.y += float(step_dy);
                view_y = std::min(view_y + 1.0f, 1.0f);
            }
        } else {
            player.y += float(step_dy);
        }
        break;
    default: break;
    }
    player.state = marker_idle;
}
