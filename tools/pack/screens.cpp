// The full-screen pictures of the front end: the menus' background and the
// two pictures of the credits pages (one of them is chosen at each start).
//
// Texts are drawn over them in a warm cream, so they stay dark and cool: a
// labyrinth of tiles seen from above, some painted blue and pink as in play,
// fading into the dark where the titles and prompts stand.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "canvas.h"
#include "screens.h"

namespace fs = std::filesystem;

namespace pack {
namespace {

constexpr int width = 1024, height = 768;

double smooth(double edge0, double edge1, double x) {
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

colour scaled(colour c, double light) {
    auto channel = [light](int v) { return std::clamp(int(std::lround(v * light)), 1, 254); };
    return {channel(c.r), channel(c.g), channel(c.b)};
}

colour added(colour a, colour b) {
    return {std::min(a.r + b.r, 254), std::min(a.g + b.g, 254), std::min(a.b + b.b, 254)};
}

// A labyrinth carved by a depth-first walk over a grid of cells; true = floor.
// The walk draws from a small fixed generator, so the same salt gives the same maze.
std::vector<std::vector<bool>> labyrinth(int columns, int rows, uint32_t salt) {
    std::vector<std::vector<bool>> floor(size_t(columns), std::vector<bool>(size_t(rows), false));
    uint32_t state = salt * 2654435761u + 12345u;
    auto next = [&state](int n) {
        state = state * 1664525u + 1013904223u;
        return int((state >> 16) % uint32_t(n));
    };
    std::vector<std::pair<int, int>> stack = {{1, 1}};
    floor[1][1] = true;
    while (!stack.empty()) {
        const auto [x, y] = stack.back();
        const int dx[4] = {2, -2, 0, 0}, dy[4] = {0, 0, 2, -2};
        std::vector<int> open;
        for (int k = 0; k < 4; ++k) {
            const int nx = x + dx[k], ny = y + dy[k];
            if (nx > 0 && ny > 0 && nx < columns - 1 && ny < rows - 1 && !floor[size_t(nx)][size_t(ny)])
                open.push_back(k);
        }
        if (open.empty()) {
            stack.pop_back();
            continue;
        }
        const int k = open[size_t(next(int(open.size())))];
        floor[size_t(x + dx[k] / 2)][size_t(y + dy[k] / 2)] = true;
        floor[size_t(x + dx[k])][size_t(y + dy[k])] = true;
        stack.push_back({x + dx[k], y + dy[k]});
    }
    // A few extra openings, so it reads as a level rather than a puzzle print.
    for (int i = 0; i < columns * rows / 14; ++i) {
        const int x = 1 + next(columns - 2), y = 1 + next(rows - 2);
        floor[size_t(x)][size_t(y)] = true;
    }
    return floor;
}

struct paint_spot {
    double x, y, radius;   // in pixels
    colour tile;
};

struct scene {
    int cell;                    // tile size in pixels
    uint32_t salt;
    colour ground_top, ground_bottom;
    std::vector<paint_spot> spots;
    double dark_x, dark_y;       // where the texts stand: darkest there
    double dark_radius;
};

canvas draw_scene(const scene& s) {
    canvas c(width, height, {1, 1, 1});
    const int columns = width / s.cell + 2, rows = height / s.cell + 2;
    const auto floor = labyrinth(columns | 1, rows | 1, s.salt);
    const colour wall = {16, 18, 34}, plain = {34, 38, 62};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int cx = x / s.cell, cy = y / s.cell;
            const int ix = x % s.cell, iy = y % s.cell;
            const double v = double(y) / height;
            colour ground = mix(s.ground_top, s.ground_bottom, v);
            colour pixel = ground;
            if (floor[size_t(cx)][size_t(cy)]) {
                colour tile = plain;
                // Paint spreads from its spots with a ragged edge, tile by tile.
                const double px = (cx + 0.5) * s.cell, py = (cy + 0.5) * s.cell;
                for (const paint_spot& spot : s.spots) {
                    const double d = std::hypot(px - spot.x, py - spot.y) /
                                     (spot.radius * (0.75 + 0.5 * hash_noise(cx, cy, s.salt)));
                    if (d < 1.0) tile = d < 0.45 ? shade(spot.tile, 14) : spot.tile;
                }
                // A tile with a bevel: lit from the upper left, a dark gap around.
                const int gap = 2;
                if (ix < gap || iy < gap) {
                    pixel = ground;
                } else {
                    pixel = tile;
                    if (ix < gap + 2 || iy < gap + 2) pixel = shade(tile, 12);
                    if (ix >= s.cell - 2 || iy >= s.cell - 2) pixel = shade(tile, -10);
                    pixel = mix(pixel, ground, 0.25 * hash_noise(x / 3, y / 3, s.salt + 7));
                }
            } else {
                pixel = mix(wall, ground, 0.5);
                if ((ix + iy) % 8 == 0) pixel = shade(pixel, 4);   // a faint brick grain
            }
            // Dark where the texts stand, brighter towards the edges; a glow
            // over each painted patch.
            const double text_dark =
                smooth(0.0, 1.0, std::hypot((x - s.dark_x) / s.dark_radius,
                                            (y - s.dark_y) / (s.dark_radius * 0.75)));
            const double vignette = 1.0 - 0.35 * smooth(0.55, 1.0,
                                                        std::hypot(x / double(width) - 0.5,
                                                                   y / double(height) - 0.5) * 1.6);
            pixel = scaled(pixel, (0.35 + 0.65 * text_dark) * vignette);
            for (const paint_spot& spot : s.spots) {
                const double g = std::exp(-std::pow(std::hypot(x - spot.x, y - spot.y) /
                                                        (spot.radius * 1.3), 2.0));
                pixel = added(pixel, scaled(spot.tile, 0.18 * g));
            }
            c.set(x, y, pixel);
        }
    return c;
}

}  // namespace

bool write_screens(const fs::path& data_dir) {
    const fs::path gfx = data_dir / "GFX";
    const colour blue_paint = {26, 52, 124}, pink_paint = {96, 26, 80};
    // The menus: titles and prompts on the left, the table and options on
    // the right, the ticker along the bottom; the paint keeps to the corners.
    const scene menu = {32, 11, {6, 8, 22}, {12, 9, 26},
                        {{950, 60, 150, blue_paint}, {70, 740, 120, pink_paint},
                         {1000, 760, 90, pink_paint}},
                        520, 400, 640};
    // The credits: the notices run down the left and middle of the page.
    const scene blue = {24, 23, {4, 8, 20}, {8, 12, 30},
                        {{930, 90, 170, blue_paint}, {980, 700, 110, blue_paint},
                         {50, 60, 100, pink_paint}},
                        480, 380, 620};
    const scene pink = {40, 37, {14, 6, 20}, {8, 6, 18},
                        {{920, 690, 190, pink_paint}, {80, 80, 110, pink_paint},
                         {980, 70, 100, blue_paint}},
                        480, 380, 620};
    bool ok = draw_scene(menu).save(gfx / "menu.png");
    ok = draw_scene(blue).save(gfx / "credits0.png") && ok;
    ok = draw_scene(pink).save(gfx / "credits1.png") && ok;
    return ok;
}

}  // namespace pack
