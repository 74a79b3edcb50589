// zorbel-pack DATA_DIR: writes the game's data pack into DATA_DIR.
// zorbel-pack --icons DIST_DIR: writes the desktop icons into DIST_DIR.
// zorbel-pack --font DATA_DIR: writes only the font (quick, for its test).
#include <SDL_image.h>

#include <cstdio>
#include <fstream>
#include <system_error>

#include "pack.h"
#include "screens.h"
#include "world_data.h"

namespace fs = std::filesystem;

namespace pack {

bool save_png(SDL_Surface* surface, const fs::path& file) {
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    if (!surface || IMG_SavePNG(surface, file.string().c_str()) != 0) {
        std::fprintf(stderr, "zorbel-pack: cannot write %s: %s\n", file.string().c_str(),
                     SDL_GetError());
        return false;
    }
    return true;
}

bool write_lines(const fs::path& file, const std::vector<std::string>& lines) {
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines) out << line << "\r\n";
    out.close();
    if (!out) {
        std::fprintf(stderr, "zorbel-pack: cannot write %s\n", file.string().c_str());
        return false;
    }
    return true;
}

}  // namespace pack

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--icons") return pack::write_icons(argv[2]) ? 0 : 1;
    if (argc == 3 && std::string(argv[1]) == "--font") return pack::write_font(argv[2]) ? 0 : 1;
    if (argc != 2) {
        std::fputs("usage: zorbel-pack DATA_DIR | zorbel-pack --icons DIST_DIR | "
                   "zorbel-pack --font DATA_DIR\n",
                   stderr);
        return 2;
    }
    const fs::path data_dir = argv[1];
    bool ok = true;
    ok = pack::write_font(data_dir) && ok;
    ok = pack::write_sounds(data_dir) && ok;
    ok = pack::write_tiles(data_dir) && ok;
    ok = pack::write_objects(data_dir) && ok;
    ok = pack::write_configuration(data_dir) && ok;
    ok = pack::write_levels(data_dir) && ok;
    ok = pack::write_backdrops(data_dir) && ok;
    ok = pack::write_screens(data_dir) && ok;
    return ok ? 0 : 1;
}
