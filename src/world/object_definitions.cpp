#include "world/object_definitions.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <unordered_map>

#include "core/configuration.h"
#include "core/pair_file.h"
#include "media/colours.h"
#include "media/media.h"
#include "media/random.h"
#include "world/enemy_ai.h"
#include "world/labyrinth.h"
#include "world/world.h"

std::vector<object_definition> object_definitions;

namespace {


using object_setter = std::function<void(object_definition&, const std::string&)>;

struct object_key {
    value_kind kind;
    object_setter set;
};

object_key number(int32_t object_definition::*field) {
    return {value_kind::integer,
            [field](object_definition& d, const std::string& v) { d.*field = read_integer(v); }};
}
object_key byte(uint8_t object_definition::*field) {
    return {value_kind::integer, [field](object_definition& d, const std::string& v) {
                d.*field = uint8_t(read_integer(v));
            }};
}
object_key text(std::string object_definition::*field) {
    return {value_kind::text, [field](object_definition& d, const std::string& v) { d.*field = v; }};
}
object_key ignored() {
    return {value_kind::text, [](object_definition&, const std::string&) {}};
}

const std::unordered_map<std::string, object_key>& object_keys() {
    using od = object_definition;
    static const std::unordered_map<std::string, object_key> keys = {
        {"DGFXNAME",
         {value_kind::text,
          [](od& d, const std::string& v) { d.name = (v.empty() || v == "#") ? "NOPE" : v; }}},
        {"DGFXTRANSPARENCY", number(&od::gfx_transparency)},
        {"DDENSITY", number(&od::density)},
        {"DFITTOMATRIX", byte(&od::fit_to_matrix)},
        {"DCOLLISION", byte(&od::collision)},
        {"DHOTSPOT", text(&od::hotspot)},
        {"DXMODE1", number(&od::blend_src)},
        {"DXMODE2", number(&od::blend_dst)},
        {"DGFXSHOW", byte(&od::gfx_show)},
        {"DCENTERFIELD", byte(&od::center_field)},
        {"DKILLONCOLLISION", byte(&od::kill_on_collision)},
        {"DSCORE", number(&od::score)},
        {"DCOUNTTOSCORE", byte(&od::count_to_score)},
        {"DCOUNTSOUND", text(&od::count_sound)},
        {"DUSECOUNTSOUND", byte(&od::use_count_sound)},
        {"DISPLAYER", byte(&od::is_player)},
        {"DISENEMY", byte(&od::is_enemy)},
        {"DRANDOMMOVE", number(&od::random_move)},
        {"DMOVEX", number(&od::move_x)},
        {"DMOVEY", number(&od::move_y)},
        {"DVELOX", number(&od::velo_x)},
        {"DVELOY", number(&od::velo_y)},
        {"DAILEVEL", byte(&od::ai_level)},
        {"DDMOVE", number(&od::d_move)},
        {"DCHANGEDIRECTION", number(&od::change_direction)},
        {"DISGOODY", byte(&od::is_goody)},
        {"DEXTRATIME", number(&od::extra_time)},
        {"DROTATE", number(&od::rotate)},
        {"DLIFETIME", ignored()},
        {"DPOWERUP", ignored()},
    };
    return keys;
}

std::string file_part(const std::string& path) {
    size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// The hotspot names a corner or the centre of the image; a centred field
// moves it by half a tile more.
void hotspot_offset(const object_definition& d, float width, float height, float& x, float& y) {
    if (!d.hotspot.empty()) {
        if (d.hotspot == "CENTER") x = width / 2, y = height / 2;
        else if (d.hotspot == "RIGHT") x = width, y = 0;
        else if (d.hotspot == "BOTTOMLEFT") x = 0, y = height;
        else if (d.hotspot == "BOTTOMRIGHT") x = width, y = height;
    }
    if (d.center_field == 1) {
        x += tile_width / 2;
        y += tile_height / 2;
    }
}

int rounded(float value) { return int(std::lround(value)); }

}  // namespace

void init_object_definition_globals() {
    object_definitions.clear();
    world_objects.clear();
}

void clear_object_lists() {
    world_objects.clear();
    object_definitions.clear();
    edge_work_list.clear();
}

bool object_definition_key_kind(const std::string& key, value_kind& kind) {
    const auto& keys = object_keys();
    auto found = keys.find(key);
    if (found == keys.end()) return false;
    kind = found->second.kind;
    return true;
}

std::string object_definition_path(const std::string& image_path) {
    size_t cut = image_path.find(cfg_gfxcodec);
    return (cut == std::string::npos ? std::string() : image_path.substr(0, cut)) + ".dll";
}

void load_object_definitions() {
    for (object_definition& d : object_definitions)
        if (sprite_exists(d.sprite)) free_sprite(d.sprite);
    object_definitions.clear();
    set_default_colour_key(white);
    int scan = scan_folder(cfg_worldgfx, "*" + cfg_gfxcodec);
    if (scan == 0) return;
    const auto& keys = object_keys();
    key_value_pairs pairs;
    while (next_entry(scan)) {
        if (entry_is_folder(scan)) continue;
        object_definition d;
        d.path = cfg_worldgfx + entry_name(scan);
        d.file_name = file_part(d.path);
        d.sprite = load_sprite(d.path, true);
        if (read_pair_file(object_definition_path(d.path), pairs)) {
            for (const auto& [key, value] : pairs) {
                auto setter = keys.find(key);
                if (setter != keys.end()) setter->second.set(d, value);
            }
        }
        object_definitions.push_back(std::move(d));
    }
    end_scan(scan);
}

void spawn_cell_objects(int32_t x, int32_t y) {
    if (!in_matrix(x, y)) return;
    world_cell& cell = world_matrix[x][y];
    if (cell.children_spawned != 0) return;
    const int32_t last_slot = std::min<int32_t>(cell.child_count, 3);
    for (int32_t slot = 0; slot <= last_slot; ++slot) {
        for (const object_definition& d : object_definitions) {
            // A nameless definition lies on no tile: an empty name would match
            // every slot that names nothing.
            if (d.name.empty() || d.name == "NOPE" || cell.child_name[slot] != d.name) continue;
            if (random(d.density) != 0) continue;
            world_object object;
            object.gfx_show = d.gfx_show;
            object.gfx_transparency = d.gfx_transparency;
            object.sprite3d = create_blended(d.sprite);
            object.width = float(sprite_width(d.sprite));
            object.height = float(sprite_height(d.sprite));
            zoom_blended(object.sprite3d, rounded(object.width), rounded(object.height));
            object.blend_src = d.blend_src;
            object.blend_dst = d.blend_dst;
            object.score = d.score;
            object.count_to_score = d.count_to_score;
            object.is_player = d.is_player;
            object.is_goody = d.is_goody;
            object.extra_time = d.extra_time;
            object.rotate = d.rotate;
            world_objects.push_back(object);
            cell.child_object[slot] = int32_t(world_objects.size() - 1);
            cell.last_child_slot = slot;
            cell.children_spawned = 1;
            if (object.is_goody == 1) ++critical_mass;
            place_spawned_object(d);
        }
    }
}

void place_spawned_object(const object_definition& d) {
    if (world_objects.empty()) return;
    world_object& object = world_objects.back();
    if (!blended_exists(object.sprite3d)) return;
    if (d.fit_to_matrix == 1) {
        object.width = tile_width;
        object.height = tile_height;
        zoom_blended(object.sprite3d, rounded(object.width), rounded(object.height));
    }
    hotspot_offset(d, object.width, object.height, object.hot_x, object.hot_y);
}

void spawn_enemies(int32_t kind) {
    std::vector<enemy>& list = kind == 1 ? painters : erasers;
    const int32_t last_x = std::min(level_last_x, max_level_extent);
    const int32_t last_y = std::min(level_last_y, max_level_extent);
    for (int32_t x = 0; x <= last_x; ++x) {
        for (int32_t y = 0; y <= last_y; ++y) {
            if (world_matrix[x][y].use_enemy != 1) continue;
            for (const object_definition& d : object_definitions) {
                if (kind == 1 && int64_t(painters.size()) >= int64_t(cfg_maxfoe)) break;
                if (d.is_enemy != kind) continue;
                if (random(d.density) != 0) continue;
                enemy e;
                e.sprite = create_blended(d.sprite);
                e.width = float(sprite_width(d.sprite));
                e.height = float(sprite_height(d.sprite));
                zoom_blended(e.sprite, rounded(e.width), rounded(e.height));
                e.blend_src = d.blend_src;
                e.blend_dst = d.blend_dst;
                e.show = d.gfx_show;
                e.alpha = d.gfx_transparency;
                e.collision = d.collision;
                e.move_chance = d.random_move;
                e.move_x = d.move_x;
                e.move_y = d.move_y;
                e.step_x = d.velo_x;
                e.step_y = d.velo_y;
                e.ai_level = d.ai_level;
                e.think_chance = d.d_move;
                e.turn_chance = d.change_direction;
                e.spin = d.rotate;
                e.x = rounded(float(x) * tile_width);
                e.y = rounded(float(y) * tile_height);
                list.push_back(e);
                place_spawned_enemy(kind, d);
            }
        }
    }
}

void place_spawned_enemy(int32_t kind, const object_definition& d) {
    std::vector<enemy>& list = kind == 1 ? painters : erasers;
    if (list.empty()) return;
    enemy& e = list.back();
    hotspot_offset(d, e.width, e.height, e.offset_x, e.offset_y);
}
