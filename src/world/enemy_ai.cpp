#include "world/enemy_ai.h"

#include <cmath>

#include "core/system_ini.h"
#include "media/media.h"
#include "world/world.h"

std::vector<enemy> painters, erasers;

void init_enemy_globals() {
    painters.clear();
    erasers.clear();
}

void draw_enemies(std::vector<enemy>& list) {
    for (enemy& e : list) {
        if (e.spin != 0) rotate_blended(e.sprite, float(e.spin));
        if (e.blend_src > 0 || e.blend_dst > 0)
            set_blending(e.blend_src, e.blend_dst);
        else
            set_blending(5, 6);
        draw_blended(e.sprite, int(std::lround(float(e.x) + e.offset_x - view_x * tile_width)),
                     int(std::lround(float(e.y) + e.offset_y - view_y * tile_height)), e.alpha);
        set_blending(5, 6);
    }
}
