#include "world/tile_definitions.h"

#include <chrono>
#include <cmath>
#include <unordered_map>

#include "core/configuration.h"
#include "core/pair_file.h"
#include "media/media.h"
#include "world/interned_name.h"
#include "world/world.h"

std::vector<tile_graphic> tile_graphics;

namespace {

enum class tile_key {
    gfx_name, child1, child2, child3, child4, value1, random_seed, rotate, use_collision,
    transparency, use_enemy, dx1, dx2, use_direction, internal_name
};

// A key as read, with its value ready to apply: names interned, numbers and
// direction words converted once.
struct definition_entry {
    tile_key key;
    interned_name name;
    int32_t number;
};

struct cached_definition {
    bool known = false;      // the fields below describe the file as `stamp` saw it
    bool exists = false;
    bool settled = false;    // written long enough before the read to trust the stamp
    file_stamp stamp;
    uint64_t generation = 0; // of the file's watch, taken just before `stamp`
    bool found = false;      // read from disk
    std::vector<definition_entry> entries;
};

// File times come from a coarse clock: a tick of a few ms on Linux file
// systems, whole seconds on some others. A second edit within the tick of the
// version we read may leave every part of the stamp as it was, so a file that
// was modified within a tick of our read is read again at every load until it
// is older than that.
int64_t settle_ns(const file_stamp& stamp) {
    constexpr int64_t second = 1'000'000'000;
    return stamp.modified_ns % second == 0 ? 2 * second : second / 50;
}

const interned_name no_child = "#";
const interned_name dummy_image = "dummy.png";

std::unordered_map<std::string, cached_definition> definitions;
int64_t definition_reads = 0;

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

// 0 for a word that leaves the direction as it is.
int32_t direction_code(const std::string& value) {
    if (value == "DEFAULT") return 17;
    if (value == "UP") return 21;
    if (value == "DOWN") return 18;
    if (value == "LEFT") return 19;
    if (value == "RIGHT") return 20;
    return 0;
}

bool names_text(tile_key key) {
    return key == tile_key::gfx_name || key == tile_key::child1 || key == tile_key::child2 ||
           key == tile_key::child3 || key == tile_key::child4;
}

// Unknown keys (the extra child slots among them) are dropped with their values.
void read_definition(const std::string& path, cached_definition& definition) {
    ++definition_reads;
    key_value_pairs pairs;
    definition.found = read_pair_file(path, pairs);
    definition.entries.clear();
    for (const auto& [key_text, value] : pairs) {
        tile_key key;
        if (!key_of(key_text, key)) continue;
        definition_entry entry{key, {}, 0};
        if (names_text(key))
            entry.name = value;
        else if (key == tile_key::use_direction)
            entry.number = direction_code(value);
        else
            entry.number = read_integer(value);
        definition.entries.push_back(entry);
    }
}

bool same_file(const file_stamp& a, const file_stamp& b) {
    return a.size == b.size && a.modified_ns == b.modified_ns && a.changed_ns == b.changed_ns &&
           a.inode == b.inode;
}

int64_t now_ns() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
}

// The definition as the file holds it now.
const cached_definition& current_definition(const std::string& path) {
    cached_definition& definition = definitions[path];
    // While the watch saw no change, the stamp is the same: no need to ask.
    const uint64_t generation = file_generation(path);
    if (generation != 0 && definition.known && definition.generation == generation &&
        (!definition.exists || (definition.settled && !definition.stamp.linked)))
        return definition;
    file_stamp stamp;
    definition.exists = read_file_stamp(path, stamp);
    definition.generation = generation;
    if (!definition.exists) {
        definition.known = true;
        definition.settled = false;   // whatever appears here next is read
        definition.found = false;
        definition.entries.clear();
        return definition;
    }
    if (definition.known && definition.settled && same_file(definition.stamp, stamp))
        return definition;
    // The clock is read after the stamp and before the file: an edit that the
    // read misses lands later and gets a later time than a settled stamp.
    definition.settled = now_ns() - stamp.modified_ns > settle_ns(stamp);
    definition.stamp = stamp;
    definition.known = true;
    read_definition(path, definition);
    return definition;
}

void set_child(world_cell& cell, int slot, interned_name name) {
    cell.child_name[slot] = name;
    cell.child_object[slot] = -1;
    if (name != no_child) cell.child_count = uint8_t(slot);
}

void apply_entry(world_cell& cell, const definition_entry& entry) {
    switch (entry.key) {
    case tile_key::gfx_name: cell.gfx_name = entry.name; break;
    case tile_key::child1: set_child(cell, 0, entry.name); break;
    case tile_key::child2: set_child(cell, 1, entry.name); break;
    case tile_key::child3: set_child(cell, 2, entry.name); break;
    case tile_key::child4: set_child(cell, 3, entry.name); break;
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
    case tile_key::use_direction:
        if (entry.number != 0) cell.tile_direction = uint8_t(entry.number);
        break;
    case tile_key::internal_name: break;   // the kind's name is its file's name
    }
}

}  // namespace

void init_tile_definition_globals() {
    tile_graphics.clear();
    definitions.clear();
    definition_reads = 0;
}

int64_t tile_definition_reads() { return definition_reads; }

bool tile_definition_key_kind(const std::string& text, value_kind& kind) {
    tile_key key;
    if (!key_of(text, key)) return false;
    const bool words = names_text(key) || key == tile_key::use_direction ||
                       key == tile_key::internal_name;
    kind = words ? value_kind::text : value_kind::integer;
    return true;
}

bool is_direction_word(const std::string& value) { return direction_code(value) != 0; }

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
    const cached_definition& definition = current_definition(path);
    if (!definition.found) return;
    world_cell& cell = world_matrix[x][y];
    cell.child_count = 0;
    cell.gfx_name = interned_name();
    for (const definition_entry& entry : definition.entries) apply_entry(cell, entry);
    if (cell.gfx_name.empty()) cell.gfx_name = dummy_image;
    cell.children_spawned = 0;
}

void attach_tile_graphic(int32_t x, int32_t y, interned_name gfx_name) {
    if (!in_matrix(x, y)) return;
    for (const tile_graphic& graphic : tile_graphics) {
        if (graphic.file_name != gfx_name) continue;
        world_cell& cell = world_matrix[x][y];
        // Freeing a handle that is already gone does nothing.
        if (cell.tile_sprite != 0) free_blended(cell.tile_sprite);
        cell.tile_sprite = create_blended(graphic.sprite);
        zoom_tile(x, y);
        return;
    }
}
