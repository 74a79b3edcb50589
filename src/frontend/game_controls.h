// The pause menu and the quit dialog, opened from a running game.
#pragma once

#include <cstdint>

// A held Return or Escape opens one more dialog each frame, on top of the
// last; beyond this many pause menus no further one opens (a quit dialog
// may still open on top of the last).
constexpr int max_open_dialogs = 8;
extern int open_dialogs;

void init_game_controls_globals();

// Continue (X), restart the dimension (B), options (S), quit (Y).
void pause_menu();
// Quit (B), with the name entry first when there are points, or continue (X).
void quit_dialog();
