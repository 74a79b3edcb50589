// Small sprites share atlas pages: each must still draw only its own texels,
// whatever the zoom, turn, filter or blending, and pages must come and go
// with their sprites.
#include <set>

#include "media/media_diagnostics.h"
#include "media_test_helpers.h"

namespace {

const uint32_t background = rgb(0, 0, 90), red = rgb(210, 0, 0), green = rgb(0, 220, 0),
               yellow = rgb(230, 230, 0), white = rgb(255, 255, 255);

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

// Red sits between a green neighbour on its right and a yellow one below:
// loaded in this order they are packed next to each other.
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

TEST_F(MediaAtlas, FreeFormAndCutOutDrawingTakeTheSpritesOwnTexels) {
    // Packed after a solid sprite, the keyed one's texels do not start at the
    // page corner. Its left column is the key.
    load("first.bmp", solid_bmp(6, 6, green));
    std::vector<uint32_t> pixels(16, red);
    for (int y = 0; y < 4; ++y) pixels[static_cast<size_t>(y * 4)] = magenta;
    const int keyed = create_blended(load("keyed.bmp", bmp_bytes(4, 4, pixels)));
    const uint32_t light = rgb(210, 0, 90);   // red added to the ground
    transform_blended(keyed, 0, 0, 20, 0, 20, 8, 0, 8);   // 4 x 4 stretched over 20 x 8
    for (auto [source, destination, drawn] : {std::tuple{5, 6, red}, std::tuple{2, 5, light}}) {
        clear_screen(background); set_blending(source, destination); draw_blended(keyed, 10, 10);
        expect_pixels({{10, 10, background}, {14, 17, background}, {15, 10, drawn}, {29, 17, drawn},
                       {30, 10, background}, {20, 18, background}},
                      std::to_string(source) + "," + std::to_string(destination));
    }
    // Cut out and turned half round: the keyed column comes out on the right.
    zoom_blended(keyed, 8, 8); set_blended_angle(keyed, 180); draw_at({{keyed, 10, 10}});
    EXPECT_EQ(colours_in(10, 10, 6), std::set<uint32_t>{light});
    expect_pixels({{16, 12, background}, {17, 17, background}, {18, 12, background}});
}

// Draws are queued and carried out later; each keeps the filter and the
// blending in force when it was asked for, and a filter change (the GL
// renderer binds the texture for it) leaves queued draws of other textures alone.
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

    const int red_square = create_blended(load("red.bmp", solid_bmp(4, 4, red)));
    clear_screen(background); draw_box(0, 0, 4, 4, green);
    const int grab = create_blended(grab_sprite(0, 0, 4, 4));
    draw_at({{red_square, 0, 0}}); expect_pixels({{1, 1, red}}); draw_blended(red_square, 10, 0);
    set_filtering(true); draw_blended(grab, 20, 0); set_filtering(false);
    expect_pixels({{11, 1, red}, {21, 1, green}});
}

TEST_F(MediaAtlas, FreeingASpriteLeavesTheRestOfItsPageIntact) {
    const int a = load("a.bmp", solid_bmp(5, 5, red)), b = load("b.bmp", solid_bmp(5, 5, green)),
              c = load("c.bmp", solid_bmp(5, 5, yellow));
    const int drawn_a = create_blended(a), drawn_c = create_blended(c);
    free_sprite(b);
    const int d = load("d.bmp", solid_bmp(5, 5, white));   // takes the freed place
    EXPECT_EQ(atlas_page_count(), 1);
    draw_at({{drawn_a, 0, 0}, {drawn_c, 10, 0}, {create_blended(d), 20, 0}});
    EXPECT_EQ(colours_in(0, 0, 5), std::set<uint32_t>{red});
    EXPECT_EQ(colours_in(10, 0, 5), std::set<uint32_t>{yellow});
    EXPECT_EQ(colours_in(20, 0, 5), std::set<uint32_t>{white});
    free_sprite(a); free_sprite(c);
    EXPECT_EQ(atlas_page_count(), 1);
    free_sprite(d);
    EXPECT_EQ(atlas_page_count(), 0);
    // Drawables of freed sprites draw nothing; a new page serves new sprites.
    draw_at({{drawn_a, 0, 0}, {create_blended(load("e.bmp", solid_bmp(5, 5, green))), 10, 0}});
    expect_pixels({{2, 2, background}, {12, 2, green}});
}

