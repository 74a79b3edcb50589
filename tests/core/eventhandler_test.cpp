// The event handler, driven by scripted keyboard and joypad frames.
#include "core/game_phase.h"
#include "play_fixture.h"

using namespace play;

namespace {

using EventHandler = Game;
using Marker = Game;

TEST_F(EventHandler, ArrowsGiveADirectionAndTwoArrowsGiveNone) {
    apply_configuration_entry("CURSORSPEED", "0");
    const struct { std::vector<int> held; uint8_t direction; } cases[] = {
        {{up}, 6}, {{down}, 7}, {{left}, 8}, {{right}, 9}, {{}, 16}, {{right, down}, 16}, {{left, right}, 16},
        {{up, down}, 16}};
    std::vector<input_frame> script;
    for (const auto& c : cases) script.push_back(keys(c.held));
    run(script, [&](int n) { EXPECT_EQ(stick_direction, cases[n].direction) << "case " << n; });
}

TEST_F(EventHandler, CursorSpeed250StepsEverySixthFrame) {
    apply_configuration_entry("CURSORSPEED", "250");
    std::vector<int> stepped;
    float last_x = player.x;
    run(std::vector<input_frame>(18, keys({right})), [&](int frame) {
        if (player.x != last_x) stepped.push_back(frame + 1);
        last_x = player.x;
    });
    EXPECT_EQ(stepped, (std::vector<int>{6, 12, 18}));
    EXPECT_FLOAT_EQ(player.x, 96);
    EXPECT_EQ(heard.size(), 3u);
}

TEST_F(EventHandler, KeysGiveActionsAndTheKeyTestedLastWinsAndF12OnRelease) {
    screen_state = 0;   // no screen reacts: only the action is looked at
    const struct { std::vector<int> held; int32_t action; } cases[] = {
        {{}, 16}, {{space}, 0}, {{a}, 0}, {{b}, 1}, {{m}, 23}, {{s}, 15}, {{c}, 4}, {{x}, 4}, {{d}, 5}, {{y}, 5},
        {{escape}, 22}, {{enter}, 14}, {{backspace}, 21}, {{b, m}, 23}, {{escape, enter}, 14},
        {{enter, backspace}, 21}, {{space, y}, 5}, {{up, a}, 0}, {{f12}, 16}, {{f12}, 16}, {{}, 18}};
    std::vector<input_frame> script;
    for (const auto& c : cases) script.push_back(keys(c.held));
    run(script, [&](int n) { EXPECT_EQ(action_code, cases[n].action) << "case " << n; });
}

TEST_F(EventHandler, PageKeysChangeTheLevelOnReleaseInDebugModeOnly) {
    dimension = 5;
    for (uint8_t debug : {0, 1}) {
        cfg_debugmode = debug;
        run({keys({page_up}), keys({}), keys({page_up}), keys({page_up}), keys({}), keys({page_down}), keys({page_down}), keys({})});
    }
    EXPECT_EQ(dimension, 6);
}

TEST_F(EventHandler, AJoypadActsByItsLowestButtonAndSteersByItsStick) {
    joypad_present = 1;
    screen_state = 0;
    apply_configuration_entry("CURSORSPEED", "0");
    const struct { input_frame frame; int32_t action; uint8_t direction; } cases[] = {
        {pad(0, 0, {}), 16, 16}, {pad(0, 0, {1}), 4, 16}, {pad(0, 0, {2}), 0, 16}, {pad(0, 0, {3}), 1, 16},
        {pad(0, 0, {4}), 5, 16}, {pad(0, 0, {5}), 12, 16}, {pad(0, 0, {6}), 13, 16}, {pad(0, 0, {7}), 23, 16},
        {pad(0, 0, {8}), 11, 16}, {pad(0, 0, {9}), 15, 16}, {pad(0, 0, {10}), 14, 16}, {pad(0, 0, {2, 5}), 0, 16},
        {pad(0, 0, {10, 9}), 15, 16}, {pad(1, 0, {}), 16, 9}, {pad(-1, 0, {}), 16, 8}, {pad(0, 1, {}), 16, 7},
        {pad(0, -1, {}), 16, 6}, {pad(1, -1, {}), 16, 6}, {pad(-1, 1, {}), 16, 7},
        {pad(0, 0, {}, {escape, enter, up, space}), 16, 16},   // the keyboard is not read
    };
    std::vector<input_frame> script;
    for (const auto& c : cases) script.push_back(c.frame);
    run(script, [&](int n) {
        EXPECT_EQ(action_code, cases[n].action) << "case " << n;
        EXPECT_EQ(stick_direction, cases[n].direction) << "case " << n;
    });
}

// B restarts the level in the pause menu and quits in the quit dialog, so
// what B did tells which of the two came up.
TEST_F(EventHandler, EscapeWithReturnInPlayOpensThePauseMenuAndAJoypadIgnoresEscape) {
    dimension = loaded_dimension = 3;
    run({keys({escape, enter}), keys({b})});
    EXPECT_EQ(pending_request, game_request::restart_level) << "restarted from the pause menu";
    EXPECT_EQ(game_state, 30) << "not quit";
    joypad_present = 1;
    run({pad(0, 0, {}, {escape}), pad(0, 0, {3}, {escape})});
    EXPECT_EQ(game_state, 30) << "no quit dialog took button 3 as its B";
}

TEST_F(EventHandler, LeftCtrlWithEEndsTheProgramOnAnyScreenAndDevice) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (int screen : {35, 32, -1}) {
        EXPECT_EXIT(
            {
                if (screen < 0) joypad_present = 1;
                else screen_state = uint8_t(screen);
                run({screen < 0 ? pad(0, 0, {}, {left_ctrl, e}) : keys({left_ctrl, e})});
                std::_Exit(42);   // carried on
            },
            testing::ExitedWithCode(0), "")
            << "screen " << screen;
    }
}

