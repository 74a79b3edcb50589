#include "game/world_tables.h"

#include "core/configuration.h"
#include "core/error_codes.h"
#include "media/media.h"
#include "world/enemy_ai.h"
#include "world/labyrinth.h"
#include "world/level_state.h"
#include "world/object_definitions.h"
#include "world/tile_definitions.h"
#include "world/world.h"

// Sound and music lists join when their loaders arrive.
void create_world_tables() {
    world_matrix.recreate();
    floaters.clear();
    menu_floaters.clear();
    edge_work_list.clear();
    painters.clear();
    erasers.clear();
    world_objects.clear();
    object_definitions.clear();
    tile_graphics.clear();
}

void ensure_high_score_file(int selector) {
    if (selector != 29) return;
    int file = open_read_write(cfg_highscore + cfg_highscore_file);
    if (file == 0) {
        raise_error(error_silent);
        return;
    }
    close_file(file);
}
