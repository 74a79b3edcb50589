// The one fixture of the world and content tests: the test pack headless, a level in play.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "content/content.h"
#include "core/machine.h"
#include "frontend/menus.h"
#include "game/game_clock.h"
#include "media/random.h"
#include "support/sound_files.h"
#include "support/world_pack.h"
#include "world/enemy_ai.h"
#include "world/level_state.h"
#include "world/tile_rules.h"
#include "world/world.h"

namespace play_world {

using namespace world_pack;

inline std::vector<std::string> heard;
inline void listen(const std::string& name) { heard.push_back(name); }

// The pack's folders configured on a 320 x 240 screen; nothing written yet.
class PackTest : public ::testing::Test {
protected:
    static constexpr int width = 320, height = 240;
    static void SetUpTestSuite() { open_headless_screen(width, height); }
    static void TearDownTestSuite() { close_headless_screen(); }
    void SetUp() override {
        init_globals();
        use_pack(folder);
        screen_width = float(width);
        screen_height = float(height);
    }
    temp_folder folder;
};

class LevelInPlay : public PackTest {
protected:
    void SetUp() override {
        PackTest::SetUp();
        init_sound_list_globals();
        init_frontend_globals();
        write_level_pack(folder);
        write_painted_kinds(folder);
        view_columns = 20;
        view_rows = 15;
        level_last_x = level_last_y = 20;
        build_tile_graphics();
        load_object_definitions();
        const std::pair<std::string*, const char*> sounds[] = {
            {&cfg_deftilesound, "step"}, {&cfg_fixedtilesound, "fixed"},
            {&cfg_pinktilefixedsound, "pinkfixed"}, {&cfg_swapsound, "swap"},
            {&cfg_explosionsound, "explosion"}, {&cfg_pickbombsound, "pickbomb"},
            {&cfg_extratime, "extratime"}, {&cfg_removetile, "removetile"},
            {&cfg_leveldone, "leveldone"}, {&cfg_gameover, "gameover"}};
        for (auto [variable, name] : sounds) {
            *variable = std::string(name) + ".ogg";
            folder.write("SFX/" + *variable, sound_files::wav(64));
        }
        cfg_soundfxpath = folder.path() + "/SFX/";
        start_sound_service();
        load_sound_effects();
        heard.clear();
        sound_effect_heard = listen;
    }

    // Rows of tiles from (x0, y0) in the symbols below; a blank leaves the cell alone.
    void lay(int32_t x0, int32_t y0, const std::vector<std::string>& rows) {
        const std::map<char, std::string> kinds = {
            {'#', lab_wall},       {'.', lab_floor},       {',', lab_green},     {'~', lab_water},
            {'b', lab_blue_floor}, {'B', lab_fixed_floor}, {'p', lab_pink_floor}, {'P', lab_fixed_pink_floor}};
        for (size_t r = 0; r < rows.size(); ++r)
            for (size_t c = 0; c < rows[r].size(); ++c)
                if (kinds.contains(rows[r][c])) tile(x0 + int32_t(c), y0 + int32_t(r), kinds.at(rows[r][c]));
    }
    void tile(int32_t x, int32_t y, const std::string& kind) {
        set_tile(x, y, kind, false);
        world_matrix[x][y].active = 1;
    }
    const std::string& kind_at(int32_t x, int32_t y) { return world_matrix[x][y].tile_name; }
    void frame() {
        begin_blended_pass();
        world_frame();
        end_blended_pass();
    }
    // Centre pixel of window cell (column, row).
    uint32_t pixel_of_cell(int column, int row) { return read_pixel(column * 16 + 8, row * 16 + 8); }

    // Puts an object named `name` into child slot `slot` of cell (x, y).
    void put_object(int32_t x, int32_t y, int32_t slot, const std::string& name, world_object object = {}) {
        world_objects.push_back(object);
        world_cell& cell = world_matrix[x][y];
        cell.child_object[slot] = int32_t(world_objects.size()) - 1;
        cell.child_name[slot] = name;
        cell.last_child_slot = std::max(cell.last_child_slot, slot);
    }
    void stand_on(int32_t x, int32_t y) {
        view_x = view_y = 0;
        player.x = float(x) * tile_width;
        player.y = float(y) * tile_height;
    }
    void step_on(int32_t x, int32_t y) {
        stand_on(x, y);
        player_step();
    }

    // An enemy on cell (x, y) that acts every frame and moves a whole tile a step.
    static enemy enemy_at(int32_t x, int32_t y) {
        enemy e;
        e.x = int32_t(float(x) * tile_width);
        e.y = int32_t(float(y) * tile_height);
        e.step_x = e.step_y = 1;
        e.ai_level = 1;
        e.alpha = 255;
        return e;
    }
    static std::pair<int32_t, int32_t> cell_of(const enemy& e) {
        return {int32_t(float(e.x) / tile_width), int32_t(float(e.y) / tile_height)};
    }
    // A blended sprite of the pack's painter image, one tile large.
    static int32_t painter_sprite() {
        for (const object_definition& d : object_definitions)
            if (d.name == "PAINTER") {
                const int32_t sprite = create_blended(d.sprite);
                zoom_blended(sprite, 16, 16);
                return sprite;
            }
        return 0;
    }
};

}  // namespace play_world
