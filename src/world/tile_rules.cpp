#include "world/tile_rules.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/configuration.h"
#include "core/fault_report.h"
#include "core/game_phase.h"
#include "core/sound_list.h"
#include "world/level_state.h"
#include "world/world.h"

namespace {

const std::string switch_object = "SWITCHTILES";
const std::string extra_time_object = "EXTRATIME";
const std::string bomb_object = "BOMB";
const std::string collected = "#";

void play(const std::string& sound) { play_sound_effect(sound, 0); }

// The object of a child slot, or null when the slot selects none.
const world_object* object_in_slot(const world_cell& cell, int32_t slot) {
    if (slot < 0 || slot > 3) return nullptr;
    const int32_t index = cell.child_object[slot];
    if (index < 0 || size_t(index) >= world_objects.size()) return nullptr;
    return &world_objects[size_t(index)];
}

void clear_slot(world_cell& cell, int32_t slot) {
    cell.child_object[slot] = -1;
    cell.child_name[slot] = collected;
}

// Highest slot a cell's loops run to; a corrupt value never leaves the four.
int32_t last_slot(const world_cell& cell) { return std::clamp(cell.last_child_slot, -1, 3); }

// The cell under an enemy's pixel position.
int32_t enemy_column(int32_t px) { return nearest_int(double(px) / double(tile_width)); }
int32_t enemy_row(int32_t py) { return nearest_int(double(py) / double(tile_height)); }

// The neighbourhood rule. A cell is fixed when, over four overlapping looks
// at its neighbours, each of three roles (side, diagonal, below) has been
// filled by a good cell at least once. The flags only ever grow, so a cell
// can be fixed without any 2 x 2 square of good cells.
template <class Good, class Fix>
void fix_by_neighbourhood(int32_t x, int32_t y, const std::string& unfixed, Good good, Fix fix) {
    if (x == 0) x = 1;
    if (y == 0) y = 1;
    // Only an unfixed cell can change: any other cell is either not good (so
    // no look completes) or already fixed (and stays as it is).
    if (!in_matrix(x, y) || world_matrix[x][y].tile_name != unfixed) return;
    static constexpr int32_t looks[4][3][2] = {
        {{-1, 0}, {-1, 1}, {0, 1}},
        {{1, 0}, {1, 1}, {0, 1}},
        {{0, -1}, {1, -1}, {-1, -1}},
        {{0, 1}, {1, 1}, {-1, 1}},
    };
    bool side = false, diagonal = false, below = false;
    for (const auto& look : looks) {
        side = side || good(cell_at(x + look[0][0], y + look[0][1]));
        diagonal = diagonal || good(cell_at(x + look[1][0], y + look[1][1]));
        below = below || good(cell_at(x + look[2][0], y + look[2][1]));
        if (side && diagonal && below) {
            fix(x, y);
            return;
        }
    }
}

bool is_blue_or_fixed(const world_cell& cell) {
    return cell.tile_name == lab_blue_floor || cell.tile_name == lab_fixed_floor;
}

bool is_pink_or_fixed_pink(const world_cell& cell) {
    return cell.tile_name == lab_pink_floor || cell.tile_name == lab_fixed_pink_floor;
}

int32_t level_columns_end() { return std::clamp(level_last_x, -1, max_level_extent); }
int32_t level_rows_end() { return std::clamp(level_last_y, -1, max_level_extent); }

}  // namespace

void player_step() {
    MARK_SITE("tile_rules");
    const int32_t x = nearest_int(std::floor(double(player.x) / double(tile_width)) + view_x);
    const int32_t y = nearest_int(std::floor(double(player.y) / double(tile_height)) + view_y);
    if (!in_matrix(x, y)) return;
    for (int32_t slot = 0; slot <= last_slot(world_matrix[x][y]); ++slot)
        if (object_in_slot(world_matrix[x][y], slot)) collect_child(x, y, slot);
    paint_under_player(x, y);
}

void collect_child(int32_t x, int32_t y, int32_t slot) {
    if (!in_matrix(x, y)) return;
    world_cell& cell = world_matrix[x][y];
    const world_object* found = object_in_slot(cell, slot);
    if (!found) return;
    // A copy: the effects below change the level this object lies in.
    const world_object object = *found;
    const std::string name = cell.child_name[slot];
    if (name == switch_object) {
        clear_slot(cell, slot);
        switch_tiles();
    } else if (name == extra_time_object) {
        play(cfg_extratime);
        time_left += object.extra_time;
        clear_slot(cell, slot);
    } else if (name == bomb_object) {
        clear_slot(cell, slot);
        play(cfg_pickbombsound);
        explode_bomb();
    } else {
        clear_slot(cell, slot);
    }
    if (object.count_to_score == 0) {
        score += object.score;
    } else {
        score_to_count += object.score;
        score_target += object.score;
    }
}

