#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "content/content.h"
#include "content/level_setup.h"
#include "core/configuration.h"
#include "game/startup.h"
#include "game/world_tables.h"
#include "media/media.h"
#include "shipped_pack.h"
#include "world/level_state.h"
#include "world/tile_definitions.h"
#include "world/world.h"

namespace {

// The shipped pack on a design-sized headless screen, content loaded as at
// start-up; the level base is read but no level is built yet.
void open_shipped_world() {
    open_shipped_screen();
    build_tile_graphics();
    clear_object_lists();
    load_object_definitions();
    load_player_image();
    level_base_width = 16;
    level_base_height = 12;
}

// Resident memory of the process, from the kernel's page count.
double resident_megabytes() {
    std::ifstream statm("/proc/self/statm");
    double pages_total = 0, pages_resident = 0;
    statm >> pages_total >> pages_resident;
    return pages_resident * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// A whole level set-up: reset, definitions, builders, spawns, zoom, and the
// progress bar's flips.
void build_level(benchmark::State& state) {
    open_shipped_world();
    dimension = int32_t(state.range(0));
    for (auto _ : state) build_next_level();
    state.counters["cells"] = double(level_last_x + 1) * double(level_last_y + 1);
    state.SetLabel(renderer_name());
    shutdown_media();
}
BENCHMARK(build_level)->Arg(10)->Unit(benchmark::kMillisecond);

// A level of the given size: the map size caps a level base far larger.
void build_sized_level(int32_t map_size) {
    matrix_width = matrix_height = map_size;
    level_base_width = level_base_height = 1000;
    dimension = 1;
    build_next_level();
}

// 65 x 65 cells (MAPSIZE 64): the step between two early levels.
void build_level_64(benchmark::State& state) {
    open_shipped_world();
    const int64_t reads = tile_definition_reads();
    for (auto _ : state) build_sized_level(64);
    state.counters["cells"] = double(level_last_x + 1) * double(level_last_y + 1);
    state.counters["reads"] = double(tile_definition_reads() - reads);
    shutdown_media();
}
BENCHMARK(build_level_64)->Unit(benchmark::kMillisecond);

// The largest level the matrix holds (MAPSIZE 512): 513 x 513 cells, with the
// matrix's size and the process's resident memory once it is built.
void build_largest_level(benchmark::State& state) {
    open_shipped_world();
    state.counters["resident_start_MB"] = resident_megabytes();
    for (auto _ : state) build_sized_level(512);
    state.counters["cells"] = double(level_last_x + 1) * double(level_last_y + 1);
    state.counters["matrix_MB"] =
        double(sizeof(world_cell)) * matrix_cells * matrix_cells / (1024.0 * 1024.0);
    state.counters["resident_MB"] = resident_megabytes();
    shutdown_media();
}
BENCHMARK(build_largest_level)->Unit(benchmark::kMillisecond)->Iterations(3);

// Clearing a level of the given map size: objects, every tile's sprite, the
// matrix.
void reset_level(benchmark::State& state) {
    open_shipped_world();
    for (auto _ : state) {
        state.PauseTiming();
        build_sized_level(int32_t(state.range(0)));
        state.ResumeTiming();
        reset_world();
    }
    shutdown_media();
}
BENCHMARK(reset_level)->Arg(64)->Arg(512)->Unit(benchmark::kMillisecond)->Iterations(5);

// One tile changing during play, its definition unchanged on disk.
void set_one_tile(benchmark::State& state) {
    open_shipped_world();
    build_sized_level(64);
    int32_t n = 0;
    for (auto _ : state) {
        set_tile(1 + n % 60, 1, n % 2 ? lab_floor : lab_blue_floor, false);
        ++n;
    }
    shutdown_media();
}
BENCHMARK(set_one_tile)->Unit(benchmark::kMicrosecond);

// One frame of a level larger than the screen: the full visible window of
// tiles, the objects on it, the enemies and the marker. With range 1 the
// frame is also flipped, so the renderer's work is counted too.
void draw_visible_window(benchmark::State& state) {
    open_shipped_world();
    dimension = 40;
    build_next_level();
    const bool flip = state.range(0) == 1;
    for (auto _ : state) {
        begin_blended_pass();
        world_frame();
        end_blended_pass();
        if (flip) flip_screen();
    }
    state.counters["cells"] = (view_columns + 1) * view_rows;
    state.SetLabel(renderer_name());
    shutdown_media();
}
BENCHMARK(draw_visible_window)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
