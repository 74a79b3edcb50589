#include <gtest/gtest.h>

#include "content/io_control.h"
#include "media/random.h"
#include "support/world_pack.h"
#include "world/enemy_ai.h"
#include "world/world.h"

using namespace world_pack;

namespace {

class ObjectDefinitions : public ::testing::Test {
protected:
    static void SetUpTestSuite() { open_headless_screen(320, 240); }
    static void TearDownTestSuite() { close_headless_screen(); }
    void SetUp() override {
        init_globals();
        use_pack(folder);
        folder.write("GFX/TILES/floor.png", bmp(16, 16, floor_colour));
        build_tile_graphics();
        random_seed(99);
    }
    const object_definition* find(const std::string& file_name) {
        for (const object_definition& d : object_definitions)
            if (d.file_name == file_name) return &d;
        return nullptr;
    }
    // A floor-like kind whose children are the given names.
    void children(const std::string& kind, std::vector<std::string> names) {
        std::string text = pairs({{"GFXNAME", "floor.png"}, {"USEENEMY", "1"}});
        for (size_t i = 0; i < names.size(); ++i)
            text += pairs({{"CHILD" + std::to_string(i + 1), names[i]}});
        tile_definition(folder, kind, text);
    }
    temp_folder folder;
};

}  // namespace

TEST_F(ObjectDefinitions, EveryKeyReachesItsField) {
    object(folder, "thing", rgb(10, 20, 30),
           pairs({{"DGFXNAME", "THING"},       {"DGFXTRANSPARENCY", "200"},
                  {"DDENSITY", "9"},           {"DFITTOMATRIX", "1"},
                  {"DCOLLISION", "258"},       {"DHOTSPOT", "CENTER"},
                  {"DXMODE1", "2"},            {"DXMODE2", "5"},
                  {"DGFXSHOW", "1"},           {"DCENTERFIELD", "1"},
                  {"DKILLONCOLLISION", "1"},   {"DSCORE", "-40"},
                  {"DCOUNTTOSCORE", "1"},      {"DCOUNTSOUND", "tick.ogg"},
                  {"DUSECOUNTSOUND", "1"},     {"DISPLAYER", "1"},
                  {"DISENEMY", "2"},           {"DRANDOMMOVE", "3"},
                  {"DMOVEX", "4"},             {"DMOVEY", "5"},
                  {"DVELOX", "6"},             {"DVELOY", "7"},
                  {"DAILEVEL", "3"},           {"DDMOVE", "-1"},
                  {"DCHANGEDIRECTION", "8"},   {"DISGOODY", "1"},
                  {"DEXTRATIME", "10"},        {"DROTATE", "11"},
                  {"DLIFETIME", "5"},          {"DPOWERUP", "1"}}),
           12);
    load_object_definitions();
    const object_definition* d = find("thing.png");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->path, cfg_worldgfx + "thing.png");
    EXPECT_NE(d->sprite, 0);
    EXPECT_EQ(d->name, "THING");
    EXPECT_EQ(d->gfx_transparency, 200);
    EXPECT_EQ(d->density, 9);
    EXPECT_EQ(d->fit_to_matrix, 1);
    EXPECT_EQ(d->collision, 2);
    EXPECT_EQ(d->hotspot, "CENTER");
    EXPECT_EQ(d->blend_src, 2);
    EXPECT_EQ(d->blend_dst, 5);
    EXPECT_EQ(d->gfx_show, 1);
    EXPECT_EQ(d->center_field, 1);
    EXPECT_EQ(d->kill_on_collision, 1);
    EXPECT_EQ(d->score, -40);
    EXPECT_EQ(d->count_to_score, 1);
    EXPECT_EQ(d->count_sound, "tick.ogg");
    EXPECT_EQ(d->use_count_sound, 1);
    EXPECT_EQ(d->is_player, 1);
    EXPECT_EQ(d->is_enemy, 2);
    EXPECT_EQ(d->random_move, 3);
    EXPECT_EQ(d->move_x, 4);
    EXPECT_EQ(d->move_y, 5);
    EXPECT_EQ(d->velo_x, 6);
    EXPECT_EQ(d->velo_y, 7);
    EXPECT_EQ(d->ai_level, 3);
    EXPECT_EQ(d->d_move, -1);
    EXPECT_EQ(d->change_direction, 8);
    EXPECT_EQ(d->is_goody, 1);
    EXPECT_EQ(d->extra_time, 10);
    EXPECT_EQ(d->rotate, 11);
}

