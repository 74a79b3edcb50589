// The level base of the generated levels, and a small prepared world.
#include <cstdio>
#include <string>
#include <vector>

#include "pack.h"
#include "world_data.h"

namespace fs = std::filesystem;

namespace pack {
namespace {

// Generated level n spans 15 + n .. 29 + n columns and 11 + n .. 21 + n rows:
// level 1 fills the screen and scrolls a little, and every level is larger.
const std::vector<std::string> level_base = {"ZORBEL LEVEL BASE", "28", "20", "0", "0"};

// The prepared world, row by row: # wall, . floor, , green, ~ water.
const std::vector<std::string> prepared_world = {
    "########################",
    "#......,,,,.....~~~....#",
    "#.####.,##,.###.~~~.##.#",
    "#.#..#.,,,,.#.#......#.#",
    "#.#..#......#.#.~~.#.#.#",
    "#.##.######.#.#.~~.#...#",
    "#...........#...~~.###.#",
    "###.####.####.#.......##",
    "#,,.#..#......#.####...#",
    "#,,.#..#.~~~~.#....#.#.#",
    "#,,......~~~~......#.#.#",
    "#.###.##.~~~~.####.#.#.#",
    "#.....#..........#...#.#",
    "#.~~~.#.#######..#.###.#",
    "#.~~~.........,,,,.....#",
    "########################",
};

std::string kind_of(char symbol) {
    switch (symbol) {
    case '.': return "LAB_FLOOR";
    case ',': return "LAB_GREEN";
    case '~': return "LAB_WATER";
    default: return "LAB_WALL";
    }
}

bool write_prepared_world(const fs::path& folder) {
    const int columns = int(prepared_world[0].size()), rows = int(prepared_world.size());
    for (const std::string& row : prepared_world)
        if (int(row.size()) != columns) {
            std::fputs("zorbel-pack: the prepared world is not rectangular\n", stderr);
            return false;
        }
    std::vector<std::string> world = {"ZORBEL PREPARED WORLD", std::to_string(columns - 1),
                                      std::to_string(rows - 1), "0", "0"};
    std::vector<std::string> alpha = {"ZORBEL PREPARED WORLD ALPHA", std::to_string(columns - 1),
                                      std::to_string(rows - 1), "0", "0"};
    // Column by column; a tile name is written across three lines.
    for (int x = 0; x < columns; ++x) {
        for (int y = 0; y < rows; ++y) {
            const char symbol = prepared_world[size_t(y)][size_t(x)];
            const std::string kind = kind_of(symbol);
            world.push_back(kind.substr(0, 4));
            world.push_back(kind.substr(4, 3));
            world.push_back(kind.substr(7));
            // Water lets a little of the black ground through.
            alpha.push_back(symbol == '~' ? "210" : "255");
        }
    }
    return write_lines(folder / "ZORBEL.ai42", world) && write_lines(folder / "ZORBEL.red", alpha);
}

}  // namespace

bool write_levels(const fs::path& data_dir) {
    bool ok = write_lines(data_dir / "DATA" / "level.base", level_base);
    return write_prepared_world(data_dir / "WORLDS") && ok;
}

}  // namespace pack
