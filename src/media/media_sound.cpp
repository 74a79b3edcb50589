// Sound effects (Mix_Chunk) and streamed music (Mix_Music).
#include "media/media_internal.h"

namespace media {

namespace {

// Stops every channel playing the chunk: a sound may be playing more than once.
void halt_chunk(Mix_Chunk* chunk) {
    int channels = Mix_AllocateChannels(-1);
    for (int channel = 0; channel < channels; ++channel)
        if (Mix_Playing(channel) && Mix_GetChunk(channel) == chunk) Mix_HaltChannel(channel);
}

}  // namespace

void close_sound_objects() {
    media_state& s = state();
    if (s.audio) {
        Mix_HaltChannel(-1);
        Mix_HaltMusic();
    }
    s.sounds.each([](sound_record& sound) { Mix_FreeChunk(sound.chunk); });
    s.music.each([](music_record& track) { Mix_FreeMusic(track.music); });
    s.sounds.clear();
    s.music.clear();
}

}  // namespace media

using namespace media;

// A sound effect lasts seconds: a file far larger is none, and the decoder
// would read the whole of it into memory first.
constexpr long long sound_file_limit = 64LL << 20;

int load_sound(const std::string& path) {
    media_state& s = state();
    if (!s.audio) return 0;
    if (file_size(path) > sound_file_limit) return 0;
    // The file is opened and closed here: SDL_mixer 2.6 keeps the handle of a
    // file it cannot decode (found by the sanitizer build).
    SDL_RWops* file = SDL_RWFromFile(native_path(path).c_str(), "rb");
    if (!file) return 0;
    Mix_Chunk* chunk = Mix_LoadWAV_RW(file, 0);
    SDL_RWclose(file);
    if (!chunk) return 0;
    return s.sounds.add({chunk});
}

void play_sound(int sound, bool loop) {
    sound_record* record = state().sounds.find(sound);
    if (!record) return;
    // Any free channel; a looping sound keeps its channel until it is stopped.
    Mix_PlayChannel(-1, record->chunk, loop ? -1 : 0);
}

void stop_sound(int sound) {
    sound_record* record = state().sounds.find(sound);
    if (record) halt_chunk(record->chunk);
}

bool sound_exists(int sound) { return state().sounds.find(sound) != nullptr; }

void free_sound(int sound) {
    media_state& s = state();
    sound_record* record = s.sounds.find(sound);
    if (!record) return;
    halt_chunk(record->chunk);
    Mix_FreeChunk(record->chunk);
    s.sounds.erase(sound);
}

int load_music(const std::string& path) {
    media_state& s = state();
    if (!s.audio) return 0;
    Mix_Music* music = Mix_LoadMUS(native_path(path).c_str());
    if (!music) return 0;
    return s.music.add({music});
}

void play_music_stream(int music, bool loop) {
    music_record* record = state().music.find(music);
    if (record) Mix_PlayMusic(record->music, loop ? -1 : 1);
}

void stop_music_stream() {
    if (state().audio) Mix_HaltMusic();
}

bool music_exists(int music) { return state().music.find(music) != nullptr; }

void free_music_stream(int music) {
    media_state& s = state();
    music_record* record = s.music.find(music);
    if (!record) return;
    Mix_FreeMusic(record->music);   // halts it first when it is the one playing
    s.music.erase(music);
}
