#include "core/sound_list.h"

#include "core/configuration.h"
#include "media/media.h"
#include "media/random.h"

std::vector<sound_effect> sound_effects;
std::vector<music_track> music_tracks;
sound_effect_listener sound_effect_heard = nullptr;
uint8_t music_on;

namespace {

void free_sound_effects() {
    for (sound_effect& effect : sound_effects)
        if (effect.loaded == 1) free_sound(effect.sound);
    sound_effects.clear();
}

std::string file_part(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

void init_sound_list_globals() {
    // The media layer may already be gone (tests restart it): handles are dropped, not freed.
    sound_effects.clear();
    music_tracks.clear();
    sound_effect_heard = nullptr;
    music_on = 1;
}

void load_sound_effects() {
    free_sound_effects();
    const int scan = scan_folder(cfg_soundfxpath, "*.ogg");
    if (scan == 0) return;
    while (next_entry(scan)) {
        if (entry_is_folder(scan)) continue;
        sound_effect effect;
        effect.file_name = entry_name(scan);
        effect.path = cfg_soundfxpath + effect.file_name;
        effect.sound = load_sound(effect.path);
        effect.loaded = effect.sound != 0 ? 1 : 0;
        sound_effects.push_back(std::move(effect));
    }
    end_scan(scan);
}

void load_music_list() {
    free_music();
    music_tracks.clear();
    const int scan = scan_folder(cfg_ingamemusic, "*.ogg");
    if (scan == 0) return;
    while (next_entry(scan)) {
        if (entry_is_folder(scan)) continue;
        music_track track;
        track.path = cfg_ingamemusic + entry_name(scan);
        track.file_name = file_part(track.path);
        music_tracks.push_back(std::move(track));
    }
    end_scan(scan);
}

void play_sound_effect(const std::string& name, int loop) {
    // The first entry of that name decides, even when it failed to load.
    for (const sound_effect& effect : sound_effects) {
        if (effect.file_name != name) continue;
        if (effect.loaded != 1) return;
        play_sound(effect.sound, loop == 1);
        if (sound_effect_heard) sound_effect_heard(effect.file_name);
        return;
    }
}

void free_music() {
    for (music_track& track : music_tracks) {
        if (!music_exists(track.sound)) continue;
        stop_music_stream();
        free_music_stream(track.sound);
        track.sound = 0;
    }
}

void play_music(const std::string& name) {
    if (music_on != 1) return;
    free_music();
    const int32_t count = int32_t(music_tracks.size());
    int32_t chosen = -1;
    if (name.empty()) {
        // Walk round the list, stopping at each track with chance 1 in count + 1:
        // earlier tracks come up more often. The draws belong to the level's
        // random sequence, so even an empty list draws once.
        int32_t at = -1;
        do {
            if (count > 0) at = (at + 1) % count;
        } while (random(count) != 0);
        chosen = at;
    } else {
        for (int32_t i = 0; i < count; ++i) {
            if (music_tracks[size_t(i)].file_name != name) continue;
            chosen = i;
            break;
        }
    }
    if (chosen < 0) return;
    music_track& track = music_tracks[size_t(chosen)];
    track.sound = load_music(track.path);
    if (track.sound != 0) play_music_stream(track.sound, true);
}
