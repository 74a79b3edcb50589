// The front-end screens: credits, title menu, profiles.
#pragma once

void show_credits();
void title_menu();
void scan_profiles();
bool init_profiles();
