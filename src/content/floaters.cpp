#include "content/floaters.h"

#include <cmath>
#include <string>
#include <vector>

#include "core/configuration.h"
#include "core/machine.h"
#include "media/blend_factors.h"
#include "media/colours.h"
#include "media/media.h"
#include "media/random.h"
#include "world/world.h"

namespace {


void forget(std::vector<floater>& list) {
    for (const floater& f : list)
        if (blended_exists(f.sprite)) free_blended(f.sprite);
    list.clear();
}

// Every copy loads its image anew and owns its sprite. Start places are
// drawn from 0..width and 0..height (both ends included).
void build(std::vector<floater>& list, const std::string& folder, int32_t copies_less_one,
           float width, float height) {
    forget(list);
    const int32_t high = nearest_int(height), wide = nearest_int(width);
    for (int32_t pass = 0; pass <= copies_less_one; ++pass) {
        // Always PNG, whatever the tiles and objects are made of.
        const int scan = scan_folder(folder, "*.png");
        if (scan == 0) continue;
        while (next_entry(scan)) {
            if (entry_is_folder(scan)) continue;
            floater f;
            // Black is the drifting images' transparent ground.
            set_default_colour_key(black);
            f.sprite = create_blended(load_sprite(folder + entry_name(scan), true));
            f.y = float(random(high));
            f.x = float(random(wide));
            f.dx = float(random(5)) + 1.0f;
            f.dy = float(random(5)) + 1.0f;
            list.push_back(f);
        }
        end_scan(scan);
    }
}

}  // namespace

void build_floaters() {
    build(floaters, cfg_egfxpath, cfg_egfxmax, screen_width, screen_height);
}

void build_menu_floaters() {
    // Menu images start within the top-left 80 % of the screen.
    build(menu_floaters, cfg_scregfxpath, cfg_scregfxmax, screen_width * 0.8f,
          screen_height * 0.8f);
}

void draw_menu_floaters(int mode) {
    if (mode == 1)
        set_blending(light_source, light_destination);
    else
        set_blending(normal_source, normal_destination);
    for (floater& f : menu_floaters) {
        if (!blended_exists(f.sprite)) continue;
        if (random(50) == 0) {
            // The first draw of each pair is the one subtracted from.
            const int32_t dx_from = random(10);
            f.dx = float(dx_from - random(10));
            const int32_t dy_from = random(10);
            f.dy = float(dy_from - random(10));
        }
        if (f.x + f.dx > screen_width || f.x + f.dx < 1) f.dx = -f.dx;
        if (f.y + f.dy > screen_height || f.y + f.dy < 1) f.dy = -f.dy;
        f.x += f.dx;
        f.y += f.dy;
        draw_blended(f.sprite, nearest_int(f.x), nearest_int(f.y), 255);
    }
    set_blending(normal_source, normal_destination);
}
