// The front end on the shipped pack: from the last credits page to the first
// frame of the title menu; a title frame with its drifting images beside a
// plain loop drawing as many quads; saving a profile.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "content/content.h"
#include "content/floaters.h"
#include "core/configuration.h"
#include "core/screens.h"
#include "core/sound_list.h"
#include "frontend/menus.h"
#include "frontend/profile_editor.h"
#include "game/startup.h"
#include "game/world_tables.h"
#include "media/media.h"
#include "shipped_pack.h"
#include "text/font_engine.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;
using bench_clock = std::chrono::steady_clock;

const std::string profiles_folder = "/tmp/zorbel_bench_profiles/";

// The shipped game at its design size, started as far as the credits; the
// profiles go to a folder of the benchmark's own.
void open_shipped_front_end() {
    open_shipped_screen();
    load_sound_effects();
    load_music_list();
    build_menu_floaters();
    load_system_font();
    fs::remove_all(profiles_folder);
    fs::create_directories(profiles_folder);
    cfg_profiles = profiles_folder;
}

void close_front_end() {
    screen_frame_seen = nullptr;
    shutdown_media();
    fs::remove_all(profiles_folder);
}

// The title menu ends itself after the frames wanted; the ends of its first
// and last frames are noted.
int title_frames_wanted = 0, title_frames_seen = 0;
bench_clock::time_point first_frame_done, last_frame_done;
void count_title_frames() {
    if (++title_frames_seen == 1) first_frame_done = bench_clock::now();
    if (title_frames_seen < title_frames_wanted) return;
    last_frame_done = bench_clock::now();
    screen_state = screen_state_game_requested;
}
void run_title_menu(int frames) {
    title_frames_wanted = frames;
    title_frames_seen = 0;
    title_menu();
}

// The end of the credits (their picture still the background) to the title
// menu's first frame on the screen: the background replaced, the menu track
// started, one frame drawn with its drifting images, texts and input.
void credits_to_title_menu(benchmark::State& state) {
    open_shipped_front_end();
    screen_frame_seen = count_title_frames;
    for (auto _ : state) {
        state.PauseTiming();
        show_credits();
        // The last page's drawing is done long before its three seconds are
        // up; with the virtual clock they take none, so wait for it here.
        read_pixel(0, 0);
        state.ResumeTiming();
        run_title_menu(1);
    }
    state.SetLabel(renderer_name());
    close_front_end();
}
BENCHMARK(credits_to_title_menu)->Iterations(20)->Unit(benchmark::kMillisecond);

// The quads of a title frame: the background, every drifting image, every
// glyph of its texts.
int title_frame_quads() {
    int quads = blended_exists(menu_background_3d) ? 1 : 0;
    for (const floater& f : menu_floaters) quads += blended_exists(f.sprite) ? 1 : 0;
    const std::vector<std::string> texts = {credits_ticker, rights_notice, "  ZORBEL |",
                                            "  PRESS  ENTER  ON KEYBOARD TO CONTINUE|",
                                            "  PRESS  S  ON KEYBOARD FOR OPTIONS|"};
    for (const std::string& text : texts)
        for (unsigned char c : text) quads += glyph_table[c].blended_sprite != 0 ? 1 : 0;
    return quads;
}

// Range 0: title menu frames as the game runs them, timed from the end of the
// first to the end of the 601st. Range 1: as many quads in a plain loop: the
// background, each drifting image once and the rest from the glyph of "A" at
// the size of the prompts' letters, in rows over the screen. The time shown
// is that of one frame, the mean of 600.
void title_menu_frame(benchmark::State& state) {
    open_shipped_front_end();
    screen_frame_seen = count_title_frames;
    run_title_menu(1);   // the background and the menu's sprites as a title menu has them
    const int quads = title_frame_quads();
    const bool plain = state.range(0) == 1;
    int background = 0;
    std::vector<int> sprites;
    if (plain) {
        background = create_blended(menu_background);
        zoom_blended(background, 1024, 768);
        for (const floater& f : menu_floaters) sprites.push_back(f.sprite);
        const glyph& a = glyph_table['A'];
        while (int(sprites.size()) + 1 < quads) {
            sprites.push_back(create_blended(a.image));
            zoom_blended(sprites.back(), int(a.width * 0.8f), int(a.height * 0.8f));
        }
    }
    for (auto _ : state) {
        if (plain) {
            const auto start = bench_clock::now();
            for (int frame = 0; frame < 600; ++frame) {
                begin_blended_pass();
                clear_screen(0);
                set_blending(5, 6);
                draw_blended(background, 0, 0, 255);
                for (size_t i = 0; i < sprites.size(); ++i)
                    draw_blended(sprites[i], int(i % 64) * 16, 40 + int(i / 64) * 30, 255);
                end_blended_pass();
                flip_screen();
            }
            state.SetIterationTime(
                std::chrono::duration<double>(bench_clock::now() - start).count() / 600);
        } else {
            run_title_menu(601);
            state.SetIterationTime(
                std::chrono::duration<double>(last_frame_done - first_frame_done).count() / 600);
        }
    }
    state.counters["quads"] = quads;
    state.SetLabel(std::string(plain ? "plain loop, " : "title menu, ") + renderer_name());
    close_front_end();
}
BENCHMARK(title_menu_frame)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMicrosecond);

// One result saved: its text, the file written whole under a temporary name,
// flushed to the disk and linked in, and its size file the same way.
void save_one_profile(benchmark::State& state) {
    open_shipped_front_end();
    score = 4321;
    for (auto _ : state) {
        sleep_ms(1);   // the virtual clock: a new name for every result
        save_profile("BENCHMARK");
    }
    state.counters["files"] = double(std::distance(fs::directory_iterator(profiles_folder),
                                                   fs::directory_iterator()));
    close_front_end();
}
BENCHMARK(save_one_profile)->Unit(benchmark::kMillisecond);

}  // namespace
