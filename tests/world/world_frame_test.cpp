// The play frame: its order, the display, the end of a level, the banner and game over.
#include "core/game_phase.h"
#include "core/machine.h"
#include "core/screens.h"
#include "game/event_dispatch.h"
#include "game/requests.h"
#include "game/startup.h"
#include "play_world.h"
#include "support/held_keys.h"
#include "text/text_engine.h"
#include "world/level_state.h"
#include "world/overlay.h"

using namespace play_world;

namespace {

class Frame : public LevelInPlay {
protected:
    void SetUp() override {
        LevelInPlay::SetUp();
        init_overlay_globals();
        critical_mass = 5;   // the level goes on
        dimension = loaded_dimension = 1;
    }
    const std::string& text(int line) { return (lines = hud_lines())[size_t(line)].text; }
    std::vector<int32_t> scores_over(int frames) {
        std::vector<int32_t> shown;
        for (int i = 0; i < frames; ++i) {
            frame();
            shown.push_back(score);
        }
        return shown;
    }
    std::array<hud_line, 5> lines;
};

enum { score_line, time_line, mass_line, dimension_line, best_line };

// Counted points add one a frame to any score; what still counts at a new game is gone.
TEST_F(Frame, CountedPointsAddToAnyScoreOneAFrameAndNotToTheNextGame) {
    world_object coin;
    coin.score = 25, coin.count_to_score = 1;
    lay(1, 1, {"BB"});
    put_object(1, 1, 0, "COIN", coin);
    put_object(2, 1, 0, "COIN", coin);
    score = 100;
    stand_on(1, 1);
    const std::vector<int32_t> shown = scores_over(27);
    EXPECT_EQ(shown.front(), 101) << "counting starts in the frame of the pick-up";
    EXPECT_EQ(shown[24], 125);
    EXPECT_EQ(shown.back(), 125);
    score = 20;   // a loss: the collected points are a floor the score climbs back to
    EXPECT_EQ(scores_over(6).back(), 25);
    stand_on(2, 1);
    EXPECT_EQ(scores_over(5).back(), 30);
    reset_game_counters();   // Return on the title menu
    EXPECT_EQ(scores_over(30).back(), 0);
}

// At the start of a level a step left or up moves the marker, which paints; the view stays.
TEST_F(Frame, TheFirstStepLeftOrUpMovesTheMarker) {
    const struct { uint8_t direction; int32_t x, y; } steps[] = {{stick_left, 2, 3}, {stick_up, 3, 2}};
    for (const auto& s : steps) {
        lay(1, 1, {".....", ".....", ".....", "....."});
        stand_on(3, 3);
        frame();
        step_player(s.direction);
        frame();
        EXPECT_EQ(std::tuple(view_x, view_y), std::tuple(0.0f, 0.0f));
        EXPECT_EQ(kind_at(s.x, s.y), lab_blue_floor) << "direction " << int(s.direction);
    }
}

// Walled in: the game ends at once, nothing of the level runs on, game over sounds before the title.
TEST_F(Frame, AWalledInPlayerEndsTheGameAndTheLevelStopsThere) {
    cfg_gamemode = "HARDCORE";
    lay(1, 1, {"###", "#.#", "#b#", "###"});
    stand_on(2, 2);
    critical_mass = 0;                 // would end the level
    time_left = 0;
    clock_frames = clock_tick_limit;   // would tick the clock below 0
    static std::vector<std::string> heard_at_the_title;
    heard_at_the_title.clear();
    screen_frame_seen = [] {
        if (heard_at_the_title.empty()) heard_at_the_title = heard;
    };
    press_keys_from_now({scripted::enter});   // the title menu starts a new game
    run_frame();
    EXPECT_EQ(pending_request, game_request::trapped);
    act_on_request();   // as the main loop's next pass does first
    screen_frame_seen = nullptr;
    set_input_script({});
    EXPECT_EQ(heard_at_the_title, (std::vector<std::string>{"step.ogg", "gameover.ogg"}));
    EXPECT_EQ(std::count(heard.begin(), heard.end(), "leveldone.ogg"), 0);
    EXPECT_EQ(std::tuple(time_left, pending_request, screen_state), std::tuple(0, game_request::none, 23));
}

TEST_F(Frame, TheDisplayWritesTheCountersWhereTheyBelong) {
    score = 1234, time_left = -1, critical_mass = 17, dimension = 3;
    const std::string expected[] = {" SCORE 1234|", " TIME -1|", " CRITICAL MASS 17|", " DIMENSION 3|"};
    for (int line = score_line; line <= dimension_line; ++line) EXPECT_EQ(text(line), expected[line]);
    // Fractions of the screen; the best score at half size.
    EXPECT_EQ(std::tuple(lines[score_line].x, lines[score_line].y, lines[time_line].x, lines[mass_line].x),
              std::tuple(0.70f * width, 0.05f * height, 0.06f * width, 0.40f * width));
    EXPECT_EQ(std::tuple(lines[best_line].y, lines[best_line].zoom), std::tuple(0.05f * height, 0.5f));
    highscore_best = 30;   // a new record shows as the best at once
    for (auto [points, best] : {std::pair{20, " HIGHSCORE:  30|"}, {30, " HIGHSCORE:  30|"}, {45, " HIGHSCORE:  45|"}}) {
        score = score_target = points;
        EXPECT_EQ(text(best_line), best);
    }
}

TEST_F(Frame, ACriticalMassBelowOneShowsZeroAndEndsTheLevel) {
    critical_mass = -2, score = 77, time_left = 9;
    frame();
    EXPECT_EQ(text(mass_line), " CRITICAL MASS 0|");
    EXPECT_EQ(std::tuple(dimension, time_left, level_score), std::tuple(2, 0, 77));
    EXPECT_EQ(heard, std::vector<std::string>{"leveldone.ogg"});
}

TEST_F(Frame, ALevelEndsOnAClockTickAndWithoutBlendedSpritesWithoutEndingTheGame) {
    critical_mass = 0;
    clock_frames = clock_tick_limit;   // this frame's clock step ticks
    frame();
    clock_step(-1);
    EXPECT_EQ(time_left, 0);
    EXPECT_EQ(dimension, 2) << "no game over, no new game";
    lay(1, 1, {"."});
    cfg_usesprite3d = 0;   // nothing is drawn
    critical_mass = 0;
    begin_blended_pass();
    clear_screen(rgb(1, 2, 3));
    world_frame();
    end_blended_pass();
    EXPECT_EQ(pixel_of_cell(1, 1), rgb(1, 2, 3));
    EXPECT_EQ(dimension, 3);
}

TEST_F(Frame, RulesRunForVisibleTilesAndShowTheirResultAtOnce) {
    lay(2, 2, {"bb", "bb"});
    lay(30, 2, {"bb", "bb"});   // beyond the window of 20 columns
    frame();
    EXPECT_EQ(std::tuple(kind_at(2, 2), kind_at(30, 2)), std::tuple(lab_fixed_floor, lab_blue_floor));
    // Shown fixed in the frame that fixed it (look mid-tile: the full-screen pass shifts a fraction).
    EXPECT_EQ(pixel_of_cell(2, 2), fixed_colour);
    // The right neighbour is judged after (2, 2) is fixed; the lower row has nothing good below.
    EXPECT_EQ(std::tuple(kind_at(3, 2), kind_at(2, 3), kind_at(3, 3)), std::tuple(lab_fixed_floor, lab_blue_floor, lab_blue_floor));
    EXPECT_EQ(critical_mass, 5 - 2);
    const int32_t grab = grabbed_sprite;   // the full-screen pass's picture, replaced every frame
    frame();
    EXPECT_FALSE(blended_exists(grab));
}

TEST_F(Frame, EndingTheGameAfterQuittingEndsTheProgram) {
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT((quit_requested = 1, end_game()), ::testing::ExitedWithCode(0), "");
}

// The banner and the game-over display on an 800-pixel screen.
class Sequences : public Frame {
protected:
    static void SetUpTestSuite() { open_headless_screen(800, 600); }
    void SetUp() override {
        Frame::SetUp();
        screen_width = 800, screen_height = 600;
    }
};

TEST_F(Sequences, TheBannerRunsAFrameForEveryFivePixelsOncePerLevel) {
    glyph& d = glyph_table['D'];   // a one-letter font: the "D" of DIMENSION, 16 pixels
    d.blended_sprite = create_blended(tile_graphics.front().sprite), d.width = d.height = 16;
    // One banner frame, whose zoom 10 / 0 has no size, shows no text; of two, the second's zoom is 10 / 0.025.
    for (auto [wide, zoomed] : {std::pair{6.0f, 16}, {11.0f, 16 * 400}}) {
        screen_width = wide;
        show_dimension_banner();
        EXPECT_EQ(blended_width(d.blended_sprite), zoomed) << wide;
    }
    glyph_table['D'] = glyph{};
    screen_width = 800;
    lay(1, 1, {"..."});
    new_level_banner = 1;
    const int before = frame_number();
    frame();
    EXPECT_EQ(frame_number() - before, 160);
    EXPECT_EQ(new_level_banner, 0);
    EXPECT_EQ(text_pen_x, 0.0f) << "the next frame's texts start where they should";
    EXPECT_EQ(pixel_of_cell(2, 1), floor_colour) << "the frame goes on and draws the level";
    const int again = frame_number();
    frame();
    EXPECT_EQ(frame_number(), again);
}

TEST_F(Sequences, GameOverRunsFortyFramesThenEndsTheGame) {
    press_keys_from_now({scripted::enter});
    const int before = frame_number();
    show_game_over(1);
    EXPECT_EQ(frame_number() - before, 40 + 1) << "and one of the title menu, left at once";
    EXPECT_EQ(heard, std::vector<std::string>{"gameover.ogg"});
    set_input_script({});
}

}  // namespace
