#include "world/level_state.h"

int32_t dimension, loaded_dimension;
uint8_t new_level_banner;
int32_t level_last_x, level_last_y;
float view_x, view_y, view_columns, view_rows;
int32_t critical_mass, time_left;
int32_t clock_frames;
std::vector<world_object> world_objects;
std::vector<enemy> painters, erasers;

void init_level_state_globals() {
    dimension = 1;
    loaded_dimension = 0;
    new_level_banner = 0;
    level_last_x = level_last_y = 0;
    view_x = view_y = view_columns = view_rows = 0.0f;
    critical_mass = time_left = 0;
    clock_frames = 0;
    world_objects.clear();
    painters.clear();
    erasers.clear();
}
