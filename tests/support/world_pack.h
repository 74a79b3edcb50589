// A small tile and object pack; images are BMP bytes under ".png" names (the loader goes by content).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/configuration.h"
#include "game/startup.h"
#include "media/media.h"
#include "support/test_support.h"
#include "world/level_state.h"

namespace world_pack {

constexpr uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) { return r + 256 * g + 65536 * b; }

inline std::string bmp(int width, int height, uint32_t colour) { return solid_bmp(width, height, colour); }

// Key/value lines as the game's text files hold them (CR LF).
inline std::string pairs(std::initializer_list<std::pair<std::string, std::string>> list) {
    std::string text;
    for (const auto& [key, value] : list) text += key + "\r\n" + value + "\r\n";
    return text;
}

// Colours of the tile images, told apart by the drawing tests.
constexpr uint32_t wall_colour = rgb(90, 90, 90), floor_colour = rgb(200, 180, 120),
                   green_colour = rgb(40, 160, 40), water_colour = rgb(30, 60, 200),
                   bomb_colour = rgb(20, 20, 20);

// Points the configuration at the pack in `folder` (world "T").
inline void use_pack(const temp_folder& folder) {
    cfg_rgbcodepath = folder.path() + "/DATA/TILES/";
    cfg_appstart = "T";
    cfg_topogfx = folder.path() + "/GFX/TILES/";
    cfg_gfxcodec = ".png";
    cfg_worldgfx = folder.path() + "/GFX/OBJECTS/";
    cfg_cursor = folder.path() + "/GFX/cursor.png";
    tile_width = tile_height = 16.0f;
    matrix_width = matrix_height = 512;
    cfg_usesprite3d = 1;
    cfg_labswitch = 3;
    cfg_maxfoe = 3;
}

inline void tile_definition(const temp_folder& folder, const std::string& kind, const std::string& text) {
    folder.write("DATA/TILES/T/" + kind, text);
}

inline void object(const temp_folder& folder, const std::string& stem, uint32_t colour,
                   const std::string& definition, int size = 16) {
    folder.write("GFX/OBJECTS/" + stem + ".png", bmp(size, size, colour));
    folder.write("GFX/OBJECTS/" + stem + ".dll", definition);
}

inline const std::string no_children =
    pairs({{"CHILD1", "#"}, {"CHILD2", "#"}, {"CHILD3", "#"}, {"CHILD4", "#"}, {"TRANSPARENCY", "0"}});

// The four generated kinds; floor carries a gem and a bomb and admits painters and erasers.
// Levels of 9..17 x 7..13 cells at level 1, whatever base the shipped pack uses.
inline const std::string level_base_16_12 = "ZORBEL LEVEL BASE\r\n16\r\n12\r\n0\r\n0\r\n";

inline void write_level_pack(const temp_folder& folder) {
    for (auto [image, colour] : {std::pair{"wall", wall_colour}, {"floor", floor_colour}, {"green", green_colour},
                                 {"water", water_colour}, {"dummy", rgb(255, 128, 0)}})
        folder.write(std::string("GFX/TILES/") + image + ".png", bmp(16, 16, colour));
    folder.write("GFX/cursor.png", bmp(16, 16, rgb(250, 250, 0)));
    tile_definition(folder, "LAB_WALL", pairs({{"GFXNAME", "wall.png"}, {"USECOLLISION", "2"}, {"VALUE1", "0"}}) + no_children);
    tile_definition(folder, "LAB_FLOOR",
                    pairs({{"GFXNAME", "floor.png"}, {"CHILD1", "GEM"}, {"CHILD2", "BOMB"}, {"CHILD3", "#"},
                           {"CHILD4", "#"}, {"USEENEMY", "1"}, {"TRANSPARENCY", "0"}, {"VALUE1", "10"}}));
    tile_definition(folder, "LAB_GREEN", pairs({{"GFXNAME", "green.png"}}) + no_children);
    tile_definition(folder, "LAB_WATER", pairs({{"GFXNAME", "water.png"}, {"USECOLLISION", "1"}}) + no_children);
    object(folder, "gem", rgb(0, 200, 220),
           pairs({{"DGFXNAME", "GEM"}, {"DDENSITY", "6"}, {"DGFXSHOW", "1"}, {"DGFXTRANSPARENCY", "255"},
                  {"DFITTOMATRIX", "1"}, {"DSCORE", "50"}, {"DISGOODY", "1"}}));
    object(folder, "bomb", bomb_colour,
           pairs({{"DGFXNAME", "BOMB"}, {"DDENSITY", "20"}, {"DGFXSHOW", "1"}, {"DGFXTRANSPARENCY", "255"},
                  {"DFITTOMATRIX", "1"}}));
    object(folder, "painter", rgb(240, 100, 180),
           pairs({{"DGFXNAME", "PAINTER"}, {"DISENEMY", "1"}, {"DDENSITY", "8"}, {"DGFXTRANSPARENCY", "255"}}));
    object(folder, "eraser", rgb(200, 60, 0),
           pairs({{"DGFXNAME", "ERASER"}, {"DISENEMY", "2"}, {"DDENSITY", "25"}, {"DGFXTRANSPARENCY", "255"}}));
}

// The painted kinds' points differ, so a test can tell whose VALUE1 was counted.
constexpr uint32_t fixed_colour = rgb(20, 40, 160);
constexpr int32_t fixed_points = 25, fixed_pink_points = 6;

// The four kinds the rules paint, with no children.
inline void write_painted_kinds(const temp_folder& folder) {
    const struct { const char* kind; const char* image; uint32_t colour; int32_t points; } kinds[] = {
        {"LAB_BLUE_FLOOR", "blue.png", rgb(40, 90, 230), 3},
        {"LAB_FIXED_FLOOR", "fixed.png", fixed_colour, fixed_points},
        {"LAB_PINK_FLOOR", "pink.png", rgb(240, 120, 200), 4},
        {"LAB_FIXED_PINK_FLOOR", "fixedpink.png", rgb(160, 40, 120), fixed_pink_points}};
    for (const auto& k : kinds) {
        folder.write(std::string("GFX/TILES/") + k.image, bmp(16, 16, k.colour));
        tile_definition(folder, k.kind, pairs({{"GFXNAME", k.image}, {"VALUE1", std::to_string(k.points)}}) + no_children);
    }
}

}  // namespace world_pack
