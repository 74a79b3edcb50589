#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "content/io_control.h"
#include "support/world_pack.h"
#include "world/world.h"

using namespace world_pack;

namespace {

class TileDefinitions : public ::testing::Test {
protected:
    static void SetUpTestSuite() { open_headless_screen(320, 240); }
    static void TearDownTestSuite() { close_headless_screen(); }
    void SetUp() override {
        init_globals();
        use_pack(folder);
        folder.write("GFX/TILES/floor.png", bmp(8, 8, floor_colour));
        folder.write("GFX/TILES/dummy.png", bmp(8, 8, rgb(255, 128, 0)));
        folder.write("GFX/TILES/Wall.png", bmp(8, 8, wall_colour));
        build_tile_graphics();
    }
    void define(const std::string& kind, const std::string& text) {
        tile_definition(folder, kind, text);
    }
    std::filesystem::path definition_file(const std::string& kind) {
        return folder.path() + "/DATA/TILES/T/" + kind;
    }
    static std::filesystem::file_time_type hours_ago(int hours) {
        return std::filesystem::file_time_type::clock::now() - std::chrono::hours(hours);
    }
    void set_modified(const std::string& kind, std::filesystem::file_time_type time) {
        std::filesystem::last_write_time(definition_file(kind), time);
    }
    world_cell& load(const std::string& kind, int x = 3, int y = 4) {
        load_tile_definition(x, y, tile_definition_path(kind));
        return world_matrix[x][y];
    }
    temp_folder folder;
};

}  // namespace

TEST_F(TileDefinitions, ImagesAreListedInNameOrderWithTheirSizes) {
    ASSERT_EQ(tile_graphics.size(), 3u);
    EXPECT_EQ(tile_graphics[0].file_name, "Wall.png");   // bytewise: upper case first
    EXPECT_EQ(tile_graphics[1].file_name, "dummy.png");
    EXPECT_EQ(tile_graphics[2].path, cfg_topogfx + "floor.png");
    EXPECT_NE(tile_graphics[2].sprite, 0);
    EXPECT_FLOAT_EQ(tile_graphics[2].width, 8.0f);
    EXPECT_FLOAT_EQ(tile_graphics[2].height, 8.0f);

    cfg_topogfx = folder.path() + "/nowhere/";
    tile_graphics.clear();
    build_tile_graphics();
    EXPECT_TRUE(tile_graphics.empty()) << "a missing folder gives an empty list";
}

TEST_F(TileDefinitions, EveryKeyReachesItsField) {
    define("LAB_TEST", pairs({{"GFXNAME", "floor.png"},
                              {"CHILD1", "BOMB"},
                              {"CHILD2", "#"},
                              {"CHILD3", "EXTRATIME"},
                              {"CHILD4", "#"},
                              {"VALUE1", "12"},
                              {"RANDOMSEED", "77"},
                              {"ROTATE", "-5"},
                              {"USECOLLISION", "257"},
                              {"TRANSPARENCY", "-10"},
                              {"USEENEMY", "1"},
                              {"DX1", "2"},
                              {"DX2", "5"},
                              {"USEDIRECTION", "LEFT"},
                              {"INTERNALNAME", "ignored"}}));
    world_cell& cell = load("LAB_TEST");
    EXPECT_EQ(cell.gfx_name, "floor.png");
    EXPECT_EQ(cell.child_name[0], "BOMB");
    EXPECT_EQ(cell.child_name[1], "#");
    EXPECT_EQ(cell.child_name[2], "EXTRATIME");
    EXPECT_EQ(cell.child_count, 2);   // slot 1 is looked at but matches nothing
    for (int slot = 0; slot < 4; ++slot) EXPECT_EQ(cell.child_object[slot], -1);
    EXPECT_EQ(cell.value1, 12);
    EXPECT_EQ(cell.tile_seed, 77);
    EXPECT_EQ(cell.rotate, -5);
    EXPECT_EQ(cell.use_collision, 1);   // low eight bits
    EXPECT_EQ(cell.transparency, -10);
    EXPECT_EQ(cell.alpha, 265);
    EXPECT_EQ(cell.use_enemy, 1);
    EXPECT_EQ(cell.dx1, 2);
    EXPECT_EQ(cell.dx2, 5);
    EXPECT_EQ(cell.tile_direction, 19);
    EXPECT_EQ(cell.children_spawned, 0);
}

