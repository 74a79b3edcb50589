// The data pack generator: every image and text of the shipped pack is drawn
// here, so the pack can be rebuilt byte for byte from source.
#pragma once

#include <SDL.h>

#include <filesystem>
#include <string>
#include <vector>

namespace pack {

// Writes a surface as PNG, creating the folder; false on failure (reported).
bool save_png(SDL_Surface* surface, const std::filesystem::path& file);

// Writes Latin-1 lines ending in CR LF, as the game's text files are.
bool write_lines(const std::filesystem::path& file, const std::vector<std::string>& lines);

// DATA_DIR/GFX/FONT/*.png and DATA_DIR/DATA/font.txt.
bool write_font(const std::filesystem::path& data_dir);

// DATA_DIR/SFX/*.ogg, the sound effects, and DATA_DIR/MUSIC/*.ogg, the music.
bool write_sounds(const std::filesystem::path& data_dir);

// DIST_DIR/icons/SIZE/zorbel.png: the desktop menu's icon at 48, 64, 128, 256 px.
bool write_icons(const std::filesystem::path& dist_dir);

}  // namespace pack
