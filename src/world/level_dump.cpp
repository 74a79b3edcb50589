#include "world/level_dump.h"

#include <cmath>

#include "content/object_definitions.h"
#include "core/startup.h"
#include "world/enemy_ai.h"
#include "world/world.h"

char tile_symbol(const std::string& kind) {
    if (kind == lab_wall) return '#';
    if (kind == lab_floor) return '.';
    if (kind == lab_green) return ',';
    if (kind == lab_water) return '~';
    if (kind == lab_blue_floor) return 'b';
    if (kind == lab_fixed_floor) return 'B';
    if (kind == lab_pink_floor) return 'p';
    if (kind == lab_fixed_pink_floor) return 'P';
    return '?';
}

std::string dump_level() {
    const int32_t last_x = std::min(level_last_x, max_level_extent);
    const int32_t last_y = std::min(level_last_y, max_level_extent);
    std::string out;
    out += "dimension " + std::to_string(dimension) + "\n";
    out += "last cell " + std::to_string(last_x) + " " + std::to_string(last_y) + "\n";
    out += "critical mass " + std::to_string(critical_mass) + "\n";
    out += "time left " + std::to_string(time_left) + "\n";
    out += "player " + std::to_string(std::lround(player.x)) + " " +
           std::to_string(std::lround(player.y)) + "\n";
    out += "map\n";
    for (int32_t y = 0; y <= last_y; ++y) {
        for (int32_t x = 0; x <= last_x; ++x) {
            const world_cell& cell = world_matrix[x][y];
            out += cell.active == 1 ? tile_symbol(cell.tile_name) : ' ';
        }
        out += "\n";
    }
    out += "objects " + std::to_string(world_objects.size()) + "\n";
    for (int32_t x = 0; x <= last_x; ++x) {
        for (int32_t y = 0; y <= last_y; ++y) {
            const world_cell& cell = world_matrix[x][y];
            for (int slot = 0; slot < 4; ++slot) {
                if (cell.child_object[slot] < 0) continue;
                out += "  " + std::to_string(x) + " " + std::to_string(y) + " slot " +
                       std::to_string(slot) + " " + cell.child_name[slot] + "\n";
            }
        }
    }
    for (const auto* list : {&painters, &erasers}) {
        out += (list == &painters ? "painters " : "erasers ") + std::to_string(list->size()) + "\n";
        for (const enemy& e : *list)
            out += "  " + std::to_string(e.x) + " " + std::to_string(e.y) + "\n";
    }
    return out;
}
