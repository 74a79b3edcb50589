// Building a level: size, music, objects, the level base, prepared worlds, progress bars.
#include <cmath>

#include "world/level_dump.h"
#include "world/play_world.h"

using namespace play_world;

namespace {

class LevelSetup : public PackTest {
protected:
    void SetUp() override {
        PackTest::SetUp();
        write_level_pack(folder);
        cfg_worldrandom = 4242;
        build_tile_graphics();
    }
    // A prepared world: the header, then three lines per cell, column by column.
    std::string world_file(int last_x, int last_y, const std::vector<std::string>& cells) {
        std::string text = "world\r\n" + std::to_string(last_x) + "\r\n" + std::to_string(last_y) + "\r\n-\r\n-\r\n";
        for (const std::string& kind : cells)
            text += kind.substr(0, 4) + "\r\n" + kind.substr(4, 3) + "\r\n" + kind.substr(7) + "\r\n";
        return folder.write("WORLDS/T.ai42", text);
    }
};

// The size stays inside the base and the matrix; below 1 it is the whole matrix.
TEST_F(LevelSetup, TheLevelGrowsInsideTheBaseAndTheMatrix) {
    const struct { int base, matrix, level, last_x, last_y, dimension; } cases[] = {
        {40, 30, 1, 30, 30, 1}, {0, 30, -4, 30, 30, 0}, {4000, 1024, 1, 512, 512, 1}};
    for (const auto& c : cases) {
        level_base_width = level_base_height = c.base, matrix_width = matrix_height = c.matrix;
        dimension = c.level;
        build_next_level();
        EXPECT_EQ(std::tuple(level_last_x, level_last_y, dimension), std::tuple(c.last_x, c.last_y, c.dimension)) << c.base;
        EXPECT_EQ(screen_state, 35);
    }
    EXPECT_EQ(std::tuple(world_matrix[512][512].tile_name, world_matrix[512][512].active), std::tuple(lab_wall, 1));
    EXPECT_GT(critical_mass, 1000);
    view_x = 4;   // a reset empties the world and puts the view back
    reset_world();
    EXPECT_EQ(std::tuple(world_objects.size(), view_x, world_matrix[1][1].tile_name.str()), std::tuple(0u, 0.0f, ""));
}

// Each level starts a random track from its own sequence, right after its size is drawn.
TEST_F(LevelSetup, EachLevelStartsARandomTrackDrawnFromItsOwnSequence) {
    ASSERT_TRUE(start_sound_service());
    register_decoders();
    for (const char* track : {"a.ogg", "b.ogg", "c.ogg"}) folder.write(std::string("MUSIC/") + track, sound_files::ogg());
    cfg_ingamemusic = folder.path() + "/MUSIC/";
    load_music_list();
    ASSERT_EQ(music_tracks.size(), 3u);
    level_base_width = level_base_height = 16;
    for (int32_t dimension_built = 1; dimension_built <= 6; ++dimension_built) {
        // By hand: the two size draws, then the walk round the three tracks.
        random_seed(cfg_worldrandom + dimension_built);
        random(8);
        random(8);
        int32_t expected = -1;
        do expected = (expected + 1) % 3;
        while (random(3) != 0);
        music_on = 1, dimension = dimension_built;
        build_next_level();
        for (int32_t i = 0; i < 3; ++i)
            EXPECT_EQ(music_exists(music_tracks[size_t(i)].sound), i == expected)
                << "dimension " << dimension_built << ", track " << i;
        const std::string with_music = dump_level();
        const int sprites[] = {world_matrix[0][0].tile_sprite, world_objects.at(0).sprite3d, painters.at(0).sprite};
        music_on = 0;
        free_music();
        build_next_level();
        EXPECT_NE(dump_level(), with_music) << "dimension " << dimension_built;
        for (int sprite : sprites) EXPECT_FALSE(blended_exists(sprite)) << "a rebuild replaces the sprites";
        for (const music_track& track : music_tracks) EXPECT_FALSE(music_exists(track.sound));
    }
}

TEST_F(LevelSetup, TheLevelBaseGivesTheSizesAndTheMarker) {
    folder.write("DATA/level.base", "base\r\n24\r\n18\r\n-\r\n-\r\n");
    dimension = 1;
    load_level_base(folder.path() + "/DATA/level.base");
    EXPECT_EQ(std::tuple(level_base_width, level_base_height, player.angle), std::tuple(24, 18, 16.0f));
    // A second load replaces the first marker.
    const int first = player.sprite;
    load_player_image();
    EXPECT_FALSE(blended_exists(first));
    folder.write("DATA/level.base", "base\r\n-7\r\n5000\r\n-\r\n-\r\n");
    load_level_base(folder.path() + "/DATA/level.base");
    EXPECT_EQ(std::tuple(level_last_x >= 0, level_last_y <= 512), std::tuple(true, true)) << "an impossible base";
    player = player_marker{};
    cfg_cursor = folder.path() + "/GFX/none.png";
    load_player_image();
    EXPECT_EQ(std::tuple(player.sprite, player.angle), std::tuple(0, 0.0f)) << "a missing marker image";
}

TEST(LevelSetupDeath, AMissingLevelBaseOrWorldFileEndsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    init_globals();
    cfg_selfcreatebase = "/nowhere/level.base";
    EXPECT_EXIT(load_level_base(cfg_selfcreatebase), ::testing::ExitedWithCode(0), "Could not open:/nowhere/level.base");
    EXPECT_EXIT(load_world_file("/nowhere/T.ai42"), ::testing::ExitedWithCode(0), "Could not open topographic data");
}

TEST_F(LevelSetup, AWorldFileListsItsCellsColumnByColumn) {
    world_file(2, 1, {"LAB_WALL", "LAB_FLOOR", "LAB_GREEN", "LAB_WATER", "LAB_FLOOR", "LAB_WALL"});
    folder.write("WORLDS/T.red", "1\r\n2\r\n3\r\n4\r\n5\r\n255\r\n200\r\n150\r\n100\r\n50\r\n0\r\n");
    load_world_file(folder.path() + "/WORLDS/T.ai42");
    EXPECT_EQ(std::tuple(level_last_x, level_last_y), std::tuple(2, 1));
    const char* kinds[3][2] = {{"LAB_WALL", "LAB_FLOOR"}, {"LAB_GREEN", "LAB_WATER"}, {"LAB_FLOOR", "LAB_WALL"}};
    const int alphas[3][2] = {{255, 200}, {150, 100}, {50, 0}};
    for (int x = 0; x < 3; ++x)
        for (int y = 0; y < 2; ++y) {
            const world_cell& cell = world_matrix[x][y];
            EXPECT_EQ(std::tuple(cell.tile_name.str(), int(cell.active), cell.alpha), std::tuple(kinds[x][y], 1, alphas[x][y]));
        }
    EXPECT_EQ(world_matrix[3][0].active, 0);
    // The marker stands on the first cell it may walk on.
    EXPECT_EQ(std::tuple(player.x, player.y), std::tuple(0.0f, 16.0f));
}

TEST_F(LevelSetup, ShortAndLargeWorldFilesSetWhatTheyHaveAndWhatFits) {
    // The file ends inside the third cell: that cell is set from what is there.
    folder.write("WORLDS/T.ai42", "w\r\n1\r\n1\r\n-\r\n-\r\nLAB_\r\nFLO\r\nOR\r\nLAB_\r\nWAL\r\nL\r\nLAB_\r\n");
    load_world_file(folder.path() + "/WORLDS/T.ai42");
    EXPECT_EQ(std::tuple(world_matrix[0][0].tile_name, world_matrix[0][1].tile_name, world_matrix[1][0].tile_name.str()),
              std::tuple(lab_floor, lab_wall, "LAB_"));
    EXPECT_EQ(std::tuple(world_matrix[1][0].active, world_matrix[1][1].active), std::tuple(uint8_t(1), uint8_t(0)));
    EXPECT_EQ(world_matrix[0][0].alpha, 255) << "without an alpha file the definitions' alpha stays";
    // 600 rows per column: the cells below row 512 are read past, not stored.
    std::vector<std::string> cells(2 * 600, "LAB_FLOOR");
    cells[599] = "LAB_WATER";   // (0, 599): outside
    cells[600] = "LAB_GREEN";   // (1, 0)
    world_file(1, 599, cells);
    load_world_file(folder.path() + "/WORLDS/T.ai42");
    EXPECT_EQ(level_last_y, 512);
    EXPECT_EQ(std::tuple(world_matrix[1][0].tile_name, world_matrix[0][512].tile_name), std::tuple(lab_green, lab_floor));
}

TEST_F(LevelSetup, ProgressShowsAtTheFirstCellAndEvery501stAndRestartsWithEachLevel) {
    level_last_x = 39;
    level_last_y = 24;
    int before = frame_number();
    for (int cell = 0; cell < 502; ++cell) show_load_progress();   // cells 0 and 501 show
    EXPECT_EQ(frame_number() - before, 2);
    EXPECT_NEAR(load_bar, 1.0f + 502 * 320.0f / (39 * 24), 0.01f);
    level_last_x = 10;
    level_last_y = 0;   // no area: the step must stay a number
    dimension = 7, loaded_dimension = 6, before = frame_number();
    for (int cell = 0; cell < 22; ++cell) show_build_progress();
    EXPECT_EQ(loaded_dimension, 7);
    EXPECT_EQ(frame_number() - before, 1);
    EXPECT_TRUE(std::isfinite(build_bar));
    EXPECT_FLOAT_EQ(build_bar, 1.0f + 22 * 320.0f);
    EXPECT_EQ(read_pixel(5, 204), rgb(255, 0, 0)) << "drawn red at 85 % of the screen height";
}

}  // namespace