TEST_F(TileDefinitions, DirectionsAndUnknownWords) {
    const std::pair<const char*, int> words[] = {
        {"DEFAULT", 17}, {"DOWN", 18}, {"LEFT", 19}, {"RIGHT", 20}, {"UP", 21}};
    for (auto [word, code] : words) {
        define("LAB_DIR", pairs({{"USEDIRECTION", word}}));
        EXPECT_EQ(load("LAB_DIR").tile_direction, code) << word;
    }
    define("LAB_DIR", pairs({{"USEDIRECTION", "up"}}));
    EXPECT_EQ(load("LAB_DIR").tile_direction, 21) << "an unknown word keeps the direction";
}

TEST_F(TileDefinitions, LaterKeysWinAndUnknownKeysTakeTheirValueLine) {
    define("LAB_TEST", pairs({{"VALUE1", "1"},
                              {"#CHILD5", "VALUE1"},   // skipped with its value
                              {"value1", "99"},        // not a key: skipped too
                              {"VALUE1", "3"}}));
    EXPECT_EQ(load("LAB_TEST").value1, 3);
    // A missing line shifts the pairs: "ROTATE" becomes the value of GFXNAME.
    define("LAB_SHIFT", "GFXNAME\r\nROTATE\r\n45\r\n");
    world_cell& cell = load("LAB_SHIFT");
    EXPECT_EQ(cell.gfx_name, "ROTATE");
    EXPECT_EQ(cell.rotate, 0);
}

TEST_F(TileDefinitions, ChildCountFollowsTheSlotsThatNameSomething) {
    define("LAB_ONE", pairs({{"CHILD1", "#"}}));
    world_cell& cell = load("LAB_ONE");
    EXPECT_EQ(cell.child_count, 0);
    EXPECT_EQ(cell.child_name[0], "#");
    define("LAB_FOUR", pairs({{"CHILD1", "A"}, {"CHILD2", "B"}, {"CHILD3", "#"}, {"CHILD4", "D"}}));
    EXPECT_EQ(load("LAB_FOUR").child_count, 3);
    // Each load starts the count afresh.
    EXPECT_EQ(load("LAB_ONE").child_count, 0);
}

TEST_F(TileDefinitions, AbsentKeysKeepWhatTheCellHadButTheImageIsTheDummy) {
    define("LAB_SPIN", pairs({{"ROTATE", "90"}, {"VALUE1", "10"}, {"GFXNAME", "floor.png"}}));
    define("LAB_PLAIN", pairs({{"USECOLLISION", "1"}}));
    load("LAB_SPIN");
    world_cell& cell = load("LAB_PLAIN");
    EXPECT_EQ(cell.rotate, 90);
    EXPECT_EQ(cell.value1, 10);
    EXPECT_EQ(cell.use_collision, 1);
    EXPECT_EQ(cell.gfx_name, "dummy.png") << "no GFXNAME refers to the dummy image";
    // So do an empty image name and a final key line without its value.
    define("LAB_EMPTY", pairs({{"GFXNAME", ""}}));
    EXPECT_EQ(load("LAB_EMPTY").gfx_name, "dummy.png");
    define("LAB_END", "VALUE1\r\n4\r\nGFXNAME");
    EXPECT_EQ(load("LAB_END").gfx_name, "dummy.png");
    EXPECT_EQ(cell.value1, 4);
}

TEST_F(TileDefinitions, AMissingDefinitionLeavesTheCellExactlyAsItWas) {
    define("LAB_FULL", pairs({{"GFXNAME", "floor.png"}, {"CHILD1", "GEM"}, {"VALUE1", "7"}}));
    world_cell& cell = load("LAB_FULL");
    cell.children_spawned = 1;
    cell.child_count = 2;
    load("LAB_NOWHERE");
    EXPECT_EQ(cell.gfx_name, "floor.png");
    EXPECT_EQ(cell.child_name[0], "GEM");
    EXPECT_EQ(cell.value1, 7);
    EXPECT_EQ(cell.children_spawned, 1);
    EXPECT_EQ(cell.child_count, 2);
}

