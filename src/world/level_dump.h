// A level as plain text: the map, the counters, the objects and the enemies.
// Golden files and the developer tool use it to show what a build produced.
#pragma once

#include <string>

// One character per tile kind: # wall, . floor, , green, ~ water, b blue,
// B fixed, p pink, P fixed pink, ? anything else; a blank for an inactive cell.
char tile_symbol(const std::string& kind);
std::string dump_level();
