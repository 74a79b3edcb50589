// The title menu, the options screen and the music option; the pause menu
// and the quit dialog.
#include "front_end_fixture.h"

using namespace front;

namespace {

using menus = front_end;
using dialogs = front_end;

// Frames seen on one screen, in order.
std::vector<seen_frame> frames_of(uint8_t screen) {
    std::vector<seen_frame> out;
    for (const seen_frame& f : seen)
        if (f.screen == screen) out.push_back(f);
    return out;
}

// Once the table shows, Return is held: the table ends and so does the title
// menu after it.
void leave_at_the_table() {
    each_frame = [] {
        if (seen.back().screen == screen_state_score_table && seen.size() >= 2 &&
            seen[seen.size() - 2].screen != screen_state_score_table)
            // Return ends the table; the title then wants a press of its own.
            play_from_now(repeated(keys({enter}), 4) + std::vector<input_frame>{keys({})} +
                          repeated(keys({enter}), 2));
    };
}

// Title frames between the start of a title menu and its table.
size_t title_frames_before_the_table(size_t from) {
    size_t n = 0;
    for (size_t i = from; i < seen.size() && seen[i].screen != screen_state_score_table; ++i)
        n += seen[i].screen == screen_state_title ? 1 : 0;
    return n;
}

}  // namespace

TEST_F(menus, the_music_option_line_has_three_blanks_before_its_word) {
    EXPECT_EQ(music_option_line(), "  PLAY INGAME MUSIC :   ON |");
    music_on = 0;
    EXPECT_EQ(music_option_line(), "  PLAY INGAME MUSIC :   OFF |");
}

TEST_F(menus, right_leaves_the_music_playing_and_left_stops_it_at_the_next_frame) {
    music({"options.ogg", "menu.ogg"});
    music_track& options = music_tracks.at(1);
    ASSERT_EQ(options.file_name, "options.ogg");
    screen_state = screen_state_playing;   // opened from a game's pause menu
    loaded_dimension = dimension = 1;
    struct state { int sound; bool playing; uint8_t music; };
    std::vector<state> states;
    each_frame = [&] { states.push_back({options.sound, music_exists(options.sound), music_on}); };
    play_from_now({keys({}), keys({right}), keys({right}), keys({left}), keys({}), keys({}),
                   keys({right}), keys({}), keys({a})});
    options_menu();

    ASSERT_EQ(states.size(), 8u);
    const int first = states[0].sound;
    EXPECT_TRUE(states[0].playing);
    EXPECT_EQ(states[1].sound, first) << "right while on: no restart";
    EXPECT_TRUE(states[1].playing);
    EXPECT_EQ(states[2].music, 0) << "left switches the music off...";
    EXPECT_TRUE(states[2].playing) << "...and it still plays in that frame";
    EXPECT_FALSE(states[3].playing) << "stopped at the next";
    EXPECT_EQ(states[5].music, 1);
    EXPECT_TRUE(states[5].playing) << "right while off starts it again";
    EXPECT_NE(states[5].sound, first);
    EXPECT_EQ(screen_state, screen_state_playing);
    EXPECT_EQ(tracks_playing(), 1) << "back in the game a track plays";
}

TEST_F(menus, a_title_menu_left_alone_shows_the_table_at_its_1001st_frame) {
    leave_at_the_table();
    title_menu();
    EXPECT_EQ(title_frames_before_the_table(0), 1001u);
    EXPECT_EQ(screen_state, screen_state_game_requested);
    EXPECT_EQ(dimension, 1);
    EXPECT_EQ(loaded_dimension, 0);
}

// Before any game, and after one: the options go back to a title menu that
// starts afresh (its fade, its ticker, its count of frames to the table).
TEST_F(menus, options_closed_from_the_title_open_a_fresh_title_menu) {
    for (int32_t built : {0, 4}) {
        seen.clear();
        loaded_dimension = dimension = built;
        play_from_now(repeated(keys({}), 10) + std::vector<input_frame>{keys({s})} +
                      repeated(keys({}), 9) + std::vector<input_frame>{keys({a})});
        leave_at_the_table();
        title_menu();

        const std::vector<seen_frame> options = frames_of(screen_state_options);
        ASSERT_EQ(options.size(), 10u) << built;
        size_t after = 0;
        while (seen[after].screen != screen_state_options) ++after;
        while (seen[after].screen == screen_state_options) ++after;
        ASSERT_EQ(seen[after].screen, screen_state_title) << built;
        EXPECT_FLOAT_EQ(seen[after].fade, 255.0f - 0.2f) << built;
        EXPECT_FLOAT_EQ(seen[after].ticker, 1.0f - 0.001f) << built;
        EXPECT_EQ(seen[after - options.size() - 1].screen, screen_state_title);
        EXPECT_LT(seen[after - options.size() - 1].fade, 255.0f - 1.0f)
            << "the first title had faded on";
        EXPECT_EQ(title_frames_before_the_table(after), 1001u) << built;
        EXPECT_EQ(screen_state, screen_state_game_requested) << built;
    }
}

