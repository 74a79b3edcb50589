// The front-end screens: credits, title menu, options and music, profiles.
#pragma once

#include <cstdint>
#include <string>

// Which screen runs: 30 title, 23 game requested, 32 options, 35 playing,
// 34 name entry, 31 high-score table.
extern uint8_t screen_state;
extern uint8_t music_on;   // the music option: 1 on, 0 off

void init_frontend_globals();

void show_credits();
void title_menu();
void options_menu();
void scan_profiles();
bool init_profiles();

// Counters of a fresh game, set by the title menu's start action.
void reset_game_counters();

// Stops the music and streams `name` from the music list, looped; the empty
// name picks a track at random. Nothing plays while the music is off.
void play_music(const std::string& name);
