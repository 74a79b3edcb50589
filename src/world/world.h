// The world: the matrix of tiles, the one way a tile changes, the view onto
// the matrix and the drawing of what lies in it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "world/interned_name.h"
#include "world/level_state.h"
#include "world/world_frame.h"   // the frame itself, the counters, the level's end

// The matrix holds cells 0..512 in each direction; a level uses a corner of it.
constexpr int32_t matrix_cells = 513;
constexpr int32_t max_level_extent = matrix_cells - 1;

// Plain data (names are interned), so the whole matrix is reset by copying.
struct world_cell {
    // -1 everywhere a cell has no object, also in a fresh cell: slot 0 must
    // never point at the first object of the level by accident.
    int32_t child_object[4] = {-1, -1, -1, -1};
    interned_name child_name[4];
    int32_t last_child_slot = 0;
    int32_t tile_sprite = 0;
    int32_t alpha = 0;
    interned_name tile_name;
    interned_name gfx_name;
    int32_t tile_seed = 0;
    uint8_t use_collision = 0;
    uint8_t children_spawned = 0;
    uint8_t active = 0;
    uint8_t child_count = 0;
    uint8_t tile_direction = 0;
    int32_t transparency = 0;
    uint8_t use_enemy = 0;
    int32_t value1 = 0;
    int32_t dx1 = 0, dx2 = 0;
    int32_t rotate = 0;
};

// world_matrix[x][y]; y runs fastest in memory.
class cell_matrix {
public:
    world_cell* operator[](int32_t x) { return &cells_[size_t(x) * matrix_cells]; }
    const world_cell* operator[](int32_t x) const { return &cells_[size_t(x) * matrix_cells]; }
    // Every cell back to its fresh state (no sprite is freed here).
    void recreate();
    bool allocated() const { return !cells_.empty(); }

private:
    std::vector<world_cell> cells_;
};

extern cell_matrix world_matrix;

// Tile kinds, interned: a cell's kind compares with them by index.
inline const interned_name lab_wall = "LAB_WALL";
inline const interned_name lab_floor = "LAB_FLOOR";
inline const interned_name lab_green = "LAB_GREEN";
inline const interned_name lab_water = "LAB_WATER";
inline const interned_name lab_blue_floor = "LAB_BLUE_FLOOR";
inline const interned_name lab_fixed_floor = "LAB_FIXED_FLOOR";
inline const interned_name lab_pink_floor = "LAB_PINK_FLOOR";
inline const interned_name lab_fixed_pink_floor = "LAB_FIXED_PINK_FLOOR";

// Nearest integer of a position, bounded so that nonsense (a tile size of 0,
// not a number) cannot overflow the conversion.
int32_t nearest_int(double value);

inline bool in_matrix(int32_t x, int32_t y) {
    return x >= 0 && y >= 0 && x < matrix_cells && y < matrix_cells;
}
// Reads a cell, or a blocking inactive wall for any place outside the matrix,
// so neighbour tests at the border need no checks of their own.
const world_cell& cell_at(int32_t x, int32_t y);

// The player's marker.
struct player_marker {
    float x = 0, y = 0;        // screen pixels of the top-left corner
    int32_t sprite = 0;        // blended sprite drawn each frame
    int32_t image = 0;         // the loaded image the sprite is made from
    int32_t step_counter = 0;
    int32_t state = 0;         // 18 down, 19 left, 20 right, 21 up, 22 idle
    int32_t blend_src = 0, blend_dst = 0;
    int32_t angle = 0;         // degrees turned every frame
};
extern player_marker player;

// Background sprites drifting behind the play screen and the menus.
struct floater {
    float x = 0, y = 0;
    int32_t sprite = 0;
    float dx = 0, dy = 0;
};
extern std::vector<floater> floaters, menu_floaters;


void init_world_globals();

// The one way a cell changes kind: definition, image, and (with spawn) objects.
void set_tile(int32_t x, int32_t y, interned_name kind, bool spawn);
void zoom_tile(int32_t x, int32_t y);
void zoom_all_tiles();

// Calls visit(x, y, column, row) for every matrix cell of the visible window,
// row by row; positions beyond the matrix are left out.
template <class Visit>
void walk_visible_window(Visit&& visit);

void draw_tile(int32_t x, int32_t y, int32_t column, int32_t row);
void draw_cell_objects();
void draw_floaters(int mode);
void draw_player();

// ---- template body ----
int32_t view_start_column();
int32_t view_start_row();
int32_t view_column_count();
int32_t view_row_count();

template <class Visit>
void walk_visible_window(Visit&& visit) {
    const int32_t x0 = view_start_column(), y0 = view_start_row();
    const int32_t columns = view_column_count(), rows = view_row_count();
    // Window positions whose cells lie outside the matrix are left out.
    const int32_t first_row = y0 < 0 ? -y0 : 0;
    const int32_t last_row = std::min(rows - 1, matrix_cells - 1 - y0);
    const int32_t first_column = x0 < 0 ? -x0 : 0;
    const int32_t last_column = std::min(columns, matrix_cells - 1 - x0);
    for (int32_t row = first_row; row <= last_row; ++row)
        for (int32_t column = first_column; column <= last_column; ++column)
            visit(x0 + column, y0 + row, column, row);
}
