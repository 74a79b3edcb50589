// Tile images and tile definitions: what a tile kind looks like and does.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/configuration.h"
#include "world/interned_name.h"

struct tile_graphic {
    std::string path;
    int32_t sprite = 0;       // 0 when the image did not load
    interned_name file_name;  // the key tiles refer to it by
    float width = 0, height = 0;
};

extern std::vector<tile_graphic> tile_graphics;

void init_tile_definition_globals();

// Loads every image of the tile image folder, once at start-up.
void build_tile_graphics();

// Where the definition of a tile kind lives: the file is named like the kind.
std::string tile_definition_path(const std::string& kind);

// False for a key the definition files do not know ("#CHILD5" and the other
// slots the cell has no room for among them).
bool tile_definition_key_kind(const std::string& key, value_kind& kind);
// The words "USEDIRECTION" takes; any other leaves the direction as it was.
bool is_direction_word(const std::string& value);

// Copies a definition into cell (x, y); a missing file leaves the cell alone.
void load_tile_definition(int32_t x, int32_t y, const std::string& path);

// Gives the cell its own blended sprite of the named image.
void attach_tile_graphic(int32_t x, int32_t y, interned_name gfx_name);

// Definitions are parsed once and kept with their file's stamp (size, times,
// inode). A load reads the file again only when the stamp changed or the file
// appeared or vanished, so an edited definition takes effect at the very next
// set_tile. While the file's watch reports no change, not even the stamp is
// asked for.
// How many times a definition file has been read from disk since start-up.
int64_t tile_definition_reads();
