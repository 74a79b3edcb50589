// The overlay laid over the play screen and the full-screen pass.
#pragma once

#include <cstdint>
#include <string>

extern int32_t top_glass_image;   // sprite
extern int32_t top_glass;         // blended sprite made from it
extern uint8_t top_glass_ready;

void init_overlay_globals();

// A missing or unreadable image leaves the overlay off.
void load_top_glass(const std::string& path);
// Blend factors 0, 0 keep the current blending.
void draw_top_glass(int source_blend, int destination_blend);
// Mode 5 draws the blended sprite opaque over the whole screen.
void present_full_screen(int mode, int sprite);
