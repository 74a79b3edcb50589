// The pause menu and the quit dialog, opened from a running game.
#pragma once

void pause_menu();
void quit_dialog();
