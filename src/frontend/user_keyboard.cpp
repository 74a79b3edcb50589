#include "frontend/user_keyboard.h"

#include "core/input_actions.h"
#include "frontend/menus.h"
#include "media/media.h"

int32_t joypad_letter = 0;
std::string joypad_letter_text;

namespace {

constexpr int32_t letter_a = 65, letter_z = 90;

int32_t wrapped(int32_t letter) {
    if (letter < letter_a) return letter_z;
    if (letter > letter_z) return letter_a;
    return letter;
}

}  // namespace

void init_name_entry_globals() {
    joypad_letter = 0;
    joypad_letter_text.clear();
}

void edit_pause() { hold_ms(edit_pause_ms); }

int32_t read_typed_letter() {
    const std::string typed = typed_text();
    if (typed.empty()) return 0;
    const int32_t c = static_cast<unsigned char>(typed[0]);
    if (c <= 64 || c >= 123) return 0;
    return c >= 'a' && c <= 'z' ? c - 32 : c;
}

int32_t step_joypad_letter(uint8_t direction) {
    joypad_letter = wrapped(joypad_letter);
    int32_t step = 0;
    if (direction == stick_up || direction == stick_right) step = 1;
    if (direction == stick_down || direction == stick_left) step = -1;
    if (step != 0) {
        joypad_letter = wrapped(joypad_letter + step);
        edit_pause();
    }
    return joypad_letter;
}

void keyboard_edit_step(std::string& name) {
    const int32_t c = read_typed_letter();
    if (c > 0 && name.size() < name_length_limit) name += char(c);
    if (action_code == action_back && !name.empty()) {
        name.pop_back();
        edit_pause();
    }
}

void joypad_edit_step(std::string& name) {
    joypad_letter = step_joypad_letter(stick_direction);
    joypad_letter_text = std::string(1, char(joypad_letter));
    if (action_code == action_a && name.size() < name_length_limit) {
        name += joypad_letter_text;
        edit_pause();
        action_code = action_none;
    }
    if (action_code == action_x && !name.empty()) {
        name.pop_back();
        edit_pause();
        action_code = action_none;
    }
}
