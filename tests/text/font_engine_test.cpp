// Loading the sprite font: which file lands at which code, scaling, failures.
#include <filesystem>

#include "font_fixture.h"

namespace font_test {
namespace {

class font_loading : public font_fixture {};

// Small letters keep apart from capitals: "_a" is not "A".
TEST_F(font_loading, letters_and_full_stop_load_their_own_files) {
    const struct {
        const char* stem;
        int code, width;
    } files[] = {{"A", 'A', 10}, {"B", 'B', 12}, {"POINT", '.', 4}, {"_a", 'a', 8}};
    for (const auto& f : files) glyph_file(f.stem, f.width, 20);
    definition("AB.a");
    load_font(cfg_fontsystem);

    for (const auto& f : files) {
        EXPECT_EQ(glyph_table[f.code].file_stem, f.stem);
        EXPECT_FLOAT_EQ(glyph_table[f.code].width, float(f.width)) << f.stem;
        EXPECT_TRUE(sprite_exists(glyph_table[f.code].image)) << f.stem;
        EXPECT_TRUE(blended_exists(glyph_table[f.code].blended_sprite)) << f.stem;
    }
    int loaded = 0;
    for (const glyph& g : glyph_table) loaded += g.image != 0;
    EXPECT_EQ(loaded, 4);
    EXPECT_EQ(font_height, 20);
}

// The special characters share the pack's file names; each gets a file of
// its own width here, so the width shows which file landed where.
TEST_F(font_loading, special_characters_load_their_named_images) {
    struct row {
        unsigned char character;
        const char* stem;
        int code;
    };
    const row table[] = {
        {'.', "POINT", 46},        {'?', "ASK", 63},      {'[', "FLOPPY", 91},
        {']', "FLOPPYB", 93},      {'-', "MINUS", 45},    {'"', "FUEL", 34},
        {'(', "LEFT", 40},         {')', "RIGHT", 41},    {':', "POINTPOINT", 58},
        {'*', "STERN", 42},        {'&', "BOMB", 38},     {0xF6, "NOBOMB", 246},
        {0xD6, "NOBOMB", 214},     {0xC4, "HERZ", 196},   {0xE4, "HERZ", 228},
        {'@', "LIFE", 64},         {'+', "PLUS", 43},     {0xFC, "_u", 117},
        {0xDC, "_u", 117},         {0xDF, "S", 83},       {'7', "7", 55},
        {'!', "!", 33},            {'z', "_z", 122},      {'#', "#", 35},
    };
    int width = 3;
    for (const row& r : table) {
        SCOPED_TRACE(r.stem);
        glyph_file(r.stem, ++width, 20);
        definition(std::string(1, char(r.character)));
        load_font(cfg_fontsystem);
        EXPECT_EQ(glyph_table[r.code].file_stem, r.stem);
        EXPECT_FLOAT_EQ(glyph_table[r.code].width, float(width));
    }
}

TEST_F(font_loading, sharp_s_and_u_umlaut_reuse_the_plain_letters) {
    glyph_file("S", 10, 20, red);
    glyph_file("_u", 9, 20, green);
    definition("S\xDF\xFC");
    load_font(cfg_fontsystem);
    EXPECT_TRUE(blended_exists(glyph_table['S'].blended_sprite));
    EXPECT_FLOAT_EQ(glyph_table['S'].width, 10.0f);
    EXPECT_EQ(glyph_table[0xDF].image, 0);
    EXPECT_TRUE(blended_exists(glyph_table['u'].blended_sprite));
    EXPECT_EQ(glyph_table[0xFC].image, 0);
    int sprites = 0;
    for (const glyph& g : glyph_table) sprites += sprite_exists(g.image);
    EXPECT_EQ(sprites, 2);   // the second load of S freed the first
}

TEST_F(font_loading, glyphs_follow_the_screen_scale) {
    open(512, 384);
    glyph_file("A", 32, 40);
    definition("A");
    load_font(cfg_fontsystem);
    EXPECT_FLOAT_EQ(glyph_table['A'].width, 16.0f);
    EXPECT_FLOAT_EQ(glyph_table['A'].height, 20.0f);
    EXPECT_EQ(font_height, 20);
    EXPECT_EQ(blended_width(glyph_table['A'].blended_sprite), 16);
    EXPECT_EQ(blended_height(glyph_table['A'].blended_sprite), 20);
}

TEST_F(font_loading, missing_files_load_nothing_and_draw_nothing) {
    // No definition file at all.
    glyph_file("A", 10, 20);
    load_font(cfg_fontsystem);
    for (const glyph& g : glyph_table) EXPECT_EQ(g.image, 0);

    // A listed character without an image, and an empty line.
    definition("B");
    load_font(cfg_fontsystem);
    definition("");
    load_font(cfg_fontsystem);
    for (const glyph& g : glyph_table) EXPECT_EQ(g.blended_sprite, 0);
    EXPECT_EQ(glyph_table['B'].file_stem, "B");

    frame([] { draw_text("AB", 100, 50, 1, 0, 255, 1, 0, 0); });
    EXPECT_EQ(read_pixel(100, 50), black);
    EXPECT_FLOAT_EQ(text_pen_x, 0.0f);
    EXPECT_FLOAT_EQ(text_pen_y, 0.0f);

    // A glyph whose file went away after it was loaded is no longer drawn.
    definition("A");
    load_font(cfg_fontsystem);
    ASSERT_NE(glyph_table['A'].blended_sprite, 0);
    std::filesystem::remove(folder.path() + "/FONT/A.png");
    load_font(cfg_fontsystem);
    EXPECT_EQ(glyph_table['A'].blended_sprite, 0);
    frame([] { draw_text("A", 100, 50, 1, 0, 255, 1, 0, 0); });
    EXPECT_EQ(read_pixel(104, 60), black);
    EXPECT_FLOAT_EQ(text_pen_x, 0.0f);
}

TEST_F(font_loading, loading_again_keeps_unlisted_glyphs_and_system_load_starts_afresh) {
    glyph_file("A", 10, 20);
    glyph_file("B", 12, 20);
    definition("A");
    load_font(cfg_fontsystem);
    const int first_a = glyph_table['A'].blended_sprite;
    definition("B");
    load_font(cfg_fontsystem);
    EXPECT_EQ(glyph_table['A'].blended_sprite, first_a);
    EXPECT_TRUE(blended_exists(first_a));
    EXPECT_NE(glyph_table['B'].blended_sprite, 0);

    load_system_font();   // frees everything, then reads cfg_fontsystem ("B")
    EXPECT_FALSE(blended_exists(first_a));
    EXPECT_EQ(glyph_table['A'].blended_sprite, 0);
    EXPECT_NE(glyph_table['B'].blended_sprite, 0);

    const int b = glyph_table['B'].blended_sprite, b_image = glyph_table['B'].image;
    free_font();
    EXPECT_FALSE(blended_exists(b));
    EXPECT_FALSE(sprite_exists(b_image));
    EXPECT_EQ(glyph_table['B'].image, 0);
}

TEST_F(font_loading, sprites_loaded_after_the_font_are_keyed_on_white) {
    glyph_file("A", 10, 20);
    definition("A");
    load_font(cfg_fontsystem);
    image_file("white.bmp", 8, 8, rgb(255, 255, 255));
    image_file("magenta.bmp", 8, 8, rgb(255, 0, 255));
    int white = create_blended(load_sprite(folder.path() + "/white.bmp", true));
    int magenta = create_blended(load_sprite(folder.path() + "/magenta.bmp", true));
    frame([&] {
        draw_blended(white, 10, 10);
        draw_blended(magenta, 30, 10);
    });
    EXPECT_EQ(read_pixel(13, 13), black);
    EXPECT_TRUE(close_to(read_pixel(33, 13), rgb(255, 0, 255)));
}

// The pack shipped with the game: every character of its definition line has
// an image, all glyphs are one height, and the game's icons are there.
TEST_F(font_loading, the_shipped_font_is_complete) {
    const std::string data = ZORBEL_SOURCE_DIR "/data";
    cfg_fontpath = data + "/GFX/FONT";
    cfg_fontsystem = data + "/DATA/font.txt";
    load_system_font();
    int file = open_read(cfg_fontsystem);
    ASSERT_NE(file, 0);
    const std::string line = read_line(file);
    close_file(file);
    ASSERT_GT(line.size(), 70u);
    for (unsigned char c : line) {
        int code = c == 0xDF ? 'S' : (c == 0xFC || c == 0xDC) ? 'u' : c;
        EXPECT_NE(glyph_table[code].blended_sprite, 0) << "character " << int(c);
        EXPECT_FLOAT_EQ(glyph_table[code].height, float(font_height)) << "character " << int(c);
    }
    for (unsigned char c : std::string("ABZaz09.?[]-\"():*&\xF6\xD6\xC4\xE4@+!,'>^_`"))
        EXPECT_NE(line.find(char(c)), std::string::npos) << "character " << int(c);
    for (unsigned char c : std::string("\\| ")) EXPECT_EQ(line.find(char(c)), std::string::npos);
    // The blank is as wide as I: it must be a real gap, narrower than a letter.
    EXPECT_GT(glyph_table['I'].width, 8.0f);
    EXPECT_LT(glyph_table['I'].width, glyph_table['M'].width);
}

}  // namespace
}  // namespace font_test

