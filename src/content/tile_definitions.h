// Tile images and tile definitions: what a tile kind looks like and does.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct tile_graphic {
    std::string path;
    int32_t sprite = 0;       // 0 when the image did not load
    std::string file_name;    // the key tiles refer to it by
    float width = 0, height = 0;
};

extern std::vector<tile_graphic> tile_graphics;

void init_tile_definition_globals();

// Loads every image of the tile image folder, once at start-up.
void build_tile_graphics();

// Where the definition of a tile kind lives: the file is named like the kind.
std::string tile_definition_path(const std::string& kind);

// Copies a definition into cell (x, y); a missing file leaves the cell alone.
void load_tile_definition(int32_t x, int32_t y, const std::string& path);

// Gives the cell its own blended sprite of the named image.
void attach_tile_graphic(int32_t x, int32_t y, const std::string& gfx_name);

// While one of these lives, each definition file is read from disk once and
// remembered; a level build sets hundreds of thousands of tiles from a
// handful of files. Outside a build every set_tile reads the file afresh, so
// an edited definition takes effect at once.
class definition_cache_scope {
public:
    definition_cache_scope();
    ~definition_cache_scope();
    definition_cache_scope(const definition_cache_scope&) = delete;
    definition_cache_scope& operator=(const definition_cache_scope&) = delete;
};
