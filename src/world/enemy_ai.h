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

extern std::vector<enemy> painters, erasers;
// The enemy the think, wander and step operations work on, chosen by a pass.
extern enemy* current_enemy;

void init_enemy_globals();

// Once a frame, painters first: every enemy spins, thinks and is drawn.
void painters_pass();
void erasers_pass();

void think_painter(uint8_t ai_level);
void think_eraser(uint8_t ai_level);
// Try a new heading now and then, or keep going.
void wander_painter();
void wander_eraser();
// One step along an axis, d = +1 or -1, leaving the enemy's mark on the tile.
void step_painter_x(int32_t d);
void step_painter_y(int32_t d);
void step_eraser_x(int32_t d);
void step_eraser_y(int32_t d);

// Draws one enemy where it stands, relative to the view.
void draw_enemy(const enemy& e);
