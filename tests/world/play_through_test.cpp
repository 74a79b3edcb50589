// A whole level played as a player plays it: arrow keys held through the
// input script until the level is done; then the banner and the next level.
#include <cmath>
#include <deque>

#include "core/life.h"
#include "play_world.h"
#include "text/font_engine.h"

using namespace play_world;

namespace {

constexpr int up = 0xC8, left = 0xCB, right = 0xCD, down = 0xD0;

class PlayThrough : public ::testing::Test {
protected:
    void SetUp() override {
        write_level_pack(folder);
        write_painted_kinds(folder);
        // Plain floor: nothing to pick up, no enemies; the player alone decides.
        tile_definition(folder, "LAB_FLOOR", pairs({{"GFXNAME", "floor.png"}, {"CHILD1", "#"}, {"CHILD2", "#"}, {"CHILD3", "#"},
                                                    {"CHILD4", "#"}, {"USEENEMY", "0"}, {"USECOLLISION", "0"},
                                                    {"TRANSPARENCY", "0"}, {"VALUE1", "10"}}));
        folder.write("DATA/level.base", "TEST LEVEL BASE\r\n12\r\n10\r\n0\r\n0\r\n");
        const std::string root = folder.path() + "/";
        folder.write("DATA/ini.txt",
                     ini_text({{"RESBASEW", "320"}, {"RESBASEH", "240"}, {"RESOLUTION", "16"},
                               {"MAPSIZE", "64"}, {"WORLDRANDOM", "3"},
                               {"WORLDREFRESH", "100000"}, {"CURSORSPEED", "255"},
                               {"USESPRITE3D", "1"}, {"USESELFCREATEBASE", "1"},
                               {"SELFCREATEBASE", "DATA\\level.base"}, {"APPSTART", "T"},
                               {"RGBCODEPATH", root + "DATA/TILES/"}, {"TOPOGFX", "GFX\\TILES\\"},
                               {"GFXCODEC", ".png"}, {"WORLDGFX", "GFX\\OBJECTS\\"},
                               {"CURSOR", "GFX\\cursor.png"}, {"LABSWITCH", "3"},
                               {"MAXFOE", "0"}}));
        // Start-up as the game does it, up to the first level (no credits, no menu).
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        set_virtual_clock(true);
        set_fake_desktop(4096, 4096);
        init_globals();
        base_folder = root;
        read_configuration(ini_path = root + "DATA\\ini.txt");
        register_decoders();
        measure_screen();
        open_game_window();
        create_world_tables();
        build_tile_graphics();
        clear_object_lists();
        load_object_definitions();
        load_sound_effects();
        build_floaters();
        load_system_font();
        screen_state = 35;
        load_level_base(cfg_selfcreatebase);
        build_next_level();
    }
    void TearDown() override {
        set_input_script({});
        shutdown_media();
        set_fake_desktop(0, 0);
    }
    // The arrow toward the nearest tile still to paint, along free cells;
    // 0 when none is left.
    static int arrow_toward_work() {
        const int32_t px = nearest_int(std::floor(player.x / tile_width) + view_x);
        const int32_t py = nearest_int(std::floor(player.y / tile_height) + view_y);
        constexpr int steps[4][3] = {{1, 0, right}, {-1, 0, left}, {0, 1, down}, {0, -1, up}};
        std::vector<int> first(size_t(matrix_cells) * matrix_cells, -1);
        std::deque<std::pair<int32_t, int32_t>> queue{{px, py}};
        first[size_t(px) * matrix_cells + size_t(py)] = 0;
        while (!queue.empty()) {
            const auto [x, y] = queue.front();
            queue.pop_front();
            const std::string& kind = cell_at(x, y).tile_name;
            const int arrow = first[size_t(x) * matrix_cells + size_t(y)];
            if (arrow != 0 && (kind == lab_floor || kind == lab_green || kind == lab_pink_floor))
                return arrow;
            for (const auto& s : steps) {
                const int32_t nx = x + s[0], ny = y + s[1];
                if (!in_matrix(nx, ny) || cell_at(nx, ny).use_collision != 0) continue;
                int& seen = first[size_t(nx) * matrix_cells + size_t(ny)];
                if (seen != -1) continue;
                seen = arrow == 0 ? s[2] : arrow;
                queue.push_back({nx, ny});
            }
        }
        return 0;
    }
    temp_folder folder;
};

TEST_F(PlayThrough, AScriptedPlayerFinishesTheFirstLevelAndTheNextIsBuilt) {
    ASSERT_EQ(dimension, 1);
    ASSERT_GT(critical_mass, 0);
    std::vector<input_frame> script;
    int frames = 0;
    for (; frames < 2000 && dimension == 1; ++frames) {
        input_frame held;
        if (const int arrow = arrow_toward_work()) held.keys = {arrow};
        // The script is read by frame number: this pass reads its last entry.
        script.resize(size_t(frame_number()));
        script.push_back(held);
        set_input_script(script);
        main_loop_pass();
    }
    ASSERT_EQ(dimension, 2) << "level 1 not finished in " << frames << " frames";
    EXPECT_EQ(critical_mass, 0);
    EXPECT_GT(score, 0);
    EXPECT_EQ(level_score, score);
    EXPECT_EQ(time_left, 0);
    // The next pass builds level 2 (its progress bar flips now and then)
    // and opens it with its banner: a frame for every five pixels of the
    // screen's width, then the frame itself.
    set_input_script({});
    const int before = frame_number();
    main_loop_pass();
    EXPECT_EQ(loaded_dimension, 2);
    EXPECT_EQ(new_level_banner, 0);
    EXPECT_GE(frame_number() - before, 64 + 1);
    EXPECT_GT(critical_mass, 0);
    const int after = frame_number();
    main_loop_pass();
    EXPECT_EQ(frame_number(), after + 1) << "the banner comes once";
    for (int32_t x = 0; x <= level_last_x; ++x)
        for (int32_t y = 0; y <= level_last_y; ++y) {
            const std::string& kind = world_matrix[x][y].tile_name;
            ASSERT_TRUE(kind == lab_wall || kind == lab_floor || kind == lab_green ||
                        kind == lab_water || kind == lab_blue_floor)
                << "a fresh level at " << x << "," << y << ": " << kind;
        }
}

}  // namespace
