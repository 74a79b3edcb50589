// The game's icon for the desktop menu: a corner of a labyrinth, blue and
// pink tiles around the yellow marker, on a rounded square. Drawn at each
// size rather than scaled, so the small ones stay sharp.
#include <cmath>

#include "canvas.h"
#include "pack.h"

namespace fs = std::filesystem;

namespace pack {
namespace {

constexpr colour wall{28, 30, 48};
constexpr colour floor_tile{92, 96, 118};
constexpr colour blue{70, 150, 238};
constexpr colour fixed_blue{36, 92, 196};
constexpr colour pink{236, 118, 188};

// The labyrinth corner, 5 x 5 cells: W wall, . floor, b blue, B fixed, p pink.
constexpr const char* cells[5] = {"BBb.W", "BBbW.", "bb.pp", ".W.pp", "W..pW"};

colour cell_colour(char kind) {
    switch (kind) {
    case 'W': return wall;
    case 'b': return blue;
    case 'B': return fixed_blue;
    case 'p': return pink;
    default: return floor_tile;
    }
}

canvas draw_icon(int size) {
    canvas c(size, size, wall);
    const double cell = size / 5.0;
    const int gap = std::max(1, size / 64);
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 5; ++column) {
            const int x0 = int(std::lround(column * cell)), y0 = int(std::lround(row * cell));
            const int x1 = int(std::lround((column + 1) * cell));
            const int y1 = int(std::lround((row + 1) * cell));
            c.fill(x0 + gap, y0 + gap, x1 - x0 - 2 * gap, y1 - y0 - 2 * gap,
                   cell_colour(cells[row][column]));
        }
    // The marker on the middle cell, as the game draws it.
    const double middle = 2.5 * cell, s = cell / 32.0;
    c.ring(middle, middle, 10.5 * s * 1.3, 15 * s * 1.3, {250, 210, 40});
    for (int spoke = 0; spoke < 4; ++spoke) {
        const double a = spoke * 3.14159265 / 2 + 0.4;
        c.line(middle, middle, middle + 13 * s * std::cos(a), middle + 13 * s * std::sin(a),
               std::max(1.5, 3.6 * s), {250, 150, 30});
    }
    c.disc(middle, middle, 4.5 * s, {250, 246, 190});
    return c;
}

// Saved with alpha: the corners outside the rounded square are clear.
bool save_icon(const canvas& c, const fs::path& file) {
    const int size = c.width();
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, size, size, 32, SDL_PIXELFORMAT_RGBA32);
    if (!surface) return save_png(nullptr, file);
    const double radius = size * 0.18;
    for (int y = 0; y < size; ++y) {
        auto* row = static_cast<uint8_t*>(surface->pixels) + y * surface->pitch;
        for (int x = 0; x < size; ++x) {
            // Distance past the rounded corner's arc, for a soft edge one pixel wide.
            const double cx = std::clamp(x + 0.5, radius, size - radius);
            const double cy = std::clamp(y + 0.5, radius, size - radius);
            const double outside = std::hypot(x + 0.5 - cx, y + 0.5 - cy) - radius;
            const colour& p = c.get(x, y);
            row[4 * x] = uint8_t(p.r);
            row[4 * x + 1] = uint8_t(p.g);
            row[4 * x + 2] = uint8_t(p.b);
            row[4 * x + 3] = uint8_t(std::lround(255 * std::clamp(0.5 - outside, 0.0, 1.0)));
        }
    }
    const bool ok = save_png(surface, file);
    SDL_FreeSurface(surface);
    return ok;
}

}  // namespace

bool write_icons(const fs::path& dist_dir) {
    bool ok = true;
    for (int size : {48, 64, 128, 256})
        ok = save_icon(draw_icon(size), dist_dir / "icons" / std::to_string(size) / "zorbel.png") &&
             ok;
    return ok;
}

}  // namespace pack