TEST_F(Marker, MovesInTheLeftAndUpperHalfAndScrollsTheViewPastTheMiddle) {
    // A 1024 x 768 screen of 32-pixel tiles: the middle is at x 512, y 384.
    const struct { float x, y, vx, vy; uint8_t direction; float x_after, y_after, vx_after, vy_after; } cases[] = {
        {480, 96, 0, 0, 9, 512, 96, 0, 0},     // reaching the middle does not scroll
        {512, 96, 0, 0, 9, 512, 96, 1, 0},     // past the middle: the view scrolls
        {96, 96, 3, 0, 8, 96, 96, 2, 0},       // left half: the view scrolls back
        {96, 96, 1, 0, 8, 64, 96, 1, 0},       // the view stops at column 1, the marker moves
        {608, 96, 5, 0, 8, 576, 96, 5, 0},     // right half: the marker moves
        {96, 352, 0, 0, 7, 96, 384, 0, 0},     // reaching the middle does not scroll
        {96, 384, 0, 0, 7, 96, 384, 0, 1},
        {96, 384, 0, 4, 6, 96, 384, 0, 3},     // the middle counts as the upper half
        {96, 480, 0, 4, 6, 96, 448, 0, 4},
    };
    int n = 0;
    for (const auto& c : cases) {
        player.x = c.x, player.y = c.y, view_x = c.vx, view_y = c.vy;
        heard.clear();
        step_player(c.direction);
        EXPECT_EQ(std::tuple(player.x, player.y, view_x, view_y), std::tuple(c.x_after, c.y_after, c.vx_after, c.vy_after))
            << "case " << n;
        EXPECT_EQ(std::tuple(heard, player.state), std::tuple(std::vector<std::string>{"step.ogg"}, 22)) << "case " << n++;
    }
}

TEST_F(Marker, AStepTowardABlockingCellIsSilentAndChangesNothing) {
    player.x = player.y = 64;
    view_x = 2, view_y = 3;   // the marker stands on cell (4, 5)
    for (auto [cx, cy] : {std::pair{3, 5}, {5, 5}, {4, 4}, {4, 6}}) world_matrix[cx][cy].use_collision = 1;
    for (uint8_t direction : {6, 7, 8, 9}) step_player(direction);
    EXPECT_EQ(std::tuple(player.x, player.y, view_x, view_y), std::tuple(64.0f, 64.0f, 2.0f, 3.0f));
    player.x = 512, player.y = 384, view_x = 496, view_y = 500;   // on cell (512, 512), the last one
    step_player(9);
    step_player(7);
    EXPECT_FLOAT_EQ(view_x + view_y, 996) << "no step past the last column or row";
    EXPECT_TRUE(heard.empty());
}

TEST_F(Marker, TilesOf128PixelsAndMoreStepByTheirWholeWidth) {
    // A byte-sized pixel step would wrap 200 round to -56.
    apply_configuration_entry("RESOLUTION", "200");
    step_player(9);
    step_player(7);
    EXPECT_EQ(std::tuple(player.x, player.y), std::tuple(200.0f, 200.0f));
    step_player(8);
    EXPECT_FLOAT_EQ(player.x, 0);
}

}  // namespace
