// The overlay laid over the play screen and the full-screen pass.
#pragma once

#include <string>

void load_top_glass(const std::string& path);
void draw_top_glass(int source_blend, int destination_blend);
void present_full_screen(int mode, int sprite);
