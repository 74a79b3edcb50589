// A frame of play on the shipped pack, next to a plain loop drawing as many
// quads from one image; and the game's own work in a frame of the largest
// level, without any drawing.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "content/content.h"
#include "core/configuration.h"
#include "game/startup.h"
#include "game/world_tables.h"
#include "media/media.h"
#include "shipped_pack.h"
#include "text/font_engine.h"
#include "world/enemy_ai.h"
#include "world/level_state.h"
#include "world/overlay.h"
#include "world/tile_rules.h"
#include "world/world.h"

namespace {

// Quads a play frame draws, counted from what it shows: tiles, objects,
// enemies, drifting images, the marker, the full-screen pass, the display's
// letters and the glass.
int count_frame_quads() {
    int quads = 0;
    walk_visible_window([&](int32_t x, int32_t y, int32_t, int32_t) {
        const world_cell& cell = world_matrix[x][y];
        if (cell.alpha <= 0 || cell.active != 1 || cell.tile_sprite == 0) return;
        ++quads;
        for (int32_t slot = 0; slot <= cell.last_child_slot && slot < 4; ++slot) {
            const int32_t index = cell.child_object[slot];
            if (index >= 0 && size_t(index) < world_objects.size() &&
                world_objects[size_t(index)].gfx_show == 1)
                ++quads;
        }
    });
    quads += int(painters.size() + erasers.size());
    for (const floater& f : floaters) quads += blended_exists(f.sprite) ? 1 : 0;
    for (const hud_line& line : hud_lines())
        for (unsigned char c : line.text) quads += glyph_table[c].blended_sprite != 0 ? 1 : 0;
    quads += player.sprite != 0 ? 1 : 0;
    quads += 1 + (top_glass_ready == 1 ? 1 : 0);
    return quads;
}

// The three layers of a play frame that cover the whole screen, drawn as it
// draws them: the grab of the back buffer stretched back over it, and the
// glass.
void full_screen_layers() {
    const int grab = grab_sprite(1, 1, 1023, 767);
    const int stretched = create_blended(grab);
    zoom_blended(stretched, 1024, 768);
    clear_screen(0);
    set_filtering(true);
    present_full_screen(5, stretched);
    set_filtering(false);
    draw_top_glass(2, 5);
    free_blended(stretched);
    free_sprite(grab);
}

// Range 0: the frame of level 40 (larger than the screen), as the frame
// driver runs it, flip included. Range 1: the same number of tile-sized quads
// from one tile image, drawn in a plain loop and flipped. Range 2: the plain
// loop and the frame's full-screen layers as they were once drawn (a grab
// stretched back, then the glass), which tells the quads' share from the
// layers' share. Range 3: the plain loop and one full-screen blended quad,
// the glass: the least a frame with the glass can cost.
void play_frame(benchmark::State& state) {
    open_shipped_game(40);
    const int quads = count_frame_quads();
    const bool plain = state.range(0) >= 1;
    const bool layers = state.range(0) == 2;
    const bool glass = state.range(0) == 3;
    const int image = tile_graphics.front().sprite;
    // Quads of the pack's tile size, laid out over the screen as the tiles are.
    const int size = int(tile_width), columns = 1024 / size, rows = 768 / size;
    std::vector<int> cells;
    for (int i = 0; plain && i < quads; ++i) {
        cells.push_back(create_blended(image));
        zoom_blended(cells.back(), size, size);
    }
    // The clock and the level's end stay out of the way.
    critical_mass = 1000000;
    for (auto _ : state) {
        begin_blended_pass();
        if (plain) {
            clear_screen(0);
            set_blending(5, 6);
            for (int i = 0; i < quads; ++i)
                draw_blended(cells[size_t(i)], i % columns * size, i / columns % rows * size);
            if (layers) full_screen_layers();
            if (glass) draw_top_glass(2, 5);
        } else {
            world_frame();
        }
        end_blended_pass();
        flip_screen();
    }
    state.counters["quads"] = quads;
    state.SetLabel(std::string(layers  ? "plain loop and full-screen layers, "
                               : glass ? "plain loop and glass, "
                               : plain ? "plain loop, "
                                       : "play frame, ") +
                   renderer_name());
    shutdown_media();
}
BENCHMARK(play_frame)->Arg(0)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

// The rules, the enemies' thinking and moving and the player's step for one
// frame of the largest level (513 x 513 cells, every enemy it spawns), with
// the visible floor painted blue at the start; nothing is drawn.
void game_work_largest_level(benchmark::State& state) {
    open_shipped_game(1);
    matrix_width = matrix_height = 512;
    level_base_width = level_base_height = 1000;
    build_next_level();
    critical_mass = 1000000;
    walk_visible_window([](int32_t x, int32_t y, int32_t, int32_t) {
        if (world_matrix[x][y].tile_name == lab_floor) set_tile(x, y, lab_blue_floor, false);
    });
    for (auto _ : state) {
        walk_visible_window([](int32_t x, int32_t y, int32_t, int32_t) {
            const world_cell& cell = world_matrix[x][y];
            if (cell.alpha <= 0 || cell.active != 1) return;
            fix_blue_tile(x, y);
            fix_pink_tile(x, y);
        });
        for (enemy& e : painters) {
            current_enemy = &e;
            think_painter(e.ai_level);
        }
        for (enemy& e : erasers) {
            current_enemy = &e;
            think_eraser(e.ai_level);
        }
        current_enemy = nullptr;
        player_step();
    }
    state.counters["cells"] = double(level_last_x + 1) * double(level_last_y + 1);
    state.counters["enemies"] = double(painters.size() + erasers.size());
    shutdown_media();
}
BENCHMARK(game_work_largest_level)->Unit(benchmark::kMicrosecond);

}  // namespace
