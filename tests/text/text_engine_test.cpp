// Drawing texts: where the glyphs land, the pen, zoom, spacing, rotation, blending.
#include "font_fixture.h"

namespace font_test {
namespace {

// A red A 10 x 20, a green B 12 x 20 and an I 6 wide (the blank).
class text_drawing : public font_fixture {
protected:
    void SetUp() override {
        font_fixture::SetUp();
        glyph_file("A", 10, 20, red);
        glyph_file("B", 12, 20, green);
        glyph_file("I", 6, 20, rgb(30, 30, 200));
        definition("ABI");
        load_system_font();
    }
    void text(const std::string& t, float zoom = 1, float spacing = 1) {
        draw_text(t, 100, 50, zoom, 0, 255, spacing, 0, 0);
    }
};

TEST_F(text_drawing, letters_follow_each_other_and_the_end_mark_resets_the_pen) {
    frame([&] { text("AB|"); });
    EXPECT_EQ(read_pixel(99, 50), black);
    EXPECT_TRUE(close_to(read_pixel(100, 50), red));
    EXPECT_TRUE(close_to(read_pixel(109, 69), red));
    EXPECT_TRUE(close_to(read_pixel(110, 50), green));
    EXPECT_TRUE(close_to(read_pixel(121, 69), green));
    EXPECT_EQ(read_pixel(122, 50), black);
    EXPECT_EQ(read_pixel(110, 70), black);
    EXPECT_FLOAT_EQ(text_pen_x, 0.0f);
    EXPECT_FLOAT_EQ(text_pen_y, 0.0f);
}

TEST_F(text_drawing, backslash_starts_a_new_line_below) {
    frame([&] { text("A\\B|"); });
    // 1.2 x the height of A lower, back at the origin's x.
    EXPECT_EQ(read_pixel(100, 73), black);
    EXPECT_TRUE(close_to(read_pixel(100, 74), green));
    EXPECT_TRUE(close_to(read_pixel(111, 93), green));
    EXPECT_EQ(read_pixel(112, 74), black);

    frame([&] { text("A\\B\\", 2); });
    EXPECT_FLOAT_EQ(text_pen_x, 0.0f);
    EXPECT_FLOAT_EQ(text_pen_y, 96.0f);   // two lines of 20 x 1.2 x 2
}

TEST_F(text_drawing, a_text_without_end_mark_is_continued_by_the_next_call) {
    frame([&] {
        text("A");
        EXPECT_FLOAT_EQ(text_pen_x, 10.0f);
        text("B|");
    });
    EXPECT_TRUE(close_to(read_pixel(100, 50), red));
    EXPECT_TRUE(close_to(read_pixel(110, 50), green));
    EXPECT_TRUE(close_to(read_pixel(121, 69), green));

    // The pen is an offset: a later call at another origin starts there plus
    // the offset left over.
    frame([&] {
        text("A");
        draw_text("B|", 300, 200, 1, 0, 255, 1, 0, 0);
    });
    EXPECT_TRUE(close_to(read_pixel(310, 200), green));
    EXPECT_EQ(read_pixel(305, 200), black);
}

TEST_F(text_drawing, blanks_ignore_zoom_and_spacing_letters_do_not) {
    frame([&] { text(" A|", 2); });
    EXPECT_EQ(read_pixel(105, 50), black);
    EXPECT_TRUE(close_to(read_pixel(106, 50), red));
    EXPECT_TRUE(close_to(read_pixel(125, 89), red));   // A at twice its size
    EXPECT_EQ(read_pixel(126, 50), black);

    frame([&] { text("AA  ", 2, 1.5f); });
    EXPECT_FLOAT_EQ(text_pen_x, 2 * 10 * 2 * 1.5f + 2 * 6);

    frame([&] { text("|AB|", 1, 2); });
    EXPECT_EQ(read_pixel(115, 50), black);
    EXPECT_TRUE(close_to(read_pixel(120, 50), green));
}

TEST_F(text_drawing, negative_zoom_counts_as_one_and_zero_zoom_shows_nothing) {
    frame([&] { text("A", -3); });
    EXPECT_EQ(blended_width(glyph_table['A'].blended_sprite), 10);
    EXPECT_EQ(blended_height(glyph_table['A'].blended_sprite), 20);
    EXPECT_FLOAT_EQ(text_pen_x, 10.0f);
    EXPECT_TRUE(close_to(read_pixel(100, 50), red));

    frame([&] { text("|AB", 0); });
    EXPECT_EQ(blended_width(glyph_table['A'].blended_sprite), 0);
    EXPECT_EQ(blended_height(glyph_table['B'].blended_sprite), 0);
    EXPECT_FLOAT_EQ(text_pen_x, 0.0f);
    EXPECT_EQ(read_pixel(100, 50), black);
}

TEST_F(text_drawing, characters_without_glyph_draw_nothing_and_keep_the_pen) {
    frame([&] { text("xZ\xE9"); });
    EXPECT_FLOAT_EQ(text_pen_x, 0.0f);
    EXPECT_EQ(read_pixel(100, 50), black);
    frame([&] { text("AxB|"); });
    EXPECT_TRUE(close_to(read_pixel(110, 50), green));
}

TEST_F(text_drawing, an_angle_keeps_turning_the_glyphs_frame_after_frame) {
    for (int i = 0; i < 3; ++i) {
        frame([&] { draw_text("A|", 100, 50, 1, 10, 255, 1, 0, 0); });
        flip_screen();
    }
    EXPECT_NEAR(blended_angle(glyph_table['A'].blended_sprite), 30.0f, 0.01f);
    frame([&] { text("A|"); });
    EXPECT_NEAR(blended_angle(glyph_table['A'].blended_sprite), 30.0f, 0.01f);
    EXPECT_NEAR(blended_angle(glyph_table['B'].blended_sprite), 0.0f, 0.01f);
}

TEST_F(text_drawing, blends_zero_mean_normal_alpha_blending) {
    // A grey ground shows how the text was mixed into it.
    auto grey_frame = [&](auto draw) {
        clear_screen(rgb(0, 0, 100));
        begin_blended_pass();
        draw();
        end_blended_pass();
    };
    grey_frame([] { draw_text("A|", 100, 50, 1, 0, 255, 1, 2, 2); });   // one, one: adds up
    EXPECT_TRUE(close_to(read_pixel(104, 60), rgb(200, 30, 130)));
    grey_frame([] {
        draw_text("A|", 300, 50, 1, 0, 255, 1, 2, 2);
        draw_text("A|", 100, 50, 1, 0, 255, 1, 0, 0);
    });
    EXPECT_TRUE(close_to(read_pixel(104, 60), red));
    grey_frame([] { draw_text("A|", 100, 50, 1, 0, 128, 1, 0, 0); });
    EXPECT_TRUE(close_to(read_pixel(104, 60), rgb(100, 15, 65)));
}

}  // namespace
}  // namespace font_test
