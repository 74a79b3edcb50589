// Painters and erasers: thinking, wandering, their marks and their drawing.
#include "play_world.h"

using namespace play_world;

namespace {

constexpr uint32_t painter_colour = rgb(240, 100, 180);

class Enemies : public LevelInPlay {
protected:
    // A frame of the enemy passes alone, drawn on black.
    void passes() {
        begin_blended_pass();
        clear_screen(0);
        painters_pass();
        erasers_pass();
        end_blended_pass();
    }
    // An enemy heading right that never turns.
    static enemy runner(int32_t x, int32_t y) {
        enemy e = enemy_at(x, y);
        e.heading = heading_right, e.turn_chance = -1;
        return e;
    }
};

TEST_F(Enemies, OnesThatNeverThinkStandStillYetAreDrawnAndSpin) {
    lay(1, 1, {"#####", "#...#", "#####"});
    for (auto [think_chance, ai_level] : {std::pair{-1, 1}, {0, 2}, {0, 3}, {0, 4}}) {
        painters.clear();
        enemy e = enemy_at(3, 2);
        e.think_chance = think_chance, e.ai_level = uint8_t(ai_level), e.spin = 10;
        e.sprite = painter_sprite();
        painters.push_back(e);
        for (int frame = 0; frame < 40; ++frame) passes();
        EXPECT_EQ(cell_of(painters[0]), std::pair(3, 2)) << think_chance << "/" << ai_level;
        EXPECT_EQ(painters[0].heading, 0);
        EXPECT_FLOAT_EQ(blended_angle(painters[0].sprite), 40.0f);
        EXPECT_EQ(pixel_of_cell(3, 2), painter_colour);
    }
    EXPECT_TRUE(heard.empty());
    EXPECT_EQ(kind_at(3, 2), lab_floor);
    painters[0].offset_x = 16, view_x = 2, view_y = 1;   // drawn where the view puts it, moved by its hotspot
    passes();
    EXPECT_EQ(std::pair(pixel_of_cell(2, 1), pixel_of_cell(1, 1)), std::pair(painter_colour, 0u));
    // Any other level wanders.
    painters[0].ai_level = 5, painters[0].think_chance = 0;
    passes();
    EXPECT_NE(cell_of(painters[0]), std::pair(3, 2));
}

TEST_F(Enemies, AnEagerPainterRunsRightUntilBlockedThenTurns) {
    lay(1, 1, {"#######", "#.....#", "#######"});
    painters.push_back(enemy_at(2, 2));   // think, turn and move every frame
    std::vector<int> columns;
    for (int frame = 0; frame < 8; ++frame) {
        passes();
        columns.push_back(cell_of(painters[0]).first);
    }
    EXPECT_EQ(columns, (std::vector<int>{3, 4, 5, 6, 5, 6, 5, 6}));
    EXPECT_EQ(painters[0].heading, heading_right);
    EXPECT_EQ(std::tuple(kind_at(3, 2), kind_at(4, 2), kind_at(5, 2), kind_at(6, 2)),
              std::tuple(lab_pink_floor, lab_pink_floor, lab_pink_floor, lab_pink_floor));
    EXPECT_EQ(kind_at(2, 2), lab_floor) << "the start cell is only left";
    EXPECT_EQ(heard, std::vector<std::string>(8, "step.ogg"));
}

TEST_F(Enemies, SmallStepsCrossATileInSeveralFramesAndWallsAndTheMatrixEdgeStopThem) {
    lay(1, 1, {"#####", "#...#", "#####"});
    painters.push_back(runner(2, 2));
    painters[0].step_x = 4;
    std::vector<int32_t> xs;
    for (int frame = 0; frame < 6; ++frame) {
        passes();
        xs.push_back(painters[0].x);
    }
    EXPECT_EQ(xs, (std::vector<int32_t>{36, 40, 44, 48, 52, 56}));
    EXPECT_EQ(kind_at(3, 2), lab_pink_floor);
    EXPECT_EQ(kind_at(4, 2), lab_pink_floor) << "56 pixels is nearer cell 4 than cell 3";
    for (int frame = 0; frame < 4; ++frame) passes();
    EXPECT_EQ(painters[0].x, 56) << "the wall ahead stops it";
    tile(512, 5, lab_floor);
    for (std::vector<enemy>* list : {&painters, &erasers}) list->assign(1, runner(512, 5));
    passes();
    EXPECT_EQ(std::tuple(painters[0].x, erasers[0].x), std::tuple(512 * 16, 512 * 16)) << "so does the matrix edge";
}

TEST_F(Enemies, ErasersCrossWaterThatHoldsPaintersAndRemoveFixedTiles) {
    lay(1, 1, {"#####", "#.~.#", "#####"});
    painters.push_back(enemy_at(2, 2));
    erasers.push_back(enemy_at(2, 2));
    passes();
    EXPECT_EQ(cell_of(painters[0]), std::pair(2, 2)) << "walled in on every side but water";
    EXPECT_EQ(cell_of(erasers[0]), std::pair(3, 2));
    EXPECT_EQ(kind_at(3, 2), lab_water) << "erasers leave water alone";
    lay(1, 4, {"#####", "#.B.#", "#####"});
    painters.clear();
    erasers.assign(1, enemy_at(2, 5));
    score = 50, critical_mass = 2;
    heard.clear();
    passes();   // an eraser on a fixed tile removes it, then steps
    EXPECT_EQ(std::tuple(kind_at(3, 5), score, critical_mass), std::tuple(lab_floor, 40, 3));
    EXPECT_EQ(heard, (std::vector<std::string>{"removetile.ogg", "step.ogg"}));
}

// A painter sets off the bomb of the cell it leaves, not one it turns on; an eraser only as it turns.
TEST_F(Enemies, BombsGoOffAsEnemiesLeaveOrTurnOnTheirCells) {
    const struct { bool eraser, keeps_heading, exploded; } cases[] = {
        {false, true, true}, {false, false, false}, {true, true, false}, {true, false, true}};
    for (size_t n = 0; n < std::size(cases); ++n) {
        init_world_globals();
        level_last_x = 7, level_last_y = 4;
        lay(0, 0, {"########", "#BBB...#", "#......#", "########"});
        put_object(2, 2, 0, "BOMB");
        put_object(2, 2, 1, "GEM");
        heard.clear();
        (cases[n].eraser ? erasers : painters).push_back(cases[n].keeps_heading ? runner(2, 2) : enemy_at(2, 2));
        passes();
        EXPECT_EQ(kind_at(1, 1) == lab_floor, cases[n].exploded) << "case " << n;
        EXPECT_EQ(critical_mass, cases[n].exploded ? 3 : 0) << "case " << n;
        EXPECT_EQ(std::pair(world_matrix[2][2].child_name[0].str(), world_matrix[2][2].child_name[1].str()),
                  std::pair(std::string(cases[n].exploded ? "#" : "BOMB"), std::string("GEM"))) << "goes off once, alone";
        if (!cases[n].exploded) {
            EXPECT_EQ(cell_of(cases[n].eraser ? erasers[0] : painters[0]), std::pair(3, 2)) << "case " << n;
        }
        if (n == 0) {
            EXPECT_EQ(heard, (std::vector<std::string>{"step.ogg", "pickbomb.ogg", "explosion.ogg"}));
            EXPECT_EQ(kind_at(3, 2), lab_floor) << "the explosion took back the painter's pink";
        }
    }
}

}  // namespace
