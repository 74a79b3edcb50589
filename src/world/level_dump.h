// A level as plain text: its size, counters, start, map, objects and enemies.
// Golden files and the developer tool use it to show what a build produced.
#pragma once

#include <cstdint>
#include <string>

// One character per tile kind: # wall, . floor, g green, ~ water, ? anything else.
char tile_symbol(const std::string& kind);
// Set the player to (-1, -1) before a build to have "player none" when nothing was dug.
std::string dump_level();

// FNV-1a over the kind of every cell of the level: replays compare it.
uint32_t matrix_checksum();
// Where a replayed game ended: frames, dimension, score, clock, checksum.
std::string replay_summary_line();
