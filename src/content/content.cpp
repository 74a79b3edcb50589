#include "content/content.h"

void init_content_globals() {
    init_tile_definition_globals();
    init_object_definition_globals();
    init_level_setup_globals();
}
