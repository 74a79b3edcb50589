// The credits pages of start-up: three still pages, each held for a fixed
// time, with a sound at each change.
#include <string>

#include "core/configuration.h"
#include "core/fault_report.h"
#include "core/frame_end.h"
#include "core/machine.h"
#include "core/sound_list.h"
#include "frontend/menus.h"
#include "media/blend_factors.h"
#include "media/colours.h"
#include "media/media.h"
#include "media/random.h"
#include "text/text_engine.h"
#include "world/world.h"

namespace {


const std::string author = "THE ZORBEL TEAM";

// The first "#" of the configured name becomes 0 or 1; no "#", no image.
std::string credits_image_name() {
    const size_t mark = cfg_loadscreen.find('#');
    if (mark == std::string::npos) return "";
    return cfg_loadscreen.substr(0, mark) + std::to_string(random(1)) +
           cfg_loadscreen.substr(mark + 1);
}

void load_credits_background() {
    if (blended_exists(menu_background_3d)) free_blended(menu_background_3d);
    if (sprite_exists(menu_background)) free_sprite(menu_background);
    menu_background = menu_background_3d = 0;
    const std::string name = credits_image_name();
    set_default_colour_key(magenta);
    // It stays the menus' background until the title menu replaces it.
    menu_background = name.empty() ? 0 : load_sprite(name, true);
    if (menu_background != 0) menu_background_3d = create_blended(menu_background);
    if (blended_exists(menu_background_3d))
        zoom_blended(menu_background_3d, nearest_int(screen_width), nearest_int(screen_height));
}

// The game's name, faint, 101 times at random places behind the page.
void scatter_title() {
    for (int i = 0; i <= 100; ++i) {
        const float y = screen_height * float(random(100)) / 100.0f;
        const float x = screen_width * float(random(100)) / 100.0f;
        draw_text("  ZORBEL |", x, y, 0.5f, 0.0f, 20, 1.0f, 0, 0);
    }
}

void begin_page() {
    begin_blended_pass();
    clear_screen(black);
}

void draw_background() {
    set_blending(normal_source, normal_destination);
    draw_blended(menu_background_3d, 0, 0, 255);
}

void show_page(int ms) {
    end_blended_pass();
    present_frame();
    screen_frame_done();
    hold_ms(ms);
}

}  // namespace

void show_credits() {
    MARK_SITE("credits");
    read_mouse();
    set_mouse_position(0, 0);
    load_credits_background();

    begin_page();
    // The notices need their picture behind them: without one the page stays black.
    if (blended_exists(menu_background_3d)) {
        draw_background();
        scatter_title();
        const char* lines[] = {
            "  THIS IS AN ALPHA PREVIEW OF MY NEXT GAMEPROJECT.|",
            "  ALL RIGHTS RESERVED BY THE ZORBEL TEAM.|",
            "  GAME CODE AND GRAPHICS BY THE ZORBEL TEAM.|",
            "  GAME CONCEPT AND REALISATION: THE ZORBEL TEAM.|",
            "  USE THIS APP AT YOUR OWN RISK!|",
            "  GAME MUSIC MADE WITH ZORBEL-PACK, OUR SYNTHESISER.|",
            "  |",
            "  GRAPHICS AND MUSIC COPYRIGHT THE ZORBEL TEAM.|",
            "  FONT SYSTEM AND TEXT ENGINE: THE ZORBEL TEAM.|",
        };
        for (int i = 0; i < 9; ++i) draw_screen_text(lines[i], 0.1f, 0.3f + 0.05f * float(i), 1.0f, 255);
    }
    show_page(6000);

    play_sound_effect(cfg_grimblewood1, 0);
    begin_page();
    if (blended_exists(menu_background_3d)) draw_background();
    scatter_title();
    draw_screen_text("  " + author + " PRESENTS:|", 0.4f, 0.5f, 1.0f, 255);
    show_page(3000);

    play_sound_effect(cfg_grimblewood, 0);
    begin_page();
    if (blended_exists(menu_background_3d)) draw_background();
    scatter_title();
    draw_screen_text("  A ZORBEL TEAM GAME:|", 0.4f, 0.5f, 1.0f, 255);
    show_page(3000);
}
