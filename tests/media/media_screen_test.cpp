// The screen, sprites and blended sprites, read back from the back buffer.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <tuple>

#include "media_test_helpers.h"

namespace {

// What one colour channel becomes under the blending equation, rounded as
// the back buffer stores it.
uint32_t blend_channel(double source_part, double destination_part) {
    double value = source_part + destination_part;
    return static_cast<uint32_t>(std::lround(std::min(255.0, value)));
}

uint32_t channel(uint32_t c, int shift) { return (c >> shift) & 0xFF; }

class media_blending : public media_screen {
protected:
    int blended_of(const std::string& name, const std::string& bytes) {
        int sprite = load_sprite(folder.write(name, bytes), true);
        EXPECT_NE(sprite, 0);
        return create_blended(sprite);
    }
    // Draws a 4 x 4 sprite at (8, 8) over a cleared screen; returns its centre pixel.
    uint32_t draw_over(uint32_t background, uint32_t colour, int source, int destination,
                       int alpha) {
        int quad = blended_of("quad.bmp", solid_bmp(4, 4, colour));
        clear_screen(background);
        begin_blended_pass();
        set_blending(source, destination);
        draw_blended(quad, 8, 8, alpha);
        end_blended_pass();
        return read_pixel(10, 10);
    }
    // The colour expected where `colour` is drawn over `background`: `part`
    // gives each channel's source and destination terms.
    template <class Part>
    uint32_t mix(Part part) const {
        uint32_t out = 0;
        for (int shift : {0, 8, 16}) {
            const auto [source, destination] =
                part(double(channel(colour, shift)), double(channel(background, shift)));
            out |= blend_channel(source, destination) << shift;
        }
        return out;
    }
    const uint32_t background = rgb(100, 50, 20);
    const uint32_t colour = rgb(60, 100, 200);
};

using terms = std::pair<double, double>;

TEST_F(media_blending, factor_pairs_follow_the_blend_equation) {
    const double a = 128 / 255.0;
    const uint32_t light = mix([](double s, double d) { return terms{s, d}; });
    const uint32_t light_half = mix([&](double s, double d) { return terms{s, d * a}; });
    const uint32_t normal_half = mix([&](double s, double d) { return terms{s * a, d * (1 - a)}; });
    const uint32_t modulated = mix([](double s, double d) { return terms{0, d * s / 255}; });
    const struct {
        const char* name;
        int source, destination, alpha;
        uint32_t expected;
    } cases[] = {
        {"light", 2, 5, 255, light},          {"light, half alpha", 2, 5, 128, light_half},
        {"normal", 5, 6, 128, normal_half},   {"normal, opaque", 5, 6, 255, colour},
        {"normal, clear", 5, 6, 0, background}, {"zero, source colour", 1, 3, 255, modulated},
        {"one, zero", 2, 1, 255, colour},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_COLOUR(draw_over(background, colour, c.source, c.destination, c.alpha), c.expected);
    }
    // Out-of-range factors leave the previous pair in force.
    set_blending(2, 1);
    set_blending(0, 12);
    EXPECT_COLOUR(draw_over(background, colour, 2, 1, 255), colour);
}

TEST_F(media_blending, colour_key_pixels_are_never_drawn) {
    // A 4 x 4 sprite whose left column and one inner pixel are magenta.
    std::vector<uint32_t> pixels(16, colour);
    for (int y = 0; y < 4; ++y) pixels[static_cast<size_t>(y * 4)] = magenta;
    pixels[10] = magenta;
    int sprite = load_sprite(folder.write("keyed.bmp", bmp_bytes(4, 4, pixels)), true);
    int keyed = create_blended(sprite);
    ASSERT_NE(keyed, 0);
    const uint32_t light = mix([](double s, double d) { return terms{s, d}; });
    const uint32_t modulated = mix([](double s, double d) { return terms{0, d * s / 255}; });
    for (auto [source, destination, expected] :
         {std::tuple{5, 6, colour}, std::tuple{2, 5, light}, std::tuple{1, 3, modulated}}) {
        SCOPED_TRACE(std::to_string(source) + "," + std::to_string(destination));
        clear_screen(background);
        set_blending(source, destination);
        draw_blended(keyed, 8, 8);
        EXPECT_COLOUR(read_pixel(9, 8), expected);
        EXPECT_COLOUR(read_pixel(8, 8), background);    // left column
        EXPECT_COLOUR(read_pixel(8, 11), background);
        EXPECT_COLOUR(read_pixel(10, 10), background);  // inner pixel
    }
    // The same holes when the keyed sprite is turned (drawn as geometry).
    clear_screen(background);
    set_blending(2, 5);
    set_blended_angle(keyed, 180);
    draw_blended(keyed, 8, 8);
    EXPECT_COLOUR(read_pixel(11, 8), background);  // left column, now on the right
    EXPECT_COLOUR(read_pixel(9, 9), background);   // inner pixel, turned
    EXPECT_COLOUR(read_pixel(8, 8), light);
}

TEST_F(media_blending, the_key_in_force_at_load_time_counts) {
    std::vector<uint32_t> pixels = {rgb(255, 255, 255), colour, colour, colour};
    set_default_colour_key(rgb(255, 255, 255));
    int white_keyed = create_blended(load_sprite(folder.write("w.bmp", bmp_bytes(2, 2, pixels)), true));
    set_default_colour_key(magenta);
    int not_keyed = create_blended(load_sprite(folder.write("w.bmp", bmp_bytes(2, 2, pixels)), true));
    clear_screen(background);
    draw_blended(white_keyed, 0, 0);
    draw_blended(not_keyed, 10, 0);
    EXPECT_COLOUR(read_pixel(0, 0), background);
    EXPECT_COLOUR(read_pixel(10, 0), rgb(255, 255, 255));
}

TEST_F(media_blending, a_wide_sprite_turned_a_quarter_stands_upright_about_its_centre) {
    // 20 x 10 at (20, 20): centre (30, 25); turned 90 degrees it covers
    // x 25..34 and y 15..34.
    int bar = blended_of("bar.bmp", solid_bmp(20, 10, colour));
    rotate_blended(bar, 45);
    rotate_blended(bar, 45);
    EXPECT_FLOAT_EQ(blended_angle(bar), 90);
    clear_screen(background);
    draw_blended(bar, 20, 20);
    EXPECT_COLOUR(read_pixel(30, 16), colour);
    EXPECT_COLOUR(read_pixel(30, 33), colour);
    EXPECT_COLOUR(read_pixel(25, 25), colour);
    EXPECT_COLOUR(read_pixel(34, 25), colour);
    EXPECT_COLOUR(read_pixel(30, 14), background);
    EXPECT_COLOUR(read_pixel(30, 35), background);
    EXPECT_COLOUR(read_pixel(22, 25), background);  // inside the unturned box
    EXPECT_COLOUR(read_pixel(37, 25), background);

    rotate_blended(bar, -450);   // angles wrap into 0..360
    EXPECT_FLOAT_EQ(blended_angle(bar), 0);
    set_blended_angle(bar, 370);
    EXPECT_FLOAT_EQ(blended_angle(bar), 10);
}

TEST_F(media_blending, zoom_and_free_transform_set_the_covered_area) {
    int quad = blended_of("quad.bmp", solid_bmp(4, 4, colour));
    EXPECT_EQ(blended_width(quad), 4);
    zoom_blended(quad, 12, 6);
    EXPECT_EQ(blended_width(quad), 12);
    EXPECT_EQ(blended_height(quad), 6);
    clear_screen(background);
    draw_blended(quad, 10, 10);
    EXPECT_COLOUR(read_pixel(21, 15), colour);
    EXPECT_COLOUR(read_pixel(22, 15), background);
    EXPECT_COLOUR(read_pixel(21, 16), background);

    // Corners relative to the drawing position, clockwise from top-left.
    transform_blended(quad, 0, 0, 30, 0, 30, 20, 0, 20);
    clear_screen(background);
    draw_blended(quad, 5, 5);
    EXPECT_COLOUR(read_pixel(5, 5), colour);
    EXPECT_COLOUR(read_pixel(34, 24), colour);
    EXPECT_COLOUR(read_pixel(35, 24), background);
    EXPECT_COLOUR(read_pixel(4, 5), background);
}

TEST_F(media_screen, boxes_and_clears_land_on_the_back_buffer) {
    clear_screen(rgb(1, 2, 3));
    EXPECT_COLOUR(read_pixel(0, 0), rgb(1, 2, 3));
    begin_draw();
    draw_box(4, 6, 3, 2, rgb(200, 100, 50));
    end_draw();
    EXPECT_COLOUR(read_pixel(4, 6), rgb(200, 100, 50));
    EXPECT_COLOUR(read_pixel(6, 7), rgb(200, 100, 50));
    EXPECT_COLOUR(read_pixel(7, 7), rgb(1, 2, 3));
    EXPECT_COLOUR(read_pixel(6, 8), rgb(1, 2, 3));
    EXPECT_EQ(read_pixel(-1, 0), 0u);
    EXPECT_EQ(read_pixel(width, 0), 0u);
    // The picture survives a flip: the back buffer is ours, not the window's.
    flip_screen();
    EXPECT_COLOUR(read_pixel(4, 6), rgb(200, 100, 50));
    EXPECT_FALSE(renderer_name().empty());
}

TEST_F(media_screen, a_grab_saved_as_bmp_loads_back_with_the_same_pixels) {
    clear_screen(0);
    draw_box(10, 10, 8, 6, rgb(250, 10, 10));
    draw_box(18, 10, 4, 6, rgb(10, 20, 240));
    draw_box(10, 13, 12, 1, rgb(30, 200, 90));
    int grab = grab_sprite(10, 10, 12, 6);
    ASSERT_NE(grab, 0);
    EXPECT_EQ(sprite_width(grab), 12);
    EXPECT_EQ(sprite_height(grab), 6);
    std::string path = folder.path() + "/grab.bmp";
    ASSERT_TRUE(save_sprite_bmp(grab, path));

    std::vector<uint32_t> original;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 12; ++x) original.push_back(read_pixel(10 + x, 10 + y));

