#include "world/world.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "core/configuration.h"
#include "core/machine.h"
#include "media/blend_factors.h"
#include "media/media.h"
#include "media/random.h"
#include "world/enemy_ai.h"
#include "world/labyrinth.h"
#include "world/level_state.h"
#include "world/object_definitions.h"
#include "world/tile_definitions.h"

cell_matrix world_matrix;
player_marker player;
std::vector<floater> floaters, menu_floaters;

namespace {


// What every place outside the matrix reads as: inactive, blocking for all, wall.
world_cell outside_cell() {
    world_cell cell;
    cell.tile_name = lab_wall;
    cell.use_collision = 255;
    return cell;
}

// Nearest integer of a view coordinate, bounded so that nonsense values
// (huge, not a number) cannot overflow the conversion.
int32_t to_cell_index(float value) {
    if (!(value > -1.0e6f)) return value < 0 ? -1000000 : 0;   // also not a number
    if (value > 1.0e6f) return 1000000;
    return int32_t(std::lround(value));
}

}  // namespace

int32_t nearest_int(double value) {
    // Far beyond any pixel or cell of the matrix, yet room to add to.
    constexpr double limit = 1 << 30;
    if (!(value > -limit)) return value < 0 ? -(1 << 30) : 0;   // also not a number
    if (value > limit) return 1 << 30;
    return int32_t(std::lround(value));
}

static_assert(std::is_trivially_copyable_v<world_cell>,
              "resetting the matrix copies cells as plain bytes");

void cell_matrix::recreate() {
    if (cells_.empty()) {
        cells_.resize(size_t(matrix_cells) * matrix_cells);
        return;
    }
    std::fill(cells_.begin(), cells_.end(), world_cell{});
}

const world_cell& cell_at(int32_t x, int32_t y) {
    static const world_cell outside = outside_cell();
    if (!in_matrix(x, y) || !world_matrix.allocated()) return outside;
    return world_matrix[x][y];
}

void init_world_globals() {
    world_matrix.recreate();
    player = player_marker{};
    floaters.clear();
    menu_floaters.clear();
    init_level_state_globals();
    init_enemy_globals();
    init_labyrinth_globals();
    init_world_frame_globals();
}

void set_tile(int32_t x, int32_t y, interned_name kind, bool spawn) {
    if (!in_matrix(x, y)) return;
    world_matrix[x][y].tile_name = kind;
    load_tile_definition(x, y, tile_definition_path(kind));
    attach_tile_graphic(x, y, world_matrix[x][y].gfx_name);
    if (spawn) spawn_cell_objects(x, y);
}

void zoom_tile(int32_t x, int32_t y) {
    if (!in_matrix(x, y)) return;
    const world_cell& cell = world_matrix[x][y];
    if (cell.tile_sprite != 0 && cell.alpha > 0)
        zoom_blended(cell.tile_sprite, int(std::lround(tile_width)), int(std::lround(tile_height)));
}

void zoom_all_tiles() {
    const int32_t last_x = std::min(level_last_x, max_level_extent);
    const int32_t last_y = std::min(level_last_y, max_level_extent);
    for (int32_t x = 0; x <= last_x; ++x)
        for (int32_t y = 0; y <= last_y; ++y) zoom_tile(x, y);
}

int32_t view_start_column() { return to_cell_index(view_x); }
int32_t view_start_row() { return to_cell_index(view_y); }
int32_t view_column_count() { return to_cell_index(view_columns); }
int32_t view_row_count() { return to_cell_index(view_rows); }

void draw_tile(int32_t x, int32_t y, int32_t column, int32_t row) {
    if (!in_matrix(x, y)) return;
    const world_cell& cell = world_matrix[x][y];
    if (cell.alpha <= 0 || cell.active != 1) return;
    if (cell.dx1 != 0 || cell.dx2 != 0) set_blending(cell.dx1, cell.dx2);
    rotate_blended(cell.tile_sprite, float(cell.rotate));
    draw_blended(cell.tile_sprite, int(std::lround(float(column) * tile_width)),
                 int(std::lround(float(row) * tile_height)), cell.alpha);
    set_blending(normal_source, normal_destination);
}

void draw_cell_objects() {
    if (view_x < 0) view_x = 0;
    if (view_y < 0) view_y = 0;
    if (world_objects.empty()) return;
    walk_visible_window([](int32_t x, int32_t y, int32_t column, int32_t row) {
        const world_cell& cell = world_matrix[x][y];
        if (cell.tile_sprite == 0 || cell.active != 1) return;
        for (int32_t slot = 0; slot <= cell.last_child_slot && slot < 4; ++slot) {
            const int32_t index = cell.child_object[slot];
            if (index < 0 || size_t(index) >= world_objects.size()) continue;
            world_object& object = world_objects[size_t(index)];
            if (object.sprite3d == 0 || object.gfx_show != 1 || object.is_player != 0) continue;
            if (object.blend_src != 0 || object.blend_dst != 0)
                set_blending(object.blend_src, object.blend_dst);
            else
                set_blending(normal_source, normal_destination);
            rotate_blended(object.sprite3d, float(object.rotate));
            draw_blended(object.sprite3d,
                         int(std::lround(float(column) * tile_width + object.hot_x)),
                         int(std::lround(float(row) * tile_height + object.hot_y)),
                         object.gfx_transparency);
        }
    });
    set_blending(normal_source, normal_destination);
}

void draw_floaters(int mode) {
    if (mode == 1)
        set_blending(light_source, light_destination);
    else
        set_blending(normal_source, normal_destination);
    for (floater& f : floaters) {
        if (!blended_exists(f.sprite)) continue;
        if (random(50) == 0) {
            // The draws in a fixed order, so a replay drifts the same way.
            const int32_t dx_from = random(10);
            f.dx = float(dx_from - random(10));
            const int32_t dy_from = random(10);
            f.dy = float(dy_from - random(10));
        }
        if (f.x + f.dx > screen_width) f.dx = -f.dx;
        if (f.y + f.dy > screen_height) f.dy = -f.dy;
        if (f.x + f.dx < 1) f.dx = -f.dx;
        if (f.y + f.dy < 1) f.dy = -f.dy;
        f.x += f.dx;
        f.y += f.dy;
        draw_blended(f.sprite, int(std::lround(f.x)), int(std::lround(f.y)), 255);
    }
    set_blending(normal_source, normal_destination);
}

void draw_player() {
    if (player.sprite == 0) return;
    rotate_blended(player.sprite, float(player.angle));
    if (player.blend_src != 0 || player.blend_dst != 0)
        set_blending(player.blend_src, player.blend_dst);
    draw_blended(player.sprite, int(std::lround(player.x)), int(std::lround(player.y)), 255);
    set_blending(normal_source, normal_destination);
}
