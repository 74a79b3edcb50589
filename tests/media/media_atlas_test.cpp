// Sprites sharing atlas pages draw only their own texels; pages come and go with them.
#include <set>

#include "media/media_diagnostics.h"
#include "media_test_helpers.h"

namespace {

const uint32_t background = rgb(0, 0, 90), red = rgb(210, 0, 0), green = rgb(0, 220, 0),
               yellow = rgb(230, 230, 0);

class MediaAtlas : public MediaScreen {
protected:
    // The colours found in a square of the screen.
    static std::set<uint32_t> colours_in(int x0, int y0, int size) {
        std::set<uint32_t> found;
        for (int y = y0; y < y0 + size; ++y)
            for (int x = x0; x < x0 + size; ++x) found.insert(read_pixel(x, y));
        return found;
    }
    static void draw_at(std::initializer_list<std::tuple<int, int, int>> draws) {
        clear_screen(background);
        for (auto [drawable, x, y] : draws) draw_blended(drawable, x, y);
    }
};

// Loaded in this order, green lands right of red and yellow below it.
TEST_F(MediaAtlas, ASpriteNeverShowsItsNeighboursOnThePage) {
    const int a = load("a.bmp", solid_bmp(4, 4, red)), b = load("b.bmp", solid_bmp(4, 4, green)),
              c = load("c.bmp", solid_bmp(4, 7, yellow));
    EXPECT_NE(sprite_page(a), 0);
    EXPECT_EQ(sprite_page(b), sprite_page(a));
    EXPECT_EQ(sprite_page(c), sprite_page(a));
    EXPECT_EQ(atlas_page_count(), 1);
    const int quad = create_blended(a);
    for (bool smooth : {false, true}) {
        SCOPED_TRACE(smooth ? "smooth" : "point sampled");
        set_filtering(smooth);
        zoom_blended(quad, 12, 12);   // zoomed three times: every texel, the edge ones too, stays red
        set_blended_angle(quad, 0); draw_at({{quad, 10, 10}});
        EXPECT_EQ(colours_in(10, 10, 12), std::set<uint32_t>{red});
        expect_pixels({{22, 16, background}, {16, 22, background}});
        for (float angle : {30.0f, 90.0f, 135.0f}) {
            set_blended_angle(quad, angle); draw_at({{quad, 20, 20}});
            EXPECT_EQ(colours_in(14, 14, 24), (std::set<uint32_t>{red, background})) << angle;
            expect_pixels({{26, 26, red}}, std::to_string(angle));
        }
    }
    draw_at({{create_blended(b), 0, 0}, {create_blended(c), 8, 0}});   // the neighbours draw their own
    EXPECT_EQ(colours_in(0, 0, 4), std::set<uint32_t>{green});
    expect_pixels({{8, 6, yellow}, {8, 7, background}});
}

// Queued draws each keep the filter and blending in force when asked for.
TEST_F(MediaAtlas, FilterAndBlendingChangesBetweenQueuedDrawsCountPerDraw) {
    load("other.bmp", solid_bmp(3, 3, green));
    const int pair = create_blended(load("pair.bmp", bmp_bytes(2, 1, {rgb(0, 0, 0), rgb(250, 250, 250)})));
    zoom_blended(pair, 40, 2); clear_screen(0);
    for (int y : {0, 10, 20}) {
        set_filtering(y == 10); draw_blended(pair, 0, y);
    }
    set_filtering(false); expect_pixels({{19, 0, 0}, {19, 20, 0}});
    const uint32_t smooth = read_pixel(19, 10) & 0xFF;
    EXPECT_TRUE(smooth > 60 && smooth < 200) << smooth;

    const int square = create_blended(load("square.bmp", solid_bmp(4, 4, rgb(100, 40, 20))));
    clear_screen(rgb(20, 20, 20));
    for (auto [x, source, destination] : {std::tuple{0, 5, 6}, {10, 2, 2}, {20, 1, 3}}) {
        set_blending(source, destination); draw_blended(square, x, 30, 255);
    }
    set_blending(5, 6);
    expect_pixels({{1, 31, rgb(100, 40, 20)}, {11, 31, rgb(120, 60, 40)}, {21, 31, rgb(8, 3, 2)}});
    // A filter change binds its texture behind the renderer's back: a queued draw of another keeps its texels.
    const int grab = create_blended(grab_sprite(20, 30, 4, 4));
    clear_screen(0), draw_blended(square, 0, 40), expect_pixels({{1, 41, rgb(100, 40, 20)}}), draw_blended(square, 10, 40);
    set_filtering(true), draw_blended(grab, 20, 40), set_filtering(false);
    expect_pixels({{11, 41, rgb(100, 40, 20)}, {21, 41, rgb(8, 3, 2)}});
}

// Level set-up reloads the player image thousands of times: pages must not pile up.
TEST_F(MediaAtlas, LoadsAndFreesReusePagesAndEmptyPagesGo) {
    const int kept = load("kept.bmp", solid_bmp(31, 31, green));
    const std::string player = folder.write("player.bmp", solid_bmp(28, 28, red));
    int last = 0;
    for (int round = 0; round < 3000; ++round) {
        free_sprite(last);
        last = load_sprite(player, true);
    }
    ASSERT_EQ(atlas_page_count(), 1);
    draw_at({{create_blended(last), 0, 0}, {create_blended(kept), 30, 0}});
    EXPECT_EQ(colours_in(0, 0, 28), std::set<uint32_t>{red});
    EXPECT_EQ(colours_in(30, 0, 30), std::set<uint32_t>{green});
    // Sprites beyond a full page go to a second one; an emptied page goes.
    const std::string big = folder.write("big.bmp", solid_bmp(250, 250, yellow));
    std::vector<int> bigs;
    while (atlas_page_count() < 2) {
        bigs.push_back(load_sprite(big, true));
        ASSERT_LT(bigs.size(), 200u);
    }
    EXPECT_EQ(sprite_page(bigs.back()), 2);
    free_sprite(bigs.back());
    EXPECT_EQ(atlas_page_count(), 1);
}

}  // namespace
