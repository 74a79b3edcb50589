// The labyrinth builders: a level is dug out of solid wall by random walks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Cells waiting for an edge look (kept empty: nothing asks for edges yet).
struct edge_entry {
    int32_t x = 0, y = 0;
    std::string kind;
};
extern std::vector<edge_entry> edge_work_list;

void init_labyrinth_globals();

// W and H are the level's last column and row.
struct cell_position {
    int32_t x = 0, y = 0;
};
// cell_done, when given, is called after each cell: the builder's progress.
void fill_with_walls(int32_t last_x, int32_t last_y, void (*cell_done)() = nullptr);
// Returns the first cell dug, where the marker starts ({-1, -1}: none).
cell_position dig_labyrinth(int32_t last_x, int32_t last_y);
void scatter_green(int32_t last_x, int32_t last_y);
void scatter_water(int32_t last_x, int32_t last_y);
void mark_edges();
