// The event handler, driven by scripted keyboard and joypad frames.
#include <filesystem>
#include <regex>

#include "play_fixture.h"

using namespace play;

namespace {

using EventHandler = Game;
using Marker = Game;
using Screens = Game;

TEST_F(EventHandler, ArrowsGiveADirectionAndTwoArrowsGiveNone) {
    apply_configuration_entry("CURSORSPEED", "0");
    const struct { std::vector<int> held; uint8_t direction; } cases[] = {
        {{up}, 6}, {{down}, 7}, {{left}, 8}, {{right}, 9}, {{}, 16}, {{right, down}, 16}, {{up, left}, 16},
        {{up, right}, 16}, {{down, left}, 16}, {{left, right}, 16}, {{up, down}, 16}, {{space}, 16}};
    std::vector<input_frame> script;
    for (const auto& c : cases) script.push_back(keys(c.held));
    run(script, [&](int n) { EXPECT_EQ(stick_direction, cases[n].direction) << "case " << n; });
    // Held for ten frames, right and down together never move the marker.
    player.x = player.y = 96;
    apply_configuration_entry("CURSORSPEED", "255");
    heard.clear();
    run(std::vector<input_frame>(10, keys({right, down})));
    EXPECT_FLOAT_EQ(player.x, 96);
    EXPECT_FLOAT_EQ(player.y, 96);
    EXPECT_FLOAT_EQ(view_x + view_y, 0);
    EXPECT_TRUE(heard.empty());
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

TEST_F(EventHandler, KeysGiveActionsAndTheKeyTestedLastWins) {
    screen_state = 0;   // no screen reacts: only the action is looked at
    const struct { std::vector<int> held; int32_t action; } cases[] = {
        {{}, 16}, {{space}, 0}, {{a}, 0}, {{b}, 1}, {{m}, 23}, {{s}, 15}, {{c}, 4}, {{x}, 4}, {{d}, 5}, {{y}, 5},
        {{escape}, 22}, {{enter}, 14}, {{backspace}, 21}, {{b, m}, 23}, {{escape, enter}, 14},
        {{enter, backspace}, 21}, {{space, y}, 5}, {{up, a}, 0}};
    std::vector<input_frame> script;
    for (const auto& c : cases) script.push_back(keys(c.held));
    run(script, [&](int n) { EXPECT_EQ(action_code, cases[n].action) << "case " << n; });
}

TEST_F(EventHandler, F12SavesOneScreenshotPerRelease) {
    namespace fs = std::filesystem;
    fs::create_directories(folder.path() + "/shots");
    auto shots = [&] {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder.path() + "/shots"))
            names.push_back(entry.path().filename().string());
        return names;
    };
    std::vector<int32_t> actions;
    std::vector<size_t> counts;
    run({keys({f12}), keys({f12}), keys({}), keys({}), keys({f12}), keys({})}, [&](int) {
        actions.push_back(action_code);
        counts.push_back(shots().size());
    });
    EXPECT_EQ(actions, (std::vector<int32_t>{16, 16, 18, 16, 16, 18}));
    EXPECT_EQ(counts[1], 0u);   // held: nothing yet
    EXPECT_EQ(counts[2], 1u);
    EXPECT_EQ(counts[4], 1u);
    // Within the same second the second release writes the same name again.
    EXPECT_GE(counts[5], 1u);
    EXPECT_LE(counts[5], 2u);
    const std::string name = shots().front();
    EXPECT_TRUE(std::regex_match(name, std::regex("zorbel[0-9]{14}\\.bmp"))) << name;
    const int image = load_sprite(folder.path() + "/shots/" + name, false);
    EXPECT_EQ(sprite_width(image), width - 2);
    EXPECT_EQ(sprite_height(image), height - 2);
}

TEST_F(EventHandler, PageKeysChangeTheLevelOnReleaseInDebugModeOnly) {
    dimension = 5;
    const std::vector<input_frame> twice_up = {keys({page_up}), keys({}), keys({page_up}), keys({page_up}), keys({})};
    run(twice_up);
    EXPECT_EQ(dimension, 5);
    cfg_debugmode = 1;
    run(twice_up);
    EXPECT_EQ(dimension, 7);
    run({keys({page_down}), keys({page_down}), keys({})});
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
    EXPECT_EQ(loaded_dimension, -1) << "restarted from the pause menu";
    EXPECT_EQ(game_state, 30) << "not quit";
    joypad_present = 1;
    run({pad(0, 0, {}, {escape}), pad(0, 0, {3}, {escape})});
    EXPECT_EQ(game_state, 30) << "no quit dialog took button 3 as its B";
}

