// Files the game writes for the player: screenshots.
#pragma once

#include <string>

// Saves the screen, less a two-pixel margin at the top and left, as name + ".bmp".
// A failure (a missing folder, say) is silent.
void save_screenshot(const std::string& name);
