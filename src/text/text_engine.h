// Draws texts with the sprite font, inside a blended pass. The pen is kept
// between calls so that several calls can continue one line.
//
// In a text, "\" starts a new line, "|" ends the text (the pen goes back to
// the origin of the next call) and a blank advances by the width of "I".
#pragma once

#include <string>

#include "text/font_engine.h"

// The pen: an offset from the origin of the current call.
extern float text_pen_x, text_pen_y;

// Blends 0, 0 mean normal alpha blending. A zoom below 0 counts as 1.
void draw_text(const std::string& text, float x, float y, float zoom, float angle, int alpha,
               float spacing, int source_blend, int destination_blend);
void draw_glyph(int code, float x, float y, float zoom, float angle, int alpha, float spacing);
