// Object definitions: their keys, the objects they put on tiles, the enemies.
#include "world/play_world.h"

using namespace play_world;

namespace {

class ObjectDefinitions : public PackTest {
protected:
    void SetUp() override {
        PackTest::SetUp();
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
        for (size_t i = 0; i < names.size(); ++i) text += pairs({{"CHILD" + std::to_string(i + 1), names[i]}});
        tile_definition(folder, kind, text);
    }
    // Cells (2, y) of a 6 x 5 level allow painters and erasers, (4, 4) erasers only.
    static void enemy_row_level() {
        level_last_x = 5, level_last_y = 4;
        for (int y = 0; y <= 4; ++y) world_matrix[2][y].use_enemy = 1;
        world_matrix[4][4].use_enemy = 2;
    }
};

TEST_F(ObjectDefinitions, NamesAndMissingDefinitions) {
    object(folder, "a_hash", rgb(1, 2, 3), pairs({{"DGFXNAME", "#"}}));
    object(folder, "b_empty", rgb(1, 2, 3), pairs({{"DGFXNAME", ""}}));
    object(folder, "c_absent", rgb(1, 2, 3), pairs({{"DSCORE", "5"}}));
    folder.write("GFX/OBJECTS/d_bare.png", bmp(4, 4, rgb(9, 9, 9)));
    folder.write("GFX/OBJECTS/e_folder.png/x", "a folder with an image ending");
    load_object_definitions();
    ASSERT_EQ(object_definitions.size(), 4u);
    EXPECT_EQ(std::tuple(find("a_hash.png")->name, find("b_empty.png")->name), std::tuple("NOPE", "NOPE"));
    EXPECT_EQ(find("c_absent.png")->name, "");
    const object_definition* bare = find("d_bare.png");
    EXPECT_EQ(std::tuple(bare->name, bare->density, bare->gfx_show), std::tuple("", 0, 0));
    // "NOPE" stands for no name: a child so named selects no object.
    children("LAB_NOPE", {"NOPE"});
    set_tile(1, 2, "LAB_NOPE", true);
    EXPECT_TRUE(world_objects.empty());
    EXPECT_EQ(world_matrix[1][2].child_object[0], -1);
    // Nor does a nameless definition lie on a tile, even where a slot names nothing.
    children("LAB_UNNAMED", {"", ""});
    set_tile(2, 2, "LAB_UNNAMED", true);
    EXPECT_TRUE(world_objects.empty());
    EXPECT_EQ(world_matrix[2][2].child_object[0], -1);
}

TEST_F(ObjectDefinitions, DefinitionFileIsThePathCutBeforeTheImageEndingAndReloadsReplaceTheList) {
    EXPECT_EQ(object_definition_path("GFX\\OBJECTS\\bomb.png"), "GFX\\OBJECTS\\bomb.dll");
    EXPECT_EQ(object_definition_path("GFX\\my.pngs\\bomb.png"), "GFX\\my.dll") << "the first occurrence counts";
    EXPECT_EQ(object_definition_path("GFX\\bomb.PNG"), ".dll");
    object(folder, "gem", rgb(0, 200, 220), pairs({{"DGFXNAME", "GEM"}}));
    load_object_definitions();
    const int first = object_definitions.at(0).sprite;
    load_object_definitions();
    ASSERT_EQ(object_definitions.size(), 1u);
    EXPECT_FALSE(sprite_exists(first)) << "its images are freed";
    cfg_worldgfx = folder.path() + "/nowhere/";
    load_object_definitions();
    EXPECT_TRUE(object_definitions.empty());
}

TEST_F(ObjectDefinitions, ChildrenGoToTheirSlotsOncePerDefinitionLoad) {
    object(folder, "bomb", bomb_colour, pairs({{"DGFXNAME", "BOMB"}, {"DGFXSHOW", "1"}, {"DGFXTRANSPARENCY", "255"}}));
    object(folder, "time", rgb(0, 200, 0), pairs({{"DGFXNAME", "EXTRATIME"}, {"DEXTRATIME", "10"}, {"DSCORE", "5"}, {"DROTATE", "11"},
                                                  {"DXMODE1", "2"}, {"DXMODE2", "5"}, {"DGFXTRANSPARENCY", "200"}, {"DCOUNTTOSCORE", "1"}}));
    load_object_definitions();
    children("LAB_TWO", {"BOMB", "#", "EXTRATIME", "#"});
    set_tile(4, 6, "LAB_TWO", true);
    const world_cell& cell = world_matrix[4][6];
    ASSERT_EQ(world_objects.size(), 2u);
    EXPECT_EQ(std::tuple(cell.child_object[0], cell.child_object[1], cell.child_object[2], cell.child_object[3]),
              std::tuple(0, -1, 1, -1));
    EXPECT_EQ(std::tuple(cell.last_child_slot, cell.children_spawned), std::tuple(2, 1));
    const world_object& time = world_objects[1];
    EXPECT_EQ(std::tuple(time.extra_time, time.score, time.width, time.rotate, time.blend_src, time.blend_dst, time.gfx_transparency,
                         int(time.count_to_score)), std::tuple(10, 5, 16.0f, 11, 2, 5, 200, 1));
    EXPECT_NE(time.sprite3d, 0);
    spawn_cell_objects(4, 6);
    EXPECT_EQ(world_objects.size(), 2u);
    set_tile(4, 6, "LAB_TWO", true);
    EXPECT_EQ(world_objects.size(), 4u);
    EXPECT_EQ(world_matrix[4][6].child_object[0], 2);
}

TEST_F(ObjectDefinitions, ChancesAndTwinNames) {
    object(folder, "a_never", bomb_colour, pairs({{"DGFXNAME", "GEM"}, {"DDENSITY", "-3"}}));
    for (const char* twin : {"b_gem", "c_gem"})
        object(folder, twin, bomb_colour, pairs({{"DGFXNAME", "GEM"}, {"DDENSITY", "0"}, {"DISGOODY", "1"}}));
    load_object_definitions();
    children("LAB_GEM", {"GEM"});
    critical_mass = 0;
    set_tile(3, 3, "LAB_GEM", true);
    // Both twins spawn, the slot keeps the later one, both count as goodies.
    EXPECT_EQ(world_objects.size(), 2u);
    EXPECT_EQ(std::tuple(world_matrix[3][3].child_object[0], critical_mass), std::tuple(1, 2));
    for (const char* twin : {"b_gem", "c_gem"}) object(folder, twin, bomb_colour, pairs({{"DGFXNAME", "GEM"}, {"DDENSITY", "9"}}));
    load_object_definitions();
    world_objects.clear();
    for (int x = 10; x < 60; ++x)
        for (int y = 0; y < 20; ++y) set_tile(x, y, "LAB_GEM", true);
    EXPECT_GT(world_objects.size(), 140u) << "density 9: about one in ten of 2 x 1000";
    EXPECT_LT(world_objects.size(), 260u);
}

TEST_F(ObjectDefinitions, FittingAndHotspots) {
    const struct { const char* hotspot; const char* centre; float x, y; } cases[] = {
        {"CENTER", "0", 8, 8}, {"RIGHT", "0", 16, 0}, {"BOTTOMLEFT", "0", 0, 16}, {"BOTTOMRIGHT", "0", 16, 16},
        {"center", "0", 0, 0}, {"", "1", 8, 8}, {"CENTER", "1", 16, 16}};
    for (const auto& c : cases) {
        init_globals();
        use_pack(folder);
        build_tile_graphics();
        object(folder, "gem", bomb_colour,
               pairs({{"DGFXNAME", "GEM"}, {"DFITTOMATRIX", "1"}, {"DHOTSPOT", c.hotspot}, {"DCENTERFIELD", c.centre}}),
               32);
        load_object_definitions();
        children("LAB_GEM", {"GEM"});
        set_tile(2, 2, "LAB_GEM", true);
        ASSERT_EQ(world_objects.size(), 1u);
        const world_object& o = world_objects[0];
        EXPECT_EQ(std::tuple(o.width, blended_width(o.sprite3d), o.hot_x, o.hot_y), std::tuple(16.0f, 16, c.x, c.y))
            << c.hotspot << " " << c.centre;
    }
    folder.write("GFX/OBJECTS/gem.png", "not an image");   // a broken image: no picture, no size
    load_object_definitions();
    world_objects.clear();
    set_tile(3, 2, "LAB_GEM", true);
    ASSERT_EQ(world_objects.size(), 1u);
    EXPECT_EQ(std::tuple(world_objects[0].sprite3d, world_objects[0].hot_x, world_objects[0].width), std::tuple(0, 0.0f, 0.0f));
}

TEST_F(ObjectDefinitions, EnemiesStandOnlyOnCellsThatAllowThem) {
    object(folder, "eraser", rgb(200, 60, 0),
           pairs({{"DGFXNAME", "ERASER"}, {"DISENEMY", "2"}, {"DDENSITY", "0"}, {"DVELOY", "8"}, {"DHOTSPOT", "BOTTOMRIGHT"},
                  {"DGFXTRANSPARENCY", "180"}, {"DRANDOMMOVE", "2"}, {"DVELOX", "4"}, {"DDMOVE", "1"}, {"DCHANGEDIRECTION", "6"},
                  {"DAILEVEL", "1"}, {"DROTATE", "3"}, {"DXMODE1", "2"}, {"DXMODE2", "5"}}),
           12);
    load_object_definitions();
    enemy_row_level();
    spawn_enemies(1);
    EXPECT_TRUE(painters.empty());
    spawn_enemies(2);
    ASSERT_EQ(erasers.size(), 5u);
    for (int y = 0; y <= 4; ++y) EXPECT_EQ(std::tuple(erasers[size_t(y)].x, erasers[size_t(y)].y), std::tuple(32, y * 16));
    const enemy& e = erasers[0];
    EXPECT_EQ(std::tuple(e.width, e.offset_x, e.step_y, e.alpha, e.move_chance, e.step_x, e.think_chance, e.turn_chance, int(e.ai_level),
                         e.spin, e.blend_src, e.blend_dst), std::tuple(12.0f, 12.0f, 8, 180, 2, 4, 1, 6, 1, 3, 2, 5));
}

TEST_F(ObjectDefinitions, NeverMorePaintersThanTheLimitAndNoneOutsideTheMatrix) {
    for (const char* p : {"p1", "p2"})
        object(folder, p, rgb(240, 100, 180), pairs({{"DGFXNAME", "PAINTER"}, {"DISENEMY", "1"}, {"DDENSITY", "0"}}));
    object(folder, "x", rgb(200, 60, 0), pairs({{"DGFXNAME", "ERASER"}, {"DISENEMY", "2"}, {"DDENSITY", "0"}}));
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
    free_enemy_list(erasers);
    init_world_globals();
    level_last_x = level_last_y = 4000;   // nonsense extents are cut at the matrix edge
    world_matrix[max_level_extent][max_level_extent].use_enemy = 1;
    spawn_enemies(2);
    ASSERT_EQ(erasers.size(), 1u);
    EXPECT_EQ(erasers[0].x, max_level_extent * 16);
}

}  // namespace