    int loaded = load_sprite(path, true);
    ASSERT_NE(loaded, 0);
    EXPECT_EQ(sprite_width(loaded), 12);
    int from_file = create_blended(loaded);
    int from_grab = create_blended(grab);
    clear_screen(rgb(255, 255, 255));
    draw_blended(from_file, 30, 30);
    draw_blended(from_grab, 30, 45);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 12; ++x) {
            SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
            EXPECT_COLOUR(read_pixel(30 + x, 30 + y), original[static_cast<size_t>(y * 12 + x)]);
            EXPECT_COLOUR(read_pixel(30 + x, 45 + y), original[static_cast<size_t>(y * 12 + x)]);
        }
}

TEST_F(media_screen, a_screen_saved_as_png_loads_with_its_magenta_transparent) {
    clear_screen(rgb(20, 40, 60));
    draw_box(0, 0, 2, 2, magenta);
    std::string path = folder.path() + "/shot.png";
    ASSERT_TRUE(save_screen_png(path));
    int shot = load_sprite(path, true);
    ASSERT_NE(shot, 0);
    EXPECT_EQ(sprite_width(shot), width);
    EXPECT_EQ(sprite_height(shot), height);
    clear_screen(rgb(9, 9, 9));
    draw_blended(create_blended(shot), 0, 0);
    EXPECT_COLOUR(read_pixel(1, 1), rgb(9, 9, 9));
    EXPECT_COLOUR(read_pixel(2, 2), rgb(20, 40, 60));
}