TEST_F(ObjectDefinitions, NamesAndMissingDefinitions) {
    object(folder, "a_hash", rgb(1, 2, 3), pairs({{"DGFXNAME", "#"}}));
    object(folder, "b_empty", rgb(1, 2, 3), pairs({{"DGFXNAME", ""}}));
    object(folder, "c_absent", rgb(1, 2, 3), pairs({{"DSCORE", "5"}}));
    folder.write("GFX/OBJECTS/d_bare.png", bmp(4, 4, rgb(9, 9, 9)));
    folder.write("GFX/OBJECTS/e_folder.png/x", "a folder with an image ending");
    load_object_definitions();
    ASSERT_EQ(object_definitions.size(), 4u);
    EXPECT_EQ(find("a_hash.png")->name, "NOPE");
    EXPECT_EQ(find("b_empty.png")->name, "NOPE");
    EXPECT_EQ(find("c_absent.png")->name, "");
    const object_definition* bare = find("d_bare.png");
    EXPECT_EQ(bare->name, "");
    EXPECT_EQ(bare->density, 0);
    EXPECT_EQ(bare->gfx_show, 0);
    // "NOPE" stands for no name: a child so named selects no object.
    children("LAB_NOPE", {"NOPE"});
    set_tile(1, 2, "LAB_NOPE", true);
    EXPECT_TRUE(world_objects.empty());
    EXPECT_EQ(world_matrix[1][2].child_object[0], -1);
    // Nor does a nameless definition lie on any tile, not even where a slot
    // names nothing (the empty name would match it).
    children("LAB_UNNAMED", {"", ""});
    set_tile(2, 2, "LAB_UNNAMED", true);
    EXPECT_TRUE(world_objects.empty());
    EXPECT_EQ(world_matrix[2][2].child_object[0], -1);
}

TEST_F(ObjectDefinitions, DefinitionFileIsThePathCutBeforeTheImageEnding) {
    EXPECT_EQ(object_definition_path("GFX\\OBJECTS\\bomb.png"), "GFX\\OBJECTS\\bomb.dll");
    // The first occurrence counts, even inside a folder name.
    EXPECT_EQ(object_definition_path("GFX\\my.pngs\\bomb.png"), "GFX\\my.dll");
    EXPECT_EQ(object_definition_path("GFX\\bomb.PNG"), ".dll");
}

TEST_F(ObjectDefinitions, ReloadingReplacesTheListAndFreesItsImages) {
    object(folder, "gem", rgb(0, 200, 220), pairs({{"DGFXNAME", "GEM"}}));
    load_object_definitions();
    const int first = object_definitions.at(0).sprite;
    load_object_definitions();
    ASSERT_EQ(object_definitions.size(), 1u);
    EXPECT_FALSE(sprite_exists(first));
    cfg_worldgfx = folder.path() + "/nowhere/";
    load_object_definitions();
    EXPECT_TRUE(object_definitions.empty());
}

TEST_F(ObjectDefinitions, ChildrenGoToTheirSlots) {
    object(folder, "bomb", bomb_colour,
           pairs({{"DGFXNAME", "BOMB"}, {"DGFXSHOW", "1"}, {"DGFXTRANSPARENCY", "255"}}));
    object(folder, "time", rgb(0, 200, 0),
           pairs({{"DGFXNAME", "EXTRATIME"}, {"DEXTRATIME", "10"}, {"DSCORE", "5"}}));
    load_object_definitions();
    children("LAB_TWO", {"BOMB", "#", "EXTRATIME", "#"});
    set_tile(4, 6, "LAB_TWO", true);
    const world_cell& cell = world_matrix[4][6];
    ASSERT_EQ(world_objects.size(), 2u);
    EXPECT_EQ(cell.child_object[0], 0);
    EXPECT_EQ(cell.child_object[1], -1);
    EXPECT_EQ(cell.child_object[2], 1);
    EXPECT_EQ(cell.child_object[3], -1);
    EXPECT_EQ(cell.last_child_slot, 2);
    EXPECT_EQ(cell.children_spawned, 1);
    const world_object& time = world_objects[1];
    EXPECT_EQ(time.extra_time, 10);
    EXPECT_EQ(time.score, 5);
    EXPECT_NE(time.sprite3d, 0);
    EXPECT_FLOAT_EQ(time.width, 16.0f);

    // Spawned once per definition load.
    spawn_cell_objects(4, 6);
    EXPECT_EQ(world_objects.size(), 2u);
    set_tile(4, 6, "LAB_TWO", true);
    EXPECT_EQ(world_objects.size(), 4u);
    EXPECT_EQ(world_matrix[4][6].child_object[0], 2);
}

