// Level set-up: generated levels from the level base file, or a prepared
// world file; the reset between levels; the player's image and start.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/screens.h"
#include "core/sound_list.h"

struct enemy;

extern int32_t level_base_width, level_base_height;
extern float load_bar, build_bar;
extern int32_t load_bar_frames, build_bar_cells;

void init_level_setup_globals();

void load_level_base(const std::string& path);
void build_next_level();
void load_world_file(const std::string& path);
// The prepared world as a level to play: loaded afresh, with a critical mass
// and a clock as a dug level of as much floor would have.
void set_up_prepared_world();
// The five lines of a level base file (lines 2 and 3 give the base width and
// height), the missing ones empty. How many it holds; -1 when it cannot be
// opened.
int read_level_base_lines(const std::string& path, std::array<std::string, 5>& lines);
// The cells of a world file (three lines each, joined) or of its alpha file
// (one line each), column by column, from the open file past its header. A
// cell is handed on before the end of the file is tested, so one cut short
// still comes, its missing lines empty; reading ends after (last_x, last_y).
using world_cell_reader = std::function<void(int32_t x, int32_t y, const std::string& text)>;
void read_world_cells(int file, int32_t last_x, int32_t last_y, int lines_per_cell,
                      const world_cell_reader& cell);
void reset_world();
void free_enemy_list(std::vector<enemy>& list);
void load_player_image();
void place_player(int32_t x, int32_t y);
void show_build_progress();
void show_load_progress();