// A level makes and frees blended sprites by the hundred thousand: the ones
// kept across that churn stay whole, and no handle comes back.
TEST_F(media_screen, handles_stay_unique_and_kept_ones_whole_over_many_thousands) {
    const int sprite = load_sprite(folder.write("k.bmp", solid_bmp(2, 2, rgb(30, 60, 90))), true);
    ASSERT_NE(sprite, 0);
    const int kept = create_blended(sprite);
    zoom_blended(kept, 6, 4);
    std::vector<int> made;
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 10000; ++i) made.push_back(create_blended(sprite));
        // Every round frees all but its last, as a level reset does.
        for (size_t i = made.size() - 10000; i + 1 < made.size(); ++i) free_blended(made[i]);
    }
    std::vector<int> sorted = made;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
    EXPECT_EQ(std::count(made.begin(), made.end(), kept), 0);
    for (size_t i = 0; i < made.size(); ++i)
        EXPECT_EQ(blended_exists(made[i]), (i + 1) % 10000 == 0) << i;
    EXPECT_EQ(blended_width(kept), 6);
    EXPECT_EQ(blended_height(kept), 4);
    clear_screen(0);
    draw_blended(made.back(), 0, 0);
    EXPECT_COLOUR(read_pixel(1, 1), rgb(30, 60, 90));
}

