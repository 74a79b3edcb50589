// Small sprites share atlas pages: each must still draw only its own texels,
// whatever the zoom, turn, filter or blending, and pages must come and go
// with their sprites.
#include <set>

#include "media/media_diagnostics.h"
#include "media_test_helpers.h"

namespace {

const uint32_t background = rgb(0, 0, 90);
const uint32_t red = rgb(210, 0, 0), green = rgb(0, 220, 0), yellow = rgb(230, 230, 0);

class media_atlas : public media_screen {
protected:
    int load(const std::string& name, const std::string& bytes) {
        int sprite = load_sprite(folder.write(name, bytes), true);
        EXPECT_NE(sprite, 0) << name;
        return sprite;
    }
    // The colours found in a square of the screen.
    std::set<uint32_t> colours_in(int x0, int y0, int size) {
        std::set<uint32_t> found;
        for (int y = y0; y < y0 + size; ++y)
            for (int x = x0; x < x0 + size; ++x) found.insert(read_pixel(x, y));
        return found;
    }
};

// Red sits between a green neighbour on its right and a yellow one below:
// loaded in this order they are packed next to each other.
TEST_F(media_atlas, a_sprite_never_shows_its_neighbours_on_the_page) {
    int a = load("a.bmp", solid_bmp(4, 4, red));
    int b = load("b.bmp", solid_bmp(4, 4, green));
    int c = load("c.bmp", solid_bmp(4, 7, yellow));
    EXPECT_NE(sprite_page(a), 0);
    EXPECT_EQ(sprite_page(b), sprite_page(a));
    EXPECT_EQ(sprite_page(c), sprite_page(a));
    EXPECT_EQ(atlas_page_count(), 1);

    int quad = create_blended(a);
    const std::set<uint32_t> only_red{red}, red_on_ground{red, background};
    for (bool smooth : {false, true}) {
        SCOPED_TRACE(smooth ? "smooth" : "point sampled");
        set_filtering(smooth);
        // Zoomed three times: every texel, the edge ones too, stays red.
        zoom_blended(quad, 12, 12);
        set_blended_angle(quad, 0);
        clear_screen(background);
        draw_blended(quad, 10, 10);
        EXPECT_EQ(colours_in(10, 10, 12), only_red);
        EXPECT_COLOUR(read_pixel(22, 16), background);
        EXPECT_COLOUR(read_pixel(16, 22), background);
        for (float angle : {30.0f, 90.0f, 135.0f}) {
            SCOPED_TRACE(angle);
            set_blended_angle(quad, angle);
            clear_screen(background);
            draw_blended(quad, 20, 20);
            EXPECT_EQ(colours_in(14, 14, 24), red_on_ground);
            EXPECT_COLOUR(read_pixel(26, 26), red);
        }
    }
    // The neighbours draw their own colours too.
    clear_screen(background);
    draw_blended(create_blended(b), 0, 0);
    draw_blended(create_blended(c), 8, 0);
    EXPECT_EQ(colours_in(0, 0, 4), std::set<uint32_t>{green});
    EXPECT_COLOUR(read_pixel(8, 6), yellow);
    EXPECT_COLOUR(read_pixel(8, 7), background);
}

TEST_F(media_atlas, free_form_and_cut_out_drawing_take_the_sprite_s_own_texels) {
    // The keyed sprite is packed after a solid one, so its texels do not start
    // at the page corner. Its left column is the key.
    load("first.bmp", solid_bmp(6, 6, green));
    std::vector<uint32_t> pixels(16, red);
    for (int y = 0; y < 4; ++y) pixels[static_cast<size_t>(y * 4)] = magenta;
    int keyed = create_blended(load("keyed.bmp", bmp_bytes(4, 4, pixels)));
    const uint32_t light = rgb(210, 0, 90);   // red added to the ground

    // Free form: a 4 x 4 sprite stretched over 20 x 8.
    transform_blended(keyed, 0, 0, 20, 0, 20, 8, 0, 8);
    for (auto [source, destination, drawn] : {std::tuple{5, 6, red}, std::tuple{2, 5, light}}) {
        SCOPED_TRACE(std::to_string(source) + "," + std::to_string(destination));
        clear_screen(background);
        set_blending(source, destination);
        draw_blended(keyed, 10, 10);
        EXPECT_COLOUR(read_pixel(10, 10), background);   // the keyed column, 5 wide
        EXPECT_COLOUR(read_pixel(14, 17), background);
        EXPECT_COLOUR(read_pixel(15, 10), drawn);
        EXPECT_COLOUR(read_pixel(29, 17), drawn);
        EXPECT_COLOUR(read_pixel(30, 10), background);
        EXPECT_COLOUR(read_pixel(20, 18), background);
    }
    // Cut out and turned half round: the keyed column comes out on the right.
    zoom_blended(keyed, 8, 8);
    set_blended_angle(keyed, 180);
    clear_screen(background);
    draw_blended(keyed, 10, 10);
    EXPECT_EQ(colours_in(10, 10, 6), std::set<uint32_t>{light});
    EXPECT_COLOUR(read_pixel(16, 12), background);
    EXPECT_COLOUR(read_pixel(17, 17), background);
    EXPECT_COLOUR(read_pixel(18, 12), background);
}

// Draws are queued and carried out later; each must keep the filter and the
// blending in force when it was asked for.
TEST_F(media_atlas, filter_and_blending_changes_between_queued_draws_count_per_draw) {
    load("other.bmp", solid_bmp(3, 3, green));
    int pair = create_blended(load("pair.bmp", bmp_bytes(2, 1, {rgb(0, 0, 0), rgb(250, 250, 250)})));
    zoom_blended(pair, 40, 2);
    clear_screen(0);
    set_filtering(false);
    draw_blended(pair, 0, 0);
    set_filtering(true);
    draw_blended(pair, 0, 10);
    set_filtering(false);
    draw_blended(pair, 0, 20);
    EXPECT_COLOUR(read_pixel(19, 0), 0);
    uint32_t smooth = read_pixel(19, 10) & 0xFF;
    EXPECT_GT(smooth, 60u);
    EXPECT_LT(smooth, 200u);
    EXPECT_COLOUR(read_pixel(19, 20), 0);

    int square = create_blended(load("square.bmp", solid_bmp(4, 4, rgb(100, 40, 20))));
    clear_screen(rgb(20, 20, 20));
    set_blending(5, 6);
    draw_blended(square, 0, 30, 255);
    set_blending(2, 2);
    draw_blended(square, 10, 30, 255);
    set_blending(1, 3);
    draw_blended(square, 20, 30, 255);
    set_blending(5, 6);
    EXPECT_COLOUR(read_pixel(1, 31), rgb(100, 40, 20));
    EXPECT_COLOUR(read_pixel(11, 31), rgb(120, 60, 40));
    EXPECT_COLOUR(read_pixel(21, 31), rgb(8, 3, 2));
}

// Changing the filter of one texture must not disturb draws of another that
// are still queued (the GL renderer binds the texture to change its filter).
TEST_F(media_atlas, a_filter_change_leaves_queued_draws_of_other_textures_alone) {
    int square = create_blended(load("square.bmp", solid_bmp(4, 4, red)));
    clear_screen(background);
    draw_box(0, 0, 4, 4, green);
    int grab = create_blended(grab_sprite(0, 0, 4, 4));
    clear_screen(background);
    draw_blended(square, 0, 0);
    EXPECT_COLOUR(read_pixel(1, 1), red);
    draw_blended(square, 10, 0);
    set_filtering(true);
    draw_blended(grab, 20, 0);
    set_filtering(false);
    EXPECT_COLOUR(read_pixel(11, 1), red);
    EXPECT_COLOUR(read_pixel(21, 1), green);
}

TEST_F(media_atlas, freeing_a_sprite_leaves_the_rest_of_its_page_intact) {
    int a = load("a.bmp", solid_bmp(5, 5, red));
    int b = load("b.bmp", solid_bmp(5, 5, green));
    int c = load("c.bmp", solid_bmp(5, 5, yellow));
    int drawn_a = create_blended(a), drawn_c = create_blended(c);
    free_sprite(b);
    // Takes the freed place.
    int d = load("d.bmp", solid_bmp(5, 5, rgb(255, 255, 255)));
    EXPECT_EQ(atlas_page_count(), 1);
    clear_screen(background);
    draw_blended(drawn_a, 0, 0);
    draw_blended(drawn_c, 10, 0);
    draw_blended(create_blended(d), 20, 0);
    EXPECT_EQ(colours_in(0, 0, 5), std::set<uint32_t>{red});
    EXPECT_EQ(colours_in(10, 0, 5), std::set<uint32_t>{yellow});
    EXPECT_EQ(colours_in(20, 0, 5), std::set<uint32_t>{rgb(255, 255, 255)});
    free_sprite(a);
    free_sprite(c);
    EXPECT_EQ(atlas_page_count(), 1);
    free_sprite(d);
    EXPECT_EQ(atlas_page_count(), 0);
    // Drawables of freed sprites draw nothing; a new page serves new sprites.
    clear_screen(background);
    draw_blended(drawn_a, 0, 0);
    int e = create_blended(load("e.bmp", solid_bmp(5, 5, green)));
    draw_blended(e, 10, 0);
    EXPECT_COLOUR(read_pixel(2, 2), background);
    EXPECT_COLOUR(read_pixel(12, 2), green);
}

TEST_F(media_atlas, large_images_and_grabs_have_textures_of_their_own) {
    std::vector<uint32_t> pixels(300 * 2, green);
    pixels[0] = red;
    pixels[299] = yellow;
    int wide = load("wide.bmp", bmp_bytes(300, 2, pixels));
    int grab = grab_sprite(0, 0, 8, 8);
    EXPECT_EQ(sprite_page(wide), 0);
    EXPECT_EQ(sprite_page(grab), 0);
    EXPECT_EQ(atlas_page_count(), 0);
    int small = load("small.bmp", solid_bmp(8, 8, red));
    EXPECT_EQ(sprite_page(small), 1);

    clear_screen(background);
    draw_blended(create_blended(wide), -10, 0);
    draw_blended(create_blended(wide), -250, 10);
    EXPECT_COLOUR(read_pixel(0, 0), green);
    EXPECT_COLOUR(read_pixel(49, 10), yellow);
    EXPECT_COLOUR(read_pixel(50, 10), background);
}

// The full-screen pass frees its grab and grabs again every frame: the new
// grab shows the new picture, and draws of the old one still queued keep theirs.
TEST_F(media_atlas, a_grab_after_a_freed_one_of_its_size_holds_the_new_pixels) {
    clear_screen(background);
    draw_box(40, 40, 6, 6, red);
    int old_grab = grab_sprite(40, 40, 6, 6);
    draw_blended(create_blended(old_grab), 0, 0);
    free_sprite(old_grab);
    draw_box(40, 40, 6, 6, green);
    int new_grab = grab_sprite(40, 40, 6, 6);
    draw_blended(create_blended(new_grab), 10, 0);
    EXPECT_COLOUR(read_pixel(2, 2), red);
    EXPECT_COLOUR(read_pixel(12, 2), green);
    // Grabs alive together keep their own pictures, whatever their sizes.
    draw_box(40, 40, 6, 6, yellow);
    int third = grab_sprite(40, 40, 6, 6);
    int smaller = grab_sprite(40, 40, 3, 3);
    clear_screen(background);
    draw_blended(create_blended(new_grab), 10, 0);
    draw_blended(create_blended(third), 20, 0);
    draw_blended(create_blended(smaller), 30, 0);
    EXPECT_COLOUR(read_pixel(12, 2), green);
    EXPECT_COLOUR(read_pixel(22, 2), yellow);
    EXPECT_COLOUR(read_pixel(32, 2), yellow);
    EXPECT_COLOUR(read_pixel(33, 2), background);
}

// Level set-up frees and loads the player image again, thousands of times
// in a long run; the pages must not pile up.
TEST_F(media_atlas, loads_and_frees_reuse_pages_and_empty_pages_go) {
    std::vector<int> kept;
    for (int size : {12, 20, 31, 32, 48, 64})
        kept.push_back(load("kept" + std::to_string(size) + ".bmp", solid_bmp(size, size, green)));
    const std::string player = folder.write("player.bmp", solid_bmp(28, 28, red));
    const std::string other = folder.write("other.bmp", solid_bmp(40, 24, yellow));
    std::vector<int> players;   // now and then one stays
    for (int round = 0; round < 3000; ++round) {
        int p = load_sprite(player, true);
        int o = load_sprite(other, true);
        if (round % 500 == 0)
            players.push_back(p);
        else
            free_sprite(p);
        free_sprite(o);
    }
    ASSERT_EQ(atlas_page_count(), 1);
    clear_screen(background);
    draw_blended(create_blended(players.back()), 0, 0);
    draw_blended(create_blended(kept.back()), 30, 0);
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
    clear_screen(background);
    draw_blended(create_blended(bigs.back()), 0, 0);
    EXPECT_COLOUR(read_pixel(63, 63), yellow);
    free_sprite(bigs.back());
    EXPECT_EQ(atlas_page_count(), 1);
    for (int sprite : bigs) free_sprite(sprite);
    for (int sprite : kept) free_sprite(sprite);
    EXPECT_EQ(atlas_page_count(), 1);
    for (int sprite : players) free_sprite(sprite);
    EXPECT_EQ(atlas_page_count(), 0);
}

}  // namespace
