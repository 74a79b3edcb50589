// The labyrinth builders and the levels they make.
//
// The golden levels in tests/world/golden are rewritten, after a deliberate
// change to the builders, by
//     ZORBEL_UPDATE_GOLDEN=1 build/tests/test_world --gtest_filter='*Golden*'
// and the change is reviewed in the diff.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "content/io_control.h"
#include "frontend/menus.h"
#include "media/random.h"
#include "support/world_pack.h"
#include "world/enemy_ai.h"
#include "world/labyrinth.h"
#include "world/level_dump.h"
#include "world/world.h"

using namespace world_pack;

namespace {

class Labyrinth : public ::testing::Test {
protected:
    static void SetUpTestSuite() { open_headless_screen(320, 240); }
    static void TearDownTestSuite() { close_headless_screen(); }
    void SetUp() override {
        init_globals();
        use_pack(folder);
        write_level_pack(folder);
        screen_width = 320;
        screen_height = 240;
        cfg_worldrandom = 4242;
        level_base_width = 16;
        level_base_height = 12;
        build_tile_graphics();
        load_object_definitions();
    }
    void build(int level) {
        dimension = level;
        build_next_level();
    }
    std::map<char, int> census() {
        std::map<char, int> count;
        for (int x = 0; x <= level_last_x; ++x)
            for (int y = 0; y <= level_last_y; ++y)
                ++count[tile_symbol(world_matrix[x][y].tile_name)];
        return count;
    }
    temp_folder folder;
};

std::string read_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST_F(Labyrinth, TheSmallestLevelDigsOnlyTheStartCell) {
    level_last_x = level_last_y = 3;
    fill_with_walls(3, 3);
    dig_labyrinth(3, 3);
    EXPECT_EQ(census()['.'], 1);
    EXPECT_EQ(world_matrix[1][1].tile_name, lab_floor);
    EXPECT_FLOAT_EQ(player.x, 16.0f);
    EXPECT_FLOAT_EQ(player.y, 16.0f);
    EXPECT_EQ(player.state, 22);
    EXPECT_EQ(critical_mass, 0);
    EXPECT_EQ(time_left, 0);
}

TEST_F(Labyrinth, WallsFillTheLevelAndSetTheView) {
    level_last_x = 7;
    level_last_y = 4;
    fill_with_walls(7, 4);
    EXPECT_EQ(census()['#'], 8 * 5);
    EXPECT_EQ(world_matrix[7][4].active, 1);
    EXPECT_EQ(world_matrix[8][4].active, 0);
    EXPECT_EQ(world_matrix[7][5].active, 0);
    EXPECT_FLOAT_EQ(view_columns, 20.0f);
    EXPECT_FLOAT_EQ(view_rows, 15.0f);
}

TEST_F(Labyrinth, AnEmptyLevelIsAllWallAndLeavesThePlayerAlone) {
    player.x = 5;
    level_last_x = 0;
    level_last_y = 6;
    fill_with_walls(0, 6);
    dig_labyrinth(0, 6);
    scatter_green(0, 6);
    EXPECT_EQ(census()['#'], 7);
    EXPECT_FLOAT_EQ(player.x, 5.0f);
    EXPECT_EQ(critical_mass, 0);
    // Negative extents dig nothing either, inside or outside the level.
    dig_labyrinth(-4, -4);
    EXPECT_EQ(world_matrix[1][1].tile_name, "");
}

TEST_F(Labyrinth, GeneratedLevelsKeepTheirOuterRingsOfWall) {
    for (int level = 1; level <= 6; ++level) {
        build(level);
        const int w = level_last_x, h = level_last_y;
        for (int x = 0; x <= w; ++x) {
            for (int y = 0; y <= h; ++y) {
                const world_cell& cell = world_matrix[x][y];
                EXPECT_EQ(cell.active, 1);
                const char kind = tile_symbol(cell.tile_name);
                EXPECT_NE(std::string("#.g~").find(kind), std::string::npos);
                if (x == 0 || x >= w - 1 || y == 0 || y >= h - 1) {
                    EXPECT_EQ(kind, '#') << "level " << level << " at " << x << "," << y;
                }
            }
        }
        EXPECT_EQ(world_matrix[w + 1][0].active, 0);
        EXPECT_EQ(world_matrix[0][h + 1].active, 0);
    }
}

TEST_F(Labyrinth, TheDigDecidesTheWorkAndTheTime) {
    // Goodies on the dug floor count with it: a quarter must be fixed, a
    // quarter of that is the clock, at most 60 ticks.
    for (int level : {1, 2, 5, 40}) {
        build(level);
        int goodies = 0;
        for (const world_object& o : world_objects) goodies += o.is_goody;
        const int floor = census()['.'];
        EXPECT_EQ(critical_mass, (floor + goodies) / 4) << level;
        EXPECT_EQ(time_left, std::min(critical_mass / 4, 60)) << level;
        if (level == 40) {
            EXPECT_EQ(time_left, 60);
        }
    }
}

TEST_F(Labyrinth, ThePlayerStartsOnTheFirstDugCell) {
    for (int level : {1, 2, 3}) {
        build(level);
        const int x = int(player.x / tile_width), y = int(player.y / tile_height);
        EXPECT_EQ(world_matrix[x][y].tile_name, lab_floor) << level;
        EXPECT_TRUE(x == 1 || y == 1) << "the walker leaves (1, 1) along one axis first";
        EXPECT_EQ(player.state, 22);
    }
}

TEST_F(Labyrinth, GreenAndWaterGrowOnlyOnWalls) {
    build(3);
    const auto count = census();
    EXPECT_GT(count.at('.'), 0);
    EXPECT_GT(count.at('g'), 0);
    // Rebuilding without the scatter walks leaves the same floor.
    const int floor = count.at('.');
    dimension = 3;
    random_seed(cfg_worldrandom + dimension);
    random(level_base_width / 2);
    random(level_base_height / 2);
    play_music("");   // the level's track
    reset_world();
    load_object_definitions();
    fill_with_walls(level_last_x, level_last_y);
    dig_labyrinth(level_last_x, level_last_y);
    EXPECT_EQ(census()['.'], floor);
}

TEST_F(Labyrinth, EdgeMarksFollowTheWesternAndNorthernNeighbours) {
    level_last_x = level_last_y = 6;
    fill_with_walls(6, 6);
    set_tile(3, 3, lab_green, false);
    set_tile(3, 2, lab_water, false);
    edge_work_list.push_back({3, 3, lab_green});
    edge_work_list.push_back({0, 0, lab_wall});   // its neighbours lie outside the matrix
    mark_edges();
    EXPECT_EQ(world_matrix[3][3].tile_name, lab_green) << "switched off";
    cfg_useextendedtopo = 1;
    mark_edges();
    // West is wall: "_E"; then north is water: "_S".
    EXPECT_EQ(world_matrix[3][3].tile_name, "LAB_WATER_S");
    EXPECT_EQ(world_matrix[0][0].tile_name, lab_wall);
}

TEST_F(Labyrinth, TheSameSeedAndDimensionGiveTheSameLevel) {
    build(4);
    const std::string first = dump_level();
    build(5);
    const std::string other = dump_level();
    build(4);
    EXPECT_EQ(dump_level(), first);
    EXPECT_NE(other, first);
    cfg_worldrandom = 4243;
    build(4);
    EXPECT_NE(dump_level(), first);
}

TEST_F(Labyrinth, GoldenLevels) {
    const std::string folder_path = std::string(ZORBEL_SOURCE_DIR) + "/tests/world/golden/";
    const bool update = std::getenv("ZORBEL_UPDATE_GOLDEN") != nullptr;
    for (int level : {1, 4, 12}) {
        build(level);
        const std::string file = folder_path + "level_" + std::to_string(level) + ".txt";
        const std::string dump = dump_level();
        if (update) {
            std::ofstream(file, std::ios::binary | std::ios::trunc) << dump;
            continue;
        }
        EXPECT_EQ(dump, read_text(file)) << "level " << level << " differs from " << file;
    }
}
