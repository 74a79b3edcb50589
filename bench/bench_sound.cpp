#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "core/configuration.h"
#include "core/sound_list.h"
#include "frontend/menus.h"
#include "media/media.h"

namespace {

const std::string shipped =
    (std::filesystem::path(__FILE__).parent_path().parent_path() / "data").string();

void start_sound() {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    start_sound_service();
    register_decoders();
}

// What starting a music track costs the frame that asks for it: the old
// track stops, the new one is opened and begins to stream.
void start_music_track(benchmark::State& state) {
    start_sound();
    cfg_ingamemusic = shipped + "/MUSIC/";
    load_music_list();
    music_on = 1;
    const std::string names[] = {"ingame1.ogg", "ingame2.ogg"};
    size_t turn = 0;
    for (auto _ : state) play_music(names[turn++ % 2]);
    free_music();
    shutdown_media();
}
BENCHMARK(start_music_track)->Unit(benchmark::kMicrosecond);

// A sound effect by name, as the tile rules play several a frame.
void play_effect_by_name(benchmark::State& state) {
    start_sound();
    cfg_soundfxpath = shipped + "/SFX/";
    load_sound_effects();
    for (auto _ : state) play_sound_effect("timer.ogg", 0);
    shutdown_media();
}
BENCHMARK(play_effect_by_name)->Unit(benchmark::kMicrosecond);

}  // namespace