TEST_F(TileDefinitions, AFreshCellPointsAtNoObject) {
    // A definition that names no child must not make slot 0 select object 0.
    define("LAB_BARE", pairs({{"VALUE1", "1"}}));
    world_cell& cell = load("LAB_BARE", 9, 9);
    for (int slot = 0; slot < 4; ++slot) EXPECT_EQ(cell.child_object[slot], -1);
}

TEST_F(TileDefinitions, AttachedImagesAreZoomedToTheTileUnlessInvisible) {
    define("LAB_SEEN", pairs({{"GFXNAME", "floor.png"}, {"TRANSPARENCY", "0"}}));
    set_tile(2, 2, "LAB_SEEN", false);
    const int seen = world_matrix[2][2].tile_sprite;
    ASSERT_NE(seen, 0);
    EXPECT_EQ(blended_width(seen), 16);
    EXPECT_EQ(blended_height(seen), 16);

    define("LAB_GHOST", pairs({{"GFXNAME", "floor.png"}, {"TRANSPARENCY", "255"}}));
    set_tile(2, 2, "LAB_GHOST", false);
    const int ghost = world_matrix[2][2].tile_sprite;
    EXPECT_EQ(world_matrix[2][2].alpha, 0);
    EXPECT_NE(ghost, 0);
    EXPECT_EQ(blended_width(ghost), 8) << "keeps the image's own size";
    EXPECT_FALSE(blended_exists(seen)) << "the replaced sprite is freed";
}

TEST_F(TileDefinitions, ImageNamesMatchExactly) {
    define("LAB_SEEN", pairs({{"GFXNAME", "floor.png"}, {"TRANSPARENCY", "0"}}));
    set_tile(5, 5, "LAB_SEEN", false);
    const int before = world_matrix[5][5].tile_sprite;
    define("LAB_CASE", pairs({{"GFXNAME", "wall.png"}}));   // the file is "Wall.png"
    set_tile(5, 5, "LAB_CASE", false);
    EXPECT_EQ(world_matrix[5][5].tile_sprite, before);
    EXPECT_TRUE(blended_exists(before));
}

TEST_F(TileDefinitions, AnUnchangedDefinitionIsReadOnce) {
    define("LAB_KEEP", pairs({{"VALUE1", "5"}, {"GFXNAME", "floor.png"}}));
    set_modified("LAB_KEEP", hours_ago(1));
    const int64_t reads = tile_definition_reads();
    set_tile(1, 1, "LAB_KEEP", false);
    set_tile(1, 2, "LAB_KEEP", false);
    load("LAB_KEEP", 1, 1);
    EXPECT_EQ(tile_definition_reads(), reads + 1);
    EXPECT_EQ(world_matrix[1][2].value1, 5);
    EXPECT_EQ(world_matrix[1][2].gfx_name, "floor.png");
}

TEST_F(TileDefinitions, AnEditedDefinitionTakesEffectAtTheNextSetTile) {
    define("LAB_EDIT", pairs({{"VALUE1", "1"}}));
    set_modified("LAB_EDIT", hours_ago(2));
    set_tile(1, 1, "LAB_EDIT", false);
    EXPECT_EQ(world_matrix[1][1].value1, 1);

    // Same size, another time.
    define("LAB_EDIT", pairs({{"VALUE1", "2"}}));
    set_modified("LAB_EDIT", hours_ago(1));
    set_tile(1, 2, "LAB_EDIT", false);
    EXPECT_EQ(world_matrix[1][2].value1, 2);

    // Replaced by a copy that kept size and time, as unpacking a mod does.
    const auto time = std::filesystem::last_write_time(definition_file("LAB_EDIT"));
    define("LAB_COPY", pairs({{"VALUE1", "3"}}));
    std::filesystem::last_write_time(definition_file("LAB_COPY"), time);
    std::filesystem::rename(definition_file("LAB_COPY"), definition_file("LAB_EDIT"));
    set_tile(1, 3, "LAB_EDIT", false);
    EXPECT_EQ(world_matrix[1][3].value1, 3);

    // Two edits within one tick of the file clock may leave the stamp as it
    // was: a file modified that recently (here: stamped in the future, as a
    // clock running ahead does) is read again at every load.
    define("LAB_EDIT", pairs({{"VALUE1", "4"}}));
    set_modified("LAB_EDIT", std::filesystem::file_time_type::clock::now() +
                                 std::chrono::minutes(1));
    const int64_t reads = tile_definition_reads();
    set_tile(1, 4, "LAB_EDIT", false);
    set_tile(1, 5, "LAB_EDIT", false);
    EXPECT_EQ(world_matrix[1][5].value1, 4);
    EXPECT_EQ(tile_definition_reads(), reads + 2);
}

