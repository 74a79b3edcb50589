#include "frontend/menus.h"

#include "content/sound_list.h"
#include "core/startup.h"
#include "media/media.h"
#include "media/random.h"

uint8_t screen_state = 0;
uint8_t music_on = 1;

void init_frontend_globals() {
    screen_state = 0;
    music_on = 1;
}

// The front end arrives later; until then start-up goes straight into play.
void show_credits() {}
void title_menu() { screen_state = 35; }
void options_menu() {}
void scan_profiles() {}
bool init_profiles() { return true; }

void reset_game_counters() {
    dimension = 1;
    loaded_dimension = 0;
    // score and level_score go back to 0 here once the world keeps them.
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
