// The sprite font: which file lands at which code; drawing: glyphs, pen, zoom, turns, blending.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "core/configuration.h"
#include "core/machine.h"
#include "game/startup.h"
#include "media/media.h"
#include "support/test_support.h"
#include "text/font_engine.h"
#include "text/text_engine.h"

namespace {

constexpr uint32_t rgb(int r, int g, int b) { return uint32_t(r) + 256u * g + 65536u * b; }
constexpr uint32_t red = rgb(200, 30, 30), green = rgb(30, 200, 30), black = 0;

// A design of 1024 x 768 on a headless screen, and a throw-away font folder.
class FontLoading : public ::testing::Test {
protected:
    void SetUp() override { open(1024, 768); }
    void TearDown() override { free_font(), close_headless_screen(); }
    void open(int screen_w, int screen_h) {
        close_headless_screen(); init_globals(); base_width = 1024, base_height = 768;
        screen_width = float(screen_w), screen_height = float(screen_h);
        screen_scale = screen_width / float(base_width); open_headless_screen(screen_w, screen_h);
        set_filtering(false); cfg_fontpath = folder.path() + "\\FONT";
        cfg_fontsystem = folder.path() + "\\font.txt";
    }
    // Loaders go by content, so a ".png" name is fine.
    void glyph_file(const std::string& stem, int width, int height, uint32_t colour = red) {
        folder.write("FONT/" + stem + ".png", solid_bmp(width, height, colour));
    }
    void definition(const std::string& line) { folder.write("font.txt", line + "\r\n"); }   // Latin-1
    // One frame on a black (or given) ground, then pixels can be read.
    template <class Draw>
    static void frame(Draw draw, uint32_t ground = black) {
        clear_screen(ground), begin_blended_pass(), draw(), end_blended_pass();
    }
    struct pixel { int x, y; uint32_t colour; };
    // Black exactly, drawn colours within a few steps on every channel.
    static void expect_pixels(std::initializer_list<pixel> pixels) {
        for (const pixel& p : pixels) {
            const uint32_t got = read_pixel(p.x, p.y);
            bool close = true;
            for (int shift = 0; shift < 24; shift += 8)
                close = close && std::abs(int((got >> shift) & 255) - int((p.colour >> shift) & 255)) <= 6;
            EXPECT_TRUE(p.colour == black ? got == black : close) << p.x << "," << p.y << ": " << std::hex << got;
        }
    }
    static void expect_pen(float x, float y) { EXPECT_EQ(std::pair(text_pen_x, text_pen_y), std::pair(x, y)); }
    temp_folder folder;
};

// Each file has its own width, showing which landed where ("_a" is not "A").
TEST_F(FontLoading, EveryCharacterLoadsItsNamedImage) {
    const struct { unsigned char character; const char* stem; int code; } table[] = {
        {'A', "A", 'A'}, {'.', "POINT", 46}, {'a', "_a", 'a'}, {'z', "_z", 122}, {0xD6, "NOBOMB", 214},
        {0xE4, "HERZ", 228}, {0xFC, "_u", 117}, {0xDF, "S", 83}, {'7', "7", 55}, {'#', "#", 35}, {'?', "ASK", 63},
        {'[', "FLOPPY", 91}, {']', "FLOPPYB", 93}, {'-', "MINUS", 45}, {'"', "FUEL", 34}, {'(', "LEFT", 40}, {')', "RIGHT", 41},
        {':', "POINTPOINT", 58}, {'*', "STERN", 42}, {0xF6, "NOBOMB", 246}, {'+', "PLUS", 43}, {0xDC, "_u", 117}, {'!', "!", 33}};
    int width = 3;
    for (const auto& r : table) {
        glyph_file(r.stem, ++width, 20); definition(std::string(1, char(r.character)));
        load_font(cfg_fontsystem);
        EXPECT_EQ(glyph_table[r.code].file_stem, r.stem);
        EXPECT_FLOAT_EQ(glyph_table[r.code].width, float(width)) << r.stem;
    }
    // One line loads them all, each with its image and drawable; ß and ü share S and u.
    definition("A.aS\xDF\xFC"); load_system_font();
    int loaded = 0;
    for (const glyph& g : glyph_table) loaded += sprite_exists(g.image);
    EXPECT_EQ(loaded, 5) << "the second load of S freed the first";
    EXPECT_TRUE(blended_exists(glyph_table['u'].blended_sprite));
    EXPECT_EQ(glyph_table[0xFC].image, 0);
    EXPECT_EQ(font_height, 20);
}

TEST_F(FontLoading, GlyphsFollowTheScreenScale) {
    open(512, 384); glyph_file("A", 32, 40); definition("A");
    load_font(cfg_fontsystem);
    const glyph& a = glyph_table['A'];
    EXPECT_EQ(std::tuple(a.width, a.height, font_height), std::tuple(16.0f, 20.0f, 20));
    EXPECT_EQ(std::pair(blended_width(a.blended_sprite), blended_height(a.blended_sprite)), std::pair(16, 20));
}

TEST_F(FontLoading, MissingFilesLoadNothingAndDrawNothing) {
    glyph_file("A", 10, 20);
    load_font(cfg_fontsystem);   // no definition file at all
    EXPECT_EQ(glyph_table['A'].image, 0);
    definition("B");   // a listed character without an image
    load_font(cfg_fontsystem);
    EXPECT_EQ(glyph_table['B'].blended_sprite, 0);
    // A glyph whose file went away after it was loaded is no longer drawn.
    definition("A"); load_font(cfg_fontsystem);
    ASSERT_NE(glyph_table['A'].blended_sprite, 0);
    std::filesystem::remove(folder.path() + "/FONT/A.png");
    load_font(cfg_fontsystem);
    EXPECT_EQ(glyph_table['A'].blended_sprite, 0);
    frame([] { draw_text("A", 100, 50, 1, 0, 255, 1, 0, 0); }); expect_pixels({{104, 60, black}});
    expect_pen(0, 0);
}

TEST_F(FontLoading, LoadingAgainKeepsUnlistedGlyphsAndSystemLoadStartsAfresh) {
    glyph_file("A", 10, 20), glyph_file("B", 12, 20); definition("A"); load_font(cfg_fontsystem);
    const int first_a = glyph_table['A'].blended_sprite;
    definition("B"); load_font(cfg_fontsystem);
    EXPECT_EQ(glyph_table['A'].blended_sprite, first_a);
    load_system_font();   // frees everything, then reads cfg_fontsystem ("B")
    EXPECT_FALSE(blended_exists(first_a));
    EXPECT_EQ(glyph_table['A'].blended_sprite, 0);
    const int b = glyph_table['B'].blended_sprite;
    free_font();
    EXPECT_FALSE(blended_exists(b));

    // Sprites loaded after the font are keyed on white.
    const int white = create_blended(load_sprite(folder.write("white.bmp", solid_bmp(8, 8, rgb(255, 255, 255))), true));
    const int magenta = create_blended(load_sprite(folder.write("magenta.bmp", solid_bmp(8, 8, rgb(255, 0, 255))), true));
    frame([&] {
        draw_blended(white, 10, 10); draw_blended(magenta, 30, 10);
    });
    expect_pixels({{13, 13, black}, {33, 13, rgb(255, 0, 255)}});
}

// A red A 10 x 20, a green B 12 x 20 and an I 6 wide (the blank).
class TextDrawing : public FontLoading {
protected:
    void SetUp() override {
        FontLoading::SetUp(); glyph_file("A", 10, 20, red); glyph_file("B", 12, 20, green);
        glyph_file("I", 6, 20, rgb(30, 30, 200)); definition("ABI"); load_system_font();
    }
    static void text(const std::string& t, float zoom = 1, float spacing = 1) {
        draw_text(t, 100, 50, zoom, 0, 255, spacing, 0, 0);
    }
};

TEST_F(TextDrawing, LettersFollowEachOtherAndTheEndMarkResetsThePen) {
    frame([] { text("AB|"); });
    expect_pixels({{99, 50, black}, {100, 50, red}, {109, 69, red}, {110, 50, green}, {121, 69, green},
                   {122, 50, black}, {110, 70, black}});
    expect_pen(0, 0);
    // Backslash: a new line 1.2 x the height of A lower, back at the origin's x.
    frame([] { text("A\\B|"); });
    expect_pixels({{100, 73, black}, {100, 74, green}, {111, 93, green}, {112, 74, black}});
    frame([] { text("A\\B\\", 2); });
    expect_pen(0, 96);   // two lines of 20 x 1.2 x 2
}

// The pen is an offset: a later call, at its own origin, goes on from it.
TEST_F(TextDrawing, ATextWithoutEndMarkIsContinuedByTheNextCall) {
    frame([] {
        text("A"); draw_text("B|", 300, 200, 1, 0, 255, 1, 0, 0);
    });
    expect_pixels({{310, 200, green}, {305, 200, black}});
}

TEST_F(TextDrawing, BlanksIgnoreZoomAndSpacingLettersDoNot) {
    frame([] { text(" A|", 2); });
    expect_pixels({{105, 50, black}, {106, 50, red}, {125, 89, red}, {126, 50, black}});
    frame([] { text("AA  ", 2, 1.5f); });
    EXPECT_FLOAT_EQ(text_pen_x, 2 * 10 * 2 * 1.5f + 2 * 6);
    frame([] { text("|AB|", 1, 2); }); expect_pixels({{115, 50, black}, {120, 50, green}});
}

TEST_F(TextDrawing, OddZoomsAndCharactersWithoutGlyph) {
    frame([] { text("A", -3); });   // counts as one
    expect_pen(10, 0);
    expect_pixels({{100, 50, red}});
    frame([] { text("|AB", 0); });   // shows nothing
    expect_pixels({{100, 50, black}});
    frame([] { text("xZ\xE9"); });   // no glyphs: nothing drawn, the pen kept
    expect_pen(0, 0); expect_pixels({{100, 50, black}}); frame([] { text("AxB|"); });
    expect_pixels({{110, 50, green}});
}

TEST_F(TextDrawing, AnAngleKeepsTurningTheGlyphsFrameAfterFrame) {
    for (int i = 0; i < 3; ++i) {
        frame([] { draw_text("A|", 100, 50, 1, 10, 255, 1, 0, 0); }); flip_screen();
    }
    EXPECT_NEAR(blended_angle(glyph_table['A'].blended_sprite), 30.0f, 0.01f);
    EXPECT_NEAR(blended_angle(glyph_table['B'].blended_sprite), 0.0f, 0.01f);
}

// A blue ground shows how the text was mixed into it: blends 0, 0 mean normal alpha blending.
TEST_F(TextDrawing, BlendsZeroMeanNormalAlphaBlending) {
    const uint32_t ground = rgb(0, 0, 100);
    frame([] { draw_text("A|", 100, 50, 1, 0, 255, 1, 2, 2); }, ground);   // one, one: adds up
    expect_pixels({{104, 60, rgb(200, 30, 130)}});
    frame([] { draw_text("A|", 100, 50, 1, 0, 128, 1, 0, 0); }, ground);
    expect_pixels({{104, 60, rgb(100, 15, 65)}});
}

}  // namespace
