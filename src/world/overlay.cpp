#include "world/overlay.h"

#include <cmath>

#include "core/machine.h"
#include "media/blend_factors.h"
#include "media/media.h"

int32_t top_glass_image;
int32_t top_glass;
uint8_t top_glass_ready;

namespace {


}  // namespace

void init_overlay_globals() {
    top_glass_image = top_glass = 0;
    top_glass_ready = 0;
}

void load_top_glass(const std::string& path) {
    top_glass_image = load_sprite(path, true);
    if (top_glass_image == 0) return;
    top_glass = create_blended(top_glass_image);
    if (top_glass == 0) return;
    top_glass_ready = 1;
    // One pixel short of the screen and drawn from (1, 1), so it ends flush
    // with the right and bottom edges.
    zoom_blended(top_glass, int(std::lround(screen_width - 1.0f)),
                 int(std::lround(screen_height - 1.0f)));
}

void draw_top_glass(int source_blend, int destination_blend) {
    if (top_glass_ready != 1) return;
    if (source_blend != 0 || destination_blend != 0) set_blending(source_blend, destination_blend);
    draw_blended(top_glass, 1, 1, 255);
    set_blending(normal_source, normal_destination);
}

void present_full_screen(int mode, int sprite) {
    set_blending(normal_source, normal_destination);
    if (mode == 5) draw_blended(sprite, 0, 0, 255);
}
