// The world's part of the pack: tiles, objects, the marker and the levels.
#pragma once

#include <filesystem>

namespace pack {

// GFX/TILES/*.png and DATA/TILES/ZORBEL/<kind>.
bool write_tiles(const std::filesystem::path& data_dir);
// GFX/OBJECTS/*.png with their ".dll" definitions, and GFX/cursor.png.
bool write_objects(const std::filesystem::path& data_dir);
// DATA/ini.txt, the configuration.
bool write_configuration(const std::filesystem::path& data_dir);
// DATA/level.base and the prepared world WORLDS/ZORBEL.ai42 with its ".red".
bool write_levels(const std::filesystem::path& data_dir);
// GFX/FLOAT/*.png and GFX/MENUFLOAT/*.png, the drifting images, and
// GFX/glass.png, the pane laid over the play screen.
bool write_backdrops(const std::filesystem::path& data_dir);

}  // namespace pack
