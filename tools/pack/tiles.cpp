// The tile kinds: one image and one definition each.
//
// The marker is drawn additively over the tiles, so the ground tiles stay in
// the middle of the brightness range and the marker always shows up. Each
// kind has its own hue and pattern, large enough to survive at half size:
// bricks for walls, flagstones for floor, blades for green, waves for water,
// a diamond for freshly painted floor and a rim for fixed floor.
#include <string>
#include <vector>

#include "canvas.h"
#include "world_data.h"

namespace fs = std::filesystem;

namespace pack {
namespace {

constexpr int size = 32;

canvas wall() {
    const colour brick{56, 60, 84}, mortar{26, 28, 42}, light{84, 90, 120};
    canvas c(size, size, mortar);
    for (int row = 0; row < 4; ++row) {
        const int y = row * 8, offset = row % 2 == 0 ? 0 : -8;
        for (int x = offset; x < size; x += 16) {
            c.fill(x + 1, y + 1, 14, 6, brick);
            c.fill(x + 1, y + 1, 14, 1, light);
            for (int k = 0; k < 14; ++k)
                for (int j = 2; j < 7; ++j)
                    if (hash_noise(x + k, y + j, 1) > 0.86) c.set(x + 1 + k, y + j, shade(brick, -10));
        }
    }
    return c;
}

canvas flagstone(colour stone, uint32_t salt) {
    canvas c(size, size, stone);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double n = hash_noise(x, y, salt);
            if (n > 0.9) c.set(x, y, shade(stone, 12));
            else if (n < 0.1) c.set(x, y, shade(stone, -12));
        }
    c.fill(0, 0, size, 1, shade(stone, 22));
    c.fill(0, 0, 1, size, shade(stone, 22));
    c.fill(0, size - 1, size, 1, shade(stone, -34));
    c.fill(size - 1, 0, 1, size, shade(stone, -34));
    return c;
}

canvas floor_tile() { return flagstone({128, 116, 96}, 2); }

canvas green() {
    const colour ground{50, 112, 44};
    canvas c(size, size, ground);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (hash_noise(x, y, 3) > 0.8) c.set(x, y, shade(ground, -14));
    // Tufts of blades, each leaning a little.
    for (int tuft = 0; tuft < 9; ++tuft) {
        const double x = 3 + (tuft % 3) * 10 + hash_noise(tuft, 0, 4) * 5;
        const double y = 9 + (tuft / 3) * 10 + hash_noise(tuft, 1, 4) * 3;
        c.line(x, y, x - 2, y - 6, 1.4, {110, 184, 74});
        c.line(x + 1, y, x + 2, y - 7, 1.4, {92, 166, 62});
        c.line(x + 2, y, x + 5, y - 5, 1.4, {128, 196, 86});
    }
    return c;
}

canvas water() {
    const colour deep{22, 56, 118}, crest{96, 164, 222};
    canvas c(size, size, deep);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            c.set(x, y, mix(deep, {30, 80, 150}, hash_noise(x / 4, y / 4, 5) * 0.6));
    // Three rows of wave crests.
    for (int row = 0; row < 3; ++row) {
        const double base = 8 + row * 10;
        for (int x = 0; x < size; ++x) {
            const double shift = row % 2 == 0 ? 0 : 4;
            const double wave = base + 2.2 * std::sin((x + shift) * 3.14159265 / 4.0);
            c.set(x, int(std::lround(wave)), crest);
            c.set(x, int(std::lround(wave)) + 1, mix(crest, deep, 0.5));
        }
    }
    return c;
}

// Freshly painted floor: a bright field with a pale diamond.
canvas painted(colour field, colour diamond, colour border) {
    canvas c(size, size, field);
    c.polygon({{16, 5}, {27, 16}, {16, 27}, {5, 16}}, diamond);
    c.polygon({{16, 10}, {22, 16}, {16, 22}, {10, 16}}, field);
    c.frame(0, 0, size, size, 2, border);
    return c;
}

// Fixed floor: a deep field locked in by a bright rim and a centre stud.
canvas fixed(colour field, colour rim) {
    canvas c(size, size, field);
    c.frame(0, 0, size, size, 1, shade(field, -20));
    c.frame(3, 3, size - 6, size - 6, 3, rim);
    c.fill(13, 13, 6, 6, rim);
    c.fill(14, 14, 4, 4, shade(rim, 30));
    return c;
}

// What a tile shows when its image is missing: loud on purpose.
canvas dummy() {
    canvas c(size, size, {16, 16, 16});
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (((x / 8) + (y / 8)) % 2 == 0) c.set(x, y, {240, 140, 0});
    return c;
}

struct tile_kind {
    const char* kind;
    const char* image;
    int collision;        // 1 stops the player and painters, 2 stops erasers too
    int enemies;          // enemies may be placed on it
    int points;
    std::vector<const char*> children;
};

// Floor carries the loose objects and the enemies; green carries coins.
const std::vector<tile_kind>& tile_kinds() {
    static const std::vector<tile_kind> kinds = {
        {"LAB_WALL", "wall.png", 2, 0, 0, {"#", "#", "#", "#"}},
        {"LAB_FLOOR", "floor.png", 0, 1, 10, {"GEM", "EXTRATIME", "BOMB", "SWITCHTILES"}},
        {"LAB_GREEN", "green.png", 0, 0, 0, {"COIN", "#", "#", "#"}},
        {"LAB_WATER", "water.png", 1, 0, 0, {"#", "#", "#", "#"}},
        {"LAB_BLUE_FLOOR", "blue.png", 0, 0, 10, {"#", "#", "#", "#"}},
        {"LAB_FIXED_FLOOR", "fixed.png", 0, 0, 10, {"#", "#", "#", "#"}},
        {"LAB_PINK_FLOOR", "pink.png", 0, 0, 10, {"#", "#", "#", "#"}},
        {"LAB_FIXED_PINK_FLOOR", "fixedpink.png", 0, 0, 10, {"#", "#", "#", "#"}},
    };
    return kinds;
}

std::vector<std::string> definition_lines(const tile_kind& k) {
    std::vector<std::string> lines = {"INTERNALNAME", k.kind, "GFXNAME", k.image};
    for (size_t slot = 0; slot < 4; ++slot) {
        lines.push_back("CHILD" + std::to_string(slot + 1));
        lines.push_back(k.children[slot]);
    }
    const std::vector<std::pair<const char*, std::string>> numbers = {
        {"VALUE1", std::to_string(k.points)},
        {"RANDOMSEED", "0"},
        {"ROTATE", "0"},
        {"USECOLLISION", std::to_string(k.collision)},
        {"TRANSPARENCY", "0"},
        {"USEENEMY", std::to_string(k.enemies)},
        {"DX1", "0"},
        {"DX2", "0"},
        {"USEDIRECTION", "DEFAULT"},
    };
    for (const auto& [key, value] : numbers) {
        lines.push_back(key);
        lines.push_back(value);
    }
    return lines;
}

}  // namespace

bool write_tiles(const fs::path& data_dir) {
    const fs::path images = data_dir / "GFX" / "TILES";
    const fs::path definitions = data_dir / "DATA" / "TILES" / "ZORBEL";
    bool ok = true;
    ok = wall().save(images / "wall.png") && ok;
    ok = floor_tile().save(images / "floor.png") && ok;
    ok = green().save(images / "green.png") && ok;
    ok = water().save(images / "water.png") && ok;
    ok = painted({70, 150, 238}, {170, 214, 254}, {40, 100, 190}).save(images / "blue.png") && ok;
    ok = fixed({22, 40, 160}, {232, 190, 48}).save(images / "fixed.png") && ok;
    ok = painted({236, 118, 188}, {252, 196, 226}, {184, 70, 142}).save(images / "pink.png") && ok;
    ok = fixed({124, 20, 90}, {250, 150, 206}).save(images / "fixedpink.png") && ok;
    ok = dummy().save(images / "dummy.png") && ok;
    for (const tile_kind& k : tile_kinds())
        ok = write_lines(definitions / k.kind, definition_lines(k)) && ok;
    return ok;
}

}  // namespace pack
