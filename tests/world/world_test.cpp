// The world matrix, the visible window and the drawing of a level.
#include <set>

#include "play_world.h"

using namespace play_world;

namespace {

using World = LevelInPlay;

TEST_F(World, AFreshMatrixIsEmptyAndBeyondItLieInactiveBlockingWalls) {
    for (auto [x, y] : {std::pair{-1, 0}, {0, matrix_cells}, {matrix_cells, matrix_cells}}) set_tile(x, y, lab_floor, true);
    for (auto [x, y] : {std::pair{0, 0}, {256, 17}, {512, 512}}) {
        const world_cell& cell = world_matrix[x][y];
        EXPECT_EQ(std::tuple(cell.tile_name, cell.active + cell.alpha + cell.tile_sprite), std::tuple("", 0));
        for (int slot = 0; slot < 4; ++slot) EXPECT_EQ(cell.child_object[slot], -1);
    }
    tile(0, 0, lab_floor);
    tile(512, 512, lab_floor);
    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {513, 512}, {512, 513}, {-5, 9000}}) {
        const world_cell& outside = cell_at(x, y);
        EXPECT_EQ(std::tuple(outside.tile_name, outside.active), std::tuple(lab_wall, 0));
        EXPECT_GE(outside.use_collision, 2) << "blocks the player, painters and erasers";
    }
    EXPECT_EQ(std::tuple(cell_at(0, 0).tile_name, cell_at(512, 512).tile_name), std::tuple(lab_floor, lab_floor));
}

TEST_F(World, TheWindowWalksColumnsPlusOneCellsPerRowAndNeverLeavesTheMatrix) {
    view_x = 2.6f;   // nearest cell: 3
    view_y = 1.0f;
    int cells = 0;
    std::set<int> rows;
    walk_visible_window([&](int x, int y, int column, int row) {
        EXPECT_EQ(std::tuple(x, y), std::tuple(3 + column, 1 + row));
        rows.insert(row);
        ++cells;
    });
    EXPECT_EQ(cells, 21 * 15);
    EXPECT_EQ(rows.size(), 15u);
    const float views[][4] = {{500, 505, 40, 30}, {-3, -7, 20, 15}, {0, 0, 1e9f, 1e9f},
                              {1e30f, 0, 20, 15}, {-1e9f, -1e9f, 1e9f, 1e9f}};
    for (const auto& v : views) {
        view_x = v[0], view_y = v[1], view_columns = v[2], view_rows = v[3];
        walk_visible_window([&](int x, int y, int, int) { ASSERT_TRUE(in_matrix(x, y)) << x << "," << y; });
    }
}

TEST_F(World, TheFrameDrawsTilesObjectsAndTheMarkerOfTheLevel) {
    lay(0, 0, {"#.,~"});
    set_tile(4, 0, lab_floor, false);   // not part of the level
    // Turning 5 degrees a frame, half transparent, its light added (DX1 2, DX2 5): all of its colour on black.
    tile_definition(folder, "LAB_SPIN", pairs({{"GFXNAME", "floor.png"}, {"ROTATE", "5"}, {"TRANSPARENCY", "127"},
                                               {"DX1", "2"}, {"DX2", "5"}}));
    tile(5, 3, "LAB_SPIN");
    lay(2, 2, {"."});
    world_matrix[2][2].child_object[0] = 12345;   // stale: beyond the object list
    world_matrix[2][2].last_child_slot = 3;
    // Each object on a cell of its own, slot 0: players are drawn by their owner.
    const struct { const char* name; const char* player; const char* show; uint32_t pixel; } objects[] = {
        {"SHOWN", "0", "1", bomb_colour}, {"ME", "1", "1", floor_colour}, {"HIDDEN", "0", "0", floor_colour}};
    for (const auto& o : objects)
        object(folder, o.name, bomb_colour, pairs({{"DGFXNAME", o.name}, {"DGFXSHOW", o.show}, {"DISPLAYER", o.player},
                                                   {"DGFXTRANSPARENCY", "255"}, {"DFITTOMATRIX", "1"}}));
    load_object_definitions();
    for (int x = 2; x <= 4; ++x) {
        const std::string kind = std::string("LAB_") + objects[x - 2].name;
        tile_definition(folder, kind, pairs({{"GFXNAME", "floor.png"}, {"CHILD1", objects[x - 2].name}, {"TRANSPARENCY", "0"}}));
        set_tile(x, 1, kind, true);
        world_matrix[x][1].active = 1;
        ASSERT_GE(world_matrix[x][1].child_object[0], 0) << kind;
    }
    load_player_image();
    ASSERT_NE(player.sprite, 0);
    lay(3, 3, {"."});
    place_player(3, 3);
    frame();
    frame();
    const uint32_t expected[][3] = {{0, 0, wall_colour}, {1, 0, floor_colour}, {2, 0, green_colour},
                                    {3, 0, water_colour}, {4, 0, 0u}, {2, 2, floor_colour}, {2, 1, bomb_colour},
                                    {3, 1, floor_colour}, {4, 1, floor_colour}, {4, 3, 0u}};
    for (const auto& e : expected) EXPECT_EQ(pixel_of_cell(int(e[0]), int(e[1])), e[2]) << e[0] << "," << e[1];
    EXPECT_NE(pixel_of_cell(3, 3), floor_colour) << "the marker";
    EXPECT_EQ(std::tuple(blended_angle(world_matrix[5][3].tile_sprite), pixel_of_cell(5, 3)), std::tuple(10.0f, floor_colour));
    view_x = -2;   // a negative view starts at column 0
    frame();
    EXPECT_EQ(view_x, 0.0f);
    view_x = 1;   // the view moves the level under the window
    frame();
    EXPECT_EQ(pixel_of_cell(0, 0), floor_colour);
}

TEST_F(World, ZoomingCoversTheWholeLevelOnly) {
    set_tile(2, 2, lab_floor, false);
    set_tile(9, 9, lab_floor, false);
    for (int xy : {2, 9}) zoom_blended(world_matrix[xy][xy].tile_sprite, 3, 3);
    tile_width = tile_height = 24.0f, level_last_x = level_last_y = 5;
    zoom_all_tiles();
    EXPECT_EQ(std::tuple(blended_width(world_matrix[2][2].tile_sprite), blended_width(world_matrix[9][9].tile_sprite)),
              std::tuple(24, 3));
}

}  // namespace