TEST_F(dialogs, options_from_the_pause_menu_return_straight_to_the_game_with_a_track) {
    music({"one.ogg", "options.ogg"});
    screen_state = screen_state_playing;
    loaded_dimension = dimension = 1;
    play_from_now({keys({}), keys({s}), keys({}), keys({}), keys({}), keys({a})});
    pause_menu();
    EXPECT_EQ(screen_state, screen_state_playing);
    EXPECT_EQ(tracks_playing(), 1);
    EXPECT_EQ(open_dialogs, 0);
    EXPECT_EQ(frames_of(screen_state_options).size(), 4u);
    EXPECT_EQ(seen.back().screen, screen_state_options) << "the pause menu drew no more";
}

TEST_F(dialogs, return_held_three_frames_opens_three_pause_menus_and_one_x_closes_them) {
    screen_state = screen_state_playing;
    play_from_now(repeated(keys({enter}), 3) + std::vector<input_frame>{keys({x})});
    const int start = frame_number();
    handle_events();   // the game's own frame
    int deepest = 0;
    for (const seen_frame& f : seen) deepest = std::max(deepest, f.dialogs);
    EXPECT_EQ(deepest, 3);
    EXPECT_EQ(open_dialogs, 0);
    EXPECT_EQ(frame_number() - start, 3) << "all three closed in the frame of the X";
    EXPECT_EQ(action_code, action_x);
}

TEST_F(dialogs, a_held_return_opens_at_most_eight_and_one_x_still_closes_them_all) {
    screen_state = screen_state_playing;
    play_from_now(repeated(keys({enter}), 30) + std::vector<input_frame>{keys({x})});
    handle_events();
    int deepest = 0;
    for (const seen_frame& f : seen) deepest = std::max(deepest, f.dialogs);
    EXPECT_EQ(deepest, max_open_dialogs);
    EXPECT_EQ(open_dialogs, 0);
    EXPECT_EQ(seen.size(), 30u);
}

TEST_F(dialogs, restart_gives_back_the_score_the_dimension_began_with) {
    screen_state = screen_state_playing;
    dimension = loaded_dimension = 3;
    score = 500;
    level_score = 120;
    play_from_now({keys({}), keys({b})});
    pause_menu();
    EXPECT_EQ(score, 120);
    EXPECT_EQ(loaded_dimension, -1) << "the level is built again";
    EXPECT_EQ(dimension, 3);

    // In the first dimension nothing was scored before it began.
    dimension = loaded_dimension = 1;
    score = 90;
    level_score = 0;
    play_from_now({keys({}), keys({b})});
    pause_menu();
    EXPECT_EQ(score, 0);
}

// The quit dialog opened from the pause menu's quit line and cancelled: the
// pause menu goes on with its fade, and the X, still held, closes it too.
TEST_F(dialogs, a_cancelled_quit_goes_back_to_the_pause_menu_which_the_held_x_closes) {
    screen_state = screen_state_playing;
    play_from_now({keys({}), keys({}), keys({}), keys({y}), keys({}), keys({x}), keys({x})});
    pause_menu();
    ASSERT_EQ(seen.size(), 6u);
    const float step = 0.2f;
    for (size_t i : {0u, 1u, 2u}) EXPECT_EQ(seen[i].dialogs, 1);
    EXPECT_EQ(seen[3].dialogs, 2) << "the quit dialog";
    EXPECT_EQ(seen[4].dialogs, 2);
    EXPECT_FLOAT_EQ(seen[3].fade, 255.0f - step) << "fresh";
    EXPECT_EQ(seen[5].dialogs, 1) << "the pause menu again";
    EXPECT_NEAR(seen[5].fade, 255.0f - 4 * step, 1e-3) << "where it was";
    EXPECT_EQ(game_state, 30);
    EXPECT_EQ(open_dialogs, 0);
}

TEST_F(dialogs, escape_in_a_pause_menu_opens_the_quit_dialog_whose_b_quits) {
    screen_state = screen_state_playing;
    score = 0;
    play_from_now({keys({}), keys({escape}), keys({b}), keys({}), keys({x})});
    pause_menu();
    EXPECT_EQ(game_state, 25);
    EXPECT_EQ(quit_requested, 1);
    EXPECT_EQ(count_screen(screen_state_name_entry), 0u) << "no points, no name";
    EXPECT_EQ(seen.back().dialogs, 1) << "the pause menu stays until continued";
}