TEST_F(media_screen, handles_are_never_reused_and_dead_ones_do_nothing) {
    std::string path = folder.write("s.bmp", solid_bmp(3, 2, rgb(7, 7, 7)));
    int first = load_sprite(path, true);
    int blended = create_blended(first);
    ASSERT_NE(first, 0);
    ASSERT_NE(blended, 0);
    EXPECT_TRUE(sprite_exists(first));
    EXPECT_TRUE(blended_exists(blended));
    free_sprite(first);
    EXPECT_FALSE(sprite_exists(first));
    EXPECT_EQ(sprite_width(first), 0);
    EXPECT_EQ(create_blended(first), 0);
    // A blended sprite outliving its sprite draws nothing.
    clear_screen(0);
    draw_blended(blended, 0, 0);
    EXPECT_COLOUR(read_pixel(0, 0), 0);
    free_blended(blended);
    EXPECT_FALSE(blended_exists(blended));
    EXPECT_EQ(blended_width(blended), 0);
    zoom_blended(blended, 5, 5);
    rotate_blended(blended, 5);
    draw_blended(blended, 0, 0);

    int second = load_sprite(path, true);
    EXPECT_NE(second, first);
    EXPECT_NE(create_blended(second), blended);

    for (int dead : {0, first}) {
        free_sprite(dead);
        EXPECT_FALSE(sprite_exists(dead));
        EXPECT_FALSE(save_sprite_bmp(dead, folder.path() + "/x.bmp"));
        EXPECT_FALSE(blended_exists(dead == 0 ? 0 : blended));
        free_blended(dead);
        EXPECT_EQ(blended_height(dead), 0);
    }
    EXPECT_EQ(load_sprite(folder.path() + "/missing.png", true), 0);
    EXPECT_EQ(load_sprite(folder.write("bad.png", "not an image"), true), 0);
    EXPECT_EQ(grab_sprite(0, 0, 0, 5), 0);
    EXPECT_EQ(open_screen(0, 10, 10), 0);
    EXPECT_EQ(open_window(0, 10, "none"), 0);
}

TEST_F(media_screen, flips_count_frames_and_hold_them_to_the_display_rate) {
    // Headless there is no vsync: the virtual clock shows the pacing.
    int start_frame = frame_number();
    flip_screen();
    uint32_t previous = milliseconds();
    for (int i = 0; i < 60; ++i) {
        flip_screen();
        uint32_t now = milliseconds();
        EXPECT_GE(now - previous, 16u);
        EXPECT_LE(now - previous, 17u);
        previous = now;
    }
    EXPECT_EQ(frame_number(), start_frame + 61);
    // Time spent in the frame counts towards it.
    sleep_ms(10);
    uint32_t before = milliseconds();
    flip_screen();
    EXPECT_LE(milliseconds() - before, 7u);
    EXPECT_FALSE(pump_events());
}

// The dummy video driver offers only SDL's software renderer, which takes no
// custom blend modes: the built-in modes stand in for the pairs the game uses.
TEST(media_software_renderer, built_in_modes_stand_in_and_keep_the_colour_key) {
    const char* before = std::getenv("SDL_VIDEODRIVER");
    std::string saved = before ? before : "offscreen";
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    open_headless_screen(16, 16);
    setenv("SDL_VIDEODRIVER", saved.c_str(), 1);
    EXPECT_EQ(renderer_name(), "software");

    temp_folder folder;
    std::vector<uint32_t> pixels(4, rgb(60, 100, 200));
    pixels[0] = magenta;
    int keyed = create_blended(load_sprite(folder.write("k.bmp", bmp_bytes(2, 2, pixels)), true));
    ASSERT_NE(keyed, 0);
    auto near = [](uint32_t actual, uint32_t expected) {
        for (int shift : {0, 8, 16}) {
            int a = static_cast<int>(channel(actual, shift));
            int e = static_cast<int>(channel(expected, shift));
            if (a < e - 1 || a > e + 1) return false;
        }
        return true;
    };
    for (auto [source, destination, expected] :
         {std::tuple{5, 6, rgb(60, 100, 200)}, std::tuple{2, 5, rgb(160, 150, 220)},
          std::tuple{9, 1, rgb(24, 20, 16)}}) {
        SCOPED_TRACE(std::to_string(source) + "," + std::to_string(destination));
        clear_screen(rgb(100, 50, 20));
        set_blending(source, destination);
        draw_blended(keyed, 4, 4);
        EXPECT_PRED2(near, read_pixel(5, 5), expected) << channels(read_pixel(5, 5));
        EXPECT_COLOUR(read_pixel(4, 4), rgb(100, 50, 20));
    }
    close_headless_screen();
}

TEST(media_desktop, a_fake_desktop_replaces_the_real_one) {
    open_headless_screen(32, 32);
    set_fake_desktop(800, 600);
    desktop_info fake = query_desktop();
    EXPECT_EQ(fake.width, 800);
    EXPECT_EQ(fake.height, 600);
    set_fake_desktop(0, 0);
    desktop_info real = query_desktop();
    EXPECT_GT(real.width, 0);
    EXPECT_GT(real.height, 0);
    EXPECT_GT(real.depth, 0);
    close_headless_screen();
    close_headless_screen();   // twice is harmless
    EXPECT_EQ(frame_number(), 0);
    EXPECT_EQ(read_pixel(0, 0), 0u);
    flip_screen();
    EXPECT_EQ(frame_number(), 0);
}

}  // namespace
