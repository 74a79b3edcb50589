#include "frontend/game_controls.h"

#include "core/system_ini.h"

// The dialogs arrive later: until then pausing does nothing and quitting
// ends the program at once.
void pause_menu() {}
void quit_dialog() { end_program(); }