TEST_F(ObjectDefinitions, ChancesAndTwinNames) {
    object(folder, "a_never", bomb_colour, pairs({{"DGFXNAME", "GEM"}, {"DDENSITY", "-3"}}));
    object(folder, "b_gem", bomb_colour,
           pairs({{"DGFXNAME", "GEM"}, {"DDENSITY", "0"}, {"DISGOODY", "1"}}));
    object(folder, "c_gem", bomb_colour,
           pairs({{"DGFXNAME", "GEM"}, {"DDENSITY", "0"}, {"DISGOODY", "1"}}));
    load_object_definitions();
    children("LAB_GEM", {"GEM"});
    critical_mass = 0;
    set_tile(3, 3, "LAB_GEM", true);
    // Both twins spawn, the slot keeps the later one, both count as goodies.
    EXPECT_EQ(world_objects.size(), 2u);
    EXPECT_EQ(world_matrix[3][3].child_object[0], 1);
    EXPECT_EQ(critical_mass, 2);
}

TEST_F(ObjectDefinitions, DensityNineSpawnsAboutOnceInTen) {
    object(folder, "gem", bomb_colour, pairs({{"DGFXNAME", "GEM"}, {"DDENSITY", "9"}}));
    load_object_definitions();
    children("LAB_GEM", {"GEM"});
    for (int x = 0; x < 100; ++x)
        for (int y = 0; y < 20; ++y) set_tile(x, y, "LAB_GEM", true);
    EXPECT_GT(world_objects.size(), 140u);
    EXPECT_LT(world_objects.size(), 260u);
}

TEST_F(ObjectDefinitions, FittingAndHotspots) {
    struct hotspot_case { const char* hotspot; const char* centre; float x, y; };
    const hotspot_case cases[] = {
        {"CENTER", "0", 8, 8},  {"RIGHT", "0", 16, 0},        {"BOTTOMLEFT", "0", 0, 16},
        {"BOTTOMRIGHT", "0", 16, 16}, {"center", "0", 0, 0}, {"", "1", 8, 8},
        {"CENTER", "1", 16, 16},
    };
    for (const hotspot_case& c : cases) {
        init_globals();
        use_pack(folder);
        build_tile_graphics();
        object(folder, "gem", bomb_colour,
               pairs({{"DGFXNAME", "GEM"}, {"DFITTOMATRIX", "1"}, {"DHOTSPOT", c.hotspot},
                      {"DCENTERFIELD", c.centre}}),
               32);
        load_object_definitions();
        children("LAB_GEM", {"GEM"});
        set_tile(2, 2, "LAB_GEM", true);
        ASSERT_EQ(world_objects.size(), 1u);
        const world_object& o = world_objects[0];
        EXPECT_FLOAT_EQ(o.width, 16.0f);
        EXPECT_EQ(blended_width(o.sprite3d), 16);
        EXPECT_FLOAT_EQ(o.hot_x, c.x) << c.hotspot << " " << c.centre;
        EXPECT_FLOAT_EQ(o.hot_y, c.y) << c.hotspot << " " << c.centre;
    }
}

TEST_F(ObjectDefinitions, AnImageThatFailsToLoadIsNotPlaced) {
    folder.write("GFX/OBJECTS/broken.png", "not an image");
    folder.write("GFX/OBJECTS/broken.dll",
                 pairs({{"DGFXNAME", "GEM"}, {"DHOTSPOT", "RIGHT"}, {"DFITTOMATRIX", "1"}}));
    load_object_definitions();
    EXPECT_EQ(object_definitions.at(0).sprite, 0);
    children("LAB_GEM", {"GEM"});
    set_tile(2, 2, "LAB_GEM", true);
    ASSERT_EQ(world_objects.size(), 1u);
    EXPECT_EQ(world_objects[0].sprite3d, 0);
    EXPECT_FLOAT_EQ(world_objects[0].hot_x, 0.0f);
    EXPECT_FLOAT_EQ(world_objects[0].width, 0.0f);
}

