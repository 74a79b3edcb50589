// The end of a game: name entry and the scrolling high-score table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct score_row {
    std::string profile_name;
    int32_t profile_score = 0;
};
// Highest score first; at least one row once sorted.
extern std::vector<score_row> score_table;

void init_highscore_globals();

// Score and name entry, the result saved as a profile, then the table and
// the title menu; returns when a game is requested.
void enter_high_score();
// The table, then the title menu; returns when a game is requested.
void show_score_table();
// The table alone, until Return or two laps, then the game-over display when
// the player quit; the profiles are loaded again afterwards.
void score_table_screen();
// Builds score_table from profiles, emptying profiles. Of equal scores the
// one later in the list comes first.
void sort_score_table();
