// The enemies: painters turn floor pink, erasers turn tiles back to floor.
#pragma once

#include <cstdint>
#include <vector>

#include "world/level_state.h"



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
