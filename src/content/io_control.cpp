#include "content/io_control.h"

void init_content_globals() {
    init_tile_definition_globals();
    init_object_definition_globals();
    init_level_setup_globals();
}

// Sounds, music and the drifting images arrive with their own loaders.
void load_sound_effects() {}
void load_music_list() {}
void build_floaters() {}
void build_menu_floaters() {}
void play_sound_effect(const std::string&, int) {}
