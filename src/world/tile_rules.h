// The tile rules: what the player, the neighbourhood and the enemies do to
// the tiles, with the points and the critical mass that go with it.
#pragma once

#include <cstdint>

// The player's cell this frame: collect what lies there, then paint it.
void player_step();
// The player takes the object of child slot `slot` of cell (x, y).
void collect_child(int32_t x, int32_t y, int32_t slot);
// Floor, green or pink under the player turns blue.
void paint_under_player(int32_t x, int32_t y);
// Hardcore rule: a player walled in by blue and wall ends the game. True
// when it did.
bool check_trapped(int32_t x, int32_t y);

// The neighbourhood rule: a blue (pink) cell among blue or fixed (pink or
// fixed pink) neighbours becomes fixed (fixed pink). Run for every visible
// cell every frame.
void fix_blue_tile(int32_t x, int32_t y);
void fix_pink_tile(int32_t x, int32_t y);

// The enemies' effects, at an enemy's pixel position.
void paint_pink(int32_t px, int32_t py);
void erase_tile(int32_t px, int32_t py);
// An enemy sets off the bombs lying on cell (x, y).
void trigger_bombs(int32_t x, int32_t y);

// Level-wide effects.
void switch_tiles();
void explode_bomb();
