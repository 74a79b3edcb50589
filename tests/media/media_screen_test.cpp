// The screen, sprites and blended sprites, read back from the back buffer.
#include <cmath>
#include <cstdlib>
#include <tuple>

#include "media_test_helpers.h"

namespace {

class MediaBlending : public MediaScreen {
protected:
    // Draws a 4 x 4 sprite at (8, 8) over a cleared screen; returns its centre pixel.
    uint32_t draw_over(int source, int destination, int alpha) {
        const int quad = create_blended(load("quad.bmp", solid_bmp(4, 4, colour)));
        clear_screen(background); begin_blended_pass(); set_blending(source, destination);
        draw_blended(quad, 8, 8, alpha); end_blended_pass();
        return read_pixel(10, 10);
    }
    // `colour` over `background` mixed per channel, rounded and clamped as stored.
    template <class Part>
    uint32_t mix(Part part) const {
        uint32_t out = 0;
        for (int shift : {0, 8, 16}) {
            const auto [s, d] = part(double(channel(colour, shift)), double(channel(background, shift)));
            out |= static_cast<uint32_t>(std::lround(std::min(255.0, s + d))) << shift;
        }
        return out;
    }
    const uint32_t background = rgb(100, 50, 20), colour = rgb(60, 100, 200);
    const uint32_t light = mix([](double s, double d) { return std::pair{s, d}; });
    const uint32_t modulated = mix([](double s, double d) { return std::pair{0.0, d * s / 255}; });
};

TEST_F(MediaBlending, FactorPairsFollowTheBlendEquation) {
    const double a = 128 / 255.0;
    const struct { const char* name; int source, destination, alpha; uint32_t expected; } cases[] = {
        {"light", 2, 5, 255, light},
        {"light, half alpha", 2, 5, 128, mix([&](double s, double d) { return std::pair{s, d * a}; })},
        {"normal", 5, 6, 128, mix([&](double s, double d) { return std::pair{s * a, d * (1 - a)}; })},
        {"normal, opaque", 5, 6, 255, colour}, {"normal, clear", 5, 6, 0, background},
        {"zero, source colour", 1, 3, 255, modulated}, {"one, zero", 2, 1, 255, colour}};
    for (const auto& c : cases)
        EXPECT_COLOUR(draw_over(c.source, c.destination, c.alpha), c.expected) << c.name;
    set_blending(2, 1);
    set_blending(0, 12);   // out of range: the previous pair stays in force
    EXPECT_COLOUR(draw_over(2, 1, 255), colour);
}

TEST_F(MediaBlending, ColourKeyPixelsAreNeverDrawn) {
    std::vector<uint32_t> pixels(16, colour);   // the left column and one inner pixel keyed
    for (int y = 0; y < 4; ++y) pixels[static_cast<size_t>(y * 4)] = magenta;
    pixels[10] = magenta;
    const int keyed = create_blended(load("keyed.bmp", bmp_bytes(4, 4, pixels)));
    for (auto [source, destination, expected] :
         {std::tuple{5, 6, colour}, std::tuple{2, 5, light}, std::tuple{1, 3, modulated}}) {
        clear_screen(background); set_blending(source, destination); draw_blended(keyed, 8, 8);
        expect_pixels({{9, 8, expected}, {8, 8, background}, {8, 11, background}, {10, 10, background}},
                      std::to_string(source) + "," + std::to_string(destination));
    }
    // The same holes when turned (drawn as geometry): the left column now on the right.
    clear_screen(background); set_blending(2, 5); set_blended_angle(keyed, 180);
    draw_blended(keyed, 8, 8);
    expect_pixels({{11, 8, background}, {9, 9, background}, {8, 8, light}});
}

TEST_F(MediaBlending, TurnsZoomsAndFreeTransformsSetTheCoveredArea) {
    // 20 x 10 at (20, 20), turned a quarter about its centre (30, 25): x 25..34, y 15..34.
    const int bar = create_blended(load("bar.bmp", solid_bmp(20, 10, colour)));
    rotate_blended(bar, 45); rotate_blended(bar, 45);
    EXPECT_FLOAT_EQ(blended_angle(bar), 90);
    clear_screen(background); draw_blended(bar, 20, 20);
    expect_pixels({{30, 16, colour}, {30, 33, colour}, {25, 25, colour}, {34, 25, colour},
                   {30, 14, background}, {30, 35, background}, {22, 25, background}, {37, 25, background}});
    rotate_blended(bar, -450);   // angles wrap into 0..360
    EXPECT_FLOAT_EQ(blended_angle(bar), 0);

    const int quad = create_blended(load("quad.bmp", solid_bmp(4, 4, colour)));
    zoom_blended(quad, 12, 6);
    clear_screen(background); draw_blended(quad, 10, 10);
    expect_pixels({{21, 15, colour}, {22, 15, background}, {21, 16, background}});
    transform_blended(quad, 0, 0, 30, 0, 30, 20, 0, 20);   // corners from the position, clockwise
    clear_screen(background); draw_blended(quad, 5, 5);
    expect_pixels({{5, 5, colour}, {34, 24, colour}, {35, 24, background}, {4, 5, background}});
}

TEST_F(MediaScreen, GrabsAndScreensSavedLoadBackWithTheSamePixels) {
    const uint32_t red = rgb(250, 10, 10), blue = rgb(10, 20, 240);
    clear_screen(0);
    draw_box(10, 10, 8, 6, red);
    draw_box(18, 10, 4, 6, blue);
    flip_screen();   // the back buffer is ours, not the window's
    ASSERT_TRUE(save_sprite_bmp(grab_sprite(10, 10, 12, 6), folder.path() + "/grab.bmp"));
    const int loaded = load_sprite(folder.path() + "/grab.bmp", true);
    ASSERT_NE(loaded, 0);
    clear_screen(rgb(255, 255, 255));
    draw_blended(create_blended(loaded), 30, 30);
    expect_pixels({{30, 30, red}, {37, 35, red}, {38, 30, blue}, {41, 35, blue}, {42, 35, rgb(255, 255, 255)}});

    // A screen saved as PNG loads with its magenta transparent.
    clear_screen(rgb(20, 40, 60));
    draw_box(0, 0, 2, 2, magenta);
    ASSERT_TRUE(save_screen_png(folder.path() + "/shot.png"));
    const int shot = load_sprite(folder.path() + "/shot.png", true);
    clear_screen(rgb(9, 9, 9));
    draw_blended(create_blended(shot), 0, 0);
    expect_pixels({{1, 1, rgb(9, 9, 9)}, {2, 2, rgb(20, 40, 60)}});
}

TEST_F(MediaScreen, HandlesAreNeverReusedAndDeadOnesDoNothing) {
    const std::string path = folder.write("s.bmp", solid_bmp(3, 2, rgb(7, 7, 7)));
    const int first = load_sprite(path, true), blended = create_blended(first);
    ASSERT_NE(blended, 0);
    free_sprite(first);
    EXPECT_FALSE(sprite_exists(first));
    EXPECT_EQ(create_blended(first), 0);
    clear_screen(0);
    draw_blended(blended, 0, 0);   // outliving its sprite, it draws nothing
    expect_pixels({{0, 0, 0}});
    free_blended(blended);
    EXPECT_FALSE(blended_exists(blended));
    zoom_blended(blended, 5, 5);
    draw_blended(blended, 0, 0);
    const int second = load_sprite(path, true);
    EXPECT_NE(second, first);
    EXPECT_NE(create_blended(second), blended);
    EXPECT_FALSE(save_sprite_bmp(first, folder.path() + "/x.bmp"));
    EXPECT_EQ(load_sprite(folder.write("bad.png", "not an image"), true), 0);
    EXPECT_EQ(grab_sprite(0, 0, 0, 5), 0);
}

// Headless there is no vsync: the virtual clock shows the pacing.
TEST_F(MediaScreen, FlipsCountFramesAndHoldThemToTheDisplayRate) {
    const int start_frame = frame_number();
    flip_screen();
    uint32_t previous = milliseconds();
    for (int i = 0; i < 60; ++i) {
        flip_screen();
        const uint32_t now = milliseconds();
        EXPECT_TRUE(now - previous == 16 || now - previous == 17) << now - previous;
        previous = now;
    }
    EXPECT_EQ(frame_number(), start_frame + 61);
    sleep_ms(10);   // the time spent in a frame counts towards it
    const uint32_t worked = milliseconds(); flip_screen(); EXPECT_LE(milliseconds() - worked, 7u);
}

// The dummy driver's software renderer has no custom blend modes: built-in ones stand in.
TEST(MediaSoftwareRenderer, BuiltInModesStandInAndKeepTheColourKey) {
    const char* before = std::getenv("SDL_VIDEODRIVER");
    const std::string saved = before ? before : "offscreen";
    setenv("SDL_VIDEODRIVER", "dummy", 1); open_headless_screen(16, 16);
    setenv("SDL_VIDEODRIVER", saved.c_str(), 1);
    EXPECT_EQ(renderer_name(), "software");
    temp_folder folder;
    std::vector<uint32_t> pixels(4, rgb(60, 100, 200));
    pixels[0] = magenta;
    const int keyed = create_blended(load_sprite(folder.write("k.bmp", bmp_bytes(2, 2, pixels)), true));
    ASSERT_NE(keyed, 0);
    for (auto [source, destination, expected] : {std::tuple{5, 6, rgb(60, 100, 200)},
                                                 std::tuple{2, 5, rgb(160, 150, 220)},
                                                 std::tuple{9, 1, rgb(24, 20, 16)}}) {
        clear_screen(rgb(100, 50, 20)); set_blending(source, destination);
        draw_blended(keyed, 4, 4);
        for (int shift : {0, 8, 16})   // within one step
            EXPECT_NEAR(int(channel(read_pixel(5, 5), shift)), int(channel(expected, shift)), 1)
                << source << "," << destination << ": " << channels(read_pixel(5, 5));
        EXPECT_COLOUR(read_pixel(4, 4), rgb(100, 50, 20));
    }
    close_headless_screen();
}

}  // namespace
