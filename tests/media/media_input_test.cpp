// Keyboard and joypad as the game sees them, fed by the input script.
#include "media_test_helpers.h"

namespace {

// Keys named as the keyboard layer names them, on PC scan codes: every key the game reads, and a few more.
constexpr struct { const char* name; int code; } scan_codes[] = {
    {"Escape", 0x01}, {"Backspace", 0x0E}, {"E", 0x12}, {"Y", 0x15}, {"Return", 0x1C}, {"Left Ctrl", 0x1D}, {"A", 0x1E},
    {"S", 0x1F}, {"D", 0x20}, {"H", 0x23}, {"X", 0x2D}, {"C", 0x2E}, {"B", 0x30}, {"M", 0x32}, {"Left Alt", 0x38},
    {"Space", 0x39}, {"F12", 0x58}, {"Up", 0xC8}, {"PageUp", 0xC9}, {"Left", 0xCB}, {"Right", 0xCD}, {"Down", 0xD0},
    {"PageDown", 0xD1}, {"Right Ctrl", 0x9D}, {"Keypad Enter", 0x9C}, {"no such key", 0}};

int code(const char* name) {
    for (const auto& key : scan_codes)
        if (std::string(key.name) == name) return key.code;
    return -1;
}

const int key_a = code("A"), key_up = code("Up"), key_f12 = code("F12");

input_frame keys(std::vector<int> held, std::string text = "") {
    input_frame frame; frame.keys = std::move(held); frame.text = std::move(text);
    return frame;
}

input_frame pad(int x, int y, std::vector<int> buttons) {
    input_frame frame; frame.joypad = true; frame.axis_x = x;
    frame.axis_y = y; frame.buttons = std::move(buttons);
    return frame;
}

using MediaInput = MediaScreen;

TEST(MediaScanCodes, KeysLandOnTheirPcScanCodes) {
    for (const auto& key : scan_codes) EXPECT_EQ(scan_code_of_key(key.name), key.code) << key.name;
}

TEST_F(MediaInput, KeysAreDownWhileHeldAndReleasedOnce) {
    set_input_script({keys({key_a, key_up}), keys({key_a}), keys({}), keys({key_f12})});
    start_keyboard_service();
    snapshot_keyboard();   // frame 0
    EXPECT_TRUE(key_down(key_a));
    EXPECT_TRUE(key_down(key_up));
    EXPECT_TRUE(key_down(-1));
    EXPECT_FALSE(key_released(-1));
    flip_screen();
    snapshot_keyboard();   // frame 1: Up let go
    EXPECT_TRUE(key_released(key_up));
    EXPECT_FALSE(key_released(key_a));
    EXPECT_TRUE(key_released(key_up)) << "a snapshot answers the same all frame";
    flip_screen();
    snapshot_keyboard();   // frame 2: A let go, Up already reported
    EXPECT_TRUE(key_released(key_a));
    EXPECT_FALSE(key_released(key_up));
    EXPECT_FALSE(key_down(-1));
    flip_screen();
    snapshot_keyboard();   // frame 3: a new key held, nothing let go
    EXPECT_TRUE(key_down(key_f12));
    EXPECT_FALSE(key_released(-1));
    flip_screen();
    snapshot_keyboard();   // beyond the script: nothing held
    EXPECT_FALSE(key_down(-1));
    EXPECT_TRUE(key_released(key_f12));
    EXPECT_FALSE(key_down(256) || key_released(256));
}

TEST_F(MediaInput, TypedTextComesOncePerFrameInOrder) {
    // The "x" comes with a key held on from the frame before: a repeat, not typed.
    set_input_script({keys({key_a}, "ab"), keys({key_a}, "x"), keys({}, "c\xF6"), keys({}, "d")});
    EXPECT_EQ(typed_text(), "ab");
    EXPECT_EQ(typed_text(), "") << "taken already";
    flip_screen(); flip_screen();
    EXPECT_EQ(typed_text(), "c\xF6") << "Latin-1 bytes pass unchanged";
    for (int i = 0; i < 3; ++i) flip_screen();
    EXPECT_EQ(typed_text(), "d") << "a frame missed between calls is not lost";
}

TEST_F(MediaInput, JoypadAxesAndButtonsFollowTheScript) {
    set_input_script({pad(-1, 1, {1, 10}), pad(5, -7, {}), input_frame{}});
    EXPECT_TRUE(start_joypad_service());
    snapshot_joypad();
    EXPECT_EQ(joypad_axis_x(), -1);
    EXPECT_EQ(joypad_axis_y(), 1);
    for (int b : {0, 1, 2, 10, 99}) EXPECT_EQ(joypad_button(b), b == 1 || b == 10) << b;
    flip_screen();
    snapshot_joypad();   // axes only ever read -1, 0 or 1
    EXPECT_EQ(joypad_axis_x(), 1);
    EXPECT_EQ(joypad_axis_y(), -1);
    EXPECT_FALSE(joypad_button(1));
    flip_screen();
    flip_screen();   // beyond the script: no joypad
    EXPECT_FALSE(start_joypad_service());
    snapshot_joypad();
    EXPECT_EQ(joypad_axis_y(), 0);
    EXPECT_FALSE(joypad_button(10));
}

}  // namespace
