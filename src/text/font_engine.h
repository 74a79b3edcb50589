// The sprite font: one image per character, kept in a table by Latin-1 code.
#pragma once

#include <array>
#include <cstdint>
#include <string>

struct glyph {
    std::string file_stem;   // image name chosen at the last load, without folder and ".png"
    int image = 0;           // sprite as loaded; 0 = none
    int blended_sprite = 0;  // drawable copy of image; 0 = the glyph is not drawn
    float width = 0.0f;      // image size x screen_scale
    float height = 0.0f;
};

// Codes 0 to 256: one record more than there are byte values.
extern std::array<glyph, 257> glyph_table;
extern int32_t font_height;   // height of the last glyph loaded

void load_system_font();   // free_font(), then load_font(cfg_fontsystem)
void load_font(const std::string& definition_file);
void free_font();
// The image a character of the definition line is drawn with, without ".png".
std::string glyph_image_stem(unsigned char c);

// Start values of the text subsystem: an empty font table and the pen at 0, 0.
void init_text_globals();
