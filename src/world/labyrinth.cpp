#include "world/labyrinth.h"

#include <algorithm>
#include <cmath>

#include "core/configuration.h"
#include "core/machine.h"
#include "media/random.h"
#include "world/level_state.h"
#include "world/world.h"

std::vector<edge_entry> edge_work_list;

void init_labyrinth_globals() { edge_work_list.clear(); }

namespace {

// One random walk over the level's inside. The walker starts in the corner
// cell (1, 1) heading left; LABSWITCH decides how often it picks a new
// direction, so larger values give longer straight corridors. It never steps
// onto the two outer rings, which therefore stay wall.
template <class Action>
void walk_level(int32_t last_x, int32_t last_y, Action&& action) {
    if (last_x < 1 || last_y < 1) return;
    last_x = std::min(last_x, max_level_extent);
    last_y = std::min(last_y, max_level_extent);
    const int64_t steps = int64_t(last_x) * last_y;
    int32_t px = 1, py = 1, direction = 0;
    for (int64_t step = 0; step < steps; ++step) {
        int32_t dx = 0, dy = 0;
        if (random(cfg_labswitch) == 0) direction = random(3);
        switch (direction) {
        case 0: if (px - 1 > 1) dx = -1; break;
        case 1: if (py - 1 > 1) dy = -1; break;
        case 2: if (px + 1 < last_x - 1) dx = 1; break;
        case 3: if (py + 1 < last_y - 1) dy = 1; break;
        default: break;
        }
        px += dx;
        py += dy;
        action(px, py);
    }
}

void scatter(int32_t last_x, int32_t last_y, interned_name kind) {
    walk_level(last_x, last_y, [kind](int32_t x, int32_t y) {
        if (world_matrix[x][y].tile_name == lab_wall) set_tile(x, y, kind, true);
    });
}

}  // namespace

void fill_with_walls(int32_t last_x, int32_t last_y, void (*cell_done)()) {
    last_x = std::min(last_x, max_level_extent);
    last_y = std::min(last_y, max_level_extent);
    for (int32_t x = 0; x <= last_x; ++x) {
        for (int32_t y = 0; y <= last_y; ++y) {
            set_tile(x, y, lab_wall, true);
            world_matrix[x][y].active = 1;
            if (cell_done) cell_done();
        }
    }
    view_columns = std::ceil(screen_width / tile_width);
    view_rows = std::ceil(screen_height / tile_height);
}

cell_position dig_labyrinth(int32_t last_x, int32_t last_y) {
    bool first = true;
    cell_position start{-1, -1};
    walk_level(last_x, last_y, [&first, &start](int32_t x, int32_t y) {
        if (world_matrix[x][y].tile_name != lab_wall) return;
        set_tile(x, y, lab_floor, true);
        ++critical_mass;
        ++time_left;
        if (first) {
            first = false;
            start = {x, y};
        }
    });
    // A quarter of the dug floor must be fixed; the clock grants a sixteenth
    // of it in ticks, with a ceiling.
    critical_mass /= 4;
    time_left = std::min(critical_mass / 4, 60);
    return start;
}

void scatter_green(int32_t last_x, int32_t last_y) { scatter(last_x, last_y, lab_green); }

void scatter_water(int32_t last_x, int32_t last_y) { scatter(last_x, last_y, lab_water); }

void mark_edges() {
    if (cfg_useextendedtopo != 1) return;
    // Where a kind meets a different one, the cell takes the edge look of
    // its neighbour: first the western neighbour, then the northern one.
    auto edge_of = [](const std::string& kind, const char* suffix) -> std::string {
        if (kind == lab_wall || kind == lab_green || kind == lab_water) return kind + suffix;
        return {};
    };
    for (int pass = 0; pass < 2; ++pass) {
        for (const edge_entry& entry : edge_work_list) {
            if (!in_matrix(entry.x, entry.y)) continue;
            const world_cell& neighbour =
                pass == 0 ? cell_at(entry.x - 1, entry.y) : cell_at(entry.x, entry.y - 1);
            if (neighbour.tile_name == entry.kind) continue;
            std::string edge = edge_of(neighbour.tile_name, pass == 0 ? "_E" : "_S");
            if (!edge.empty()) set_tile(entry.x, entry.y, edge, true);
        }
    }
}
