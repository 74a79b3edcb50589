// Tile definitions: their keys, their images, and when an edited file is read again.
#include <chrono>
#include <filesystem>

#include "world/play_world.h"

using namespace play_world;
namespace fs = std::filesystem;

namespace {

class TileDefinitions : public PackTest {
protected:
    void SetUp() override {
        PackTest::SetUp();
        folder.write("GFX/TILES/floor.png", bmp(8, 8, floor_colour));
        folder.write("GFX/TILES/dummy.png", bmp(8, 8, rgb(255, 128, 0)));
        folder.write("GFX/TILES/Wall.png", bmp(8, 8, wall_colour));
        build_tile_graphics();
    }
    // Writes the definition, stamped `hours` ago unless 0 (just now).
    void define(const std::string& kind, const std::string& text, int hours = 0) {
        tile_definition(folder, kind, text);
        if (hours != 0) fs::last_write_time(file(kind), fs::file_time_type::clock::now() - std::chrono::hours(hours));
    }
    fs::path file(const std::string& kind) { return folder.path() + "/DATA/TILES/T/" + kind; }
    world_cell& load(const std::string& kind, int x = 3, int y = 4) {
        load_tile_definition(x, y, tile_definition_path(kind));
        return world_matrix[x][y];
    }
    int32_t value_after_set(int x, int y, const std::string& kind) {
        set_tile(x, y, kind, false);
        return world_matrix[x][y].value1;
    }
};

// USECOLLISION keeps its low eight bits; an unknown direction word keeps the direction.
TEST_F(TileDefinitions, CollisionBitsDirectionWordsAndChildSlots) {
    define("LAB_TEST", pairs({{"CHILD1", "BOMB"}, {"CHILD2", "#"}, {"CHILD3", "EXTRATIME"}, {"USECOLLISION", "257"},
                              {"TRANSPARENCY", "-10"}, {"USEDIRECTION", "LEFT"}}));
    world_cell& cell = load("LAB_TEST");
    EXPECT_EQ(std::tuple(cell.child_count, cell.use_collision, cell.alpha, cell.tile_direction), std::tuple(2, 1, 265, 19));
    for (int slot = 0; slot < 4; ++slot) EXPECT_EQ(cell.child_object[slot], -1) << "no child selects object 0";
    for (auto [word, code] : {std::pair{"DEFAULT", 17}, {"UP", 21}, {"up", 21}}) {
        define("LAB_DIR", pairs({{"USEDIRECTION", word}}));
        EXPECT_EQ(load("LAB_DIR").tile_direction, code) << word;
    }
}

TEST_F(TileDefinitions, LaterKeysWinUnknownKeysTakeTheirValueLineAndChildrenAreCountedAfresh) {
    define("LAB_TEST", pairs({{"VALUE1", "1"}, {"#CHILD5", "VALUE1"}, {"value1", "99"}, {"VALUE1", "3"}}));
    EXPECT_EQ(load("LAB_TEST").value1, 3);
    define("LAB_SHIFT", "GFXNAME\r\nROTATE\r\n45\r\n");   // a missing line shifts the pairs
    world_cell& cell = load("LAB_SHIFT");
    EXPECT_EQ(std::tuple(cell.gfx_name.str(), cell.rotate), std::tuple(std::string("ROTATE"), 0));
    define("LAB_ONE", pairs({{"CHILD1", "#"}}));
    EXPECT_EQ(load("LAB_ONE").child_count, 0);
    EXPECT_EQ(cell.child_name[0], "#");
    define("LAB_FOUR", pairs({{"CHILD1", "A"}, {"CHILD2", "B"}, {"CHILD3", "#"}, {"CHILD4", "D"}}));
    EXPECT_EQ(load("LAB_FOUR").child_count, 3);
    EXPECT_EQ(load("LAB_ONE").child_count, 0);
}

TEST_F(TileDefinitions, AbsentKeysKeepWhatTheCellHadButTheImageIsTheDummy) {
    define("LAB_SPIN", pairs({{"ROTATE", "90"}, {"VALUE1", "10"}, {"GFXNAME", "floor.png"}}));
    define("LAB_PLAIN", pairs({{"USECOLLISION", "1"}}));
    load("LAB_SPIN");
    world_cell& cell = load("LAB_PLAIN");
    EXPECT_EQ(std::tuple(cell.rotate, cell.value1, int(cell.use_collision), cell.gfx_name.str()),
              std::tuple(90, 10, 1, "dummy.png"));
    // So do an empty image name and a final key line without its value.
    define("LAB_EMPTY", pairs({{"GFXNAME", ""}}));
    EXPECT_EQ(load("LAB_EMPTY").gfx_name, "dummy.png");
    define("LAB_END", "VALUE1\r\n4\r\nGFXNAME");
    EXPECT_EQ(load("LAB_END").gfx_name, "dummy.png");
    EXPECT_EQ(cell.value1, 4);
    // A missing definition leaves the cell exactly as it was.
    cell.children_spawned = 1, cell.child_count = 2;
    load("LAB_NOWHERE");
    EXPECT_EQ(std::tuple(cell.gfx_name.str(), cell.value1, int(cell.children_spawned), int(cell.child_count)),
              std::tuple("dummy.png", 4, 1, 2));
}

TEST_F(TileDefinitions, AttachedImagesAreZoomedToTheTileUnlessInvisibleAndNamesMatchExactly) {
    define("LAB_SEEN", pairs({{"GFXNAME", "floor.png"}, {"TRANSPARENCY", "0"}}));
    set_tile(2, 2, "LAB_SEEN", false);
    const int seen = world_matrix[2][2].tile_sprite;
    ASSERT_NE(seen, 0);
    EXPECT_EQ(std::tuple(blended_width(seen), blended_height(seen)), std::tuple(16, 16));
    define("LAB_CASE", pairs({{"GFXNAME", "wall.png"}}));   // the file is "Wall.png"
    set_tile(2, 2, "LAB_CASE", false);
    EXPECT_EQ(world_matrix[2][2].tile_sprite, seen);
    EXPECT_TRUE(blended_exists(seen));
    define("LAB_GHOST", pairs({{"GFXNAME", "floor.png"}, {"TRANSPARENCY", "255"}}));
    set_tile(2, 2, "LAB_GHOST", false);
    const int ghost = world_matrix[2][2].tile_sprite;
    EXPECT_EQ(world_matrix[2][2].alpha, 0);
    EXPECT_NE(ghost, 0);
    EXPECT_EQ(blended_width(ghost), 8) << "keeps the image's own size";
    EXPECT_FALSE(blended_exists(seen)) << "the replaced sprite is freed";
}

TEST_F(TileDefinitions, AnEditedDefinitionTakesEffectAtTheNextSetTile) {
    define("LAB_EDIT", pairs({{"VALUE1", "1"}, {"GFXNAME", "floor.png"}}), 2);
    int64_t reads = tile_definition_reads();
    EXPECT_EQ(value_after_set(1, 1, "LAB_EDIT"), 1);
    set_tile(1, 2, "LAB_EDIT", false);
    load("LAB_EDIT", 1, 1);
    EXPECT_EQ(tile_definition_reads(), reads + 1) << "an unchanged definition is read once";
    EXPECT_EQ(world_matrix[1][2].gfx_name, "floor.png");
    define("LAB_EDIT", pairs({{"VALUE1", "2"}, {"GFXNAME", "floor.png"}}), 1);   // same size, another time
    EXPECT_EQ(value_after_set(1, 2, "LAB_EDIT"), 2);
    // Two edits in one tick of the file clock may keep the stamp: a file stamped that recently is read at every load.
    define("LAB_EDIT", pairs({{"VALUE1", "4"}}), -1);
    reads = tile_definition_reads();
    set_tile(1, 4, "LAB_EDIT", false);
    EXPECT_EQ(value_after_set(1, 5, "LAB_EDIT"), 4);
    EXPECT_EQ(tile_definition_reads(), reads + 2);
}

// A definition can change without any change in its own folder.
TEST_F(TileDefinitions, AnEditThroughALinkIsSeen) {
    define("LAB_PLAIN", pairs({{"VALUE1", "4"}}));   // the folder
    const std::string target = folder.path() + "/MODS/linked";
    for (int value : {1, 2}) {
        folder.write("MODS/linked", pairs({{"VALUE1", std::to_string(value)}}));
        fs::last_write_time(target, fs::file_time_type::clock::now() - std::chrono::hours(4 - value));
        if (value == 1) fs::create_symlink(target, file("LAB_LINKED"));
        EXPECT_EQ(value_after_set(3, value, "LAB_LINKED"), value);
    }
}

}  // namespace
