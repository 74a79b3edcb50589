#include "world/level_state.h"
#include "fuzz/fuzz_inputs.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "content/level_setup.h"
#include "core/configuration.h"
#include "frontend/highscore.h"
#include "frontend/profile_editor.h"
#include "game/startup.h"
#include "media/media.h"
#include "world/enemy_ai.h"
#include "world/object_definitions.h"
#include "world/tile_definitions.h"
#include "world/tile_rules.h"
#include "world/world.h"
#include "world/world_frame.h"

namespace fuzz {

namespace {

namespace fs = std::filesystem;

std::string scratch_folder;

void remove_scratch() {
    std::error_code ignored;
    if (!scratch_folder.empty()) fs::remove_all(scratch_folder, ignored);
}

// Memory-backed when the system has it: millions of inputs go through here.
const std::string& scratch() {
    if (scratch_folder.empty()) {
        const fs::path base = fs::is_directory("/dev/shm") ? "/dev/shm" : fs::temp_directory_path();
        scratch_folder = (base / ("zorbel-fuzz-" + std::to_string(getpid()))).string() + "/";
        fs::create_directories(scratch_folder);
        std::atexit(remove_scratch);
    }
    return scratch_folder;
}

std::string write_input(const std::string& name, const uint8_t* data, size_t size) {
    const std::string path = scratch() + name;
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), std::streamsize(size));
    return path;
}

std::string read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The shipped configuration, as the game reads it at start-up (no media).
void read_pack_configuration() {
    init_configuration_globals();
    read_configuration_entries(ini_path);
}

std::vector<object_definition> pack_objects;

// What the previous input may have touched, back to fresh: the whole
// matrix is 23 MB, too much to clear for every input.
void clear_level() {
    for (const world_object& object : world_objects) free_blended(object.sprite3d);
    world_objects.clear();
    for (int32_t x = 0; x <= std::min(level_last_x + 1, max_level_extent); ++x) {
        for (int32_t y = 0; y <= std::min(level_last_y + 1, max_level_extent); ++y) {
            free_blended(world_matrix[x][y].tile_sprite);
            world_matrix[x][y] = world_cell{};
        }
    }
}

void small_level(int32_t last) {
    clear_level();
    level_last_x = level_last_y = last;
    score = score_target = 0;
    time_left = critical_mass = 0;
}

void forget_enemies() {
    free_enemy_list(painters);
    free_enemy_list(erasers);
}

}  // namespace

void use_pack(const std::string& data_folder) {
    set_virtual_clock(true);
    init_globals();
    // As if started in the pack's folder, without moving there: libFuzzer
    // writes its corpus relative to where it was started.
    base_folder = data_folder + "\\";
    ini_path = base_folder + "DATA\\ini.txt";
    read_pack_configuration();
    build_tile_graphics();
    load_object_definitions();
    pack_objects = object_definitions;
    // The game frees its media at the end; so do we, or every sprite of the
    // pack would count as a leak.
    std::atexit(shutdown_media);
}

void feed_configuration(const uint8_t* data, size_t size) {
    init_configuration_globals();
    read_configuration_entries(write_input("ini.txt", data, size));
    read_pack_configuration();
}

// The definition goes into a cell of a small level whose objects are the
// pack's; the player then walks on it and takes what it carries.
void feed_tile_definition(const uint8_t* data, size_t size) {
    object_definitions = pack_objects;
    small_level(3);
    const std::string path = write_input("TILE", data, size);
    load_tile_definition(1, 1, path);
    world_cell& cell = world_matrix[1][1];
    cell.active = 1;
    attach_tile_graphic(1, 1, cell.gfx_name);
    spawn_cell_objects(1, 1);
    draw_tile(1, 1, 1, 1);
    draw_cell_objects();
    for (int32_t slot = 0; slot < 4; ++slot) collect_child(1, 1, slot);
    check_trapped(1, 1);
    fix_blue_tile(1, 1);
}

// The definition beside one of the pack's images; its objects and enemies
// are spawned on a small level and the enemies move for a while.
void feed_object_definition(const uint8_t* data, size_t size) {
    static const std::string image = read_bytes(native_path(base_folder + "GFX\\OBJECTS\\gem.png"));
    const std::string folder = scratch() + "OBJECTS/";
    write_input("OBJECTS/thing.png", reinterpret_cast<const uint8_t*>(image.data()), image.size());
    write_input("OBJECTS/thing.dll", data, size);
    const std::string pack_folder = cfg_worldgfx;
    cfg_worldgfx = folder;
    load_object_definitions();
    cfg_worldgfx = pack_folder;

    small_level(4);
    forget_enemies();
    for (int32_t x = 0; x <= 4; ++x) {
        for (int32_t y = 0; y <= 4; ++y) {
            world_cell& cell = world_matrix[x][y];
            cell.active = 1;
            cell.use_enemy = 1;
            cell.tile_name = "LAB_FLOOR";
            for (const object_definition& d : object_definitions) cell.child_name[0] = d.name;
            cell.child_count = 0;
        }
    }
    for (int32_t x = 0; x <= 4; ++x)
        for (int32_t y = 0; y <= 4; ++y) spawn_cell_objects(x, y);
    spawn_enemies(1);
    spawn_enemies(2);
    for (int frame = 0; frame < 30; ++frame) {
        painters_pass();
        erasers_pass();
    }
    draw_cell_objects();
    collect_child(2, 2, 0);
    forget_enemies();
}

void feed_level_base(const uint8_t* data, size_t size) {
    forget_enemies();
    load_level_base(write_input("level.base", data, size));
    forget_enemies();
}

void feed_world(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t cut = input.find(world_alpha_separator);
    const std::string world = input.substr(0, cut);
    const std::string alpha =
        cut == std::string::npos ? "" : input.substr(cut + world_alpha_separator.size());
    const std::string world_path =
        write_input("W.ai42", reinterpret_cast<const uint8_t*>(world.data()), world.size());
    const std::string alpha_path = scratch() + "W.red";
    if (cut == std::string::npos)
        std::remove(alpha_path.c_str());
    else
        write_input("W.red", reinterpret_cast<const uint8_t*>(alpha.data()), alpha.size());
    forget_enemies();
    clear_level();
    load_world_file(world_path);
    zoom_all_tiles();
    draw_cell_objects();
}

void feed_profile(const uint8_t* data, size_t size) {
    profiles.clear();
    profile p;
    p.profile_path = write_input("fuzz.profile", data, size);
    profiles.push_back(p);
    load_profiles();
    sort_score_table();
}

}  // namespace fuzz
