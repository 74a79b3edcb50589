// The shipped pack on a design-sized headless screen, as far as start-up has
// opened the window and made the world's tables; each benchmark loads the
// content it needs on top.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "content/content.h"
#include "core/configuration.h"
#include "core/screens.h"
#include "game/startup.h"
#include "game/world_tables.h"
#include "media/media.h"
#include "text/font_engine.h"
#include "world/level_state.h"
#include "world/overlay.h"
#include "world/world.h"

inline void open_shipped_screen() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    const std::string source = __FILE__;
    const std::string data = source.substr(0, source.rfind('/')) + "/../data";
    if (chdir(data.c_str()) != 0) std::abort();
    set_virtual_clock(true);
    set_fake_desktop(4096, 4096);
    init_globals();
    read_configuration(ini_path);
    register_decoders();
    measure_screen();
    open_game_window();
    create_world_tables();
}

// The shipped game at its design size, started as far as play: content,
// drifting images, font, glass; then the given level is built.
inline void open_shipped_game(int32_t level) {
    open_shipped_screen();
    build_tile_graphics();
    clear_object_lists();
    load_object_definitions();
    load_sound_effects();
    build_floaters();
    load_system_font();
    load_top_glass(cfg_topscreen);
    screen_state = 35;
    load_level_base(cfg_selfcreatebase);
    dimension = level;
    build_next_level();
    loaded_dimension = dimension;
}
