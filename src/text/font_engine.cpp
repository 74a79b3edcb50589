#include "text/font_engine.h"

#include <cmath>

#include "core/configuration.h"
#include "core/machine.h"
#include "media/media.h"
#include "text/text_engine.h"

std::array<glyph, 257> glyph_table;
int32_t font_height = 0;

namespace {

// The image stem and the table code of a character of the definition line.
struct glyph_target {
    std::string stem;
    int code;
};

glyph_target glyph_target_of(unsigned char c) {
    switch (c) {
        case '.': return {"POINT", 46};
        case '?': return {"ASK", 63};
        case '[': return {"FLOPPY", 91};
        case ']': return {"FLOPPYB", 93};
        case '-': return {"MINUS", 45};
        case '"': return {"FUEL", 34};
        case '(': return {"LEFT", 40};
        case ')': return {"RIGHT", 41};
        case ':': return {"POINTPOINT", 58};
        case '*': return {"STERN", 42};
        case '&': return {"BOMB", 38};
        case 0xF6: return {"NOBOMB", 246};   // ö
        case 0xD6: return {"NOBOMB", 214};   // Ö
        case 0xC4: return {"HERZ", 196};     // Ä
        case 0xE4: return {"HERZ", 228};     // ä
        case '@': return {"LIFE", 64};
        case '+': return {"PLUS", 43};
        case 0xFC: case 0xDC: return {"_u", 'u'};   // ü Ü draw as u
        case 0xDF: return {"S", 'S'};               // ß draws as S
    }
    // Small letters carry a "_" so both cases can share a folder on file
    // systems that ignore case.
    if (c >= 'a' && c <= 'z') return {std::string("_") + char(c), c};
    return {std::string(1, char(c)), c};
}

}  // namespace

std::string glyph_image_stem(unsigned char c) { return glyph_target_of(c).stem; }

void load_system_font() {
    free_font();
    load_font(cfg_fontsystem);
}

void load_font(const std::string& definition_file) {
    int file = open_read(definition_file);
    if (!file) return;
    const std::string line = read_line(file);
    for (unsigned char c : line) {
        glyph_target target = glyph_target_of(c);
        glyph& g = glyph_table[target.code];
        g.file_stem = target.stem;
        if (g.image) {
            free_sprite(g.image);
            g.image = 0;
        }
        set_default_colour_key(0xFFFFFF);
        g.image = load_sprite(cfg_fontpath + "\\" + g.file_stem + ".png", true);
        if (g.image) {
            g.height = float(sprite_height(g.image)) * screen_scale;
            font_height = int32_t(std::lround(g.height));
            g.width = float(sprite_width(g.image)) * screen_scale;
            if (g.blended_sprite) free_blended(g.blended_sprite);
            g.blended_sprite = create_blended(g.image);
            if (g.blended_sprite)
                zoom_blended(g.blended_sprite, int(std::lround(g.width)),
                             int(std::lround(g.height)));
        } else if (g.blended_sprite) {
            // The old drawable belonged to the image just freed; without an
            // image the glyph must neither draw nor move the pen.
            free_blended(g.blended_sprite);
            g.blended_sprite = 0;
        }
    }
    close_file(file);
}

void free_font() {
    // Code 256 is never loaded, so it is not visited.
    for (int code = 0; code < 256; ++code) {
        glyph& g = glyph_table[code];
        if (g.blended_sprite) free_blended(g.blended_sprite);
        if (g.image) free_sprite(g.image);
        g.blended_sprite = 0;
        g.image = 0;
    }
}

void init_text_globals() {
    glyph_table.fill(glyph{});
    font_height = 0;
    text_pen_x = 0.0f;
    text_pen_y = 0.0f;
}
