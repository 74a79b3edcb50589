#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/configuration.h"
#include "core/machine.h"
#include "game/startup.h"
#include "media/media.h"
#include "text/font_engine.h"
#include "text/text_engine.h"

namespace {

std::string data_folder() {
    const std::string source = __FILE__;
    return source.substr(0, source.rfind('/')) + "/../data";
}

void open_bench_screen(int width, int height) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    set_virtual_clock(true);   // the frame cap sleeps on it, so only work is timed
    start_screen_service();
    start_blended_service();
    register_decoders();
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

// The sprites of a play frame: about a thousand small quads drawn in turn from
// the 90 glyph images of the shipped font. Range 0 draws them all from one
// image, the plain loop to compare with; 1 alternates among the 90 as loaded
// from files (sharing an atlas page); 2 alternates among 90 copies made on
// the GPU, each its own texture, which is what every sprite used to cost.
void thousand_quads(benchmark::State& state) {
    open_bench_screen(1024, 768);
    set_default_colour_key(0xFFFFFF);
    std::vector<int> images;
    const std::string font = data_folder() + "/GFX/FONT/";
    int scan = scan_folder(font, "*.png");
    while (next_entry(scan)) images.push_back(load_sprite(font + entry_name(scan), true));
    end_scan(scan);
    if (state.range(0) == 0) images.assign(images.size(), images.front());
    if (state.range(0) == 2) {
        clear_screen(0);
        for (int& image : images) {
            draw_blended(create_blended(image), 0, 0);
            image = grab_sprite(0, 0, sprite_width(image), sprite_height(image));
        }
    }
    std::vector<int> quads;
    for (int i = 0; i < 1000; ++i) quads.push_back(create_blended(images[i % images.size()]));
    for (auto _ : state) {
        begin_blended_pass();
        clear_screen(0);
        set_blending(5, 6);
        for (int i = 0; i < 1000; ++i) draw_blended(quads[i], (i % 50) * 20, (i / 50) * 36);
        end_blended_pass();
        flip_screen();
    }
    state.SetItemsProcessed(state.iterations() * 1000);
    state.SetLabel(std::to_string(images.size()) + " images");
    shutdown_media();
}
BENCHMARK(thousand_quads)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// The in-game display: five counter lines and a 200-character ticker in the
// shipped font. Range 0 times the draw calls only, range 1 the flip that
// carries them out.
void display_and_ticker(benchmark::State& state) {
    init_globals();
    open_bench_screen(1024, 768);
    base_width = 1024;
    screen_width = 1024;
    screen_scale = 1;
    cfg_fontpath = data_folder() + "/GFX/FONT";
    cfg_fontsystem = data_folder() + "/DATA/font.txt";
    load_system_font();
    std::string ticker;
    while (ticker.size() < 200) ticker += "A NEW HIGHSCORE BY ZORBEL: 1234567 POINTS. ";
    ticker.resize(200);
    ticker += "|";
    const bool time_flip = state.range(0) == 1;
    int shift = 0;
    for (auto _ : state) {
        if (time_flip) state.PauseTiming();
        begin_blended_pass();
        clear_screen(0);
        draw_text(" SCORE 1234567|", 0.70f * 1024, 0.05f * 768, 1, 0, 240, 1, 0, 0);
        draw_text(" TIME 59|", 0.06f * 1024, 0.01f * 768, 1, 0, 240, 1, 0, 0);
        draw_text(" CRITICAL MASS 108|", 0.40f * 1024, 0.01f * 768, 1, 0, 240, 1, 0, 0);
        draw_text(" DIMENSION 12|", 0.70f * 1024, 0.01f * 768, 1, 0, 240, 1, 0, 0);
        draw_text(" HIGHSCORE:  99999|", 0.40f * 1024, 0.05f * 768, 0.5f, 0, 240, 1, 0, 0);
        draw_text(ticker, 1024.0f - float(shift), 0.95f * 768, 1, 0, 255, 1, 0, 0);
        end_blended_pass();
        shift = (shift + 3) % 4000;
        if (time_flip) {
            state.ResumeTiming();
            flip_screen();
        } else {
            state.PauseTiming();
            flip_screen();
            state.ResumeTiming();
        }
    }
    state.SetLabel(time_flip ? "flip" : "draw calls");
    free_font();
    shutdown_media();
}
BENCHMARK(display_and_ticker)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
