// The world matrix, the visible window and the drawing of a level.
#include <set>

#include "play_world.h"

using namespace play_world;

namespace {

using World = level;

}  // namespace

TEST_F(World, AFreshMatrixIsEmptyAndPointsAtNoObject) {
    for (auto [x, y] : {std::pair{0, 0}, {256, 17}, {512, 512}}) {
        const world_cell& cell = world_matrix[x][y];
        EXPECT_EQ(cell.tile_name, "");
        EXPECT_EQ(cell.active, 0);
        EXPECT_EQ(cell.alpha, 0);
        EXPECT_EQ(cell.tile_sprite, 0);
        for (int slot = 0; slot < 4; ++slot) EXPECT_EQ(cell.child_object[slot], -1);
    }
}

TEST_F(World, NeighboursBeyondTheMatrixAreInactiveBlockingWalls) {
    tile(0, 0, lab_floor);
    tile(512, 512, lab_floor);
    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {513, 512}, {512, 513}, {-5, 9000}}) {
        const world_cell& outside = cell_at(x, y);
        EXPECT_EQ(outside.tile_name, lab_wall);
        EXPECT_EQ(outside.active, 0);
        EXPECT_GE(outside.use_collision, 2) << "blocks the player, painters and erasers";
    }
    EXPECT_EQ(cell_at(0, 0).tile_name, lab_floor);
    EXPECT_EQ(cell_at(512, 512).tile_name, lab_floor);
}

TEST_F(World, TheWindowWalkHandlesColumnsPlusOneCellsPerRow) {
    view_x = 2.6f;   // nearest cell: 3
    view_y = 1.0f;
    int cells = 0;
    std::set<int> rows;
    walk_visible_window([&](int x, int y, int column, int row) {
        EXPECT_EQ(x, 3 + column);
        EXPECT_EQ(y, 1 + row);
        rows.insert(row);
        ++cells;
    });
    EXPECT_EQ(cells, 21 * 15);
    EXPECT_EQ(rows.size(), 15u);
}

TEST_F(World, TheWindowNeverLeavesTheMatrix) {
    struct view_case { float x, y, columns, rows; };
    for (view_case v : {view_case{500, 505, 40, 30}, view_case{-3, -7, 20, 15},
                        view_case{0, 0, 1e9f, 1e9f}, view_case{1e30f, 0, 20, 15},
                        view_case{-1e9f, -1e9f, 1e9f, 1e9f}}) {
        view_x = v.x;
        view_y = v.y;
        view_columns = v.columns;
        view_rows = v.rows;
        walk_visible_window([&](int x, int y, int, int) {
            ASSERT_TRUE(in_matrix(x, y)) << x << "," << y;
        });
    }
    // Drawing the window at the far corner reads no cell outside the array.
    for (int x = 500; x <= 512; ++x) tile(x, 512, lab_floor);
    view_x = 505;
    view_y = 500;
    view_columns = 20;
    view_rows = 15;
    frame();
    EXPECT_EQ(pixel_of_cell(7, 12), floor_colour);   // cell (512, 512)
    EXPECT_EQ(pixel_of_cell(8, 12), 0u);             // beyond the matrix: nothing drawn
}

TEST_F(World, TheFrameDrawsTheVisibleTilesOfTheLevel) {
    tile(0, 0, lab_wall);
    tile(1, 0, lab_floor);
    tile(2, 0, lab_green);
    tile(3, 0, lab_water);
    set_tile(4, 0, lab_floor, false);   // not part of the level
    frame();
    EXPECT_EQ(pixel_of_cell(0, 0), wall_colour);
    EXPECT_EQ(pixel_of_cell(1, 0), floor_colour);
    EXPECT_EQ(pixel_of_cell(2, 0), green_colour);
    EXPECT_EQ(pixel_of_cell(3, 0), water_colour);
    EXPECT_EQ(pixel_of_cell(4, 0), 0u);
    // The view moves the level under the window.
    view_x = 1;
    frame();
    EXPECT_EQ(pixel_of_cell(0, 0), floor_colour);
}

