// The tile rules: the neighbourhood rule, the player's paint and pick-ups,
// the enemies' marks and the level-wide switch and bomb.
#include "play_world.h"
#include "support/held_keys.h"

using namespace play_world;

namespace {

using TileRules = level;

TEST_F(TileRules, ABlueTileWhoseNeighbourhoodIsGoodBecomesFixed) {
    const struct {
        const char* name;
        std::vector<std::pair<int, int>> blue;
        bool fixed;
    } cases[] = {
        {"square to the left and below (first look)", {{5, 5}, {4, 5}, {4, 6}, {5, 6}}, true},
        {"square to the right and below (second look)", {{5, 5}, {6, 5}, {6, 6}, {5, 6}}, true},
        {"no square at all, completed by the fourth look", {{5, 5}, {4, 5}, {4, 6}}, true},
        {"a corridor", {{4, 5}, {5, 5}, {6, 5}}, false},
        {"a single neighbour", {{5, 5}, {4, 5}}, false},
        {"a lone tile", {{5, 5}}, false},
    };
    for (const auto& c : cases) {
        init_world_globals();
        lay(2, 2, {"#######", "#.....#", "#.....#", "#.....#", "#.....#", "#######"});
        for (auto [x, y] : c.blue) tile(x, y, lab_blue_floor);
        score = 100;
        critical_mass = 7;
        heard.clear();
        fix_blue_tile(5, 5);
        if (c.fixed) {
            EXPECT_EQ(kind_at(5, 5), lab_fixed_floor) << c.name;
            EXPECT_EQ(score, 100 + fixed_points) << c.name << ": the fixed kind's points";
            EXPECT_EQ(critical_mass, 6) << c.name;
            EXPECT_EQ(heard, std::vector<std::string>{"fixed.ogg"}) << c.name;
        } else {
            EXPECT_EQ(kind_at(5, 5), lab_blue_floor) << c.name;
            EXPECT_EQ(score, 100) << c.name;
            EXPECT_EQ(critical_mass, 7) << c.name;
            EXPECT_TRUE(heard.empty()) << c.name;
        }
        // The neighbours are only looked at.
        for (auto [x, y] : c.blue) {
            if (x != 5 || y != 5) {
                EXPECT_EQ(kind_at(x, y), lab_blue_floor) << c.name;
            }
        }
    }
}

TEST_F(TileRules, FixedNeighboursCountAndAFixedTileStaysAsItIs) {
    lay(3, 5, {"Bb", "BB"});
    fix_blue_tile(4, 5);
    EXPECT_EQ(kind_at(4, 5), lab_fixed_floor);
    EXPECT_EQ(critical_mass, -1) << "may pass below 0 until the display clamps it";
    heard.clear();
    score = 0;
    fix_blue_tile(4, 5);
    fix_blue_tile(3, 5);
    EXPECT_EQ(score, 0);
    EXPECT_EQ(critical_mass, -1);
    EXPECT_TRUE(heard.empty());
}

TEST_F(TileRules, TheCornerCellIsJudgedThroughTheCellDiagonallyInside) {
    lay(0, 0, {"b.", "bb", "bb"});
    fix_blue_tile(0, 0);
    EXPECT_EQ(kind_at(1, 1), lab_fixed_floor);
    EXPECT_EQ(kind_at(0, 0), lab_blue_floor);
    // At the far corner the looks reach beyond the matrix, where nothing is
    // good: the corner cell can never be fixed.
    lay(510, 510, {"bbb", "bbb", "bbb"});
    fix_blue_tile(512, 512);
    EXPECT_EQ(kind_at(512, 512), lab_blue_floor);
    fix_blue_tile(511, 511);
    EXPECT_EQ(kind_at(511, 511), lab_fixed_floor);
}

TEST_F(TileRules, PinkTilesFixThemselvesWithoutPoints) {
    lay(4, 4, {"pP", "pp"});
    score = 10;
    critical_mass = 3;
    fix_pink_tile(4, 4);
    EXPECT_EQ(kind_at(4, 4), lab_fixed_pink_floor);
    EXPECT_EQ(score, 10);
    EXPECT_EQ(critical_mass, 3);
    EXPECT_EQ(heard, std::vector<std::string>{"pinkfixed.ogg"});
    // Blue neighbours do not help a pink tile, nor pink ones a blue tile.
    lay(8, 4, {"pb", "bb"});
    lay(12, 4, {"bp", "pp"});
    fix_pink_tile(8, 4);
    fix_blue_tile(12, 4);
    EXPECT_EQ(kind_at(8, 4), lab_pink_floor);
    EXPECT_EQ(kind_at(12, 4), lab_blue_floor);
}

TEST_F(TileRules, ThePlayerPaintsFloorGreenAndPinkBlue) {
    lay(1, 1, {".,p~Bb"});
    for (int x = 1; x <= 6; ++x) {
        stand_on(x, 1);
        player_step();
    }
    EXPECT_EQ(kind_at(1, 1), lab_blue_floor);
    EXPECT_EQ(kind_at(2, 1), lab_blue_floor);
    EXPECT_EQ(kind_at(3, 1), lab_blue_floor);
    EXPECT_EQ(kind_at(4, 1), lab_water);
    EXPECT_EQ(kind_at(5, 1), lab_fixed_floor);
    EXPECT_EQ(kind_at(6, 1), lab_blue_floor);
    EXPECT_EQ(heard, std::vector<std::string>(3, "step.ogg")) << "standing on blue costs nothing";
}

TEST_F(TileRules, TheCellUnderThePlayerCountsTheView) {
    lay(6, 4, {"."});
    view_x = 5;
    view_y = 3;
    player.x = 1 * tile_width + 3;   // within the tile
    player.y = 1 * tile_height;
    player_step();
    EXPECT_EQ(kind_at(6, 4), lab_blue_floor);
}

TEST_F(TileRules, PickUpsGiveTimePointsAndCountUp) {
    lay(2, 2, {"..."});
    world_object clock;
    clock.extra_time = 10;
    clock.score = 5;
    world_object counted;
    counted.score = 50;
    counted.count_to_score = 1;
    world_object gem;
    gem.score = 7;
    put_object(2, 2, 0, "EXTRATIME", clock);
    put_object(3, 2, 2, "COIN", counted);
    put_object(4, 2, 1, "GEM", gem);
    time_left = 4;
    score = 20;

    stand_on(2, 2);
    player_step();
    EXPECT_EQ(time_left, 14);
    EXPECT_EQ(score, 25);
    EXPECT_EQ(heard, (std::vector<std::string>{"extratime.ogg", "step.ogg"}));

    stand_on(3, 2);
    player_step();
    EXPECT_EQ(score, 25) << "counted points wait for the display";
    EXPECT_EQ(score_target, 50);

    stand_on(4, 2);
    player_step();
    EXPECT_EQ(score, 32);

    // Each object is taken once and no longer lies on its cell.
    for (auto [x, slot] : {std::pair{2, 0}, {3, 2}, {4, 1}}) {
        EXPECT_EQ(world_matrix[x][2].child_object[slot], -1);
        EXPECT_EQ(world_matrix[x][2].child_name[slot], "#");
    }
    stand_on(2, 2);
    player_step();
    EXPECT_EQ(time_left, 14);
    EXPECT_EQ(score, 32);
}

TEST_F(TileRules, ASlotThatSelectsNoObjectIsPassedOver) {
    lay(2, 2, {"."});
    world_matrix[2][2].child_object[1] = 99;   // beyond the list
    world_matrix[2][2].child_name[1] = "EXTRATIME";
    world_matrix[2][2].last_child_slot = 1;
    time_left = 3;
    stand_on(2, 2);
    player_step();
    EXPECT_EQ(time_left, 3);
    EXPECT_EQ(kind_at(2, 2), lab_blue_floor);
}

TEST_F(TileRules, HardcorePaintingWallsThePlayerIn) {
    cfg_gamemode = "HARDCORE";
    lay(1, 1, {"#####", "#b.b#", "##.##", "#####"});
    stand_on(2, 2);
    player_step();   // blue already: nothing happens
    EXPECT_TRUE(heard.empty());

    stand_on(3, 2);
    player_step();
    EXPECT_EQ(kind_at(3, 2), lab_blue_floor);
    EXPECT_EQ(world_matrix[3][2].use_collision, 1) << "no stepping back onto painted floor";
    EXPECT_EQ(heard, std::vector<std::string>{"step.ogg"}) << "floor below: not trapped";

    heard.clear();
    lay(1, 1, {"#####", "#b.b#", "##b##", "#####"});
    stand_on(3, 2);
    player_step();
    EXPECT_EQ(kind_at(3, 2), lab_blue_floor);
    EXPECT_EQ(trap_requested, 1) << "the frame driver ends the game";
}

TEST_F(TileRules, WithoutHardcoreAWalledInPlayerPlaysOn) {
    lay(1, 1, {"###", "#.#", "###"});
    stand_on(2, 2);
    player_step();
    EXPECT_EQ(heard, std::vector<std::string>{"step.ogg"});
    EXPECT_EQ(world_matrix[2][2].use_collision, 0);
}

TEST_F(TileRules, TheTrapReadsNothingBeyondTheMatrix) {
    cfg_gamemode = "HARDCORE";
    tile(0, 0, lab_floor);
    tile(1, 0, lab_wall);
    tile(0, 1, lab_blue_floor);
    stand_on(0, 0);
    player_step();
    EXPECT_EQ(trap_requested, 1) << "outside the matrix counts as wall";
}

TEST_F(TileRules, PaintersColourFloorAndBlueButNothingFixed) {
    lay(1, 1, {".,bBP~#p"});
    for (int x = 1; x <= 8; ++x) paint_pink(int32_t(x * tile_width), int32_t(tile_height));
    EXPECT_EQ(kind_at(1, 1), lab_pink_floor);
    EXPECT_EQ(kind_at(2, 1), lab_pink_floor);
    EXPECT_EQ(kind_at(3, 1), lab_pink_floor);
    EXPECT_EQ(kind_at(4, 1), lab_fixed_floor);
    EXPECT_EQ(kind_at(5, 1), lab_fixed_pink_floor);
    EXPECT_EQ(kind_at(6, 1), lab_water);
    EXPECT_EQ(kind_at(7, 1), lab_wall);
    EXPECT_TRUE(heard.empty()) << "the painter's step plays the sound";
    // A pixel position belongs to the nearest cell.
    tile(3, 3, lab_floor);
    paint_pink(int32_t(3 * tile_width - 7), int32_t(3 * tile_height + 7));
    EXPECT_EQ(kind_at(3, 3), lab_pink_floor);
}

TEST_F(TileRules, ErasersTakeTilesBackToFloor) {
    lay(1, 1, {"BPpb.~"});
    score = 100;
    critical_mass = 5;
    const auto erase_cell = [](int x) {
        heard.clear();
        erase_tile(int32_t(x * tile_width), int32_t(tile_height));
    };
    erase_cell(1);
    EXPECT_EQ(kind_at(1, 1), lab_floor);
    EXPECT_EQ(score, 90) << "less the floor's points";
    EXPECT_EQ(critical_mass, 6);
    EXPECT_EQ(heard, std::vector<std::string>{"removetile.ogg"});
    erase_cell(2);
    EXPECT_EQ(kind_at(2, 1), lab_floor);
    EXPECT_EQ(heard, std::vector<std::string>{"removetile.ogg"});
    for (int x : {3, 4}) {
        erase_cell(x);
        EXPECT_EQ(kind_at(x, 1), lab_floor);
        EXPECT_TRUE(heard.empty());
    }
    erase_cell(5);
    erase_cell(6);
    EXPECT_EQ(kind_at(6, 1), lab_water);
    EXPECT_EQ(score, 90);
    EXPECT_EQ(critical_mass, 6);
}

TEST_F(TileRules, EnemiesOutsideTheMatrixChangeNothing) {
    for (auto [px, py] : {std::pair{-100000, 16}, {16, 900000}, {INT32_MIN, INT32_MAX}}) {
        paint_pink(px, py);
        erase_tile(px, py);
        trigger_bombs(px, py);
    }
    tile_width = 0;   // nonsense sizes are no reason to fault
    paint_pink(32, 32);
    erase_tile(32, 32);
    EXPECT_TRUE(heard.empty());
}

class LevelWide : public level {
protected:
    // A level with every painted kind: 3 fixed, 2 fixed pink, blue, pink and
    // untouched tiles.
    void SetUp() override {
        level::SetUp();
        level_last_x = 7;
        level_last_y = 3;
        lay(0, 0, {"########", "#BBPbp.#", "#,B.P~.#", "########"});
        score = 200;
        critical_mass = 10;
    }
};

TEST_F(LevelWide, ASwitchSwapsFixedAndFixedPinkOnce) {
    world_object reward;
    reward.score = 20;
    put_object(6, 2, 0, "SWITCHTILES", reward);
    stand_on(6, 2);
    player_step();
    for (auto [x, y] : {std::pair{1, 1}, {2, 1}, {2, 2}})
        EXPECT_EQ(kind_at(x, y), lab_fixed_pink_floor) << x << "," << y;
    for (auto [x, y] : {std::pair{3, 1}, {4, 2}}) EXPECT_EQ(kind_at(x, y), lab_fixed_floor);
    EXPECT_EQ(kind_at(4, 1), lab_blue_floor);
    EXPECT_EQ(kind_at(5, 1), lab_pink_floor);
    // Three fixed lost, two gained, each at the value of the kind it became.
    EXPECT_EQ(critical_mass, 10 + 3 - 2);
    EXPECT_EQ(score, 200 - 3 * fixed_pink_points + 2 * fixed_points + 20);
    EXPECT_EQ(heard, (std::vector<std::string>{"swap.ogg", "step.ogg"}));
}

TEST_F(LevelWide, ABombTakesTheWholeLevelBackToFloor) {
    put_object(6, 1, 0, "BOMB");
    stand_on(6, 1);
    player_step();
    for (int x = 1; x <= 6; ++x) {
        EXPECT_NE(kind_at(x, 1), lab_fixed_floor);
        EXPECT_NE(kind_at(x, 2), lab_fixed_floor);
    }
    for (auto [x, y] : {std::pair{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {2, 2}, {4, 2}}) {
        EXPECT_EQ(kind_at(x, y), lab_floor) << x << "," << y;
        EXPECT_EQ(world_matrix[x][y].children_spawned, 0);
    }
    EXPECT_EQ(kind_at(1, 2), lab_green);
    EXPECT_EQ(kind_at(5, 2), lab_water);
    EXPECT_EQ(kind_at(0, 0), lab_wall);
    EXPECT_EQ(critical_mass, 13);
    EXPECT_EQ(score, 200 - 3 * 10) << "less the floor's points for every fixed tile";
    // Then the player paints the cell it stands on.
    EXPECT_EQ(kind_at(6, 1), lab_blue_floor);
    EXPECT_EQ(heard, (std::vector<std::string>{"pickbomb.ogg", "explosion.ogg", "step.ogg"}));
}

TEST_F(LevelWide, AnEnemySetsOffABombForNothing) {
    world_object bomb;
    bomb.score = 500;   // the player's reward, not the enemy's
    put_object(6, 2, 1, "BOMB", bomb);
    put_object(6, 2, 0, "GEM");
    trigger_bombs(6, 2);
    EXPECT_EQ(kind_at(1, 1), lab_floor);
    EXPECT_EQ(kind_at(3, 1), lab_floor);
    EXPECT_EQ(critical_mass, 13);
    EXPECT_EQ(score, 170);
    EXPECT_EQ(world_matrix[6][2].child_name[1], "#");
    EXPECT_EQ(world_matrix[6][2].child_name[0], "GEM") << "other objects stay";
    EXPECT_EQ(heard, (std::vector<std::string>{"pickbomb.ogg", "explosion.ogg"}));
    heard.clear();
    trigger_bombs(6, 2);
    EXPECT_TRUE(heard.empty()) << "a bomb goes off once";
}

TEST_F(LevelWide, SweepsStayInsideTheMatrixForTheLargestLevel) {
    level_last_x = level_last_y = 900;   // larger than any level may be
    tile(512, 512, lab_fixed_floor);
    explode_bomb();
    EXPECT_EQ(kind_at(512, 512), lab_floor);
    tile(512, 0, lab_fixed_pink_floor);
    switch_tiles();
    EXPECT_EQ(kind_at(512, 0), lab_fixed_floor);
}

}  // namespace
