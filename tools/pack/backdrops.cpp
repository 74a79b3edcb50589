// Light drawn over and under the play screen: the drifting images behind the
// labyrinth and the menus, and the pane of glass laid over the play screen.
//
// All of them are drawn with additive light (one, source alpha): what they
// show is added to what lies beneath. So their dark parts do nothing, and
// the images stay dim enough that the tiles and the display keep their
// colours. The darkest value used is 1, never 0: the game treats pure black
// (and white, and magenta) as transparent, and a picture full of clear texels
// is cut into a quad per row when drawn, where a clear-free one costs one.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "canvas.h"
#include "world_data.h"

namespace fs = std::filesystem;

namespace pack {
namespace {

constexpr double pi = 3.14159265358979;

// A colour scaled by `light` (0..1), never below the darkest value.
colour lit(colour c, double light) {
    auto channel = [light](int v) {
        return std::clamp(int(std::lround(v * std::clamp(light, 0.0, 1.0))), 1, 254);
    };
    return {channel(c.r), channel(c.g), channel(c.b)};
}

// Brightness falls off smoothly from the centre to the edge of the radius.
double glow(double distance, double radius) {
    if (distance >= radius) return 0.0;
    const double t = 1.0 - distance / radius;
    return t * t * (3.0 - 2.0 * t);
}

canvas dark(int width, int height) { return canvas(width, height, {1, 1, 1}); }

// A soft round mote of light with a brighter core.
canvas mote(int size, colour tint, double strength) {
    canvas c = dark(size, size);
    const double centre = size / 2.0, radius = size / 2.0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double d = std::hypot(x + 0.5 - centre, y + 0.5 - centre);
            const double light = 0.55 * glow(d, radius) + 0.45 * glow(d, radius * 0.35);
            c.set(x, y, lit(tint, light * strength));
        }
    return c;
}

// A four-pointed spark: two thin crossed rays over a small glow.
canvas spark(int size, colour tint, double strength) {
    canvas c = dark(size, size);
    const double centre = size / 2.0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double dx = std::abs(x + 0.5 - centre), dy = std::abs(y + 0.5 - centre);
            const double rays = glow(dx, centre) * glow(dy, 1.6) + glow(dy, centre) * glow(dx, 1.6);
            const double core = glow(std::hypot(dx, dy), centre * 0.45);
            c.set(x, y, lit(tint, std::min(1.0, rays + core) * strength));
        }
    return c;
}

// A faint ring, like a bubble in the dark.
canvas ring(int size, colour tint, double strength) {
    canvas c = dark(size, size);
    const double centre = size / 2.0, radius = size / 2.0 - 3.0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double d = std::hypot(x + 0.5 - centre, y + 0.5 - centre);
            // Lit more on the upper left, as if from one light.
            const double side = 0.6 + 0.4 * std::cos(std::atan2(y - centre, x - centre) + 2.4);
            c.set(x, y, lit(tint, glow(std::abs(d - radius), 2.6) * side * strength));
        }
    return c;
}

// A painted tile seen as a glowing diamond: the menus' own drifters.
canvas diamond(int size, colour tint, double strength) {
    canvas c = dark(size, size);
    const double centre = size / 2.0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double d = std::abs(x + 0.5 - centre) + std::abs(y + 0.5 - centre);
            const double edge = glow(std::abs(d - centre * 0.7), 2.2);
            const double fill = glow(d, centre * 0.75) * 0.45;
            c.set(x, y, lit(tint, std::min(1.0, edge + fill) * strength));
        }
    return c;
}

// The pane of glass: faint scan lines, a rim where the glass meets its frame,
// two broad glare streaks over the upper left and a soft sheen at the bottom
// right. Everything lies between 1 and about 30 of 255, a touch blue.
canvas glass(int width, int height) {
    canvas c = dark(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double u = (x + 0.5) / width, v = (y + 0.5) / height;
            double light = 0.0;
            if (y % 3 == 0) light += 2.0;
            // The rim: brightest at the very edge, gone a few pixels in.
            const double edge = std::min(std::min(x + 0.5, width - x - 0.5),
                                         std::min(y + 0.5, height - y - 0.5));
            light += 16.0 * glow(edge, 10.0) + 4.0 * glow(edge, 48.0);
            // Glare: bands across the pane at a slant, fading towards the middle.
            const double slant = u * 0.8 + v;
            const double fade = glow(std::hypot(u, v), 1.1);
            light += 9.0 * glow(std::abs(slant - 0.34), 0.07) * fade;
            light += 5.0 * glow(std::abs(slant - 0.46), 0.025) * fade;
            light += 6.0 * glow(std::hypot(u - 1.0, v - 1.0), 0.35);
            c.set(x, y, lit({200, 212, 255}, light / 200.0));
        }
    return c;
}

struct image {
    const char* name;
    canvas (*draw)();
};

const std::vector<image>& play_drifters() {
    static const std::vector<image> images = {
        {"mote_cyan.png", [] { return mote(40, {60, 200, 230}, 0.55); }},
        {"mote_violet.png", [] { return mote(28, {170, 90, 240}, 0.5); }},
        {"ring_blue.png", [] { return ring(56, {90, 140, 255}, 0.45); }},
        {"spark_amber.png", [] { return spark(24, {255, 190, 80}, 0.6); }},
    };
    return images;
}

const std::vector<image>& menu_drifters() {
    static const std::vector<image> images = {
        {"diamond_blue.png", [] { return diamond(44, {70, 120, 255}, 0.7); }},
        {"diamond_pink.png", [] { return diamond(36, {255, 90, 190}, 0.7); }},
        {"mote_gold.png", [] { return mote(48, {255, 200, 90}, 0.5); }},
        {"spark_white.png", [] { return spark(30, {230, 235, 255}, 0.75); }},
    };
    return images;
}

bool write_images(const fs::path& folder, const std::vector<image>& images) {
    bool ok = true;
    for (const image& i : images) ok = i.draw().save(folder / i.name) && ok;
    return ok;
}

}  // namespace

bool write_backdrops(const fs::path& data_dir) {
    bool ok = write_images(data_dir / "GFX" / "FLOAT", play_drifters());
    ok = write_images(data_dir / "GFX" / "MENUFLOAT", menu_drifters()) && ok;
    // Drawn at the design size, so its lines meet the screen's pixels.
    ok = glass(1024, 768).save(data_dir / "GFX" / "glass.png") && ok;
    return ok;
}

}  // namespace pack
