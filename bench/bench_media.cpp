#include <benchmark/benchmark.h>

#include <cstdlib>

#include "media/media.h"

namespace {

void open_bench_screen(int width, int height) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    set_virtual_clock(true);   // the frame cap sleeps on it, so only work is timed
    start_screen_service();
    start_blended_service();
    open_screen(open_window(width, height, "bench"), width, height);
}

// What a frame costs the main thread when nothing is drawn.
void empty_frame(benchmark::State& state) {
    open_bench_screen(1024, 768);
    for (auto _ : state) {
        begin_blended_pass();
        clear_screen(0);
        end_blended_pass();
        flip_screen();
    }
    state.SetLabel(renderer_name());
    shutdown_media();
}
BENCHMARK(empty_frame)->Unit(benchmark::kMicrosecond);

// A screenful of 32 x 32 cells from one texture, as the matrix draws them.
void frame_of_cells(benchmark::State& state) {
    open_bench_screen(1024, 768);
    draw_box(0, 0, 32, 32, 0x3060C0);
    draw_box(8, 8, 16, 16, 0xFF00FF);   // a hole, as tiles with transparency have
    int tile = grab_sprite(0, 0, 32, 32);
    const int cells = static_cast<int>(state.range(0));
    std::vector<int> blended;
    for (int i = 0; i < cells; ++i) blended.push_back(create_blended(tile));
    for (auto _ : state) {
        begin_blended_pass();
        clear_screen(0);
        set_blending(5, 6);
        for (int i = 0; i < cells; ++i) draw_blended(blended[i], (i % 32) * 32, (i / 32) * 32);
        end_blended_pass();
        flip_screen();
    }
    state.SetItemsProcessed(state.iterations() * cells);
    shutdown_media();
}
BENCHMARK(frame_of_cells)->Arg(768)->Unit(benchmark::kMicrosecond);

}  // namespace
