#include "content/io_control.h"

void init_content_globals() {
    init_tile_definition_globals();
    init_object_definition_globals();
    init_level_setup_globals();
}

// The drifting images arrive with their own loaders.
void build_floaters() {}
void build_menu_floaters() {}