TEST_F(MediaAtlas, LargeImagesAndGrabsHaveTexturesOfTheirOwn) {
    std::vector<uint32_t> pixels(300 * 2, green);
    pixels[0] = red; pixels[299] = yellow;
    const int wide = load("wide.bmp", bmp_bytes(300, 2, pixels));
    EXPECT_EQ(sprite_page(wide), 0);
    EXPECT_EQ(sprite_page(grab_sprite(0, 0, 8, 8)), 0);
    EXPECT_EQ(atlas_page_count(), 0);
    EXPECT_EQ(sprite_page(load("small.bmp", solid_bmp(8, 8, red))), 1);
    draw_at({{create_blended(wide), -10, 0}, {create_blended(wide), -250, 10}});
    expect_pixels({{0, 0, green}, {49, 10, yellow}, {50, 10, background}});
}

// The full-screen pass frees its grab and grabs again every frame: the new
// grab shows the new picture, and draws of the old one still queued keep theirs.
TEST_F(MediaAtlas, AGrabAfterAFreedOneOfItsSizeHoldsTheNewPixels) {
    clear_screen(background); draw_box(40, 40, 6, 6, red);
    const int old_grab = grab_sprite(40, 40, 6, 6);
    draw_blended(create_blended(old_grab), 0, 0); free_sprite(old_grab);
    draw_box(40, 40, 6, 6, green);
    const int new_grab = grab_sprite(40, 40, 6, 6);
    draw_blended(create_blended(new_grab), 10, 0); expect_pixels({{2, 2, red}, {12, 2, green}});
    // Grabs alive together keep their own pictures, whatever their sizes.
    draw_box(40, 40, 6, 6, yellow);
    const int third = grab_sprite(40, 40, 6, 6), smaller = grab_sprite(40, 40, 3, 3);
    draw_at({{create_blended(new_grab), 10, 0}, {create_blended(third), 20, 0}, {create_blended(smaller), 30, 0}});
    expect_pixels({{12, 2, green}, {22, 2, yellow}, {32, 2, yellow}, {33, 2, background}});
}

// Level set-up frees and loads the player image again, thousands of times
// in a long run; the pages must not pile up.
TEST_F(MediaAtlas, LoadsAndFreesReusePagesAndEmptyPagesGo) {
    std::vector<int> kept, players;   // now and then a player image stays
    for (int size : {12, 20, 31, 32, 48, 64})
        kept.push_back(load("kept" + std::to_string(size) + ".bmp", solid_bmp(size, size, green)));
    const std::string player = folder.write("player.bmp", solid_bmp(28, 28, red));
    const std::string other = folder.write("other.bmp", solid_bmp(40, 24, yellow));
    for (int round = 0; round < 3000; ++round) {
        const int p = load_sprite(player, true), o = load_sprite(other, true);
        if (round % 500 == 0) players.push_back(p);
        else free_sprite(p); free_sprite(o);
    }
    ASSERT_EQ(atlas_page_count(), 1);
    draw_at({{create_blended(players.back()), 0, 0}, {create_blended(kept.back()), 30, 0}});
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
    draw_at({{create_blended(bigs.back()), 0, 0}}); expect_pixels({{63, 63, yellow}});
    free_sprite(bigs.back());
    EXPECT_EQ(atlas_page_count(), 1);
    for (int sprite : bigs) free_sprite(sprite);
    for (int sprite : kept) free_sprite(sprite);
    EXPECT_EQ(atlas_page_count(), 1);
    for (int sprite : players) free_sprite(sprite);
    EXPECT_EQ(atlas_page_count(), 0);
}

}  // namespace
