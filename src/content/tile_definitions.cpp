#include "content/tile_definitions.h"

#include <cmath>
#include <unordered_map>

#include "content/pair_file.h"
#include "core/system_ini.h"
#include "media/media.h"
#include "world/world.h"

std::vector<tile_graphic> tile_graphics;

namespace {

enum class tile_key {
    gfx_name, child1, child2, child3, child4, value1, random_seed, rotate, use_collision,
    transparency, use_enemy, dx1, dx2, use_direction, internal_name
};

struct definition_entry {
    tile_key key;
    std::string value;
    int32_t number;
};

struct parsed_definition {
    bool found = false;
    std::vector<definition_entry> entries;
};

bool key_of(const std::string& text, tile_key& key) {
    static const std::unordered_map<std::string, tile_key> keys = {
        {"GFXNAME", tile_key::gfx_name},       {"CHILD1", tile_key::child1},
        {"CHILD2", tile_key::child2},          {"CHILD3", tile_key::child3},
        {"CHILD4", tile_key::child4},          {"VALUE1", tile_key::value1},
        {"RANDOMSEED", tile_key::random_seed}, {"ROTATE", tile_key::rotate},
        {"USECOLLISION", tile_key::use_collision}, {"TRANSPARENCY", tile_key::transparency},
        {"USEENEMY", tile_key::use_enemy},     {"DX1", tile_key::dx1},
        {"DX2", tile_key::dx2},                {"USEDIRECTION", tile_key::use_direction},
        {"INTERNALNAME", tile_key::internal_name},
    };
    auto found = keys.find(text);
    if (found == keys.end()) return false;
    key = found->second;
    return true;
}

// Unknown keys (the extra child slots among them) are dropped with their values.
parsed_definition parse_definition(const std::string& path) {
    parsed_definition parsed;
    key_value_pairs pairs;
    parsed.found = read_pair_file(path, pairs);
    for (auto& [key_text, value] : pairs) {
        tile_key key;
        if (!key_of(key_text, key)) continue;
        int32_t number = read_integer(value);
        parsed.entries.push_back({key, std::move(value), number});
    }
    return parsed;
}

int cache_depth = 0;
std::unordered_map<std::string, parsed_definition> definition_cache;

const parsed_definition& definition_at(const std::string& path) {
    auto cached = definition_cache.find(path);
    if (cached != definition_cache.end()) return cached->second;
    return definition_cache.emplace(path, parse_definition(path)).first->second;
}

void set_child(world_cell& cell, int slot, const std::string& name) {
    cell.child_name[slot] = name;
    cell.child_object[slot] = -1;
    if (name != "#") cell.child_count = uint8_t(slot);
}

void set_direction(world_cell& cell, const std::string& value) {
    if (value == "DEFAULT") cell.tile_direction = 17;
    else if (value == "UP") cell.tile_direction = 21;
    else if (value == "DOWN") cell.tile_direction = 18;
    else if (value == "LEFT") cell.tile_direction = 19;
    else if (value == "RIGHT") cell.tile_direction = 20;
}

void apply_entry(world_cell& cell, const definition_entry& entry) {
    switch (entry.key) {
    case tile_key::gfx_name: cell.gfx_name = entry.value; break;
    case tile_key::child1: set_child(cell, 0, entry.value); break;
    case tile_key::child2: set_child(cell, 1, entry.value); break;
    case tile_key::child3: set_child(cell, 2, entry.value); break;
    case tile_key::child4: set_child(cell, 3, entry.value); break;
    case tile_key::value1: cell.value1 = entry.number; break;
    case tile_key::random_seed: cell.tile_seed = entry.number; break;
    case tile_key::rotate: cell.rotate = entry.number; break;
    case tile_key::use_collision: cell.use_collision = uint8_t(entry.number); break;
    case tile_key::transparency:
        cell.transparency = entry.number;
        cell.alpha = int32_t(255 - int64_t(entry.number));
        break;
    case tile_key::use_enemy: cell.use_enemy = uint8_t(entry.number); break;
    case tile_key::dx1: cell.dx1 = entry.number; break;
    case tile_key::dx2: cell.dx2 = entry.number; break;
    case tile_key::use_direction: set_direction(cell, entry.value); break;
    case tile_key::internal_name: break;   // the kind's name is its file's name
    }
}

}  // namespace

definition_cache_scope::definition_cache_scope() { ++cache_depth; }

definition_cache_scope::~definition_cache_scope() {
    if (--cache_depth == 0) definition_cache.clear();
}

void init_tile_definition_globals() {
    tile_graphics.clear();
    definition_cache.clear();
    cache_depth = 0;
}

void build_tile_graphics() {
    int scan = scan_folder(cfg_topogfx, "*" + cfg_gfxcodec);
    if (scan == 0) return;
    while (next_entry(scan)) {
        if (entry_is_folder(scan)) continue;
        tile_graphic graphic;
        graphic.file_name = entry_name(scan);
        graphic.path = cfg_topogfx + graphic.file_name;
        graphic.sprite = load_sprite(graphic.path, true);
        graphic.width = float(sprite_width(graphic.sprite));
        graphic.height = float(sprite_height(graphic.sprite));
        tile_graphics.push_back(std::move(graphic));
    }
    end_scan(scan);
}

std::string tile_definition_path(const std::string& kind) {
    return cfg_rgbcodepath + cfg_appstart + "\\" + kind;
}

void load_tile_definition(int32_t x, int32_t y, const std::string& path) {
    if (!in_matrix(x, y)) return;
    parsed_definition uncached;
    const parsed_definition* definition = nullptr;
    if (cache_depth > 0) {
        definition = &definition_at(path);
    } else {
        uncached = parse_definition(path);
        definition = &uncached;
    }
    if (!definition->found) return;
    world_cell& cell = world_matrix[x][y];
    cell.child_count = 0;
    cell.gfx_name.clear();
    for (const definition_entry& entry : definition->entries) apply_entry(cell, entry);
    if (cell.gfx_name.empty()) cell.gfx_name = "dummy.png";
    cell.children_spawned = 0;
}

void attach_tile_graphic(int32_t x, int32_t y, const std::string& gfx_name) {
    if (!in_matrix(x, y)) return;
    for (const tile_graphic& graphic : tile_graphics) {
        if (graphic.file_name != gfx_name) continue;
        world_cell& cell = world_matrix[x][y];
        if (blended_exists(cell.tile_sprite)) free_blended(cell.tile_sprite);
        cell.tile_sprite = create_blended(graphic.sprite);
        zoom_tile(x, y);
        return;
    }
}
