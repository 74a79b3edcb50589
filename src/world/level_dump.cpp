#include "world/level_dump.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/configuration.h"
#include "media/media.h"
#include "world/enemy_ai.h"
#include "world/world.h"
#include "world/world_frame.h"

char tile_symbol(const std::string& kind) {
    if (kind == lab_wall) return '#';
    if (kind == lab_floor) return '.';
    if (kind == lab_green) return 'g';
    if (kind == lab_water) return '~';
    return '?';
}

namespace {

std::string pair_text(long x, long y) { return std::to_string(x) + " " + std::to_string(y); }

std::string player_line() {
    if (player.x < 0 || player.y < 0 || tile_width <= 0 || tile_height <= 0)
        return "player none\n";
    return "player " + pair_text(std::lround(player.x / tile_width),
                                 std::lround(player.y / tile_height)) + "\n";
}

std::string enemy_lines(const char* label, const std::vector<enemy>& list) {
    std::string out;
    for (const enemy& e : list) {
        long x = tile_width > 0 ? std::lround(e.x / tile_width) : 0;
        long y = tile_height > 0 ? std::lround(e.y / tile_height) : 0;
        out += std::string(label) + " " + pair_text(x, y) + "\n";
    }
    return out;
}

}  // namespace

std::string dump_level() {
    const int32_t last_x = std::min(level_last_x, max_level_extent);
    const int32_t last_y = std::min(level_last_y, max_level_extent);
    std::string out = "size " + pair_text(last_x, last_y) + "\n";
    out += "critical_mass " + std::to_string(critical_mass) + "\n";
    out += "time_left " + std::to_string(time_left) + "\n";
    out += player_line();
    for (int32_t y = 0; y <= last_y; ++y) {
        for (int32_t x = 0; x <= last_x; ++x) out += tile_symbol(world_matrix[x][y].tile_name);
        out += "\n";
    }
    for (int32_t x = 0; x <= last_x; ++x)
        for (int32_t y = 0; y <= last_y; ++y) {
            const world_cell& cell = world_matrix[x][y];
            for (int slot = 0; slot < 4; ++slot)
                if (cell.child_object[slot] != -1)
                    out += "object " + pair_text(x, y) + " " + std::to_string(slot) + " " +
                           cell.child_name[slot] + "\n";
        }
    return out + enemy_lines("painter", painters) + enemy_lines("eraser", erasers);
}

uint32_t matrix_checksum() {
    // FNV-1a over the kind of every cell of the level, column by column.
    uint32_t hash = 2166136261u;
    auto mix = [&hash](unsigned char c) { hash = (hash ^ c) * 16777619u; };
    const int32_t last_x = std::min(level_last_x, max_level_extent);
    const int32_t last_y = std::min(level_last_y, max_level_extent);
    for (int32_t x = 0; x <= last_x; ++x)
        for (int32_t y = 0; y <= last_y; ++y) {
            const std::string& kind = world_matrix[x][y].tile_name;
            for (unsigned char c : kind) mix(c);
            mix(0);
        }
    return hash;
}

std::string replay_summary_line() {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%08x", matrix_checksum());
    return "replay frames=" + std::to_string(frame_number()) +
           " dimension=" + std::to_string(dimension) + " score=" + std::to_string(score) +
           " critical_mass=" + std::to_string(critical_mass) +
           " time_left=" + std::to_string(time_left) + " matrix=" + hex;
}
