// The sprite font: one PNG per character, drawn from the pixel art below.
//
// Art grid: rows 0-9 are the capital height, rows 10-12 the descenders; lower
// case letters stand on rows 3-9. Strokes are two art pixels thick, so the
// letters stay solid when the game shrinks them to 0.4. Each art pixel becomes
// a 2 x 2 block, and a dark rim with a drop to the lower right keeps the text
// readable on light and dark backgrounds alike. Pure white is the transparent
// colour of glyph images, so no pixel may ever be white.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "pack.h"

namespace fs = std::filesystem;

namespace pack {
namespace {

constexpr int art_rows = 13;
constexpr int cell = 2;                       // screen pixels per art pixel
constexpr int pad_left = 2, pad_top = 2;      // room for the rim
constexpr int pad_right = 3, pad_bottom = 3;  // rim plus drop
constexpr int image_height = art_rows * cell + pad_top + pad_bottom;

struct rgb {
    uint8_t r, g, b;
};
constexpr rgb transparent{255, 255, 255};
constexpr rgb rim{22, 14, 44};

struct glyph_art {
    unsigned char character;
    std::vector<const char*> rows;   // fewer than art_rows: the rest is empty
};

// '#' is the letter body; other letters pick icon colours (see icon_colour).
const std::vector<glyph_art>& font_art() {
    static const std::vector<glyph_art> art = {
        // ---- capitals ----
        {'A', {".####.", "######", "##..##", "##..##", "##..##", "######", "######", "##..##",
               "##..##", "##..##"}},
        {'B', {"#####.", "######", "##..##", "##..##", "#####.", "######", "##..##", "##..##",
               "######", "#####."}},
        {'C', {".#####", "######", "##....", "##....", "##....", "##....", "##....", "##....",
               "######", ".#####"}},
        {'D', {"####..", "#####.", "##.###", "##..##", "##..##", "##..##", "##..##", "##.###",
               "#####.", "####.."}},
        {'E', {"######", "######", "##....", "##....", "#####.", "#####.", "##....", "##....",
               "######", "######"}},
        {'F', {"######", "######", "##....", "##....", "#####.", "#####.", "##....", "##....",
               "##....", "##...."}},
        {'G', {".#####", "######", "##....", "##....", "##.###", "##.###", "##..##", "##..##",
               "######", ".####."}},
        {'H', {"##..##", "##..##", "##..##", "##..##", "######", "######", "##..##", "##..##",
               "##..##", "##..##"}},
        // The width of I is also the width of a blank.
        {'I', {"####", "####", ".##.", ".##.", ".##.", ".##.", ".##.", ".##.", "####", "####"}},
        {'J', {"..####", "..####", "....##", "....##", "....##", "....##", "##..##", "##..##",
               "######", ".####."}},
        {'K', {"##..##", "##..##", "##.###", "#####.", "####..", "####..", "#####.", "##.###",
               "##..##", "##..##"}},
        {'L', {"##....", "##....", "##....", "##....", "##....", "##....", "##....", "##....",
               "######", "######"}},
        {'M', {"##....##", "###..###", "########", "########", "##.##.##", "##....##",
               "##....##", "##....##", "##....##", "##....##"}},
        {'N', {"##...##", "##...##", "###..##", "####.##", "#######", "##.####", "##..###",
               "##...##", "##...##", "##...##"}},
        {'O', {".####.", "######", "##..##", "##..##", "##..##", "##..##", "##..##", "##..##",
               "######", ".####."}},
        {'P', {"#####.", "######", "##..##", "##..##", "######", "#####.", "##....", "##....",
               "##....", "##...."}},
        {'Q', {".####.", "######", "##..##", "##..##", "##..##", "##..##", "##.###", "##.###",
               "#####.", ".#####"}},
        {'R', {"#####.", "######", "##..##", "##..##", "######", "#####.", "##.##.", "##.###",
               "##..##", "##..##"}},
        {'S', {".#####", "######", "##....", "##....", "#####.", ".#####", "....##", "....##",
               "######", "#####."}},
        {'T', {"######", "######", "..##..", "..##..", "..##..", "..##..", "..##..", "..##..",
               "..##..", "..##.."}},
        {'U', {"##..##", "##..##", "##..##", "##..##", "##..##", "##..##", "##..##", "##..##",
               "######", ".####."}},
        {'V', {"##..##", "##..##", "##..##", "##..##", "##..##", "##..##", "######", ".####.",
               ".####.", "..##.."}},
        {'W', {"##....##", "##....##", "##....##", "##....##", "##.##.##", "########",
               "########", "###..###", "##....##", "##....##"}},
        {'X', {"##..##", "##..##", "##..##", "######", ".####.", ".####.", "######", "##..##",
               "##..##", "##..##"}},
        {'Y', {"##..##", "##..##", "##..##", "######", ".####.", "..##..", "..##..", "..##..",
               "..##..", "..##.."}},
        {'Z', {"######", "######", "....##", "...###", "..###.", ".###..", "###...", "##....",
               "######", "######"}},
        // ---- small letters ----
        {'a', {"......", "......", "......", ".####.", ".#####", "....##", ".#####", "##..##",
               "######", ".#####"}},
        {'b', {"##....", "##....", "##....", "#####.", "######", "##..##", "##..##", "##..##",
               "######", "#####."}},
        {'c', {"......", "......", "......", ".#####", "######", "##....", "##....", "##....",
               "######", ".#####"}},
        {'d', {"....##", "....##", "....##", ".#####", "######", "##..##", "##..##", "##..##",
               "######", ".#####"}},
        {'e', {"......", "......", "......", ".####.", "######", "##..##", "######", "##....",
               "######", ".#####"}},
        {'f', {"..###", ".####", ".##..", ".##..", "#####", "#####", ".##..", ".##..", ".##..",
               ".##.."}},
        {'g', {"......", "......", "......", ".#####", "######", "##..##", "##..##", "##..##",
               "######", ".#####", "....##", "######", "#####."}},
        {'h', {"##....", "##....", "##....", "#####.", "######", "##..##", "##..##", "##..##",
               "##..##", "##..##"}},
        {'i', {"##", "##", "..", "##", "##", "##", "##", "##", "##", "##"}},
        {'j', {"..##", "..##", "....", "..##", "..##", "..##", "..##", "..##", "..##", "..##",
               "..##", "####", "###."}},
        {'k', {"##....", "##....", "##....", "##..##", "##.###", "#####.", "####..", "#####.",
               "##.###", "##..##"}},
        {'l', {"##.", "##.", "##.", "##.", "##.", "##.", "##.", "##.", "###", ".##"}},
        {'m', {"..........", "..........", "..........", "####.###..", "##########",
               "##..##..##", "##..##..##", "##..##..##", "##..##..##", "##..##..##"}},
        {'n', {"......", "......", "......", "#####.", "######", "##..##", "##..##", "##..##",
               "##..##", "##..##"}},
        {'o', {"......", "......", "......", ".####.", "######", "##..##", "##..##", "##..##",
               "######", ".####."}},
        {'p', {"......", "......", "......", "#####.", "######", "##..##", "##..##", "##..##",
               "######", "#####.", "##....", "##....", "##...."}},
        {'q', {"......", "......", "......", ".#####", "######", "##..##", "##..##", "##..##",
               "######", ".#####", "....##", "....##", "....##"}},
        {'r', {".....", ".....", ".....", "##.##", "#####", "###..", "##...", "##...", "##...",
               "##..."}},
        {'s', {"......", "......", "......", ".#####", "######", "###...", ".####.", "...###",
               "######", "#####."}},
        {'t', {".##..", ".##..", ".##..", "#####", "#####", ".##..", ".##..", ".##..", ".####",
               "..###"}},
        {'u', {"......", "......", "......", "##..##", "##..##", "##..##", "##..##", "##..##",
               "######", ".#####"}},
        {'v', {"......", "......", "......", "##..##", "##..##", "##..##", "##..##", "######",
               ".####.", "..##.."}},
        {'w', {"..........", "..........", "..........", "##..##..##", "##..##..##",
               "##..##..##", "##..##..##", "##..##..##", "##########", ".###..###."}},
        {'x', {"......", "......", "......", "##..##", "##..##", "######", ".####.", "######",
               "##..##", "##..##"}},
        {'y', {"......", "......", "......", "##..##", "##..##", "##..##", "##..##", "##..##",
               "######", ".#####", "....##", "######", "#####."}},
        {'z', {"......", "......", "......", "######", "######", "...###", "..###.", ".###..",
               "######", "######"}},
        // ---- digits ----
        {'0', {".####.", "######", "##..##", "##.###", "##.###", "###.##", "###.##", "##..##",
               "######", ".####."}},
        {'1', {"..##..", ".###..", "####..", "..##..", "..##..", "..##..", "..##..", "..##..",
               "######", "######"}},
        {'2', {".####.", "######", "##..##", "....##", "...###", "..###.", ".###..", "###...",
               "######", "######"}},
        {'3', {"#####.", "######", "....##", "....##", ".####.", ".####.", "....##", "....##",
               "######", "#####."}},
        {'4', {"....##", "...###", "..####", ".##.##", "##..##", "######", "######", "....##",
               "....##", "....##"}},
        {'5', {"######", "######", "##....", "##....", "#####.", "######", "....##", "....##",
               "######", "#####."}},
        {'6', {".####.", "#####.", "##....", "##....", "#####.", "######", "##..##", "##..##",
               "######", ".####."}},
        {'7', {"######", "######", "....##", "...###", "..###.", "..##..", "..##..", "..##..",
               "..##..", "..##.."}},
        {'8', {".####.", "######", "##..##", "##..##", ".####.", "######", "##..##", "##..##",
               "######", ".####."}},
        {'9', {".####.", "######", "##..##", "##..##", "######", ".#####", "....##", "...###",
               ".####.", ".###.."}},
        // ---- punctuation ----
        {'.', {"..", "..", "..", "..", "..", "..", "..", "..", "##", "##"}},
        {',', {"..", "..", "..", "..", "..", "..", "..", "..", "##", "##", ".#", "#."}},
        {':', {"..", "..", "..", "##", "##", "..", "..", "..", "##", "##"}},
        {';', {"..", "..", "..", "##", "##", "..", "..", "..", "##", "##", ".#", "#."}},
        {'!', {"##", "##", "##", "##", "##", "##", "##", "..", "##", "##"}},
        {'?', {".####.", "######", "##..##", "....##", "...###", "..###.", "..##..", "......",
               "..##..", "..##.."}},
        {'-', {".....", ".....", ".....", ".....", "#####", "#####"}},
        {'+', {"......", "......", "..##..", "..##..", "######", "######", "..##..", "..##.."}},
        {'=', {"......", "......", "......", "######", "######", "......", "######", "######"}},
        {'\'', {"##", "##", "##", "#."}},
        {'`', {"##.", ".##"}},
        {'^', {"..##..", ".####.", "######", "##..##"}},
        {'_', {"......", "......", "......", "......", "......", "......", "......", "......",
               "......", "......", "######", "######"}},
        {'%', {"........", "##....##", "##...###", "....###.", "...###..", "..###...", ".###....",
               "###...##", "##....##"}},
        {'<', {"......", "....##", "...###", "..###.", ".###..", "###...", ".###..", "..###.",
               "...###", "....##"}},
        {'>', {"......", "##....", "###...", ".###..", "..###.", "...###", "..###.", ".###..",
               "###...", "##...."}},
        {'#', {".##..##.", ".##..##.", "########", "########", ".##..##.", ".##..##.",
               "########", "########", ".##..##.", ".##..##."}},
        // ---- icons ----
        // Arrows take the letter colour so they sit in a line of text.
        {'(', {"....#.....", "...##.....", "..###.....", ".#########", "##########",
               "##########", ".#########", "..###.....", "...##.....", "....#....."}},
        {')', {".....#....", ".....##...", ".....###..", "#########.", "##########",
               "##########", "#########.", ".....###..", ".....##...", ".....#...."}},
        // bomb
        {'&', {"........y.", ".......yoy", "...sssn.y.", "..kkkkkk..", ".kkkkkkkk.", ".khgkkkkk.",
               ".kgkkkkkk.", ".kkkkkkkk.", "..kkkkkk..", "...kkkk..."}},
        // crossed-out bomb
        {0xF6, {"rr......rr", ".rr....rry", "..rrssrry.", "..krrrrk..", ".kkkrrkkk.", ".khrrrrkk.",
                 ".krrkkrrk.", ".rrkkkkrr.", "rrkkkkkkrr", "r..kkkk..r"}},
        // heart
        {0xC4, {"..........", ".rrr..rrr.", "rrprrrrrrr", "rpprrrrrrr", "rprrrrrrrr",
                  "rrrrrrrrRr", ".rrrrrrRr.", "..rrrrRr..", "...rrRr...", "....rr...."}},
        // life: the player's little face
        {'@', {"...GGGG...", ".GGGGGGGG.", "GGhGGGGGGG", "GhGkGGkGGG", "GGGkGGkGGG",
               "GGGGGGGGGG", "GGkGGGGkGd", ".GGkkkkGd.", ".GGGGGGdd.", "...dddd..."}},
        // fuel can
        {'"', {".nnnnn..s.", ".n...n.ss.", ".rrrrrrsr.", "rrrrrrrrrr", "rpRRRRRRrr", "rpRrrrrRrr",
               "rpRrrrrRrr", "rpRRRRRRrr", "rrrrrrrrrr", "RRRRRRRRRR"}},
        // floppy disks
        {'[', {"bbssssbbb.", "bbskksbbbb", "bbskksbbbb", "bbssssbbbb", "bbbbbbbbbb",
               "bbhhhhhhbb", "bbhBBBBhbb", "bbhhhhhhbb", "bbhBBBhhbb", "bbhhhhhhbb"}},
        {']', {"rrssssrrr.", "rrskksrrrr", "rrskksrrrr", "rrssssrrrr", "rrrrrrrrrr",
               "rrhhhhhhrr", "rrhRRRRhrr", "rrhhhhhhrr", "rrhRRRhhrr", "rrhhhhhhrr"}},
        // star
        {'*', {"....yy....", "...yyyy...", "...yyyy...", "yyyyyyyyyy", ".yyyyyyyoo",
               "..yyyyyoo.", "..yyyyyoo.", ".yyyyoooo.", ".yyo..ooo.", ".yo....oo."}},
    };
    return art;
}

// Characters that only borrow another one's image.
constexpr const char* aliases = "\xD6\xE4\xFC\xDC\xDF";   // Ö ä ü Ü ß

// The file stem the game looks up for a character of the definition line.
std::string stem_of(unsigned char c) {
    switch (c) {
        case '.': return "POINT";
        case '?': return "ASK";
        case '[': return "FLOPPY";
        case ']': return "FLOPPYB";
        case '-': return "MINUS";
        case '"': return "FUEL";
        case '(': return "LEFT";
        case ')': return "RIGHT";
        case ':': return "POINTPOINT";
        case '*': return "STERN";
        case '&': return "BOMB";
        case 0xF6: case 0xD6: return "NOBOMB";
        case 0xC4: case 0xE4: return "HERZ";
        case '@': return "LIFE";
        case '+': return "PLUS";
        case 0xFC: case 0xDC: return "_u";
        case 0xDF: return "S";
    }
    if (c >= 'a' && c <= 'z') return std::string("_") + char(c);
    return std::string(1, char(c));
}

bool icon_colour(char key, rgb& colour) {
    switch (key) {
        case 'k': colour = {62, 66, 88}; return true;     // bomb iron
        case 'g': colour = {140, 150, 178}; return true;
        case 'h': colour = {236, 234, 222}; return true;  // highlight, never pure white
        case 's': colour = {176, 182, 196}; return true;  // metal
        case 'r': colour = {226, 44, 56}; return true;
        case 'R': colour = {150, 22, 40}; return true;
        case 'p': colour = {255, 156, 166}; return true;
        case 'y': colour = {255, 222, 40}; return true;
        case 'o': colour = {246, 146, 30}; return true;
        case 'n': colour = {150, 98, 48}; return true;
        case 'b': colour = {54, 112, 224}; return true;
        case 'B': colour = {30, 58, 140}; return true;
        case 'G': colour = {70, 196, 90}; return true;
        case 'd': colour = {34, 124, 56}; return true;
    }
    return false;
}

// The letter body runs from cream at the top to warm gold at the baseline.
rgb body_colour(int art_row) {
    const rgb top{255, 250, 214}, bottom{255, 178, 52};
    float t = std::clamp(art_row / 9.0f, 0.0f, 1.0f);
    auto mix = [t](uint8_t a, uint8_t b) { return uint8_t(a + (b - a) * t + 0.5f); };
    return {mix(top.r, bottom.r), mix(top.g, bottom.g), mix(top.b, bottom.b)};
}

bool colour_of(char key, int art_row, rgb& colour) {
    if (key == '#') {
        colour = body_colour(art_row);
        return true;
    }
    return icon_colour(key, colour);
}

// Rows of one width, known colour keys, and no pixel in the transparent colour.
bool check_art(const glyph_art& g) {
    if (g.rows.empty() || g.rows.size() > art_rows) return false;
    size_t width = std::char_traits<char>::length(g.rows[0]);
    for (size_t row = 0; row < g.rows.size(); ++row) {
        if (std::char_traits<char>::length(g.rows[row]) != width) return false;
        for (size_t column = 0; column < width; ++column) {
            rgb colour;
            char key = g.rows[row][column];
            if (key == '.') continue;
            if (!colour_of(key, int(row), colour)) return false;
            if (colour.r == transparent.r && colour.g == transparent.g && colour.b == transparent.b)
                return false;
        }
    }
    return width > 0;
}

SDL_Surface* draw_glyph(const glyph_art& g) {
    const int columns = int(std::char_traits<char>::length(g.rows[0]));
    const int width = columns * cell + pad_left + pad_right;
    const int height = image_height;
    std::vector<rgb> pixels(size_t(width) * height, transparent);
    std::vector<uint8_t> body(size_t(width) * height, 0);

    for (int row = 0; row < int(g.rows.size()); ++row)
        for (int column = 0; column < columns; ++column) {
            char key = g.rows[row][column];
            if (key == '.') continue;
            rgb colour;
            colour_of(key, row, colour);
            for (int dy = 0; dy < cell; ++dy)
                for (int dx = 0; dx < cell; ++dx) {
                    int x = pad_left + column * cell + dx, y = pad_top + row * cell + dy;
                    pixels[size_t(y) * width + x] = colour;
                    body[size_t(y) * width + x] = 1;
                }
        }

    // Rim: two pixels all round, three to the lower right (the drop); the
    // far corners are cut so the rim stays round.
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (body[size_t(y) * width + x]) continue;
            bool near = false;
            for (int ey = -2; ey <= 3 && !near; ++ey)
                for (int ex = -2; ex <= 3 && !near; ++ex) {
                    if ((ex == -2 || ex == 3) && (ey == -2 || ey == 3)) continue;
                    int bx = x - ex, by = y - ey;
                    if (bx < 0 || by < 0 || bx >= width || by >= height) continue;
                    near = body[size_t(by) * width + bx];
                }
            if (near) pixels[size_t(y) * width + x] = rim;
        }

    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 24,
                                                          SDL_PIXELFORMAT_RGB24);
    if (!surface) return nullptr;
    for (int y = 0; y < height; ++y) {
        auto* line = static_cast<uint8_t*>(surface->pixels) + size_t(y) * surface->pitch;
        for (int x = 0; x < width; ++x) {
            const rgb& p = pixels[size_t(y) * width + x];
            line[x * 3] = p.r;
            line[x * 3 + 1] = p.g;
            line[x * 3 + 2] = p.b;
        }
    }
    return surface;
}

}  // namespace

bool write_font(const fs::path& data_dir) {
    const fs::path folder = data_dir / "GFX" / "FONT";
    std::string definition;
    bool ok = true;
    for (const glyph_art& g : font_art()) {
        if (!check_art(g)) {
            std::fprintf(stderr, "zorbel-pack: bad art for glyph %d\n", g.character);
            return false;
        }
        SDL_Surface* surface = draw_glyph(g);
        ok = save_png(surface, folder / (stem_of(g.character) + ".png")) && ok;
        SDL_FreeSurface(surface);
        definition += char(g.character);
    }
    definition += aliases;
    return write_lines(data_dir / "DATA" / "font.txt", {definition}) && ok;
}

}  // namespace pack
