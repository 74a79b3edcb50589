// Level set-up: generated levels from the level base file, or a prepared
// world file; the reset between levels; the player's image and start.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frontend/menus.h"   // screen_state, play_music

struct enemy;

extern int32_t level_base_width, level_base_height;
extern float load_bar, build_bar;
extern int32_t load_bar_frames, build_bar_cells;

void init_level_setup_globals();

void load_level_base(const std::string& path);
void build_next_level();
void load_world_file(const std::string& path);
void reset_world();
void free_enemy_list(std::vector<enemy>& list);
void load_player_image();
void place_player(int32_t x, int32_t y);
void show_build_progress();
void show_load_progress();
