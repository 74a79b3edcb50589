#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "core/configuration.h"
#include "core/machine.h"
#include "game/startup.h"
#include "media/media.h"
#include "text/text_engine.h"

namespace {

// The shipped font on a design-sized headless screen.
void open_with_shipped_font() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    init_globals();
    set_virtual_clock(true);
    start_screen_service();
    start_blended_service();
    register_decoders();
    open_screen(open_window(1024, 768, "bench"), 1024, 768);
    base_width = 1024;
    screen_width = 1024;
    screen_scale = 1;
    const std::string source = __FILE__;
    const std::string data = source.substr(0, source.rfind('/')) + "/../data";
    cfg_fontpath = data + "/GFX/FONT";
    cfg_fontsystem = data + "/DATA/font.txt";
}

// Start-up cost of the font: every glyph image loaded and zoomed once.
void font_load(benchmark::State& state) {
    open_with_shipped_font();
    for (auto _ : state) load_system_font();
    state.SetLabel(renderer_name());
    free_font();
    shutdown_media();
}
BENCHMARK(font_load)->Unit(benchmark::kMillisecond);

// A frame with the in-game display: five counters, about 60 glyphs.
void frame_with_display(benchmark::State& state) {
    open_with_shipped_font();
    load_system_font();
    int glyphs = 0;
    for (auto _ : state) {
        begin_blended_pass();
        clear_screen(0);
        draw_text(" SCORE 1234567|", 0.70f * 1024, 0.05f * 768, 1, 0, 240, 1, 0, 0);
        draw_text(" TIME 59|", 0.06f * 1024, 0.01f * 768, 1, 0, 240, 1, 0, 0);
        draw_text(" CRITICAL MASS 108|", 0.40f * 1024, 0.01f * 768, 1, 0, 240, 1, 0, 0);
        draw_text(" DIMENSION 12|", 0.70f * 1024, 0.01f * 768, 1, 0, 240, 1, 0, 0);
        draw_text(" HIGHSCORE:  99999|", 0.40f * 1024, 0.05f * 768, 0.5f, 0, 240, 1, 0, 0);
        end_blended_pass();
        flip_screen();
        glyphs += 60;
    }
    state.SetItemsProcessed(glyphs);
    state.SetLabel(renderer_name());
    free_font();
    shutdown_media();
}
BENCHMARK(frame_with_display)->Unit(benchmark::kMicrosecond);

// A full credits-like page: nine long lines of text.
void frame_with_text_page(benchmark::State& state) {
    open_with_shipped_font();
    load_system_font();
    const std::string line = "  THIS IS AN ALPHA PREVIEW OF MY NEXT GAMEPROJECT.|";
    for (auto _ : state) {
        begin_blended_pass();
        clear_screen(0);
        for (int i = 0; i < 9; ++i)
            draw_text(line, 0.1f * 1024, (0.3f + 0.05f * i) * 768, 1, 0, 255, 1, 0, 0);
        end_blended_pass();
        flip_screen();
    }
    state.SetItemsProcessed(state.iterations() * 9 * 43);
    free_font();
    shutdown_media();
}
BENCHMARK(frame_with_text_page)->Unit(benchmark::kMicrosecond);

}  // namespace

namespace {
// The same page in one letter only: no texture change between glyphs.
void frame_with_one_letter_page(benchmark::State& state) {
    open_with_shipped_font();
    load_system_font();
    const std::string line = "  EEEE EE EE EEEEE EEEEEEE EE EE EEEE EEEEEEEEEEEE|";
    for (auto _ : state) {
        begin_blended_pass();
        clear_screen(0);
        for (int i = 0; i < 9; ++i)
            draw_text(line, 0.1f * 1024, (0.3f + 0.05f * i) * 768, 1, 0, 255, 1, 0, 0);
        end_blended_pass();
        flip_screen();
    }
    state.SetItemsProcessed(state.iterations() * 9 * 43);
    free_font();
    shutdown_media();
}
BENCHMARK(frame_with_one_letter_page)->Unit(benchmark::kMicrosecond);
}  // namespace
