#include "game/screenshot.h"

#include <cmath>

#include "core/machine.h"
#include "game/startup.h"
#include "media/media.h"

void save_screenshot(const std::string& name) {
    const int image = grab_sprite(2, 2, int(std::lround(screen_width - 2.0f)),
                                  int(std::lround(screen_height - 2.0f)));
    if (image == 0) return;
    save_sprite_bmp(image, name + ".bmp");
    free_sprite(image);
}
