// Keyboard and joypad as the game sees them, fed by the input script.
#include "media_test_helpers.h"

namespace {

constexpr int key_escape = 0x01, key_a = 0x1E, key_up = 0xC8, key_f12 = 0x58;

input_frame keys(std::vector<int> held, std::string text = "") {
    input_frame frame;
    frame.keys = std::move(held);
    frame.text = std::move(text);
    return frame;
}

input_frame pad(int x, int y, std::vector<int> buttons) {
    input_frame frame;
    frame.joypad = true;
    frame.axis_x = x;
    frame.axis_y = y;
    frame.buttons = std::move(buttons);
    return frame;
}

using media_scripted_input = media_screen;

TEST_F(media_scripted_input, keys_are_down_while_held_and_released_once) {
    set_input_script({keys({key_a, key_up}), keys({key_a}), keys({}), keys({key_f12})});
    start_keyboard_service();

    snapshot_keyboard();   // frame 0
    EXPECT_TRUE(key_down(key_a));
    EXPECT_TRUE(key_down(key_up));
    EXPECT_FALSE(key_down(key_escape));
    EXPECT_TRUE(key_down(-1));
    EXPECT_FALSE(key_released(-1));

    flip_screen();
    snapshot_keyboard();   // frame 1: Up let go
    EXPECT_TRUE(key_released(key_up));
    EXPECT_FALSE(key_released(key_a));
    EXPECT_TRUE(key_released(-1));
    EXPECT_TRUE(key_released(key_up));   // a snapshot answers the same all frame

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
    snapshot_keyboard();
    EXPECT_FALSE(key_released(-1));

    for (int odd : {-2, 256, 1000}) {
        EXPECT_FALSE(key_down(odd));
        EXPECT_FALSE(key_released(odd));
    }
}

TEST_F(media_scripted_input, typed_text_comes_once_per_frame_in_order) {
    set_input_script({keys({}, "ab"), keys({}, ""), keys({}, "c\xF6"), keys({}, "d")});
    EXPECT_EQ(typed_text(), "ab");
    EXPECT_EQ(typed_text(), "");   // taken already
    flip_screen();
    flip_screen();
    EXPECT_EQ(typed_text(), "c\xF6");   // Latin-1 bytes pass unchanged
    flip_screen();
    flip_screen();
    flip_screen();
    EXPECT_EQ(typed_text(), "d");   // a frame missed between calls is not lost
    EXPECT_EQ(typed_text(), "");
}

TEST_F(media_scripted_input, joypad_axes_and_buttons_follow_the_script) {
    set_input_script({pad(-1, 1, {1, 10}), pad(5, -7, {}), input_frame{}});

    EXPECT_TRUE(start_joypad_service());
    snapshot_joypad();
    EXPECT_EQ(joypad_axis_x(), -1);
    EXPECT_EQ(joypad_axis_y(), 1);
    EXPECT_TRUE(joypad_button(1));
    EXPECT_TRUE(joypad_button(10));
    EXPECT_FALSE(joypad_button(2));
    EXPECT_FALSE(joypad_button(0));
    EXPECT_FALSE(joypad_button(99));

    flip_screen();
    snapshot_joypad();   // axes only ever read -1, 0 or 1
    EXPECT_EQ(joypad_axis_x(), 1);
    EXPECT_EQ(joypad_axis_y(), -1);
    EXPECT_FALSE(joypad_button(1));

    flip_screen();
    EXPECT_FALSE(start_joypad_service());   // unplugged
    snapshot_joypad();
    EXPECT_EQ(joypad_axis_x(), 0);

    flip_screen();   // beyond the script: no joypad
    EXPECT_FALSE(start_joypad_service());
    snapshot_joypad();
    EXPECT_EQ(joypad_axis_y(), 0);
    EXPECT_FALSE(joypad_button(10));
}

TEST_F(media_scripted_input, the_joypad_watch_thread_may_look_for_a_joypad) {
    set_input_script({pad(0, 0, {}), pad(0, 0, {})});
    static std::atomic<int> seen{-1};
    seen = -1;
    ASSERT_NE(start_thread([](int) { seen = start_joypad_service() ? 1 : 0; }, 0), 0);
    for (int i = 0; i < 500 && seen < 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_EQ(seen.load(), 1);
}

TEST_F(media_screen, live_devices_read_as_idle_headless) {
    // No script: the real keyboard of a headless run holds nothing.
    EXPECT_TRUE(start_keyboard_service());
    snapshot_keyboard();
    EXPECT_FALSE(key_down(-1));
    EXPECT_FALSE(key_released(-1));
    enable_text_input(true);
    EXPECT_EQ(typed_text(), "");
    enable_text_input(false);
    start_joypad_service();
    snapshot_joypad();
    EXPECT_EQ(joypad_axis_x(), 0);
    read_mouse();
    set_mouse_position(0, 0);
    wait_window_event(1);
    EXPECT_FALSE(pump_events());
}

}  // namespace
