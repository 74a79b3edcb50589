// The drifting images: small pictures wandering behind the play screen
// (floaters, drawn by the world) and behind the title menu (menu_floaters).
#pragma once

// Each image of the folder once per copy (EGFXMAX + 1 copies, SCREGFXMAX + 1
// for the menu), every copy at a random place, drifting down and right.
void build_floaters();
void build_menu_floaters();
// Mode 1 adds the images' light to what lies beneath; others blend normally.
void draw_menu_floaters(int mode);