TEST_F(EventHandler, LeftCtrlWithEEndsTheProgramOnAnyScreenAndDevice) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (int screen : {35, 30, 32, 31, -1}) {
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
        {448, 96, 0, 0, 9, 480, 96, 0, 0},     // ends at 480, short of the middle
        {512, 96, 0, 0, 9, 512, 96, 1, 0},     // past the middle: the view scrolls
        {96, 96, 3, 0, 8, 96, 96, 2, 0},       // left half: the view scrolls back
        {96, 96, 1, 0, 8, 64, 96, 1, 0},       // the view stops at column 1, the marker moves
        {608, 96, 5, 0, 8, 576, 96, 5, 0},     // right half: the marker moves
        {96, 352, 0, 0, 7, 96, 384, 0, 0},     // reaching the middle does not scroll
        {96, 384, 0, 0, 7, 96, 384, 0, 1},
        {96, 384, 0, 4, 6, 96, 384, 0, 3},     // the middle counts as the upper half
        {96, 192, 0, 1, 6, 96, 160, 0, 1},
        {96, 480, 0, 4, 6, 96, 448, 0, 4},
    };
    int n = 0;
    for (const auto& c : cases) {
        player.x = c.x, player.y = c.y, view_x = c.vx, view_y = c.vy;
        heard.clear();
        step_player(c.direction);
        EXPECT_FLOAT_EQ(player.x, c.x_after) << "case " << n;
        EXPECT_FLOAT_EQ(player.y, c.y_after) << "case " << n;
        EXPECT_FLOAT_EQ(view_x, c.vx_after) << "case " << n;
        EXPECT_FLOAT_EQ(view_y, c.vy_after) << "case " << n;
        EXPECT_EQ(heard, std::vector<std::string>{"step.ogg"}) << "case " << n;
        EXPECT_EQ(player.state, 22) << "case " << n++;
    }
}

TEST_F(Marker, AStepTowardABlockingCellIsSilentAndChangesNothing) {
    player.x = player.y = 64;
    view_x = 2, view_y = 3;   // the marker stands on cell (4, 5)
    for (auto [cx, cy] : {std::pair{3, 5}, {5, 5}, {4, 4}, {4, 6}}) world_matrix[cx][cy].use_collision = 1;
    for (uint8_t direction : {6, 7, 8, 9}) step_player(direction);
    run(std::vector<input_frame>(4, keys({right})));
    EXPECT_FLOAT_EQ(player.x, 64);
    EXPECT_FLOAT_EQ(player.y, 64);
    EXPECT_FLOAT_EQ(view_x, 2);
    EXPECT_FLOAT_EQ(view_y, 3);
    EXPECT_EQ(player.state, 22);
    EXPECT_TRUE(heard.empty());
    world_matrix[5][5].use_collision = 0;
    step_player(9);
    EXPECT_FLOAT_EQ(player.x, 96);
}

TEST_F(Marker, TheEdgesOfTheMatrixBlockLikeWalls) {
    // Cell (0, 0) is free; what lies left of and above it is outside.
    step_player(8);
    step_player(6);
    EXPECT_FLOAT_EQ(player.x + player.y + view_x + view_y, 0);
    // The last column and row, 512, with the marker past the middle.
    player.x = 512, player.y = 384, view_x = 496, view_y = 500;
    step_player(9);
    step_player(7);
    EXPECT_FLOAT_EQ(view_x, 496);
    EXPECT_FLOAT_EQ(view_y, 500);
    EXPECT_TRUE(heard.empty());
}

TEST_F(Marker, TilesOf128PixelsAndMoreStepByTheirWholeWidth) {
    // A byte-sized pixel step would wrap 200 round to -56.
    apply_configuration_entry("RESOLUTION", "200");
    step_player(9);
    step_player(7);
    EXPECT_FLOAT_EQ(player.x, 200);
    EXPECT_FLOAT_EQ(player.y, 200);
    step_player(8);
    EXPECT_FLOAT_EQ(player.x, 0);
}

TEST_F(Screens, LeftAndRightOnTheOptionsSwitchTheMusic) {
    music({"options.ogg"});
    music_track& options = music_tracks.at(0);
    screen_state = 32;
    run({keys({right})});   // on already: nothing starts
    EXPECT_EQ(options.sound, 0);
    run({keys({left})});
    EXPECT_EQ(music_on, 0);
    run({keys({right})});
    EXPECT_EQ(music_on, 1);
    const int playing = options.sound;
    EXPECT_TRUE(music_exists(playing));
    run({keys({right})});   // no restart while it plays
    EXPECT_EQ(options.sound, playing);
    screen_state = 35;   // elsewhere the arrows leave the music alone
    run({keys({left})});
    EXPECT_EQ(music_on, 1);
}

TEST_F(Screens, MInPlayStartsATrack) {
    music({"one.ogg", "two.ogg"});
    run({keys({m})});
    int streaming = 0;
    for (const music_track& track : music_tracks) streaming += music_exists(track.sound) ? 1 : 0;
    EXPECT_EQ(streaming, 1);
}

}  // namespace