namespace {

// A 6 x 5 level whose cells (2, y) allow enemies.
void enemy_row_level() {
    level_last_x = 5;
    level_last_y = 4;
    for (int y = 0; y <= 4; ++y) world_matrix[2][y].use_enemy = 1;
    world_matrix[4][4].use_enemy = 2;
}

}  // namespace

TEST_F(ObjectDefinitions, EnemiesStandOnlyOnCellsThatAllowThem) {
    object(folder, "eraser", rgb(200, 60, 0),
           pairs({{"DGFXNAME", "ERASER"}, {"DISENEMY", "2"}, {"DDENSITY", "0"},
                  {"DGFXTRANSPARENCY", "180"}, {"DRANDOMMOVE", "2"}, {"DVELOX", "4"},
                  {"DVELOY", "8"}, {"DDMOVE", "1"}, {"DCHANGEDIRECTION", "6"},
                  {"DAILEVEL", "1"}, {"DROTATE", "3"}, {"DHOTSPOT", "BOTTOMRIGHT"}}),
           12);
    load_object_definitions();
    enemy_row_level();
    spawn_enemies(1);
    EXPECT_TRUE(painters.empty());
    spawn_enemies(2);
    ASSERT_EQ(erasers.size(), 5u);
    for (int y = 0; y <= 4; ++y) {
        const enemy& e = erasers[size_t(y)];
        EXPECT_EQ(e.x, 32);
        EXPECT_EQ(e.y, y * 16);
    }
    const enemy& e = erasers[0];
    EXPECT_FLOAT_EQ(e.width, 12.0f);
    EXPECT_EQ(blended_width(e.sprite), 12) << "enemies keep their image size";
    EXPECT_FLOAT_EQ(e.offset_x, 12.0f);
    EXPECT_FLOAT_EQ(e.offset_y, 12.0f);
    EXPECT_EQ(e.alpha, 180);
    EXPECT_EQ(e.move_chance, 2);
    EXPECT_EQ(e.step_x, 4);
    EXPECT_EQ(e.step_y, 8);
    EXPECT_EQ(e.think_chance, 1);
    EXPECT_EQ(e.turn_chance, 6);
    EXPECT_EQ(e.ai_level, 1);
    EXPECT_EQ(e.spin, 3);
    EXPECT_EQ(e.heading, 0);
}

TEST_F(ObjectDefinitions, NeverMorePaintersThanTheLimit) {
    object(folder, "p1", rgb(240, 100, 180),
           pairs({{"DGFXNAME", "PAINTER"}, {"DISENEMY", "1"}, {"DDENSITY", "0"}}));
    object(folder, "p2", rgb(240, 100, 180),
           pairs({{"DGFXNAME", "PAINTER"}, {"DISENEMY", "1"}, {"DDENSITY", "0"}}));
    object(folder, "x", rgb(200, 60, 0),
           pairs({{"DGFXNAME", "ERASER"}, {"DISENEMY", "2"}, {"DDENSITY", "0"}}));
    load_object_definitions();
    for (int limit : {0, 1, 3, 100}) {
        free_enemy_list(painters);
        free_enemy_list(erasers);
        cfg_maxfoe = limit;
        enemy_row_level();
        spawn_enemies(1);
        spawn_enemies(2);
        EXPECT_EQ(painters.size(), size_t(std::min(limit, 10))) << limit;
        EXPECT_EQ(erasers.size(), 5u) << "erasers have no limit";
    }
}

TEST_F(ObjectDefinitions, EnemyPlacementStaysInsideTheMatrix) {
    object(folder, "x", rgb(200, 60, 0),
           pairs({{"DGFXNAME", "ERASER"}, {"DISENEMY", "2"}, {"DDENSITY", "0"}}));
    load_object_definitions();
    level_last_x = level_last_y = 4000;   // nonsense extents are cut at the matrix edge
    world_matrix[max_level_extent][max_level_extent].use_enemy = 1;
    spawn_enemies(2);
    ASSERT_EQ(erasers.size(), 1u);
    EXPECT_EQ(erasers[0].x, max_level_extent * 16);
}
