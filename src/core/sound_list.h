// The sound effects, loaded once at start-up and played by file name, and the
// list of music tracks, which are streamed only while they play.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct sound_effect {
    std::string path;        // folder + file name
    std::string file_name;   // the key of every look-up, exact and case-sensitive
    int32_t sound = 0;       // 0 when loading failed
    uint8_t loaded = 0;
};

struct music_track {
    std::string path;
    std::string file_name;
    int32_t sound = 0;       // the streamed track while it plays, else 0
};

extern std::vector<sound_effect> sound_effects;
extern std::vector<music_track> music_tracks;

// Replays and tests listen here: called with the name of every effect started.
using sound_effect_listener = void (*)(const std::string& file_name);
extern sound_effect_listener sound_effect_heard;

void init_sound_list_globals();

void load_sound_effects();
void load_music_list();
// loop 1 repeats the sound until it is stopped; a name in no entry plays nothing.
void play_sound_effect(const std::string& name, int loop);
void free_music();

extern uint8_t music_on;   // the music option: 1 on, 0 off
// A track by file name, or with "" one drawn from the level's random sequence.
void play_music(const std::string& name);
