// The front end's part of the pack.
#pragma once

#include <filesystem>

namespace pack {

// GFX/menu.png, the menus' background, and GFX/credits0.png and
// GFX/credits1.png, the two pictures of the credits pages.
bool write_screens(const std::filesystem::path& data_dir);

}  // namespace pack
