// The event handler, driven by scripted keyboard and joypad frames.
#include <filesystem>
#include <regex>

#include "play_fixture.h"

using namespace play;

namespace {

// What a child process ends with when the handler let it carry on.
constexpr int carried_on = 42;

using event_handler = game;

TEST_F(event_handler, arrows_give_a_direction_and_two_arrows_give_none) {
    apply_configuration_entry("CURSORSPEED", "0");
    const struct {
        std::vector<int> held;
        uint8_t direction;
    } cases[] = {{{up}, 6},          {{down}, 7},       {{left}, 8},        {{right}, 9},
                 {{}, 16},           {{right, down}, 16}, {{up, left}, 16}, {{up, right}, 16},
                 {{down, left}, 16}, {{left, right}, 16}, {{up, down}, 16}, {{space}, 16}};
    std::vector<input_frame> script;
    for (const auto& c : cases) script.push_back(keys(c.held));
    run(script, [&](int frame) {
        EXPECT_EQ(stick_direction, cases[frame].direction) << "case " << frame;
    });
}

TEST_F(event_handler, right_and_down_held_together_never_move_the_marker) {
    player.x = 96;
    player.y = 96;
    run(std::vector<input_frame>(10, keys({right, down})));
    EXPECT_FLOAT_EQ(player.x, 96);
    EXPECT_FLOAT_EQ(player.y, 96);
    EXPECT_FLOAT_EQ(view_x, 0);
    EXPECT_FLOAT_EQ(view_y, 0);
    EXPECT_TRUE(heard.empty());
}

TEST_F(event_handler, cursor_speed_250_steps_every_sixth_frame) {
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

TEST_F(event_handler, keys_give_actions_and_the_key_tested_last_wins) {
    screen_state = 0;   // no screen reacts: only the action is looked at
    const struct {
        std::vector<int> held;
        int32_t action;
    } cases[] = {{{}, 16},       {{space}, 0},        {{a}, 0},          {{b}, 1},
                 {{m}, 23},      {{s}, 15},           {{c}, 4},          {{x}, 4},
                 {{d}, 5},       {{y}, 5},            {{escape}, 22},    {{enter}, 14},
                 {{backspace}, 21}, {{b, m}, 23},     {{escape, enter}, 14},
                 {{enter, backspace}, 21}, {{space, y}, 5}, {{up, a}, 0}};
    std::vector<input_frame> script;
    for (const auto& c : cases) script.push_back(keys(c.held));
    run(script, [&](int frame) {
        EXPECT_EQ(action_code, cases[frame].action) << "case " << frame;
    });
}

TEST_F(event_handler, f12_saves_one_screenshot_per_release) {
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

TEST_F(event_handler, page_keys_change_the_level_on_release_in_debug_mode_only) {
    dimension = 5;
    const std::vector<input_frame> twice_up = {keys({page_up}), keys({}), keys({page_up}),
                                               keys({page_up}), keys({})};
    run(twice_up);
    EXPECT_EQ(dimension, 5);
    cfg_debugmode = 1;
    run(twice_up);
    EXPECT_EQ(dimension, 7);
    run({keys({page_down}), keys({page_down}), keys({})});
    EXPECT_EQ(dimension, 6);
}

TEST_F(event_handler, a_joypad_acts_by_its_lowest_button_and_steers_by_its_stick) {
    joypad_present = 1;
    screen_state = 0;
    apply_configuration_entry("CURSORSPEED", "0");
    const struct {
        input_frame frame;
        int32_t action;
        uint8_t direction;
    } cases[] = {
        {pad(0, 0, {}), 16, 16},        {pad(0, 0, {1}), 4, 16},   {pad(0, 0, {2}), 0, 16},
        {pad(0, 0, {3}), 1, 16},        {pad(0, 0, {4}), 5, 16},   {pad(0, 0, {5}), 12, 16},
        {pad(0, 0, {6}), 13, 16},       {pad(0, 0, {7}), 23, 16},  {pad(0, 0, {8}), 11, 16},
        {pad(0, 0, {9}), 15, 16},       {pad(0, 0, {10}), 14, 16}, {pad(0, 0, {2, 5}), 0, 16},
        {pad(0, 0, {10, 9}), 15, 16},   {pad(1, 0, {}), 16, 9},    {pad(-1, 0, {}), 16, 8},
        {pad(0, 1, {}), 16, 7},         {pad(0, -1, {}), 16, 6},   {pad(1, -1, {}), 16, 6},
        {pad(-1, 1, {}), 16, 7},
        {pad(0, 0, {}, {escape, enter, up, space}), 16, 16},   // the keyboard is not read
    };
    std::vector<input_frame> script;
    for (const auto& c : cases) script.push_back(c.frame);
    run(script, [&](int frame) {
        EXPECT_EQ(action_code, cases[frame].action) << "case " << frame;
        EXPECT_EQ(stick_direction, cases[frame].direction) << "case " << frame;
    });
}

// B restarts the level in the pause menu and quits in the quit dialog, so
// what B did tells which of the two came up.
TEST_F(event_handler, escape_with_return_in_play_opens_the_pause_menu_not_the_quit_dialog) {
    dimension = loaded_dimension = 3;
    run({keys({escape, enter}), keys({b})});
    EXPECT_EQ(loaded_dimension, -1) << "restarted from the pause menu";
    EXPECT_EQ(game_state, 30) << "not quit";
}

TEST_F(event_handler, with_a_joypad_the_keyboard_escape_does_nothing_in_play) {
    joypad_present = 1;
    run({pad(0, 0, {}, {escape}), pad(0, 0, {3}, {escape})});
    EXPECT_EQ(game_state, 30) << "no quit dialog took button 3 as its B";
}

TEST_F(event_handler, left_ctrl_with_e_ends_the_program_on_any_screen_and_device) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (uint8_t screen : {35, 30, 32, 31}) {
        EXPECT_EXIT(
            {
                screen_state = screen;
                run({keys({left_ctrl, e})});
                std::_Exit(carried_on);
            },
            testing::ExitedWithCode(0), "")
            << "screen " << int(screen);
    }
    EXPECT_EXIT(
        {
            joypad_present = 1;
            run({pad(0, 0, {}, {left_ctrl, e})});
            std::_Exit(carried_on);
        },
        testing::ExitedWithCode(0), "");
}

// ---- the marker ----

using marker = game;

TEST_F(marker, moves_in_the_left_and_upper_half_and_scrolls_the_view_past_the_middle) {
    // A 1024 x 768 screen of 32-pixel tiles: the middle is at x 512, y 384.
    const struct {
        float x, y, view_x, view_y;
        uint8_t direction;
        float x_after, y_after, view_x_after, view_y_after;
    } cases[] = {
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
        player.x = c.x;
        player.y = c.y;
        view_x = c.view_x;
        view_y = c.view_y;
        heard.clear();
        step_player(c.direction);
        EXPECT_FLOAT_EQ(player.x, c.x_after) << "case " << n;
        EXPECT_FLOAT_EQ(player.y, c.y_after) << "case " << n;
        EXPECT_FLOAT_EQ(view_x, c.view_x_after) << "case " << n;
        EXPECT_FLOAT_EQ(view_y, c.view_y_after) << "case " << n;
        EXPECT_EQ(heard, std::vector<std::string>{"step.ogg"}) << "case " << n;
        EXPECT_EQ(player.state, 22) << "case " << n;
        ++n;
    }
}

TEST_F(marker, a_step_toward_a_blocking_cell_is_silent_and_changes_nothing) {
    player.x = 64;
    player.y = 64;
    view_x = 2;
    view_y = 3;   // the marker stands on cell (4, 5)
    world_matrix[3][5].use_collision = 1;
    world_matrix[5][5].use_collision = 1;
    world_matrix[4][4].use_collision = 1;
    world_matrix[4][6].use_collision = 1;
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

TEST_F(marker, the_edges_of_the_matrix_block_like_walls) {
    // Cell (0, 0) is free; what lies left of and above it is outside.
    step_player(8);
    step_player(6);
    EXPECT_FLOAT_EQ(player.x, 0);
    EXPECT_FLOAT_EQ(player.y, 0);
    EXPECT_FLOAT_EQ(view_x, 0);
    EXPECT_FLOAT_EQ(view_y, 0);
    // The last column and row, 512, with the marker past the middle.
    player.x = 512;
    player.y = 384;
    view_x = 496;
    view_y = 500;
    step_player(9);
    step_player(7);
    EXPECT_FLOAT_EQ(view_x, 496);
    EXPECT_FLOAT_EQ(view_y, 500);
    EXPECT_TRUE(heard.empty());
}

TEST_F(marker, tiles_of_128_pixels_and_more_step_by_their_whole_width) {
    // A byte-sized pixel step would wrap 200 round to -56.
    apply_configuration_entry("RESOLUTION", "200");
    step_player(9);
    step_player(7);
    EXPECT_FLOAT_EQ(player.x, 200);
    EXPECT_FLOAT_EQ(player.y, 200);
    step_player(8);
    EXPECT_FLOAT_EQ(player.x, 0);
}

// ---- what the actions do on the front-end screens ----

using screens = game;

TEST_F(screens, return_on_the_title_starts_a_game_and_on_the_score_table_goes_to_the_title) {
    screen_state = 30;
    dimension = loaded_dimension = 7;
    run({keys({enter})});
    EXPECT_EQ(dimension, 1);
    EXPECT_EQ(loaded_dimension, 0);
    EXPECT_EQ(screen_state, 23);

    screen_state = 31;
    run({keys({enter})});
    EXPECT_EQ(screen_state, 30);
}

TEST_F(screens, left_and_right_on_the_options_switch_the_music) {
    folder.write("MUSIC/options.ogg", sound_files::ogg());
    cfg_ingamemusic = folder.path() + "/MUSIC/";
    load_music_list();
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

TEST_F(screens, m_in_play_starts_a_track) {
    folder.write("MUSIC/one.ogg", sound_files::ogg());
    folder.write("MUSIC/two.ogg", sound_files::ogg());
    cfg_ingamemusic = folder.path() + "/MUSIC/";
    load_music_list();
    run({keys({m})});
    int streaming = 0;
    for (const music_track& track : music_tracks) streaming += music_exists(track.sound) ? 1 : 0;
    EXPECT_EQ(streaming, 1);
}

}  // namespace
