#include "text/text_engine.h"

#include <cmath>

#include "media/media.h"

float text_pen_x = 0.0f, text_pen_y = 0.0f;

namespace {
constexpr int blend_source_alpha = 5, blend_inverse_source_alpha = 6;
}

void draw_text(const std::string& text, float x, float y, float zoom, float angle, int alpha,
               float spacing, int source_blend, int destination_blend) {
    if (source_blend != 0 || destination_blend != 0)
        set_blending(source_blend, destination_blend);
    else
        set_blending(blend_source_alpha, blend_inverse_source_alpha);
    for (unsigned char c : text) draw_glyph(c, x, y, zoom, angle, alpha, spacing);
}

void draw_glyph(int code, float x, float y, float zoom, float angle, int alpha, float spacing) {
    if (zoom < 0.0f) zoom = 1.0f;
    switch (code) {
        case '\\':
            text_pen_x = 0.0f;
            text_pen_y += glyph_table['A'].height * 1.2f * zoom;
            return;
        case '|':
            text_pen_x = 0.0f;
            text_pen_y = 0.0f;
            return;
        case ' ':
            // The screens' layouts count on a blank keeping the unzoomed width
            // of "I" at every zoom.
            text_pen_x += glyph_table['I'].width;
            return;
    }
    if (code < 0 || code > 255) return;
    const glyph& g = glyph_table[code];
    if (!g.blended_sprite) return;
    zoom_blended(g.blended_sprite, int(std::lround(g.width * zoom)),
                 int(std::lround(g.height * zoom)));
    if (angle != 0.0f) rotate_blended(g.blended_sprite, angle);
    draw_blended(g.blended_sprite, int(std::lround(text_pen_x + x)),
                 int(std::lround(text_pen_y + y)), alpha);
    text_pen_x += g.width * zoom * spacing;
}