TEST_F(World, TilesTurnAsTheirDefinitionSays) {
    tile_definition(folder, "LAB_SPIN",
                    pairs({{"GFXNAME", "floor.png"}, {"ROTATE", "5"}, {"TRANSPARENCY", "0"}}));
    tile_definition(folder, "LAB_GHOST", pairs({{"GFXNAME", "floor.png"}, {"TRANSPARENCY", "255"}}));
    tile(1, 1, lab_floor);
    tile(1, 2, "LAB_SPIN");
    tile(1, 3, "LAB_GHOST");
    tile(2, 2, lab_floor);
    frame();
    frame();
    EXPECT_FLOAT_EQ(blended_angle(world_matrix[1][2].tile_sprite), 10.0f);
    EXPECT_FLOAT_EQ(blended_angle(world_matrix[1][1].tile_sprite), 0.0f);
    EXPECT_EQ(pixel_of_cell(1, 3), 0u) << "an invisible tile is not drawn";
    EXPECT_EQ(pixel_of_cell(2, 2), floor_colour);
}

TEST_F(World, ObjectsLieOnTheirCellsUnlessTheyArePlayers) {
    object(folder, "marker", rgb(0, 250, 0),
           pairs({{"DGFXNAME", "ME"}, {"DGFXSHOW", "1"}, {"DISPLAYER", "1"},
                  {"DGFXTRANSPARENCY", "255"}, {"DFITTOMATRIX", "1"}}));
    object(folder, "hidden", rgb(0, 0, 250),
           pairs({{"DGFXNAME", "HIDDEN"}, {"DGFXSHOW", "0"}, {"DGFXTRANSPARENCY", "255"},
                  {"DFITTOMATRIX", "1"}}));
    load_object_definitions();
    // Each object on a cell of its own: slot 0 only.
    for (auto [x, name] : {std::pair{2, "BOMB"}, {3, "ME"}, {4, "HIDDEN"}}) {
        tile_definition(folder, std::string("LAB_") + name,
                        pairs({{"GFXNAME", "floor.png"}, {"CHILD1", name}, {"TRANSPARENCY", "0"}}));
        for (int attempt = 0; attempt < 200 && world_matrix[x][1].child_object[0] < 0; ++attempt)
            set_tile(x, 1, std::string("LAB_") + name, true);
        world_matrix[x][1].active = 1;
        ASSERT_GE(world_matrix[x][1].child_object[0], 0) << name;
    }
    frame();
    EXPECT_EQ(pixel_of_cell(2, 1), bomb_colour);
    EXPECT_EQ(pixel_of_cell(3, 1), floor_colour) << "player objects are drawn by their owner";
    EXPECT_EQ(pixel_of_cell(4, 1), floor_colour) << "objects not meant to be shown";
}

TEST_F(World, ASlotWithNoObjectDrawsNothing) {
    tile(2, 2, lab_floor);
    world_matrix[2][2].child_object[0] = 12345;   // stale: beyond the object list
    world_matrix[2][2].last_child_slot = 3;
    frame();
    EXPECT_EQ(pixel_of_cell(2, 2), floor_colour);
}

TEST_F(World, TheMarkerIsDrawnSpinningOverTheLevel) {
    tile(3, 3, lab_floor);
    load_player_image();
    ASSERT_NE(player.sprite, 0);
    place_player(3, 3);
    frame();
    frame();
    EXPECT_FLOAT_EQ(blended_angle(player.sprite), 32.0f);
    EXPECT_NE(pixel_of_cell(3, 3), floor_colour);
    EXPECT_EQ(pixel_of_cell(4, 3), 0u);
}

TEST_F(World, EnemiesAreDrawnWhereTheyStand) {
    tile(5, 5, lab_floor);
    world_matrix[5][5].use_enemy = 1;
    level_last_x = level_last_y = 6;
    random_seed(1);
    for (int attempt = 0; attempt < 400 && painters.empty(); ++attempt) spawn_enemies(1);
    ASSERT_FALSE(painters.empty());
    frame();
    EXPECT_EQ(pixel_of_cell(5, 5), rgb(240, 100, 180));
}

TEST_F(World, ZoomingCoversTheWholeLevelOnly) {
    tile_definition(folder, "LAB_BIG", pairs({{"GFXNAME", "floor.png"}, {"TRANSPARENCY", "0"}}));
    set_tile(2, 2, "LAB_BIG", false);
    set_tile(9, 9, "LAB_BIG", false);
    zoom_blended(world_matrix[2][2].tile_sprite, 3, 3);
    zoom_blended(world_matrix[9][9].tile_sprite, 3, 3);
    tile_width = tile_height = 24.0f;
    level_last_x = level_last_y = 5;
    zoom_all_tiles();
    EXPECT_EQ(blended_width(world_matrix[2][2].tile_sprite), 24);
    EXPECT_EQ(blended_width(world_matrix[9][9].tile_sprite), 3);
}
