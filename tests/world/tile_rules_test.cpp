// The tile rules: neighbourhood, paint, pick-ups, enemies' marks, the switch and the bomb.
#include "core/game_phase.h"
#include "play_world.h"

using namespace play_world;

namespace {

using TileRules = LevelInPlay;

// Around (5, 5), b painted: each look is the only way some case completes or would wrongly complete.
TEST_F(TileRules, AColouredTileWhoseNeighbourhoodIsGoodBecomesFixed) {
    const struct { const char* rows[3]; bool fixed; } cases[] = {
        {{"...", "bb.", "bb."}, true},  {{"...", ".bb", ".bb"}, true},  {{"...", "bb.", "b.."}, true},
        {{"bbb", ".b.", "..."}, true},  {{"...", ".bb", "b.."}, true},  {{"..b", ".b.", ".b."}, true},
        {{".bb", "bbb", "..b"}, false}, {{"bb.", "bbb", ".b."}, false}, {{"b.b", ".b.", "b.."}, false},
        {{"...", "bbb", "..."}, false}, {{"...", "bb.", "..."}, false}, {{"...", ".b.", "..."}, false},
    };
    for (const bool pink : {false, true}) {
        for (size_t n = 0; n < std::size(cases); ++n) {
            const auto& c = cases[n];
            init_world_globals();
            lay(2, 2, {"#######", "#.....#", "#.....#", "#.....#", "#.....#", "#######"});
            std::vector<std::string> rows(c.rows, c.rows + 3);
            if (pink)
                for (std::string& row : rows) std::replace(row.begin(), row.end(), 'b', 'p');
            lay(4, 4, rows);
            score = 100, critical_mass = 7;
            heard.clear();
            pink ? fix_pink_tile(5, 5) : fix_blue_tile(5, 5);
            const interned_name& painted = pink ? lab_pink_floor : lab_blue_floor;
            const interned_name& fixed = pink ? lab_fixed_pink_floor : lab_fixed_floor;
            EXPECT_EQ(kind_at(5, 5), c.fixed ? fixed : painted) << "case " << n << (pink ? " pink" : "");
            EXPECT_EQ(score, 100 + (c.fixed && !pink ? fixed_points : 0)) << "case " << n;
            EXPECT_EQ(critical_mass, c.fixed && !pink ? 6 : 7) << "case " << n;
            const std::vector<std::string> sound{pink ? "pinkfixed.ogg" : "fixed.ogg"};
            EXPECT_EQ(heard, c.fixed ? sound : std::vector<std::string>{}) << "case " << n;
            for (int y = 0; y < 3; ++y)   // the neighbours are only looked at
                for (int x = 0; x < 3; ++x)
                    if ((x != 1 || y != 1) && rows[size_t(y)][size_t(x)] != '.') {
                        EXPECT_EQ(kind_at(4 + x, 4 + y), painted) << "case " << n;
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
    EXPECT_EQ(std::tuple(score, critical_mass), std::tuple(0, -1));
    EXPECT_TRUE(heard.empty());
    // Fixed pink helps a pink tile; blue neighbours do not, nor pink ones a blue tile.
    lay(4, 8, {"pP", "pp"});
    lay(8, 8, {"pb", "bb"});
    lay(12, 8, {"bp", "pp"});
    fix_pink_tile(4, 8);
    fix_pink_tile(8, 8);
    fix_blue_tile(12, 8);
    EXPECT_EQ(std::tuple(kind_at(4, 8), kind_at(8, 8), kind_at(12, 8)), std::tuple(lab_fixed_pink_floor, lab_pink_floor, lab_blue_floor));
}

TEST_F(TileRules, TheCornerCellIsJudgedThroughTheCellDiagonallyInside) {
    lay(0, 0, {"b.", "bb", "bb"});
    fix_blue_tile(0, 0);
    EXPECT_EQ(std::tuple(kind_at(1, 1), kind_at(0, 0)), std::tuple(lab_fixed_floor, lab_blue_floor));
    // At the far corner the looks reach beyond the matrix, where nothing is good.
    lay(510, 510, {"bbb", "bbb", "bbb"});
    fix_blue_tile(512, 512);
    fix_blue_tile(511, 511);
    EXPECT_EQ(std::tuple(kind_at(512, 512), kind_at(511, 511)), std::tuple(lab_blue_floor, lab_fixed_floor));
}

TEST_F(TileRules, ThePlayerPaintsFloorGreenAndPinkBlueOnTheCellTheViewPutsItOn) {
    lay(1, 1, {".,p~Bb"});
    for (int x = 1; x <= 6; ++x) step_on(x, 1);
    const interned_name painted[] = {lab_blue_floor, lab_blue_floor, lab_blue_floor, lab_water, lab_fixed_floor, lab_blue_floor};
    for (int x = 1; x <= 6; ++x) EXPECT_EQ(kind_at(x, 1), painted[x - 1]) << x;
    EXPECT_EQ(heard, std::vector<std::string>(3, "step.ogg")) << "standing on blue costs nothing";
    lay(6, 4, {"."});
    view_x = 5, view_y = 3;
    player.x = 1 * tile_width + 3, player.y = 1 * tile_height;   // within the tile
    player_step();
    EXPECT_EQ(kind_at(6, 4), lab_blue_floor);
}

TEST_F(TileRules, PickUpsGiveTimePointsAndCountUp) {
    lay(2, 2, {"...."});
    world_object clock, counted, gem;
    clock.extra_time = 10, clock.score = 5;
    counted.score = 50, counted.count_to_score = 1;
    gem.score = 7;
    put_object(2, 2, 0, "EXTRATIME", clock);
    put_object(3, 2, 2, "COIN", counted);
    put_object(4, 2, 1, "GEM", gem);
    world_matrix[5][2].child_object[1] = 99;   // a slot that selects no object is passed over
    world_matrix[5][2].child_name[1] = "EXTRATIME";
    world_matrix[5][2].last_child_slot = 1, time_left = 4, score = 20;
    step_on(2, 2);
    EXPECT_EQ(std::tuple(time_left, score), std::tuple(14, 25));
    EXPECT_EQ(heard, (std::vector<std::string>{"extratime.ogg", "step.ogg"}));
    step_on(3, 2);
    EXPECT_EQ(std::tuple(score, score_target), std::tuple(25, 50)) << "counted points wait for the display";
    step_on(4, 2);
    EXPECT_EQ(score, 32);
    // Each object is taken once and no longer lies on its cell.
    for (auto [x, slot] : {std::pair{2, 0}, {3, 2}, {4, 1}})
        EXPECT_EQ(std::tuple(world_matrix[x][2].child_object[slot], world_matrix[x][2].child_name[slot]), std::tuple(-1, "#"));
    for (int x : {2, 5}) step_on(x, 2);
    EXPECT_EQ(std::tuple(time_left, score, kind_at(5, 2)), std::tuple(14, 32, lab_blue_floor));
}

TEST_F(TileRules, HardcorePaintingWallsThePlayerIn) {
    lay(1, 1, {"###", "#.#", "###"});   // without hardcore a walled-in player plays on
    step_on(2, 2);
    EXPECT_EQ(heard, std::vector<std::string>{"step.ogg"});
    EXPECT_EQ(std::tuple(world_matrix[2][2].use_collision, pending_request), std::tuple(0, game_request::none));
    heard.clear();
    cfg_gamemode = "HARDCORE";
    lay(1, 1, {"#####", "#b.b#", "##.##", "#####"});
    step_on(2, 2);   // blue already: nothing happens
    EXPECT_TRUE(heard.empty());
    step_on(3, 2);
    EXPECT_EQ(kind_at(3, 2), lab_blue_floor);
    EXPECT_EQ(world_matrix[3][2].use_collision, 1) << "no stepping back onto painted floor";
    EXPECT_EQ(heard, std::vector<std::string>{"step.ogg"}) << "floor below: not trapped";
    heard.clear();
    lay(1, 1, {"#####", "#b.b#", "##b##", "#####"});
    step_on(3, 2);
    EXPECT_EQ(kind_at(3, 2), lab_blue_floor);
    EXPECT_EQ(pending_request, game_request::trapped) << "the main loop ends the game";
}

TEST_F(TileRules, TheTrapReadsNothingBeyondTheMatrix) {
    cfg_gamemode = "HARDCORE";
    lay(0, 0, {".#", "b"});
    step_on(0, 0);
    EXPECT_EQ(pending_request, game_request::trapped) << "outside the matrix counts as wall";
}

TEST_F(TileRules, PaintersColourFloorAndBlueAndErasersTakeTilesBackToFloor) {
    lay(1, 1, {".,bBP~#p"});
    for (int x = 1; x <= 8; ++x) paint_pink(int32_t(x * tile_width), int32_t(tile_height));
    const interned_name painted[] = {lab_pink_floor, lab_pink_floor, lab_pink_floor, lab_fixed_floor,
                                     lab_fixed_pink_floor, lab_water, lab_wall, lab_pink_floor};
    for (int x = 1; x <= 8; ++x) EXPECT_EQ(kind_at(x, 1), painted[x - 1]) << x;
    EXPECT_TRUE(heard.empty()) << "the painter's step plays the sound";
    tile(3, 3, lab_floor);   // a pixel position belongs to the nearest cell
    paint_pink(int32_t(3 * tile_width - 7), int32_t(3 * tile_height + 7));
    EXPECT_EQ(kind_at(3, 3), lab_pink_floor);
    lay(1, 5, {"BPpb.~"});   // a fixed tile costs the floor's points
    score = 100, critical_mass = 5;
    const struct { int x; const char* sound; int32_t score, mass; interned_name kind; } erased[] = {
        {1, "removetile.ogg", 90, 6, lab_floor}, {2, "removetile.ogg", 90, 6, lab_floor},
        {3, nullptr, 90, 6, lab_floor}, {4, nullptr, 90, 6, lab_floor},
        {5, nullptr, 90, 6, lab_floor}, {6, nullptr, 90, 6, lab_water}};
    for (const auto& e : erased) {
        heard.clear();
        erase_tile(int32_t(e.x * tile_width), int32_t(5 * tile_height));
        EXPECT_EQ(std::tuple(kind_at(e.x, 5), score, critical_mass), std::tuple(e.kind, e.score, e.mass)) << e.x;
        EXPECT_EQ(heard, e.sound ? std::vector<std::string>{e.sound} : std::vector<std::string>{}) << e.x;
    }
}

// A level with every painted kind: 3 fixed, 2 fixed pink, blue, pink and untouched tiles.
class LevelWide : public LevelInPlay {
protected:
    void SetUp() override {
        LevelInPlay::SetUp();
        level_last_x = 7, level_last_y = 3;
        lay(0, 0, {"########", "#BBPbp.#", "#,B.P~.#", "########"});
        score = 200, critical_mass = 10;
    }
};

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

TEST_F(LevelWide, SweepsStayInsideTheMatrixForTheLargestLevel) {
    level_last_x = level_last_y = 900;   // larger than any level may be
    tile(512, 512, lab_fixed_floor);
    tile(512, 0, lab_fixed_pink_floor);
    explode_bomb();
    tile(512, 1, lab_fixed_pink_floor);
    switch_tiles();
    EXPECT_EQ(std::tuple(kind_at(512, 512), kind_at(512, 1)), std::tuple(lab_floor, lab_fixed_floor));
}

TEST_F(LevelWide, ASwitchSwapsFixedAndFixedPinkOnce) {
    world_object reward;
    reward.score = 20;
    put_object(6, 2, 0, "SWITCHTILES", reward);
    step_on(6, 2);
    for (auto [x, y] : {std::pair{1, 1}, {2, 1}, {2, 2}}) EXPECT_EQ(kind_at(x, y), lab_fixed_pink_floor) << x << "," << y;
    for (auto [x, y] : {std::pair{3, 1}, {4, 2}}) EXPECT_EQ(kind_at(x, y), lab_fixed_floor);
    EXPECT_EQ(std::tuple(kind_at(4, 1), kind_at(5, 1)), std::tuple(lab_blue_floor, lab_pink_floor));
    // Three fixed lost, two gained, each at the value of the kind it became.
    EXPECT_EQ(std::tuple(critical_mass, score), std::tuple(10 + 3 - 2, 200 - 3 * fixed_pink_points + 2 * fixed_points + 20));
    EXPECT_EQ(heard, (std::vector<std::string>{"swap.ogg", "step.ogg"}));
}

TEST_F(LevelWide, ABombTakesTheWholeLevelBackToFloorWhereObjectsMaySpawnAgain) {
    const std::pair<int, int> reset[] = {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {2, 2}, {4, 2}};
    for (auto [x, y] : reset) world_matrix[x][y].children_spawned = 1;
    put_object(6, 1, 0, "BOMB");
    step_on(6, 1);
    for (auto [x, y] : reset)
        EXPECT_EQ(std::tuple(kind_at(x, y), world_matrix[x][y].children_spawned), std::tuple(lab_floor, 0)) << x << "," << y;
    EXPECT_EQ(std::tuple(kind_at(1, 2), kind_at(5, 2), kind_at(0, 0)), std::tuple(lab_green, lab_water, lab_wall));
    EXPECT_EQ(std::tuple(critical_mass, score), std::tuple(13, 200 - 3 * 10)) << "less the floor's points a fixed tile";
    EXPECT_EQ(kind_at(6, 1), lab_blue_floor) << "then the player paints the cell it stands on";
    EXPECT_EQ(heard, (std::vector<std::string>{"pickbomb.ogg", "explosion.ogg", "step.ogg"}));
    // Even where the floor's definition is gone the explosion lets objects spawn again.
    std::remove((folder.path() + "/DATA/TILES/T/LAB_FLOOR").c_str());
    tile(4, 1, lab_blue_floor);
    world_matrix[4][1].children_spawned = 1;
    explode_bomb();
    EXPECT_EQ(world_matrix[4][1].children_spawned, 0);
}

}  // namespace
