// Object definitions, and the objects and enemies spawned from them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/configuration.h"
#include "world/level_state.h"

struct object_definition {
    std::string path;
    std::string file_name;
    int32_t sprite = 0;
    std::string name;              // how tiles name it; "NOPE" never spawns as a child
    int32_t gfx_transparency = 0;
    int32_t density = 0;           // spawns with chance 1 in density + 1
    uint8_t fit_to_matrix = 0;
    uint8_t collision = 0;
    std::string hotspot;
    int32_t blend_src = 0, blend_dst = 0;
    uint8_t gfx_show = 0;
    uint8_t center_field = 0;
    uint8_t kill_on_collision = 0;
    int32_t score = 0;
    uint8_t count_to_score = 0;
    std::string count_sound;
    uint8_t use_count_sound = 0;
    uint8_t is_player = 0;
    uint8_t is_enemy = 0;          // 1 painter, 2 eraser
    int32_t random_move = 0;
    int32_t move_x = 0, move_y = 0;
    int32_t velo_x = 0, velo_y = 0;
    uint8_t ai_level = 0;
    int32_t d_move = 0;
    int32_t change_direction = 0;
    uint8_t is_goody = 0;
    int32_t extra_time = 0;
    int32_t rotate = 0;
};


extern std::vector<object_definition> object_definitions;

void init_object_definition_globals();

// Forgets the lists without freeing sprites (start-up, before the first load).
void clear_object_lists();
// Reads every object image of the object folder and the ".dll" text beside it.
void load_object_definitions();
// False for a key the definition files do not know.
bool object_definition_key_kind(const std::string& key, value_kind& kind);
// The definition file of an image: its path cut before the image ending, + ".dll".
std::string object_definition_path(const std::string& image_path);

// Spawns the children a cell's tile definition names, each with its own chance.
void spawn_cell_objects(int32_t x, int32_t y);
// Sizes and hotspot of the object just appended to world_objects.
void place_spawned_object(const object_definition& definition);
// Offers every enemy definition of the kind (1 painters, 2 erasers) to every
// cell that allows enemies.
void spawn_enemies(int32_t kind);
void place_spawned_enemy(int32_t kind, const object_definition& definition);
