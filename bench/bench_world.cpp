#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "content/io_control.h"
#include "core/life.h"
#include "core/startup.h"
#include "core/system_ini.h"
#include "media/media.h"
#include "world/world.h"

namespace {

// The shipped pack on a design-sized headless screen, content loaded as at
// start-up; the level base is read but no level is built yet.
void open_shipped_world() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    const std::string source = __FILE__;
    const std::string data = source.substr(0, source.rfind('/')) + "/../data";
    if (chdir(data.c_str()) != 0) std::abort();
    set_virtual_clock(true);
    set_fake_desktop(4096, 4096);
    init_globals();
    read_configuration(ini_path);
    register_decoders();
    measure_screen();
    open_game_window();
    create_world_tables();
    build_tile_graphics();
    clear_object_lists();
    load_object_definitions();
    load_player_image();
    level_base_width = 16;
    level_base_height = 12;
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

// The largest level the matrix holds: 513 x 513 cells.
void build_largest_level(benchmark::State& state) {
    open_shipped_world();
    matrix_width = matrix_height = 1024;
    level_base_width = level_base_height = 4000;
    for (auto _ : state) build_next_level();
    state.counters["cells"] = double(level_last_x + 1) * double(level_last_y + 1);
    shutdown_media();
}
BENCHMARK(build_largest_level)->Unit(benchmark::kMillisecond)->Iterations(3);

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