namespace font_test {
namespace {

// The developer tool draws a text with a pack's own font and configuration.
TEST_F(font_loading, the_tool_draws_a_text_with_the_shipped_font) {
    const std::string out = folder.path() + "/text.png";
    command_result run = run_command(std::string(ZORBEL_TOOL) + " text '" ZORBEL_SOURCE_DIR
                                     "/data' 'I|' '" + out + "' 1 000040");
    ASSERT_EQ(run.exit_code, 0) << run.out;
    set_default_colour_key(0xFF00FF);
    int shot = load_sprite(out, true);
    ASSERT_NE(shot, 0);
    EXPECT_EQ(sprite_width(shot), 1024);
    EXPECT_EQ(sprite_height(shot), 768);
    frame([&] { draw_blended(create_blended(shot), 0, 0); });
    EXPECT_EQ(read_pixel(600, 400), rgb(0, 0, 64));
    // The top serif of the I lies just inside its rim, at the text origin.
    uint32_t serif = read_pixel(16 + 4, 16 + 3);
    EXPECT_GT(serif & 255, 200u) << std::hex << serif;          // light, warm body
    EXPECT_GT((serif >> 8) & 255, 150u) << std::hex << serif;
    EXPECT_NE(serif, rgb(255, 255, 255));
}

}  // namespace
}  // namespace font_test
