// The objects lying on tiles, the two enemies and the player's marker.
//
// Object images use pure white as their transparent ground, so every figure
// is drawn on white and no figure pixel is ever pure white. A dark outline
// keeps each figure readable on every tile.
#include <string>
#include <vector>

#include "canvas.h"
#include "world_data.h"

namespace fs = std::filesystem;

namespace pack {
namespace {

constexpr int size = 32;
constexpr colour ground{255, 255, 255};
constexpr colour near_white{244, 244, 240};

canvas blank() { return canvas(size, size, ground); }

canvas bomb() {
    canvas c = blank();
    c.line(19, 10, 24, 4, 2.2, {150, 100, 50});
    c.disc(15, 19, 9.5, {34, 34, 44});
    c.disc(11.5, 15.5, 2.6, {120, 124, 150});
    c.fill(17, 8, 5, 3, {70, 70, 84});   // the fuse's cap
    c.outline(ground, {8, 8, 12});
    // The spark stays bright, outside the outline.
    c.line(22, 2, 28, 8, 1.6, {255, 200, 40});
    c.line(28, 2, 22, 8, 1.6, {255, 200, 40});
    c.disc(25, 5, 1.6, {255, 240, 150});
    return c;
}

canvas extra_time() {
    canvas c = blank();
    c.disc(16, 16, 12, {50, 176, 84});
    c.disc(16, 16, 8.6, {222, 246, 222});
    for (int hour = 0; hour < 12; hour += 3) {
        const double a = hour * 3.14159265 / 6;
        c.disc(16 + 6.8 * std::sin(a), 16 - 6.8 * std::cos(a), 1.0, {30, 90, 40});
    }
    c.line(16, 16, 16, 9.5, 2.0, {20, 50, 26});
    c.line(16, 16, 21, 16, 2.0, {20, 50, 26});
    c.fill(14, 2, 4, 3, {50, 176, 84});   // the winder
    c.outline(ground, {12, 60, 24});
    return c;
}

canvas switch_tiles() {
    canvas c = blank();
    c.disc(16, 16, 12.5, {40, 30, 62});
    c.polygon({{16, 5}, {16, 27}, {6, 26}, {4, 16}, {6, 6}}, {70, 150, 238});
    c.polygon({{16, 5}, {16, 27}, {26, 26}, {28, 16}, {26, 6}}, {236, 118, 188});
    c.ring(16, 16, 10.5, 12.5, {40, 30, 62});
    // Two arrows, one each way.
    c.line(9, 12.5, 21, 12.5, 2.2, near_white);
    c.polygon({{20, 8.5}, {25, 12.5}, {20, 16.5}}, near_white);
    c.line(11, 19.5, 23, 19.5, 2.2, near_white);
    c.polygon({{12, 15.5}, {7, 19.5}, {12, 23.5}}, near_white);
    c.outline(ground, {20, 14, 34});
    return c;
}

canvas gem() {
    canvas c = blank();
    c.polygon({{16, 4}, {27, 13}, {16, 28}, {5, 13}}, {40, 190, 214});
    c.polygon({{16, 4}, {27, 13}, {16, 13}}, {150, 236, 246});
    c.polygon({{16, 4}, {5, 13}, {16, 13}}, {96, 218, 236});
    c.polygon({{5, 13}, {16, 13}, {16, 28}}, {24, 140, 170});
    c.disc(12, 9, 1.3, near_white);
    c.outline(ground, {10, 54, 74});
    return c;
}

canvas coin() {
    canvas c = blank();
    c.disc(16, 16, 11, {238, 186, 40});
    c.ring(16, 16, 8, 9.4, {196, 140, 20});
    std::vector<std::pair<double, double>> star;
    for (int k = 0; k < 10; ++k) {
        const double a = k * 3.14159265 / 5, r = k % 2 == 0 ? 6.5 : 2.8;
        star.emplace_back(16 + r * std::sin(a), 16.5 - r * std::cos(a));
    }
    c.polygon(star, {252, 232, 130});
    c.outline(ground, {106, 66, 8});
    return c;
}

void eyes(canvas& c, double y, bool angry) {
    for (double x : {12.0, 20.0}) {
        c.disc(x, y, 3.2, near_white);
        c.disc(x + 0.6, y + 0.6, 1.6, {16, 16, 20});
    }
    if (angry) {
        c.line(8.5, y - 5, 14, y - 3, 1.6, {30, 12, 8});
        c.line(23.5, y - 5, 18, y - 3, 1.6, {30, 12, 8});
    }
}

// Painter: a round pink creature carrying a brush.
canvas painter() {
    canvas c = blank();
    c.disc(15, 18, 11, {218, 48, 148});
    c.disc(9, 28, 3, {218, 48, 148});
    c.disc(21, 28, 3, {218, 48, 148});
    c.disc(11, 13, 3, {236, 120, 190});
    eyes(c, 17, false);
    c.line(12, 24, 18, 24, 1.5, {90, 10, 60});
    c.line(24, 12, 29, 3, 2.2, {150, 100, 50});
    c.polygon({{22, 10}, {27, 12}, {25, 16}, {20, 14}}, {250, 140, 210});
    c.outline(ground, {64, 8, 44});
    return c;
}

// Eraser: a square rubber block with a sleeve, frowning.
canvas eraser() {
    canvas c = blank();
    c.fill(5, 7, 22, 21, {232, 96, 52});
    c.fill(5, 7, 22, 7, {84, 104, 150});
    c.fill(5, 7, 22, 1, {120, 140, 190});
    c.fill(5, 27, 22, 1, {180, 64, 30});
    eyes(c, 19, true);
    c.line(12, 25, 20, 25, 1.5, {70, 20, 8});
    c.outline(ground, {56, 20, 8});
    return c;
}

// The marker is drawn additively and turns every frame: a bright ring with
// spokes reads as a spinning wheel on any tile.
canvas marker() {
    canvas c = blank();
    c.ring(16, 16, 10.5, 15, {250, 210, 40});
    c.ring(16, 16, 12, 13.5, {250, 246, 190});
    for (int spoke = 0; spoke < 4; ++spoke) {
        const double a = spoke * 3.14159265 / 2 + 0.4;
        c.line(16, 16, 16 + 10 * std::cos(a), 16 + 10 * std::sin(a), 3.0, {250, 150, 30});
    }
    c.disc(16, 16, 3.5, {250, 246, 190});
    return c;
}

struct object_kind {
    const char* stem;
    canvas (*draw)();
    std::vector<std::pair<const char*, std::string>> keys;
};

// Keys every object file spells out, so a modder sees them all.
std::vector<std::pair<const char*, std::string>> object_keys(
    const std::string& name, int density, int score, int extra_time, int rotate, int goody,
    int count_to_score) {
    return {{"DGFXNAME", name},         {"DGFXTRANSPARENCY", "255"},
            {"DDENSITY", std::to_string(density)},
            {"DFITTOMATRIX", "1"},      {"DCOLLISION", "0"},
            {"DHOTSPOT", "NONE"},       {"DXMODE1", "0"},
            {"DXMODE2", "0"},           {"DGFXSHOW", "1"},
            {"DCENTERFIELD", "0"},      {"DKILLONCOLLISION", "0"},
            {"DSCORE", std::to_string(score)},
            {"DCOUNTTOSCORE", std::to_string(count_to_score)},
            {"DCOUNTSOUND", "#"},       {"DUSECOUNTSOUND", "0"},
            {"DISPLAYER", "0"},         {"DISENEMY", "0"},
            {"DISGOODY", std::to_string(goody)},
            {"DEXTRATIME", std::to_string(extra_time)},
            {"DROTATE", std::to_string(rotate)}};
}

// Enemies: DDENSITY is the chance per floor cell, DVELOX/DVELOY split a tile
// into steps, DDMOVE and DCHANGEDIRECTION set how lively they are.
std::vector<std::pair<const char*, std::string>> enemy_keys(const std::string& name, int kind,
                                                            int density, int think,
                                                            int turn) {
    return {{"DGFXNAME", name},       {"DGFXTRANSPARENCY", "255"},
            {"DDENSITY", std::to_string(density)},
            {"DFITTOMATRIX", "0"},    {"DCOLLISION", "1"},
            {"DHOTSPOT", "NONE"},     {"DXMODE1", "0"},
            {"DXMODE2", "0"},         {"DGFXSHOW", "1"},
            {"DCENTERFIELD", "0"},    {"DKILLONCOLLISION", "0"},
            {"DSCORE", "0"},          {"DISPLAYER", "0"},
            {"DISENEMY", std::to_string(kind)},
            {"DRANDOMMOVE", "0"},     {"DMOVEX", "0"},
            {"DMOVEY", "0"},          {"DVELOX", "8"},
            {"DVELOY", "8"},          {"DAILEVEL", "1"},
            {"DDMOVE", std::to_string(think)},
            {"DCHANGEDIRECTION", std::to_string(turn)},
            {"DISGOODY", "0"},        {"DROTATE", "0"}};
}

const std::vector<object_kind>& object_kinds() {
    static const std::vector<object_kind> kinds = {
        // Chances per floor cell, measured with `zorbel-tool play` (docs/pack.md):
        // bombs and enemies grow with a level's floor, so larger levels get
        // harder; a tile switch or extra time is a rare event, not a habit.
        {"bomb", bomb, object_keys("BOMB", 40, 0, 0, 0, 0, 0)},
        {"extratime", extra_time, object_keys("EXTRATIME", 200, 10, 1, 0, 0, 0)},
        {"switch", switch_tiles, object_keys("SWITCHTILES", 200, 20, 0, 2, 0, 0)},
        {"gem", gem, object_keys("GEM", 12, 50, 0, 0, 0, 0)},
        {"coin", coin, object_keys("COIN", 14, 25, 0, 0, 0, 1)},
        {"painter", painter, enemy_keys("PAINTER", 1, 50, 1, 24)},
        {"eraser", eraser, enemy_keys("ERASER", 2, 30, 0, 30)},
    };
    return kinds;
}

}  // namespace

bool write_objects(const fs::path& data_dir) {
    const fs::path folder = data_dir / "GFX" / "OBJECTS";
    bool ok = true;
    for (const object_kind& k : object_kinds()) {
        // Enemies are drawn at their image's size, objects fitted to the tile.
        const bool enemy = k.draw == painter || k.draw == eraser;
        ok = (enemy ? k.draw().doubled() : k.draw()).save(folder / (std::string(k.stem) + ".png")) && ok;
        std::vector<std::string> lines;
        for (const auto& [key, value] : k.keys) {
            lines.push_back(key);
            lines.push_back(value);
        }
        ok = write_lines(folder / (std::string(k.stem) + ".dll"), lines) && ok;
    }
    // The marker too is drawn at its image's size: a tile's, 64 pixels.
    ok = marker().doubled().save(data_dir / "GFX" / "cursor.png") && ok;
    return ok;
}

}  // namespace pack
