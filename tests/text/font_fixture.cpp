#include "font_fixture.h"

#include <cstdlib>

namespace font_test {

std::string bmp(int width, int height, uint32_t colour) {
    const int row_bytes = (width * 3 + 3) / 4 * 4;
    const uint32_t data_size = uint32_t(row_bytes) * height;
    std::string out;
    auto u16 = [&out](uint32_t v) { out += char(v & 255); out += char((v >> 8) & 255); };
    auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
    out += "BM";
    u32(54 + data_size);
    u32(0);
    u32(54);
    u32(40);
    u32(uint32_t(width));
    u32(uint32_t(height));
    u16(1);
    u16(24);
    u32(0);
    u32(data_size);
    u32(2835);
    u32(2835);
    u32(0);
    u32(0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            out += char((colour >> 16) & 255);   // stored as blue, green, red
            out += char((colour >> 8) & 255);
            out += char(colour & 255);
        }
        out.append(size_t(row_bytes - width * 3), '\0');
    }
    return out;
}

bool close_to(uint32_t got, uint32_t want) {
    for (int shift = 0; shift < 24; shift += 8) {
        int a = int((got >> shift) & 255), b = int((want >> shift) & 255);
        if (std::abs(a - b) > 6) return false;
    }
    return true;
}

void font_fixture::open(int screen_w, int screen_h) {
    close_headless_screen();
    init_globals();
    base_width = 1024;
    base_height = 768;
    screen_width = float(screen_w);
    screen_height = float(screen_h);
    screen_scale = screen_width / float(base_width);
    open_headless_screen(screen_w, screen_h);
    set_filtering(false);
    cfg_fontpath = folder.path() + "\\FONT";
    cfg_fontsystem = folder.path() + "\\font.txt";
}

void font_fixture::TearDown() {
    free_font();
    close_headless_screen();
}

void font_fixture::glyph_file(const std::string& stem, int width, int height, uint32_t colour) {
    folder.write("FONT/" + stem + ".png", bmp(width, height, colour));
}

void font_fixture::definition(const std::string& line) {
    folder.write("font.txt", line + "\r\n");
}

}  // namespace font_test
