// The simple player: a newcomer's way through the pack's first levels, played
// on the real program through its input script. It is the pack's measure, not a
// test of the rules.
#pragma once

#include <string>
#include <vector>

// One dimension of a pack as built, and how the simple player fared on it.
struct dimension_result {
    int dimension = 0;
    bool played = false;          // the run reached the level at all
    int columns = 0, rows = 0;
    int critical_mass = 0;        // when play begins
    double clock_seconds = 0;     // the whole clock, at 60 frames a second
    int painters = 0, erasers = 0;
    int start_objects = 0;        // taken before the first key: they lay on the start cell
    int picture_percent = 0;      // of the screen that the level's cells fill at the start
    bool won = false;
    double seconds_left = 0;      // of the clock, when won
    int mass_left = 0;            // critical mass still to fix, when lost
};

// Plays dimensions first..last of the pack in `dir`, each in a run of its own
// from the title menu; an idle player presses nothing.
std::vector<dimension_result> play_dimensions(const std::string& dir, int first, int last,
                                              bool idle);
// "dimension 1: won, 52.0 s of 95.0 s left (55%)".
std::string describe_result(const dimension_result& result);
// docs/pack.md: the table of the pack's first dimensions.
std::string pack_table(const std::vector<dimension_result>& results);
