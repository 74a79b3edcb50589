// The window as a desktop player meets it: letterbox, Alt+Return, focus, joypads.
#include <gtest/gtest.h>

#include "core/configuration.h"
#include "frontend/front_end_fixture.h"
#include "game/desktop.h"

using namespace front;

namespace {

constexpr int left_alt = 0x38, right_alt = 0xB8;

input_frame focus_lost() {
    input_frame frame; frame.focus_lost = true;
    return frame;
}

using Window = front_end;

TEST(Letterbox, ThePictureKeepsItsProportionsCentredWithBars) {
    const struct { int area_w, area_h, picture_w, picture_h; picture_box expected; } cases[] = {
        {1024, 768, 1024, 768, {0, 0, 1024, 768}},      // the designed window
        {1920, 1080, 1024, 768, {240, 0, 1440, 1080}},  // wide desktop: side bars
        {1280, 1024, 1024, 768, {0, 32, 1280, 960}},    // tall desktop: top and bottom
        {1366, 768, 1024, 768, {171, 0, 1024, 768}},    // odd margin: rounded down
        {0, 0, 1024, 768, {0, 0, 0, 0}},                // minimised
        {640, 480, 0, 0, {0, 0, 640, 480}}};
    for (const auto& c : cases) {
        const picture_box box = letterbox(c.area_w, c.area_h, c.picture_w, c.picture_h);
        EXPECT_EQ(std::tuple(box.x, box.y, box.width, box.height),
                  std::tuple(c.expected.x, c.expected.y, c.expected.width, c.expected.height))
            << c.area_w << "x" << c.area_h;
    }
}

// Alt+Return toggles fullscreen once per press; the game never sees that Return.
TEST_F(Window, AltReturnSwitchesFullscreenOncePerPressAndTheGameNeverSeesIt) {
    ASSERT_FALSE(fullscreen_on());
    play_from_now({keys({left_alt}), keys({left_alt, enter}), keys({left_alt, enter}), keys({enter}), keys({}),
                   keys({enter}), keys({}), keys({right_alt, enter}), keys({})});
    std::vector<bool> return_seen, fullscreen;
    for (int frame = 0; frame < 9; ++frame) {
        snapshot_keyboard();
        return_seen.push_back(key_down(enter));
        fullscreen.push_back(fullscreen_on()); flip_screen();
    }
    EXPECT_EQ(return_seen, (std::vector<bool>{false, false, false, false, false, true, false, false, false}))
        << "only the Return pressed on its own";
    EXPECT_EQ(fullscreen, (std::vector<bool>{false, true, true, true, true, true, true, false, false}));
}

// A focus loss in play opens one pause menu, which waits for X; in a menu it does nothing.
TEST_F(Window, LosingTheFocusInPlayOpensOnePauseMenuWhichWaitsForThePlayer) {
    const struct { std::vector<input_frame> script; size_t frames; } cases[] = {
        {{focus_lost(), keys({}), keys({}), keys({x})}, 3},
        {{focus_lost(), focus_lost(), keys({}), focus_lost(), keys({x})}, 4}};
    for (const auto& c : cases) {
        seen.clear(); screen_state = screen_state_playing; play_from_now(c.script);
        handle_events();   // the game's own frame
        int deepest = 0;
        for (const seen_frame& f : seen) deepest = std::max(deepest, f.dialogs);
        EXPECT_EQ(deepest, 1) << c.frames;
        EXPECT_EQ(seen.size(), c.frames) << "paused until X";
        EXPECT_EQ(open_dialogs, 0);
        EXPECT_EQ(screen_state, screen_state_playing);
    }
    seen.clear();
    screen_state = screen_state_title;
    play_from_now({focus_lost(), keys({x})});
    handle_events();
    EXPECT_TRUE(seen.empty()) << "a menu does not pause";
}

// A pad plugged in is logged and reads as the classic pad (1 X 2 A 3 B 4 Y 5, 6 shoulders 9 BACK 10 START).
TEST_F(Window, APlugInIsFoundNamedInTheLogAndReadsAsTheClassicPad) {
    cfg_uselogfile = 1; cfg_logpath = folder.path() + "/"; cfg_logfile = "zorbel.log";
    watch_joypad();
    ASSERT_TRUE(plug_pretend_joypad("Pretend Pad"));
    EXPECT_EQ(joypad_name(), "Pretend Pad");
    watch_joypad();
    EXPECT_EQ(joypad_present, 1) << "the pad steers from the next frame on";
    EXPECT_EQ(folder.read("zorbel.log"), "JOYPAD:Pretend Pad\r\n");
    const std::pair<const char*, int> classic[] = {{"x", 1}, {"a", 2}, {"b", 3}, {"y", 4}, {"leftshoulder", 5},
                                                   {"rightshoulder", 6}, {"back", 9}, {"start", 10}};
    for (const auto& [button, number] : classic) {
        press_pretend_joypad(button, true); snapshot_joypad();
        for (int n = 1; n <= 10; ++n) EXPECT_EQ(joypad_button(n), n == number) << button << " " << n;
        press_pretend_joypad(button, false);
    }
    unplug_pretend_joypad();
    EXPECT_EQ(joypad_name(), "");
    watch_joypad();
    EXPECT_EQ(joypad_present, 0);
    EXPECT_EQ(folder.read("zorbel.log"), "JOYPAD:Pretend Pad\r\nJOYPAD REMOVED:Pretend Pad\r\n");
}

}  // namespace