void paint_under_player(int32_t x, int32_t y) {
    if (!in_matrix(x, y)) return;
    const std::string& kind = world_matrix[x][y].tile_name;
    if (kind == lab_floor || kind == lab_green) {
        set_tile(x, y, lab_blue_floor, true);
        play(cfg_deftilesound);
        if (cfg_gamemode == "HARDCORE") {
            // The player can never step back onto a tile it painted.
            world_matrix[x][y].use_collision = 1;
            check_trapped(x, y);
        }
    } else if (kind == lab_pink_floor) {
        set_tile(x, y, lab_blue_floor, true);
        play(cfg_deftilesound);
    }
}

bool check_trapped(int32_t x, int32_t y) {
    auto closed = [](const world_cell& cell) {
        return cell.tile_name == lab_blue_floor || cell.tile_name == lab_wall;
    };
    if (!closed(cell_at(x + 1, y)) || !closed(cell_at(x - 1, y)) || !closed(cell_at(x, y + 1)) ||
        !closed(cell_at(x, y - 1)))
        return false;
    request(game_request::trapped);
    return true;
}

void fix_blue_tile(int32_t x, int32_t y) {
    fix_by_neighbourhood(x, y, lab_blue_floor, is_blue_or_fixed, [](int32_t fx, int32_t fy) {
        set_tile(fx, fy, lab_fixed_floor, true);
        play(cfg_fixedtilesound);
        score += world_matrix[fx][fy].value1;
        critical_mass -= 1;
    });
}

void fix_pink_tile(int32_t x, int32_t y) {
    fix_by_neighbourhood(x, y, lab_pink_floor, is_pink_or_fixed_pink, [](int32_t fx, int32_t fy) {
        set_tile(fx, fy, lab_fixed_pink_floor, true);
        play(cfg_pinktilefixedsound);
    });
}

void paint_pink(int32_t px, int32_t py) {
    const int32_t x = enemy_column(px), y = enemy_row(py);
    if (!in_matrix(x, y)) return;
    const std::string& kind = world_matrix[x][y].tile_name;
    if (kind == lab_floor || kind == lab_green || kind == lab_blue_floor)
        set_tile(x, y, lab_pink_floor, true);
}

void erase_tile(int32_t px, int32_t py) {
    const int32_t x = enemy_column(px), y = enemy_row(py);
    if (!in_matrix(x, y)) return;
    const std::string kind = world_matrix[x][y].tile_name;
    if (kind == lab_pink_floor || kind == lab_blue_floor) {
        set_tile(x, y, lab_floor, false);
    } else if (kind == lab_fixed_floor) {
        set_tile(x, y, lab_floor, false);
        critical_mass += 1;
        score -= world_matrix[x][y].value1;
        play(cfg_removetile);
    } else if (kind == lab_fixed_pink_floor) {
        set_tile(x, y, lab_floor, false);
        play(cfg_removetile);
    }
}

void trigger_bombs(int32_t x, int32_t y) {
    if (!in_matrix(x, y)) return;
    world_cell& cell = world_matrix[x][y];
    for (int32_t slot = 0; slot <= last_slot(cell); ++slot) {
        if (!object_in_slot(cell, slot) || cell.child_name[slot] != bomb_object) continue;
        clear_slot(cell, slot);
        play(cfg_pickbombsound);
        explode_bomb();
    }
}

void switch_tiles() {
    MARK_SITE("tile_rules");
    play(cfg_swapsound);
    for (int32_t x = 0; x <= level_columns_end(); ++x)
        for (int32_t y = 0; y <= level_rows_end(); ++y) {
            const std::string& kind = world_matrix[x][y].tile_name;
            if (kind == lab_fixed_floor) {
                set_tile(x, y, lab_fixed_pink_floor, false);
                critical_mass += 1;
                score -= world_matrix[x][y].value1;
            } else if (kind == lab_fixed_pink_floor) {
                set_tile(x, y, lab_fixed_floor, false);
                critical_mass -= 1;
                score += world_matrix[x][y].value1;
            }
        }
}

void explode_bomb() {
    MARK_SITE("tile_rules");
    play(cfg_explosionsound);
    for (int32_t x = 0; x <= level_columns_end(); ++x)
        for (int32_t y = 0; y <= level_rows_end(); ++y) {
            world_cell& cell = world_matrix[x][y];
            const std::string& kind = cell.tile_name;
            if (kind == lab_fixed_floor) {
                set_tile(x, y, lab_floor, false);
                critical_mass += 1;
                score -= cell.value1;
            } else if (kind == lab_blue_floor || kind == lab_fixed_pink_floor ||
                       kind == lab_pink_floor) {
                set_tile(x, y, lab_floor, false);
            } else {
                continue;
            }
            cell.children_spawned = 0;
        }
}
