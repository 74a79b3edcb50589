// The game clock, the overlay and the full-screen pass.
#include "play_fixture.h"
#include "support/held_keys.h"

using namespace play;

namespace {

using game_clock = game;

TEST_F(game_clock, a_tick_comes_every_worldrefresh_plus_one_frames) {
    const struct {
        const char* refresh;
        int every;
    } cases[] = {{"60", 61}, {"0", 1}, {"5", 6}, {"-3", 1}};
    for (const auto& c : cases) {
        apply_configuration_entry("WORLDREFRESH", c.refresh);
        clock_frames = 0;
        time_left = 1000;
        std::vector<int> ticks;
        for (int frame = 1; frame <= 3 * c.every; ++frame) {
            const int32_t before = time_left;
            clock_step(-1);
            if (time_left != before) ticks.push_back(frame);
        }
        EXPECT_EQ(ticks, (std::vector<int>{c.every, 2 * c.every, 3 * c.every})) << c.refresh;
        EXPECT_EQ(time_left, 997) << c.refresh;
    }
}

TEST_F(game_clock, the_last_ten_ticks_warn_and_running_out_ends_the_game) {
    apply_configuration_entry("WORLDREFRESH", "0");
    // Return pressed again and again passes the name entry, the table and
    // the title menu.
    cfg_profiles = folder.path() + "/";
    press_keys_from_now({return_key});
    time_left = 12;
    dimension = loaded_dimension = 4;
    std::vector<int32_t> warned;
    while (time_left >= 0) {
        heard.clear();
        clock_step(-1);
        if (!heard.empty()) warned.push_back(time_left);
        EXPECT_LE(heard.size(), 1u);
        if (time_left >= 0) {
            EXPECT_EQ(dimension, 4) << "the game goes on at " << time_left;
        }
    }
    EXPECT_EQ(warned, (std::vector<int32_t>{10, 9, 8, 7, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(time_left, -1);   // left negative: the next level sets it again
    // The end of the game is over and a new one is on its way.
    EXPECT_EQ(dimension, 1);
    EXPECT_EQ(loaded_dimension, 0);
    set_input_script({});
}

TEST_F(game_clock, only_one_step_up_or_down_counts) {
    apply_configuration_entry("WORLDREFRESH", "0");
    time_left = 5;
    for (int direction : {0, 2, -2, 16}) clock_step(direction);
    EXPECT_EQ(time_left, 5);
    EXPECT_EQ(clock_frames, 0);
    clock_step(1);
    EXPECT_EQ(time_left, 6);
}

// ---- overlay and full-screen pass ----

std::string solid_bmp(int size, uint32_t rgb) {
    using sound_files::put16, sound_files::put32;
    std::string out = "BM";
    put32(out, uint32_t(54 + size * size * 4));
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, uint32_t(size));
    put32(out, uint32_t(size));
    put16(out, 1);
    put16(out, 32);
    put32(out, 0);
    put32(out, uint32_t(size * size * 4));
    for (int k = 0; k < 4; ++k) put32(out, 0);
    for (int i = 0; i < size * size; ++i) {
        out += char((rgb >> 16) & 0xFF);
        out += char((rgb >> 8) & 0xFF);
        out += char(rgb & 0xFF);
        out += char(0);
    }
    return out;
}

constexpr uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) { return r + 256 * g + 65536 * b; }

class overlay : public game {
protected:
    int blended_of(uint32_t colour) {
        return create_blended(load_sprite(folder.write("quad.bmp", solid_bmp(8, colour)), true));
    }
    void draw_glass(uint32_t background, int source, int destination) {
        clear_screen(background);
        begin_blended_pass();
        draw_top_glass(source, destination);
        end_blended_pass();
    }
};

TEST_F(overlay, the_glass_covers_the_screen_from_one_one_to_its_far_edges) {
    const uint32_t green = rgb(0, 200, 0);
    load_top_glass(folder.write("GFX/glass.bmp", solid_bmp(8, green)));
    ASSERT_EQ(top_glass_ready, 1);
    EXPECT_EQ(blended_width(top_glass), 1023);
    EXPECT_EQ(blended_height(top_glass), 767);
    draw_glass(0, 0, 0);
    EXPECT_EQ(read_pixel(1, 1), green);
    EXPECT_EQ(read_pixel(1023, 767), green);
    EXPECT_EQ(read_pixel(0, 0), 0u);
    EXPECT_EQ(read_pixel(0, 400), 0u);
    EXPECT_EQ(read_pixel(600, 0), 0u);
}

TEST_F(overlay, light_blending_adds_the_glass_and_normal_blending_returns_after) {
    load_top_glass(folder.write("GFX/glass.bmp", solid_bmp(8, rgb(0, 100, 0))));
    draw_glass(rgb(100, 0, 30), 2, 5);
    EXPECT_EQ(read_pixel(300, 300), rgb(100, 100, 30));
    // Whatever is drawn next blends normally again: opaque red stays red.
    const int red = blended_of(rgb(200, 0, 0));
    begin_blended_pass();
    draw_blended(red, 10, 10);
    end_blended_pass();
    EXPECT_EQ(read_pixel(12, 12), rgb(200, 0, 0));
}

TEST_F(overlay, a_missing_image_leaves_the_overlay_off_and_play_goes_on) {
    load_top_glass(folder.path() + "/GFX/none.png");
    EXPECT_EQ(top_glass_ready, 0);
    draw_glass(rgb(10, 20, 30), 2, 5);
    EXPECT_EQ(read_pixel(1, 1), rgb(10, 20, 30));
    EXPECT_EQ(read_pixel(500, 500), rgb(10, 20, 30));
}

TEST_F(overlay, the_full_screen_pass_draws_its_frame_opaque_from_the_origin) {
    const uint32_t blue = rgb(20, 40, 220);
    const int frame = blended_of(blue);
    zoom_blended(frame, width, height);
    clear_screen(rgb(200, 0, 0));
    begin_blended_pass();
    set_blending(2, 5);   // left over from the drawing before
    present_full_screen(5, frame);
    end_blended_pass();
    EXPECT_EQ(read_pixel(0, 0), blue);
    EXPECT_EQ(read_pixel(1023, 767), blue);

    clear_screen(rgb(200, 0, 0));
    begin_blended_pass();
    present_full_screen(4, frame);   // no other mode draws
    end_blended_pass();
    EXPECT_EQ(read_pixel(500, 500), rgb(200, 0, 0));
}

}  // namespace
