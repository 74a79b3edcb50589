// The play frame: its order, the display, the full-screen pass and overlay,
// the end of a level, the banner and the game-over display.
#include "core/eventhandler.h"
#include "core/startup.h"
#include "core/super_gfx.h"
#include "play_world.h"
#include "support/held_keys.h"
#include "text/font_engine.h"
#include "text/text_engine.h"

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

TEST_F(Frame, TheShownScoreCountsUpToItsTarget) {
    score = 10, score_target = 15;
    EXPECT_EQ(scores_over(7), (std::vector<int32_t>{11, 12, 13, 14, 15, 15, 15}));
    EXPECT_EQ(text(score_line), " SCORE 15|");
    score = 13;   // the target is a floor the score climbs back to after a loss
    EXPECT_EQ(scores_over(1), std::vector<int32_t>{14});
}

// An object worth counted points adds them, one a frame, whatever the score
// already is (here the points of fixed tiles); what is still counting when a
// new game starts is gone.
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
    stand_on(2, 1);
    EXPECT_EQ(scores_over(5).back(), 130);
    reset_game_counters();   // Return on the title menu
    EXPECT_EQ(scores_over(30).back(), 0);
}

// From the start of a level (the view at column and row 0) a step left or up
// moves the marker, which paints the cell it reaches; the view stays.
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

// Walled in: the game ends at once. Nothing of the lost level runs on in
// that frame (no level end, no clock tick), and the game-over sound is heard
// before the title menu, not at the start of the next game.
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
    press_keys_from_now({return_key});   // the title menu starts a new game
    run_frame();
    screen_frame_seen = nullptr;
    set_input_script({});
    EXPECT_EQ(heard_at_the_title, (std::vector<std::string>{"step.ogg", "gameover.ogg"}));
    EXPECT_EQ(std::count(heard.begin(), heard.end(), "leveldone.ogg"), 0);
    EXPECT_EQ(std::tuple(time_left, trap_requested, screen_state), std::tuple(0, 0, 23));
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
    // Shown fixed in the frame that fixed it (the full-screen pass moves the
    // picture by a fraction of a pixel: look mid-tile).
    EXPECT_EQ(pixel_of_cell(2, 2), fixed_colour);
    // Its right neighbour is judged later in the pass, with (2, 2) already
    // fixed; the lower row has nothing good below it.
    EXPECT_EQ(std::tuple(kind_at(3, 2), kind_at(2, 3), kind_at(3, 3)), std::tuple(lab_fixed_floor, lab_blue_floor, lab_blue_floor));
    EXPECT_EQ(critical_mass, 5 - 2);
}

TEST_F(Frame, TheFullScreenPassMagnifiesTheTopLeftWhenZoomedAndTheOverlayLiesOverEverything) {
    lay(1, 1, {"."});
    lay(3, 3, {","});
    frame();
    EXPECT_EQ(read_pixel(56, 56), green_colour) << "a zoom of 1 leaves the picture in place";
    apply_configuration_entry("FULLSCREENZOOM", "0.5");
    frame();
    EXPECT_EQ(read_pixel(56, 56), floor_colour) << "cell (1, 1) doubled in size";
    EXPECT_TRUE(blended_exists(grabbed_sprite)) << "the grab lives until the next frame";
    const int32_t first = grabbed_sprite;
    apply_configuration_entry("FULLSCREENZOOM", "1");
    folder.write("GFX/glass.png", bmp(32, 32, rgb(40, 40, 40)));
    load_top_glass(folder.path() + "/GFX/glass.png");
    ASSERT_EQ(top_glass_ready, 1);
    frame();
    EXPECT_FALSE(blended_exists(first)) << "and is then replaced";
    EXPECT_EQ(read_pixel(200, 200), 0u) << "the overlay is off unless switched on";
    cfg_usetopglass = 1;
    frame();
    EXPECT_EQ(read_pixel(200, 200), rgb(40, 40, 40));
    EXPECT_EQ(pixel_of_cell(1, 1), rgb(200 + 40, 180 + 40, 120 + 40)) << "light adds up";
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

TEST_F(Sequences, TheBannerRunsAFrameForEveryFivePixelsOncePerLevelWithTextFromItsSecondFrame) {
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
    // The last banner frame stays on the back buffer when nothing else is drawn.
    show_dimension_banner();
    EXPECT_EQ(pixel_of_cell(2, 1), floor_colour);
    // Its first frame would have a zoom of 10 / 0: no text, the second has text.
    int32_t image = 0;   // a one-letter font: "D", 16 pixels, from the floor image
    for (const tile_graphic& g : tile_graphics)
        if (g.file_name == "floor.png") image = g.sprite;
    glyph& d = glyph_table['D'];
    d.blended_sprite = create_blended(image), d.width = d.height = 16;
    ASSERT_EQ(blended_width(d.blended_sprite), 16);
    screen_width = 6;   // one banner frame
    show_dimension_banner();
    EXPECT_EQ(blended_width(d.blended_sprite), 16) << "the letter was not drawn";
    screen_width = 11;   // two frames: the second has zoom 10 / 0.025
    show_dimension_banner();
    EXPECT_EQ(blended_width(d.blended_sprite), 16 * 400);
    glyph_table['D'] = glyph{};
}

TEST_F(Sequences, GameOverRunsFortyFramesThenEndsTheGame) {
    press_keys_from_now({return_key});
    const int before = frame_number();
    show_game_over(1);
    EXPECT_EQ(frame_number() - before, 40 + 1) << "and one of the title menu, left at once";
    EXPECT_EQ(heard, std::vector<std::string>{"gameover.ogg"});
    set_input_script({});
}

}  // namespace
