// The enemies: painters turn floor pink, erasers turn tiles back to floor.
#pragma once

#include <cstdint>
#include <vector>

struct enemy {
    int32_t x = 0, y = 0;              // matrix pixels of the top-left corner
    float offset_x = 0, offset_y = 0;  // drawing offset from x, y
    float width = 0, height = 0;
    int32_t blend_src = 0, blend_dst = 0;
    uint8_t show = 0;
    int32_t alpha = 0;
    int32_t sprite = 0;                // blended sprite
    uint8_t collision = 0;
    int32_t move_chance = 0;
    int32_t move_x = 0, move_y = 0;
    int32_t step_x = 0, step_y = 0;
    uint8_t ai_level = 0;
    int32_t think_chance = 0;
    int32_t turn_chance = 0;
    int32_t heading = 0;               // 20 right, 19 left, 18 down, 21 up; 0 none yet
    int32_t spin = 0;
};

extern std::vector<enemy> painters, erasers;

void init_enemy_globals();
// Draws the enemies where they stand, relative to the view.
void draw_enemies(std::vector<enemy>& list);