TEST_F(TileDefinitions, ADeletedDefinitionLeavesCellsAloneUntilItReturns) {
    define("LAB_GONE", pairs({{"VALUE1", "7"}, {"GFXNAME", "floor.png"}}));
    define("LAB_OTHER", pairs({{"VALUE1", "1"}}));
    set_modified("LAB_GONE", hours_ago(1));
    const auto time = std::filesystem::last_write_time(definition_file("LAB_GONE"));
    set_tile(2, 1, "LAB_GONE", false);
    set_tile(2, 2, "LAB_OTHER", false);
    EXPECT_EQ(world_matrix[2][1].value1, 7);

    std::filesystem::remove(definition_file("LAB_GONE"));
    set_tile(2, 2, "LAB_GONE", false);
    EXPECT_EQ(world_matrix[2][2].tile_name, "LAB_GONE");
    EXPECT_EQ(world_matrix[2][2].value1, 1) << "the old definition is not used";
    EXPECT_EQ(world_matrix[2][2].gfx_name, "dummy.png");

    // Back with the very same size and time: read again all the same.
    define("LAB_GONE", pairs({{"VALUE1", "8"}, {"GFXNAME", "floor.png"}}));
    std::filesystem::last_write_time(definition_file("LAB_GONE"), time);
    set_tile(2, 3, "LAB_GONE", false);
    EXPECT_EQ(world_matrix[2][3].value1, 8);
}

// A definition can change without any change in its own folder.
TEST_F(TileDefinitions, EditsThroughLinksAndSwappedFoldersAreSeen) {
    const std::string mods = folder.path() + "/MODS/";
    define("LAB_HARD", pairs({{"VALUE1", "1"}}));
    set_modified("LAB_HARD", hours_ago(3));
    folder.write("MODS/linked", pairs({{"VALUE1", "1"}}));
    std::filesystem::last_write_time(mods + "linked", hours_ago(3));
    std::filesystem::create_symlink(mods + "linked", definition_file("LAB_LINKED"));
    set_tile(3, 1, "LAB_LINKED", false);
    set_tile(3, 2, "LAB_HARD", false);
    std::filesystem::create_hard_link(definition_file("LAB_HARD"), mods + "hard");
    set_tile(3, 2, "LAB_HARD", false);

    folder.write("MODS/linked", pairs({{"VALUE1", "2"}}));
    std::filesystem::last_write_time(mods + "linked", hours_ago(2));
    folder.write("MODS/hard", pairs({{"VALUE1", "3"}}));
    std::filesystem::last_write_time(mods + "hard", hours_ago(2));
    set_tile(3, 1, "LAB_LINKED", false);
    set_tile(3, 2, "LAB_HARD", false);
    EXPECT_EQ(world_matrix[3][1].value1, 2) << "the link's target was edited";
    EXPECT_EQ(world_matrix[3][2].value1, 3) << "the other hard link was edited";

    // A mod installed by putting a whole new folder in place of the old one.
    define("LAB_SWAP", pairs({{"VALUE1", "4"}}));
    set_modified("LAB_SWAP", hours_ago(2));
    set_tile(3, 3, "LAB_SWAP", false);
    std::filesystem::rename(folder.path() + "/DATA/TILES", folder.path() + "/DATA/OLD");
    define("LAB_SWAP", pairs({{"VALUE1", "5"}}));
    set_modified("LAB_SWAP", hours_ago(2));
    set_tile(3, 4, "LAB_SWAP", false);
    EXPECT_EQ(world_matrix[3][4].value1, 5);
}

TEST_F(TileDefinitions, SetTileOutsideTheMatrixDoesNothing) {
    define("LAB_SEEN", pairs({{"GFXNAME", "floor.png"}}));
    set_tile(-1, 0, "LAB_SEEN", true);
    set_tile(0, matrix_cells, "LAB_SEEN", true);
    set_tile(matrix_cells, matrix_cells, "LAB_SEEN", true);
    EXPECT_EQ(world_matrix[0][0].tile_name, "");
    EXPECT_EQ(cell_at(-1, 0).tile_name, lab_wall);
}
