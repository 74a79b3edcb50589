// A small pixel canvas for drawing the pack's tile and object images. All
// randomness comes from a fixed hash, so every run draws the same bytes.
#pragma once

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "pack.h"

namespace pack {

struct colour {
    int r = 0, g = 0, b = 0;
};

inline colour mix(colour a, colour b, double t) {
    auto lerp = [t](int x, int y) { return int(std::lround(x + (y - x) * t)); };
    return {lerp(a.r, b.r), lerp(a.g, b.g), lerp(a.b, b.b)};
}

inline colour shade(colour c, int amount) {
    auto clamp = [](int v) { return std::clamp(v, 0, 254); };   // never pure white
    return {clamp(c.r + amount), clamp(c.g + amount), clamp(c.b + amount)};
}

// Deterministic noise in 0..1 for a pixel and a salt.
inline double hash_noise(int x, int y, uint32_t salt) {
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + salt * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return double(h & 0xFFFF) / 65535.0;
}

class canvas {
public:
    canvas(int width, int height, colour ground)
        : width_(width), height_(height), pixels_(size_t(width * height), ground) {}

    int width() const { return width_; }
    int height() const { return height_; }

    void set(int x, int y, colour c) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[size_t(y * width_ + x)] = c;
    }
    colour get(int x, int y) const { return pixels_[size_t(y * width_ + x)]; }

    // Every pixel as a 2 x 2 block: a figure drawn on the small grid, as crisp
    // as the tiles the game zooms to twice their size.
    canvas doubled() const {
        canvas big(2 * width_, 2 * height_, colour{});
        for (int y = 0; y < big.height_; ++y)
            for (int x = 0; x < big.width_; ++x) big.set(x, y, get(x / 2, y / 2));
        return big;
    }

    void fill(int x0, int y0, int w, int h, colour c) {
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x) set(x, y, c);
    }
    // A frame `thickness` pixels wide just inside the rectangle.
    void frame(int x0, int y0, int w, int h, int thickness, colour c) {
        fill(x0, y0, w, thickness, c);
        fill(x0, y0 + h - thickness, w, thickness, c);
        fill(x0, y0, thickness, h, c);
        fill(x0 + w - thickness, y0, thickness, h, c);
    }
    void disc(double cx, double cy, double radius, colour c) {
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                if (std::hypot(x + 0.5 - cx, y + 0.5 - cy) <= radius) set(x, y, c);
    }
    void ring(double cx, double cy, double inner, double outer, colour c) {
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
                if (d >= inner && d <= outer) set(x, y, c);
            }
    }
    // A thick straight stroke from (x0, y0) to (x1, y1).
    void line(double x0, double y0, double x1, double y1, double thickness, colour c) {
        const double length = std::max(1e-6, std::hypot(x1 - x0, y1 - y0));
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                double px = x + 0.5, py = y + 0.5;
                double t = std::clamp(((px - x0) * (x1 - x0) + (py - y0) * (y1 - y0)) /
                                          (length * length),
                                      0.0, 1.0);
                double d = std::hypot(px - (x0 + t * (x1 - x0)), py - (y0 + t * (y1 - y0)));
                if (d <= thickness / 2) set(x, y, c);
            }
    }
    // A filled polygon (even-odd rule), corners in pixels.
    void polygon(const std::vector<std::pair<double, double>>& corners, colour c) {
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                double px = x + 0.5, py = y + 0.5;
                bool inside = false;
                for (size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
                    auto [xi, yi] = corners[i];
                    auto [xj, yj] = corners[j];
                    if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi)
                        inside = !inside;
                }
                if (inside) set(x, y, c);
            }
    }
    // Every pixel of colour `from` touching one of another colour becomes `edge`:
    // an outline drawn on the transparent ground around a figure.
    void outline(colour from, colour edge) {
        std::vector<colour> copy = pixels_;
        auto same = [](colour a, colour b) { return a.r == b.r && a.g == b.g && a.b == b.b; };
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                if (!same(copy[size_t(y * width_ + x)], from)) continue;
                for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                    int nx = x + dx, ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= width_ || ny >= height_) continue;
                    const colour& n = copy[size_t(ny * width_ + nx)];
                    if (!same(n, from) && !same(n, edge)) {
                        set(x, y, edge);
                        break;
                    }
                }
            }
    }

    bool save(const std::filesystem::path& file) const {
        SDL_Surface* surface =
            SDL_CreateRGBSurfaceWithFormat(0, width_, height_, 24, SDL_PIXELFORMAT_RGB24);
        if (!surface) return save_png(nullptr, file);
        for (int y = 0; y < height_; ++y) {
            auto* row = static_cast<uint8_t*>(surface->pixels) + y * surface->pitch;
            for (int x = 0; x < width_; ++x) {
                const colour& c = pixels_[size_t(y * width_ + x)];
                row[3 * x] = uint8_t(c.r);
                row[3 * x + 1] = uint8_t(c.g);
                row[3 * x + 2] = uint8_t(c.b);
            }
        }
        bool ok = save_png(surface, file);
        SDL_FreeSurface(surface);
        return ok;
    }

private:
    int width_, height_;
    std::vector<colour> pixels_;
};

}  // namespace pack
