// The title menu, the options and the music option; the pause menu and the quit dialog.
#include "front_end_fixture.h"
#include "core/frame_end.h"
#include "core/game_phase.h"
#include "game/requests.h"

using namespace front;

namespace {

using Menus = FrontEnd;
using Dialogs = FrontEnd;

// Once the table shows, Return ends it; the title then wants a press of its own.
void leave_at_the_table() {
    each_frame = [] {
        const size_t n = seen.size();
        if (n >= 2 && seen[n - 1].screen == screen_state_score_table && seen[n - 2].screen != screen_state_score_table)
            play_from_now(repeated(keys({enter}), 4) + repeated(keys({}), 1) + repeated(keys({enter}), 2));
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

TEST_F(Menus, RightLeavesTheMusicPlayingAndLeftStopsItAtTheNextFrame) {
    music({"options.ogg", "menu.ogg"});
    music_track& options = music_tracks.at(1);
    ASSERT_EQ(options.file_name, "options.ogg");
    screen_state = screen_state_playing;   // opened from a game's pause menu
    loaded_dimension = dimension = 1;
    struct state { int sound; bool playing; uint8_t music; };
    std::vector<state> states;
    each_frame = [&] {
        states.push_back({options.sound, music_exists(options.sound), music_on});
    };
    play_from_now({keys({}), keys({right}), keys({right}), keys({left}), keys({}), keys({}), keys({right}), keys({}),
                   keys({a})});
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
    free_music();
    play_from_now({keys({}), keys({left}), keys({m})});
    for (int frame = 0; frame < 2; ++frame) present_frame(), handle_events();   // the play screen's next frames
    EXPECT_EQ(tracks_playing(), 1) << "in play Left leaves the music on, and M starts a track";
}

// Left alone, the title shows the table at its 1001st frame; the options go back to a fresh title.
TEST_F(Menus, ATitleLeftAloneShowsTheTableAtItsFrame1001AndTheOptionsOpenAFreshOne) {
    leave_at_the_table();
    title_menu();
    EXPECT_EQ(title_frames_before_the_table(0), 1001u);
    EXPECT_EQ(screen_state, screen_state_game_requested);
    EXPECT_EQ(dimension, 1);
    EXPECT_EQ(loaded_dimension, 0);
    seen.clear();
    loaded_dimension = dimension = 4;
    play_from_now(repeated(keys({}), 10) + repeated(keys({s}), 1) + repeated(keys({}), 9) + repeated(keys({a}), 1));
    leave_at_the_table();
    title_menu();
    size_t after = 0;
    while (seen[after].screen != screen_state_options) ++after;
    while (seen[after].screen == screen_state_options) ++after;
    ASSERT_EQ(seen[after].screen, screen_state_title);
    EXPECT_FLOAT_EQ(seen[after].fade, 255.0f - 0.2f);
    EXPECT_FLOAT_EQ(seen[after].ticker, 1.0f - 0.001f);
    EXPECT_EQ(title_frames_before_the_table(after), 1001u);
}

TEST_F(Dialogs, RestartGivesBackTheScoreTheDimensionBeganWith) {
    // In the first dimension nothing was scored before it began.
    const struct { int32_t dimension, score, level_score; } cases[] = {{3, 500, 120}, {1, 90, 0}};
    for (const auto& c : cases) {
        screen_state = screen_state_playing;
        dimension = loaded_dimension = c.dimension;
        score = c.score;
        level_score = c.level_score;
        play_from_now({keys({}), keys({b})});
        pause_menu();
        act_on_request();
        EXPECT_EQ(score, c.level_score) << c.dimension;
        EXPECT_EQ(loaded_dimension, -1) << "the level is built again";
        EXPECT_EQ(dimension, c.dimension);
    }
}

// Left alone, table and title take turns for ever at the same stack depth.
TEST_F(Menus, TwentyTurnsOfTableAndTitleKeepTheSameDepth) {
    close_headless_screen();
    open_headless_screen(64, 32);   // a tiny screen keeps the table's laps short
    screen_width = 64;
    screen_height = 32;
    score = 50;   // the result of the game just over: a row that scrolls
    int tables = 0;
    std::vector<uintptr_t> depths;
    each_frame = [&] {
        const size_t n = seen.size();
        tables += n >= 2 && seen[n - 1].screen == screen_state_score_table && seen[n - 2].screen != screen_state_score_table;
        if (screen_state != screen_state_title) return;
        depths.push_back(reinterpret_cast<uintptr_t>(__builtin_frame_address(0)));
        if (tables == 21) screen_state = screen_state_game_requested;   // enough: play
    };
    play_from_now({keys({enter})});   // Return ends the name entry; then nobody touches anything
    enter_high_score();
    EXPECT_EQ(tables, 21) << "the first after the name entry, then twenty turns";
    ASSERT_GT(depths.size(), 20u * 1001u);
    EXPECT_EQ(*std::min_element(depths.begin(), depths.end()), *std::max_element(depths.begin(), depths.end()));
}

// A cancelled quit dialog: the pause menu goes on; the X, still held, closes it too.
TEST_F(Dialogs, ACancelledQuitGoesBackToThePauseMenu) {
    screen_state = screen_state_playing;
    play_from_now({keys({}), keys({y}), keys({}), keys({x}), keys({x})});
    pause_menu();
    EXPECT_EQ(std::tuple(seen.size(), seen.back().dialogs, game_state), std::tuple(4u, 1, int(game_state_running)));
    music({"one.ogg", "options.ogg"});   // options opened from a pause menu go straight back to the game, a track playing
    loaded_dimension = dimension = 1;
    play_from_now({keys({}), keys({s}), keys({}), keys({}), keys({}), keys({a}), keys({x})});
    pause_menu();
    EXPECT_EQ(std::tuple(int(seen.back().screen), open_dialogs, tracks_playing()), std::tuple(int(screen_state_options), 0, 1));
}

TEST_F(Dialogs, AHeldReturnOpensAPauseMenuAFrameAtMostEightAndOneXClosesThemAll) {
    for (int held : {3, 30}) {
        seen.clear();
        screen_state = screen_state_playing;
        play_from_now(repeated(keys({enter}), held) + repeated(keys({x}), 1));
        const int start = frame_number();
        handle_events();   // the game's own frame
        int deepest = 0;
        for (const seen_frame& f : seen) deepest = std::max(deepest, f.dialogs);
        EXPECT_EQ(deepest, std::min(held, max_open_dialogs)) << held;
        EXPECT_EQ(open_dialogs, 0) << held;
        EXPECT_EQ(frame_number() - start, held) << "all closed in the frame of the X";
        set_input_script({});
        flip_screen();
    }
}
