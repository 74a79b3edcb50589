// The labyrinth builders; ZORBEL_UPDATE_GOLDEN=1 rewrites tests/world/golden (review the diff).
#include <cstdlib>
#include <map>

#include "play_world.h"
#include "world/labyrinth.h"
#include "world/level_dump.h"

using namespace play_world;

namespace {

const std::string golden_folder = std::string(ZORBEL_SOURCE_DIR) + "/tests/world/golden/";
const bool update_golden = std::getenv("ZORBEL_UPDATE_GOLDEN") != nullptr;

class Labyrinth : public PackTest {
protected:
    void SetUp() override {
        PackTest::SetUp();
        write_level_pack(folder);
        cfg_worldrandom = 4242, level_base_width = 16, level_base_height = 12;
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
            for (int y = 0; y <= level_last_y; ++y) ++count[tile_symbol(world_matrix[x][y].tile_name)];
        return count;
    }
};

TEST_F(Labyrinth, WallsFillTheLevelAndTheSmallestOrEmptyOnesDigLittleOrNothing) {
    level_last_x = 7, level_last_y = 4;
    fill_with_walls(7, 4);
    EXPECT_EQ(std::tuple(census()['#'], world_matrix[7][4].active, world_matrix[8][4].active + world_matrix[7][5].active),
              std::tuple(8 * 5, 1, 0));
    init_world_globals();
    level_last_x = level_last_y = 3;
    fill_with_walls(3, 3);
    const cell_position start = dig_labyrinth(3, 3);   // only the start cell
    EXPECT_EQ(std::tuple(census()['.'], world_matrix[1][1].tile_name, start.x, start.y), std::tuple(1, lab_floor, 1, 1));
    init_world_globals();
    const cell_position none = dig_labyrinth(-4, -4);   // negative extents dig nothing, inside or outside the level
    EXPECT_EQ(std::tuple(world_matrix[1][1].tile_name, none.x), std::tuple(interned_name(""), -1));
    level_last_x = 0, level_last_y = 6;
    fill_with_walls(0, 6);
    dig_labyrinth(0, 6);
    scatter_green(0, 6);
    EXPECT_EQ(std::tuple(census()['#'], critical_mass), std::tuple(7, 0)) << "an empty level";
}

TEST_F(Labyrinth, EdgeMarksFollowTheWesternAndNorthernNeighboursWhenSwitchedOn) {
    set_tile(0, 0, lab_wall, false);
    set_tile(2, 3, lab_wall, false);
    set_tile(3, 3, lab_green, false);
    set_tile(3, 2, lab_water, false);
    edge_work_list = {{3, 3, lab_green}, {0, 0, lab_wall}};   // (0, 0): its neighbours lie outside the matrix
    mark_edges();
    EXPECT_EQ(world_matrix[3][3].tile_name, lab_green) << "switched off";
    cfg_useextendedtopo = 1;
    mark_edges();
    EXPECT_EQ(world_matrix[3][3].tile_name, "LAB_WATER_S") << "west is wall (_E), then north is water (_S)";
    EXPECT_EQ(world_matrix[0][0].tile_name, lab_wall);
}

// A quarter of floor and goodies must be fixed, a quarter of that is the clock (at most 60).
TEST_F(Labyrinth, TheDigDecidesWorkTimeAndStart) {
    for (int level : {2, 40}) {
        build(level);
        int goodies = 0;
        for (const world_object& o : world_objects) goodies += o.is_goody;
        EXPECT_EQ(critical_mass, (census()['.'] + goodies) / 4) << level;
        EXPECT_EQ(time_left, level == 40 ? 60 : std::min(critical_mass / 4, 60)) << level;
        const int px = int(player.x / tile_width), py = int(player.y / tile_height);
        EXPECT_EQ(world_matrix[px][py].tile_name, lab_floor) << level;
    }
}

TEST_F(Labyrinth, GreenAndWaterGrowOnlyOnWalls) {
    build(3);
    auto count = census();
    EXPECT_GT(count['g'], 0);
    // Rebuilding without the scatter walks leaves the same floor.
    const int floor = count['.'];
    EXPECT_GT(floor, 0);
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

TEST_F(Labyrinth, GoldenLevels) {
    for (int level : {1, 4, 12}) {
        build(level);
        const std::string file = golden_folder + "level_" + std::to_string(level) + ".txt";
        if (update_golden)
            std::ofstream(file, std::ios::binary | std::ios::trunc) << dump_level();
        else
            EXPECT_EQ(dump_level(), file_text(file)) << "level " << level << " differs from " << file;
    }
}

// `zorbel-tool level` on the small pack, for three seeds.
TEST(LevelTool, GoldenDumpsForThreeSeeds) {
    for (int seed : {7, 99, 2026}) {
        temp_folder folder;
        write_level_pack(folder);
        folder.write("DATA/level.base", level_base_16_12);
        folder.write("DATA/ini.txt", pairs({{"RESBASEW", "320"}, {"RESBASEH", "240"}, {"RESOLUTION", "16"},
                                            {"MAPSIZE", "40"}, {"WORLDRANDOM", std::to_string(seed)},
                                            {"USESELFCREATEBASE", "1"}, {"SELFCREATEBASE", "DATA\\level.base"},
                                            {"RGBCODEPATH", "DATA\\TILES\\"}, {"APPSTART", "T"},
                                            {"TOPOGFX", "GFX\\TILES\\"}, {"GFXCODEC", ".png"},
                                            {"WORLDGFX", "GFX\\OBJECTS\\"}, {"CURSOR", "GFX\\cursor.png"},
                                            {"USESPRITE3D", "1"}, {"LABSWITCH", "3"}, {"MAXFOE", "3"}, {"MULTICORE", "0"}}));
        command_result run = run_command(std::string(ZORBEL_TOOL) + " level . 3", folder.path());
        ASSERT_EQ(run.exit_code, 0) << run.out;
        const std::string golden = golden_folder + "tool_seed_" + std::to_string(seed) + ".txt";
        // The tool prints the level and nothing else; start-up chatter goes elsewhere.
        const std::string dump = run.out.substr(run.out.find("size "));
        if (update_golden)
            std::ofstream(golden, std::ios::binary | std::ios::trunc) << dump;
        else
            EXPECT_EQ(dump, file_text(golden)) << "seed " << seed << " differs from " << golden;
    }
}

}  // namespace
