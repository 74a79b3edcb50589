// The level being played: its extent, critical mass, clock and dimension, the
// objects lying on it and the enemies walking it. Readers in content/ fill it.
#pragma once

#include <cstdint>
#include <vector>

struct world_object {
    uint8_t gfx_show = 0;
    int32_t gfx_transparency = 0;
    int32_t sprite3d = 0;
    float width = 0, height = 0;
    float hot_x = 0, hot_y = 0;
    int32_t blend_src = 0, blend_dst = 0;
    int32_t score = 0;
    uint8_t count_to_score = 0;
    uint8_t is_player = 0;
    uint8_t is_goody = 0;
    int32_t extra_time = 0;
    int32_t rotate = 0;
};

struct enemy {
    int32_t x = 0, y = 0;              // matrix pixels of the top-left corner
    float offset_x = 0, offset_y = 0;  // drawing offset from x, y
    float width = 0, height = 0;
    int32_t blend_src = 0, blend_dst = 0;
    uint8_t show = 0;
    int32_t alpha = 0;
    int32_t sprite = 0;                // blended sprite
    uint8_t collision = 0;
    int32_t move_chance = 0;           // each step is taken with chance 1 in move_chance + 1
    int32_t move_x = 0, move_y = 0;
    int32_t step_x = 0, step_y = 0;    // a step is a tile / step_x pixels; 0 cannot move
    uint8_t ai_level = 0;
    int32_t think_chance = 0;          // acts in a frame with chance 1 in think_chance + 1
    int32_t turn_chance = 0;
    int32_t heading = 0;               // 20 right, 19 left, 18 down, 21 up; 0 none yet
    int32_t spin = 0;
};
enum : int32_t { heading_down = 18, heading_left = 19, heading_right = 20, heading_up = 21 };

extern int32_t dimension, loaded_dimension;   // a level is built when they differ
extern uint8_t new_level_banner;
extern int32_t level_last_x, level_last_y;    // the last cell of the level
// The view: its first column and row, and how many it shows.
extern float view_x, view_y, view_columns, view_rows;
extern int32_t critical_mass, time_left;
extern int32_t clock_frames;                  // frames since the clock's last tick
extern std::vector<world_object> world_objects;
extern std::vector<enemy> painters, erasers;

void init_level_state_globals();
